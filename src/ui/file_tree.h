#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/app_state.h"
#include "engine/file_system.h"
#include "engine/host.h"

namespace kelvarine {

// What a directory listing of a compare takes in: the files directly inside, or every file under it.
struct TreeChoice {
  bool recursive = false;
  std::string excludeMasks;  // ";"-separated; a file or directory whose name matches is left out
};

struct TreeListing {
  std::vector<std::string> files;  // relative paths, "/"-separated, as the walk found them
  // "PATH: REASON" of each directory below the top that could not be read, and of each entry whose
  // type could not be found (a dangling link, a link loop)
  std::vector<std::string> unreadable;
  bool halted = false;  // a halt request ended the walk early
};

// Lists the files of `directory` that match `fileMask` and no exclude mask: with `recursive`, every
// regular file under it with one listing of each directory (links to directories are not followed),
// reporting each unreadable subdirectory ("Directory not compared: PATH: REASON") and each entry of
// unknown type ("File not compared: PATH: REASON") once through `host` and going on with the rest. With a
// host, shows the count of files found as it goes and stops at a halt request (app.StopRequested).
TreeListing ListFileTree(FileSystem& files, const std::string& directory, std::string_view fileMask,
                         const TreeChoice& choice, Host* host = nullptr, AppState* app = nullptr);

// The file names ListFileTree gives, alone.
std::vector<std::string> ListTreeFiles(FileSystem& files, const std::string& directory,
                                       std::string_view fileMask, const TreeChoice& choice);

}  // namespace kelvarine
