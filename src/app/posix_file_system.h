#pragma once

#include <memory>
#include <string>

#include "engine/std_file_system.h"

namespace kelvarine {

// The file system of a POSIX host: names are resolved, tested and listed as by StdFileSystem, but a
// file is opened with one name lookup, its size and time are read from the open file itself, and
// reads go to an offset without seeking. Directories of thousands of small files are mostly this.
class PosixFileSystem : public StdFileSystem {
 public:
  std::unique_ptr<InputFile> openForReading(const std::string& path) override;
};

// Why NEW or OLD cannot be used, in the operating system's words ("No such file or directory",
// "Permission denied", "not a regular file (a FIFO)"); empty when the name (or its spelling found
// ignoring case) is a regular file that can be read or a directory that can be listed.
std::string NameProblem(const std::string& path);

}  // namespace kelvarine
