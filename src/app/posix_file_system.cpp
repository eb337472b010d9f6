#include "app/posix_file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>

#include "engine/engine_fault.h"

namespace kelvarine {

namespace {

class PosixInputFile : public InputFile {
 public:
  PosixInputFile(int fd, std::int64_t size, FileStamp stamp) : fd_(fd), size_(size), stamp_(stamp) {}
  ~PosixInputFile() override { ::close(fd_); }
  PosixInputFile(const PosixInputFile&) = delete;
  PosixInputFile& operator=(const PosixInputFile&) = delete;

  std::int64_t size() const override { return size_; }
  FileStamp stamp() const override { return stamp_; }

  // Never past the size the file had when it was opened (see StdInputFile).
  std::int64_t read(char* buffer, std::int64_t count) override {
    count = std::min(count, size_ - position_);
    if (count <= 0) return 0;
    ssize_t n;
    do {
      n = ::pread(fd_, buffer, static_cast<std::size_t>(count), static_cast<off_t>(position_));
    } while (n < 0 && errno == EINTR);
    if (n < 0) throw EngineFault("read failure");
    position_ += n;
    return n;
  }

  void seek(std::int64_t offset) override {
    if (offset < 0) throw EngineFault("seek failure");
    position_ = offset;
  }

 private:
  int fd_;
  std::int64_t size_;
  FileStamp stamp_;
  std::int64_t position_ = 0;
};

}  // namespace

std::unique_ptr<InputFile> PosixFileSystem::openForReading(const std::string& path) {
  // The type is tested before the open: a FIFO or a device is never opened at all.
  std::string resolved = path;
  struct stat st {};
  if (::stat(resolved.c_str(), &st) != 0) {
    resolved = ResolvePathIgnoringCase(path);
    if (resolved == path || ::stat(resolved.c_str(), &st) != 0) return nullptr;
  }
  if (!S_ISREG(st.st_mode)) return nullptr;
  // Non-blocking, should the name have been replaced by a FIFO since the test; checked again below.
  const int fd = ::open(resolved.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) return nullptr;
  return InputFileFromDescriptor(fd);
}

std::unique_ptr<InputFile> InputFileFromDescriptor(int fd, std::optional<FileStamp> stamp) {
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return nullptr;
  }
  // Nanoseconds since the Unix epoch, as the host's date formatting expects.
  const FileStamp modified = static_cast<FileStamp>(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec;
  return std::make_unique<PosixInputFile>(fd, static_cast<std::int64_t>(st.st_size),
                                          stamp.value_or(modified));
}

std::string NameProblem(const std::string& path) {
  std::string resolved = path;
  struct stat st {};
  if (::stat(resolved.c_str(), &st) != 0) {
    const int error = errno;
    resolved = ResolvePathIgnoringCase(path);
    if (resolved == path || ::stat(resolved.c_str(), &st) != 0) return std::strerror(error);
  }
  if (S_ISDIR(st.st_mode)) {
    DIR* directory = ::opendir(resolved.c_str());
    if (directory == nullptr) return std::strerror(errno);
    ::closedir(directory);
    return {};
  }
  if (S_ISFIFO(st.st_mode)) return "not a regular file (a FIFO)";
  if (S_ISSOCK(st.st_mode)) return "not a regular file (a socket)";
  if (!S_ISREG(st.st_mode)) return "not a regular file (a device)";
  const int fd = ::open(resolved.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) return std::strerror(errno);
  ::close(fd);
  return {};
}

std::string PosixFileSystem::problem(const std::string& path) {
  return NameProblem(path);
}

}  // namespace kelvarine
