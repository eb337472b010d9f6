#include "app/posix_file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstring>
#include <string>

#include "app/refusal.h"
#include "engine/engine_fault.h"

namespace kelvarine {

namespace {

// A file of at most this size is read whole, in one call, at its first read: most files of a tree
// compare are small, and the reader, the first-line test and the identical-bytes check then share it.
constexpr std::int64_t kWholeReadLimit = std::int64_t{1} << 20;

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
    std::int64_t n;
    if (loadWhole()) {
      n = std::clamp<std::int64_t>(static_cast<std::int64_t>(whole_.size()) - position_, 0, count);
      std::memcpy(buffer, whole_.data() + position_, static_cast<std::size_t>(n));
    } else {
      n = readAt(buffer, count, position_);
    }
    position_ += n;
    return n;
  }

  void seek(std::int64_t offset) override {
    if (offset < 0) throw EngineFault("seek failure");
    position_ = offset;
  }

  std::optional<std::string_view> contents() override {
    if (!loadWhole()) return std::nullopt;
    return std::string_view(whole_);
  }

 private:
  std::int64_t readAt(char* buffer, std::int64_t count, std::int64_t offset) const {
    ssize_t n;
    do {
      n = ::pread(fd_, buffer, static_cast<std::size_t>(count), static_cast<off_t>(offset));
    } while (n < 0 && errno == EINTR);
    if (n < 0) throw EngineFault("read failure");
    return n;
  }

  // Reads a small file whole (a file that shrank meanwhile gives what it still holds); false for a
  // larger one, which is read block by block as asked.
  bool loadWhole() {
    if (wholeLoaded_) return true;
    if (size_ > kWholeReadLimit) return false;
    whole_.resize(static_cast<std::size_t>(size_));
    std::int64_t got = 0;
    while (got < size_) {
      const std::int64_t n = readAt(whole_.data() + got, size_ - got, got);
      if (n == 0) break;
      got += n;
    }
    whole_.resize(static_cast<std::size_t>(got));
    wholeLoaded_ = true;
    return true;
  }

  int fd_;
  std::int64_t size_;
  FileStamp stamp_;
  std::int64_t position_ = 0;
  std::string whole_;
  bool wholeLoaded_ = false;
};

// Opens `path` relative to the directory `at` with `flags`. A path longer than the system's limit is
// opened piece by piece: the longest leading part that fits as a directory, then the rest relative to it.
int openLong(int at, const std::string& path, int flags) {
  const int fd = ::openat(at, path.c_str(), flags);
  if (fd >= 0 || errno != ENAMETOOLONG) return fd;
  const std::size_t cut = path.rfind('/', PATH_MAX - 2);
  if (cut == std::string::npos || cut == 0) return -1;
  const int directory = ::openat(at, path.substr(0, cut).c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
  if (directory < 0) return -1;
  const int opened = openLong(directory, path.substr(cut + 1), flags);
  const int error = errno;
  ::close(directory);
  errno = error;
  return opened;
}

// stat() of a path of any length (links followed); -1 with errno on failure.
int statLong(const std::string& path, struct stat& st) {
  if (::stat(path.c_str(), &st) == 0) return 0;
  if (errno != ENAMETOOLONG) return -1;
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return -1;
  const int directory = openLong(AT_FDCWD, path.substr(0, slash), O_PATH | O_DIRECTORY | O_CLOEXEC);
  if (directory < 0) return -1;
  const int result = ::fstatat(directory, path.c_str() + slash + 1, &st, 0);
  const int error = errno;
  ::close(directory);
  errno = error;
  return result;
}

}  // namespace

std::unique_ptr<InputFile> PosixFileSystem::openForReading(const std::string& path) {
  constexpr int kFlags = O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
  // A file of a listed directory is opened at once: not through a link unless the listing saw one,
  // and non-blocking, so that an entry replaced by a FIFO since cannot hang the open. The open file's
  // type is checked before anything is read. Should the entry have changed otherwise, the name is
  // looked at afresh below.
  if (const std::optional<bool> link = listedAsLink(path)) {
    const int fd = openLong(AT_FDCWD, path, kFlags | (*link ? 0 : O_NOFOLLOW));
    if (fd >= 0) return InputFileFromDescriptor(fd);
  }
  // The type is tested before the open: a FIFO or a device is never opened at all.
  std::string resolved = path;
  struct stat st {};
  if (statLong(resolved, st) != 0) {
    resolved = ResolvePathIgnoringCase(path);
    if (resolved == path || statLong(resolved, st) != 0) return nullptr;
  }
  if (!S_ISREG(st.st_mode)) return nullptr;
  // Non-blocking, should the name have been replaced by a FIFO since the test; checked again below.
  const int fd = openLong(AT_FDCWD, resolved, kFlags);
  if (fd < 0) return nullptr;
  return InputFileFromDescriptor(fd);
}

std::vector<std::string> PosixFileSystem::listFiles(const std::string& directory) {
  DirectoryEntries entries;
  listDirectory(directory, entries, nullptr);
  return entries.files;
}

namespace {

// A directory as the listings and the opens name it: without the "/" a join would put behind it.
std::string directoryKey(std::string directory) {
  while (directory.size() > 1 && directory.back() == '/')
    directory.pop_back();
  return directory;
}

}  // namespace

void PosixFileSystem::rememberListed(const std::string& directory, const std::vector<std::string>& links) {
  const std::lock_guard<std::mutex> lock(listedMutex_);
  // Directories listed once and never compared must not pile up in a long session.
  if (listed_.size() > kListedLimit) listed_.clear();
  listed_[directoryKey(directory)] = std::unordered_set<std::string>(links.begin(), links.end());
}

std::optional<bool> PosixFileSystem::listedAsLink(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  const std::string directory = slash == std::string::npos ? std::string()
                                : slash == 0               ? "/"
                                                           : path.substr(0, slash);
  const std::lock_guard<std::mutex> lock(listedMutex_);
  const auto found = listed_.find(directory);
  if (found == listed_.end()) return std::nullopt;
  return found->second.count(path.substr(slash + 1)) > 0;
}

FileSystem::Kind PosixFileSystem::kind(const std::string& path) {
  struct stat st {};
  if (statLong(path, st) != 0) return StdFileSystem::kind(path);  // perhaps spelled in another case
  if (S_ISREG(st.st_mode)) return Kind::File;
  return S_ISDIR(st.st_mode) ? Kind::Directory : Kind::Other;
}

bool PosixFileSystem::listDirectory(const std::string& directory, DirectoryEntries& entries,
                                    std::string* why) {
  entries = {};
  const std::string given = directory.empty() ? "." : directory;
  constexpr int kFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
  int fd = openLong(AT_FDCWD, given, kFlags);
  if (fd < 0 && errno == ENOENT) {
    const std::string resolved = ResolvePathIgnoringCase(given);
    if (resolved != given) fd = openLong(AT_FDCWD, resolved, kFlags);
  }
  DIR* listing = fd < 0 ? nullptr : ::fdopendir(fd);
  if (listing == nullptr) {
    if (why != nullptr) *why = std::strerror(errno);
    if (fd >= 0) ::close(fd);
    return false;
  }
  const int at = ::dirfd(listing);
  std::vector<std::string> links;  // the files found that are links to regular files
  errno = 0;
  while (const dirent* entry = ::readdir(listing)) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    // The listing gives most types; links (followed, but not to directories) and unknown types cost a stat.
    bool link = entry->d_type == DT_LNK;
    mode_t type = entry->d_type == DT_DIR ? S_IFDIR : entry->d_type == DT_REG ? S_IFREG : 0;
    struct stat st {};
    if (entry->d_type == DT_UNKNOWN) {
      if (::fstatat(at, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
        entries.unusable.emplace_back(name, std::strerror(errno));
        errno = 0;
        continue;
      }
      link = S_ISLNK(st.st_mode);
      type = st.st_mode & S_IFMT;
    }
    if (link) {
      if (::fstatat(at, name.c_str(), &st, 0) != 0) {
        entries.unusable.emplace_back(name, std::strerror(errno));  // dangling, or a loop of links
        errno = 0;
        continue;
      }
      type = S_ISREG(st.st_mode) ? S_IFREG : 0;
    }
    if (type == S_IFREG) {
      entries.files.push_back(name);
      if (link) links.push_back(name);
    }
    if (type == S_IFDIR) entries.directories.push_back(name);
    errno = 0;
  }
  const int failure = errno;
  ::closedir(listing);
  if (failure != 0) {
    if (why != nullptr) *why = std::strerror(failure);
    return false;
  }
  rememberListed(directory, links);
  return true;
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

bool NameUsable(const std::string& path, std::string* why) {
  std::string resolved = path;
  struct stat st {};
  if (::stat(resolved.c_str(), &st) != 0) {
    const int error = errno;
    resolved = ResolvePathIgnoringCase(path);
    if (resolved == path || ::stat(resolved.c_str(), &st) != 0) return Refuse(why, std::strerror(error));
  }
  if (S_ISDIR(st.st_mode)) {
    DIR* directory = ::opendir(resolved.c_str());
    if (directory == nullptr) return Refuse(why, std::strerror(errno));
    ::closedir(directory);
    return true;
  }
  if (S_ISFIFO(st.st_mode)) return Refuse(why, "not a regular file (a FIFO)");
  if (S_ISSOCK(st.st_mode)) return Refuse(why, "not a regular file (a socket)");
  if (!S_ISREG(st.st_mode)) return Refuse(why, "not a regular file (a device)");
  const int fd = ::open(resolved.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) return Refuse(why, std::strerror(errno));
  ::close(fd);
  return true;
}

bool PosixFileSystem::nameUsable(const std::string& path, std::string* why) {
  return NameUsable(path, why);
}

}  // namespace kelvarine
