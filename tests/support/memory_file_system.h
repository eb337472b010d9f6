#pragma once

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/file_system.h"

namespace kelvarine {

// An in-memory file system for tests. A file's content may be replaced while it is open (it is
// shared with open handles), reads may be made to fail or to hand out a few bytes at a time, and a
// size may be given that differs from the content (to stand for a 2 GB file without holding one).
class MemoryFileSystem : public FileSystem {
 public:
  struct File {
    std::string content;
    FileStamp stamp = 1;
    std::int64_t reportedSize = -1;  // -1: the content's size
    bool failReads = false;          // read() throws
    std::int64_t readStep = 0;       // the most bytes one read hands out (0: as many as asked)
    bool holdsBytes = false;         // an open file offers its content at once (InputFile::contents)
    std::atomic<int> opens = 0;
    std::atomic<std::int64_t> bytesRead = 0;
  };

  // Adds or replaces a file; returns it so a test can change it later.
  std::shared_ptr<File> add(const std::string& path, std::string content, FileStamp stamp = 1);
  std::shared_ptr<File> find(const std::string& path) const;

  std::unique_ptr<InputFile> openForReading(const std::string& path) override;
  // A directory is any prefix "dir/" of a file's path.
  Kind kind(const std::string& path) override;
  std::vector<std::string> listFiles(const std::string& directory) override;
  bool listDirectory(const std::string& directory, DirectoryEntries& entries, std::string* why) override;
  // Unusable, for the reason `problems` holds for the path.
  bool nameUsable(const std::string& path, std::string* why) override {
    if (!problems.count(path)) return true;
    if (why != nullptr) *why = problems[path];
    return false;
  }
  std::map<std::string, std::string> problems;
  // Files may be opened by several threads while no file is added or replaced.
  bool opensConcurrently() const override { return true; }

 private:
  std::map<std::string, std::shared_ptr<File>> files_;
};

}  // namespace kelvarine
