#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/host.h"

namespace kelvarine {

// A file opened for reading while others may read and write it.
class InputFile {
 public:
  virtual ~InputFile() = default;
  // Size in bytes and modification time, as they were when the file was opened.
  virtual std::int64_t size() const = 0;
  virtual FileStamp stamp() const = 0;
  // Reads up to `count` bytes at the current position; returns the number read, 0 at the end.
  // Throws on a read failure.
  virtual std::int64_t read(char* buffer, std::int64_t count) = 0;
  // Positions at `offset` bytes from the start (past the end, later reads return 0).
  virtual void seek(std::int64_t offset) = 0;
  // The whole file's bytes when this file holds them in memory (a small file read in one call, a file
  // read ahead), valid while it is open; none when it reads from the disk as it goes. Reads and seeks
  // are not moved by it. The bytes may be fewer than size() when the file shrank before they were read.
  virtual std::optional<std::string_view> contents() { return std::nullopt; }
};

// A file whose bytes were read into memory when it was opened: `size` and `stamp` are what the file
// system said then, `bytes` what was read (fewer when the file shrank meanwhile).
std::unique_ptr<InputFile> InputFileFromBytes(std::string bytes, std::int64_t size, FileStamp stamp);

// One directory's entries for a walk of a tree: regular files (and links to them) and subdirectories
// (never links to directories, so that a link loop cannot make a walk endless), in no set order.
struct DirectoryEntries {
  std::vector<std::string> files, directories;
  // The name and the system's reason of each entry whose type cannot be found: a dangling link, a
  // link loop.
  std::vector<std::pair<std::string, std::string>> unusable;
};

// The file services a run uses.
class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // Opens a regular file (or a link to one) for reading. Returns null when the name does not
  // exist, is not a regular file (a directory, FIFO, socket or device is never opened), or
  // cannot be read.
  virtual std::unique_ptr<InputFile> openForReading(const std::string& path) = 0;

  enum class Kind { Missing, File, Directory, Other };
  // What a path names: a regular file (or a link to one), a directory, anything else, or nothing.
  virtual Kind kind(const std::string& path) = 0;
  // The names of the regular files (and links to them) in a directory, dot-files included, in the
  // order the file system gives them; empty when it cannot be listed.
  virtual std::vector<std::string> listFiles(const std::string& directory) = 0;
  // The files and subdirectories of a directory, with one listing of it, into `entries`. False, with
  // the system's reason in `why`, when it cannot be read (`entries` then holds what was listed before).
  virtual bool listDirectory(const std::string& directory, DirectoryEntries& entries, std::string* why) {
    (void)why;
    entries = {listFiles(directory), {}, {}};
    return true;
  }
  // Whether `path` can be opened as a file or listed as a directory (true also when this file system
  // cannot tell). False, with the system's words in `why` ("No such file or directory", "Permission
  // denied", "not a regular file (a FIFO)"), when it can be neither.
  virtual bool nameUsable(const std::string& path, std::string* why) {
    (void)path;
    (void)why;
    return true;
  }
  // The name a file to be written under `path` goes to: on a file system that resolves names ignoring
  // case, the existing entry's spelling (so that it is replaced, not joined by a twin); here `path`.
  virtual std::string resolveForWriting(const std::string& path) { return path; }
  // Whether openForReading may be called from several threads at once, and the files it opens read on
  // another thread than the one that opened them. Only then does a set read its next pairs ahead.
  virtual bool opensConcurrently() const { return false; }
};

// Joins a directory and a file name with "/" unless the directory is empty or already ends in "/";
// an empty directory leaves a bare name relative to the working directory.
std::string joinPath(const std::string& directory, const std::string& name);

// `message`, followed on a line of its own (after a CR, the line break of messages) by `path` and the
// file system's reason why it cannot be used, as "path: reason"; `message` alone when there is none.
std::string WithReason(FileSystem& files, const std::string& message, const std::string& path);

// The file name without its directory, as status texts show it.
std::string baseName(const std::string& path);

}  // namespace kelvarine
