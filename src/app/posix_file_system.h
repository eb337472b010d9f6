#pragma once

#include <memory>
#include <optional>
#include <string>

#include "engine/std_file_system.h"

namespace kelvarine {

// The file system of a POSIX host: names are resolved, tested and listed as by StdFileSystem, but a
// file is opened with one name lookup, its size and time are read from the open file itself, and
// reads go to an offset without seeking. Directories of thousands of small files are mostly this.
// Directories are listed through their descriptor (each entry's type by fstatat relative to it), and
// names longer than the system's path limit are opened piece by piece, so that depth alone never
// keeps a file from being listed, tested or opened.
class PosixFileSystem : public StdFileSystem {
 public:
  std::unique_ptr<InputFile> openForReading(const std::string& path) override;
  Kind kind(const std::string& path) override;
  DirectoryEntries listDirectory(const std::string& directory) override;
  // NameProblem(path).
  std::string problem(const std::string& path) override;
};

// An input file over an open descriptor, which it takes over (closed when the file is, or at once when
// it is not a regular file: then null). The stamp is the file's modification time unless one is given.
std::unique_ptr<InputFile> InputFileFromDescriptor(int fd, std::optional<FileStamp> stamp = std::nullopt);

// Why NEW or OLD cannot be used, in the operating system's words ("No such file or directory",
// "Permission denied", "not a regular file (a FIFO)"); empty when the name (or its spelling found
// ignoring case) is a regular file that can be read or a directory that can be listed.
std::string NameProblem(const std::string& path);

}  // namespace kelvarine
