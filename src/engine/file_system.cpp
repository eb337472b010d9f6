#include "engine/file_system.h"

#include <algorithm>
#include <cstring>

#include "engine/engine_fault.h"

namespace kelvarine {

namespace {

class BytesInputFile : public InputFile {
 public:
  BytesInputFile(std::string bytes, std::int64_t size, FileStamp stamp)
      : bytes_(std::move(bytes)), size_(size), stamp_(stamp) {}
  std::int64_t size() const override { return size_; }
  FileStamp stamp() const override { return stamp_; }
  std::int64_t read(char* buffer, std::int64_t count) override {
    const std::int64_t held = static_cast<std::int64_t>(bytes_.size());
    const std::int64_t n = std::clamp<std::int64_t>(std::min(count, held - position_), 0, held);
    if (n > 0) std::memcpy(buffer, bytes_.data() + position_, static_cast<std::size_t>(n));
    position_ += n;
    return n;
  }
  void seek(std::int64_t offset) override {
    if (offset < 0) throw EngineFault("seek failure");
    position_ = offset;
  }
  std::optional<std::string_view> contents() override { return std::string_view(bytes_); }

 private:
  std::string bytes_;
  std::int64_t size_;
  FileStamp stamp_;
  std::int64_t position_ = 0;
};

}  // namespace

std::unique_ptr<InputFile> InputFileFromBytes(std::string bytes, std::int64_t size, FileStamp stamp) {
  return std::make_unique<BytesInputFile>(std::move(bytes), size, stamp);
}

std::string joinPath(const std::string& directory, const std::string& name) {
  if (directory.empty()) return name;
  if (directory.back() == '/') return directory + name;
  return directory + "/" + name;
}

std::string WithReason(FileSystem& files, const std::string& message, const std::string& path) {
  std::string reason;
  return files.nameUsable(path, &reason) ? message : message + "\r" + path + ": " + reason;
}

std::string baseName(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace kelvarine
