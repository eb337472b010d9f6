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

 private:
  std::shared_ptr<MemoryFileSystem::File> file_;
  std::int64_t size_ = 0;
  FileStamp stamp_ = 0;
  std::int64_t pos_ = 0;
};

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
  std::string prefix = path.empty() || path.back() == '/' ? path : path + "/";
  for (const auto& [name, file] : files_)
    if (name.rfind(prefix, 0) == 0) return Kind::Directory;
  return Kind::Missing;
}

std::vector<std::string> MemoryFileSystem::listFiles(const std::string& directory) {
  std::vector<std::string> names;
  std::string prefix = directory.empty() || directory.back() == '/' ? directory : directory + "/";
  for (const auto& [name, file] : files_) {
    if (name.rfind(prefix, 0) != 0) continue;
    std::string rest = name.substr(prefix.size());
    if (!rest.empty() && rest.find('/') == std::string::npos) names.push_back(rest);
  }
  return names;
}

DirectoryEntries MemoryFileSystem::listDirectory(const std::string& directory) {
  DirectoryEntries entries{listFiles(directory), {}, {}};
  const std::string prefix = directory.empty() || directory.back() == '/' ? directory : directory + "/";
  for (auto it = files_.lower_bound(prefix); it != files_.end() && it->first.starts_with(prefix); ++it) {
    const std::size_t slash = it->first.find('/', prefix.size());
    if (slash == std::string::npos) continue;
    std::string name = it->first.substr(prefix.size(), slash - prefix.size());
    if (entries.directories.empty() || entries.directories.back() != name)
      entries.directories.push_back(name);
  }
  return entries;
}

}  // namespace kelvarine
