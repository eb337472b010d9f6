#pragma once

#include "app/posix_file_system.h"
#include "ui/qt/gui_session.h"

namespace kelvarine {

// The file system a session works on, made before the session that refers to it.
struct OwnedFileSystem {
  PosixFileSystem posixFiles;
};

// A desktop session over the real file system, as the program's main() makes one.
struct TestSession : OwnedFileSystem, GuiSession {
  TestSession() : GuiSession(posixFiles) {}
};

}  // namespace kelvarine
