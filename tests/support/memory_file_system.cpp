#include "support/memory_file_system.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace kelvarine {

namespace {

class MemoryInputFile : public InputFile {
 public:
  explicit MemoryInputFile(std::shared_ptr<MemoryFileSystem::File> file) : file_(std::move(file)) {
    size_ = file_->reportedSize >= 0 ? file_->reportedSize : static_cast<std::int64_t>(file_->content.size());
    stamp_ = file_->stamp;
  }
  std::int64_t size() const override { return size_; }
  FileStamp stamp() const override { return stamp_; }
  std::int64_t read(char* buffer, std::int64_t count) override {
    if (file_->failReads) throw std::runtime_error("read failure");
    if (file_->readStep > 0) count = std::min(count, file_->readStep);
    std::int64_t available = static_cast<std::int64_t>(file_->content.size()) - pos_;
    std::int64_t n = std::max<std::int64_t>(0, std::min(count, available));
    if (n > 0) std::memcpy(buffer, file_->content.data() + pos_, static_cast<std::size_t>(n));
    pos_ += n;
    file_->bytesRead += n;
    return n;
  }
  void seek(std::int64_t offset) override { pos_ = offset; }
  std::optional<std::string_view> contents() override {
    if (!file_->holdsBytes) return std::nullopt;
    return std::string_view(file_->content);
  }

 private:
  std::shared_ptr<MemoryFileSystem::File> file_;
  std::int64_t size_ = 0;
  FileStamp stamp_ = 0;
  std::int64_t pos_ = 0;
};

// The prefix "dir/" of the paths inside `directory`.
std::string insidePrefix(const std::string& directory) {
  return directory.empty() || directory.back() == '/' ? directory : directory + "/";
}

}  // namespace

std::shared_ptr<MemoryFileSystem::File> MemoryFileSystem::add(const std::string& path, std::string content,
                                                              FileStamp stamp) {
  auto f = std::make_shared<File>();
  f->content = std::move(content);
  f->stamp = stamp;
  files_[path] = f;
  return f;
}

std::shared_ptr<MemoryFileSystem::File> MemoryFileSystem::find(const std::string& path) const {
  auto it = files_.find(path);
  return it == files_.end() ? nullptr : it->second;
}

std::unique_ptr<InputFile> MemoryFileSystem::openForReading(const std::string& path) {
  auto f = find(path);
  if (!f) return nullptr;
  ++f->opens;
  return std::make_unique<MemoryInputFile>(f);
}

FileSystem::Kind MemoryFileSystem::kind(const std::string& path) {
  if (files_.count(path)) return Kind::File;
  auto it = files_.lower_bound(insidePrefix(path));
  return it != files_.end() && it->first.starts_with(insidePrefix(path)) ? Kind::Directory : Kind::Missing;
}

std::vector<std::string> MemoryFileSystem::listFiles(const std::string& directory) {
  DirectoryEntries entries;
  listDirectory(directory, entries, nullptr);
  return entries.files;
}

bool MemoryFileSystem::listDirectory(const std::string& directory, DirectoryEntries& entries, std::string*) {
  entries = {};
  const std::string prefix = insidePrefix(directory);
  for (auto it = files_.lower_bound(prefix); it != files_.end() && it->first.starts_with(prefix); ++it) {
    const std::size_t slash = it->first.find('/', prefix.size());
    std::string name = it->first.substr(prefix.size(), slash - prefix.size());
    if (slash == std::string::npos && !name.empty())
      entries.files.push_back(name);
    else if (slash != std::string::npos &&
             (entries.directories.empty() || entries.directories.back() != name))
      entries.directories.push_back(name);
  }
  return true;
}

}  // namespace kelvarine
