#pragma once

#include <cstddef>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "engine/std_file_system.h"

namespace kelvarine {

// The file system of a POSIX host: names are resolved, tested and listed as by StdFileSystem, but a
// file is opened with one name lookup, its size and time are read from the open file itself, and
// reads go to an offset without seeking. Directories of thousands of small files are mostly this.
// Directories are listed through their descriptor (each entry's type from the listing, links by
// fstatat relative to it), and a file a listing found is later opened without a look at its name
// first. Names longer than the system's path limit are opened piece by piece, so that depth alone
// never keeps a file from being listed, tested or opened. Files may be opened by several threads.
class PosixFileSystem : public StdFileSystem {
 public:
  std::unique_ptr<InputFile> openForReading(const std::string& path) override;
  Kind kind(const std::string& path) override;
  std::vector<std::string> listFiles(const std::string& directory) override;
  bool listDirectory(const std::string& directory, DirectoryEntries& entries, std::string* why) override;
  // As NameUsable(path, why).
  bool nameUsable(const std::string& path, std::string* why) override;
  bool opensConcurrently() const override { return true; }

 private:
  static constexpr std::size_t kListedLimit = 1 << 16;
  // Notes a directory that was listed whole, with the names of the links to files in it.
  void rememberListed(const std::string& directory, const std::vector<std::string>& links);
  // For a file of a listed directory, whether the listing saw a link there; none for any other path.
  std::optional<bool> listedAsLink(const std::string& path);

  std::mutex listedMutex_;
  std::unordered_map<std::string, std::unordered_set<std::string>> listed_;
};

// An input file over an open descriptor, which it takes over (closed when the file is, or at once when
// it is not a regular file: then null). The stamp is the file's modification time unless one is given.
std::unique_ptr<InputFile> InputFileFromDescriptor(int fd, std::optional<FileStamp> stamp = std::nullopt);

// Whether NEW or OLD (or its spelling found ignoring case) is a regular file that can be read or a
// directory that can be listed; when not, `why` says why in the operating system's words ("No such
// file or directory", "Permission denied", "not a regular file (a FIFO)").
bool NameUsable(const std::string& path, std::string* why);

}  // namespace kelvarine
