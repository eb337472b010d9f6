#include "app/input_staging.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "app/refusal.h"

namespace kelvarine {

namespace {

// The compare run refuses inputs of 2 GB and more: a stream is copied up to one byte past that, so that
// the copy is refused as a file of that size would be, without filling the disk first.
constexpr std::int64_t kCopyLimit = (std::int64_t{1} << 31) + 1;
constexpr std::size_t kBlock = 1 << 16;

// A device read as an empty file.
class EmptyInputFile : public InputFile {
 public:
  explicit EmptyInputFile(FileStamp stamp) : stamp_(stamp) {}
  std::int64_t size() const override { return 0; }
  FileStamp stamp() const override { return stamp_; }
  std::int64_t read(char*, std::int64_t) override { return 0; }
  void seek(std::int64_t) override {}

 private:
  FileStamp stamp_;
};

std::string temporaryDirectory() {
  const char* dir = std::getenv("TMPDIR");
  return dir != nullptr && *dir != '\0' ? dir : "/tmp";
}

// Creates the private copy and unlinks it at once; the signals that end the program are held back in
// between, so that no name is left behind. Returns the open descriptor, or -1 with errno set.
int createUnlinkedCopy(const std::string& directory) {
  std::string path = directory + "/kelvarine-XXXXXX";
  sigset_t ending, previous;
  sigemptyset(&ending);
  for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT})
    sigaddset(&ending, signal);
  sigprocmask(SIG_BLOCK, &ending, &previous);
  const int fd = ::mkostemp(path.data(), O_CLOEXEC);  // mode 0600
  const int error = errno;
  if (fd >= 0) ::unlink(path.c_str());
  sigprocmask(SIG_SETMASK, &previous, nullptr);
  errno = error;
  return fd;
}

bool writeAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

CommandLineFileSystem::~CommandLineFileSystem() {
  for (const auto& [name, copy] : staged_)
    if (copy.fd >= 0) ::close(copy.fd);
}

CommandLineFileSystem::Staging CommandLineFileSystem::stage(const std::string& name,
                                                            const std::function<bool()>& halted,
                                                            std::string* why) {
  if (isStaged(name)) return Staging::Ready;
  // Each copy is stamped with its own time, later than any before: two streams of equal length never
  // pass for equal files by date and size (Aeqf) without being read.
  const auto now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                       std::chrono::system_clock::now().time_since_epoch())
                       .count();
  lastStamp_ = std::max<FileStamp>(lastStamp_ + 1, static_cast<FileStamp>(now));

  int source = STDIN_FILENO;
  if (struct stat st{}; name == "-" && ::fstat(source, &st) == 0 && S_ISREG(st.st_mode))
    sources_.emplace_back(st.st_dev, st.st_ino);
  if (name != "-") {
    struct stat st {};
    if (::stat(name.c_str(), &st) != 0) return Staging::Ready;  // reported as missing by the run
    if (S_ISCHR(st.st_mode)) {
      staged_[name] = Copy{-1, lastStamp_};
      return Staging::Ready;
    }
    if (!S_ISFIFO(st.st_mode)) return Staging::Ready;
    // A FIFO's open waits for its writer; Ctrl-C ends the wait.
    while ((source = ::open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY)) < 0) {
      if (errno != EINTR || halted()) break;
    }
    if (source < 0) {
      if (errno == EINTR) return Staging::Interrupted;
      Refuse(why, std::strerror(errno));
      return Staging::Failed;
    }
  }

  const std::string directory = temporaryDirectory();
  const int copy = createUnlinkedCopy(directory);
  Staging outcome = Staging::Ready;
  if (copy < 0) {
    Refuse(why, "cannot make a temporary copy in " + directory + ": " + std::strerror(errno));
    outcome = Staging::Failed;
  }
  std::vector<char> buffer(kBlock);
  for (std::int64_t copied = 0; outcome == Staging::Ready && copied < kCopyLimit;) {
    if (halted()) {
      outcome = Staging::Interrupted;
      break;
    }
    const ssize_t n = ::read(source, buffer.data(), buffer.size());
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      Refuse(why, std::string("read error: ") + std::strerror(errno));
      outcome = Staging::Failed;
    } else if (!writeAll(copy, buffer.data(), static_cast<std::size_t>(n))) {
      Refuse(why, "cannot write the temporary copy in " + directory + ": " + std::strerror(errno));
      outcome = Staging::Failed;
    } else {
      copied += n;
    }
  }
  if (source != STDIN_FILENO) ::close(source);
  if (outcome != Staging::Ready) {
    if (copy >= 0) ::close(copy);
    return outcome;
  }
  staged_[name] = Copy{copy, lastStamp_};
  return Staging::Ready;
}

bool CommandLineFileSystem::isStagedSource(const std::string& path) const {
  struct stat st {};
  if (sources_.empty() || ::stat(ResolveTargetPath(path).c_str(), &st) != 0) return false;
  return std::find(sources_.begin(), sources_.end(), std::pair(st.st_dev, st.st_ino)) != sources_.end();
}

std::unique_ptr<InputFile> CommandLineFileSystem::openForReading(const std::string& path) {
  const auto found = staged_.find(path);
  if (found == staged_.end()) return PosixFileSystem::openForReading(path);
  const Copy& copy = found->second;
  if (copy.fd < 0) return std::make_unique<EmptyInputFile>(copy.stamp);
  const int fd = ::fcntl(copy.fd, F_DUPFD_CLOEXEC, 0);
  return fd < 0 ? nullptr : InputFileFromDescriptor(fd, copy.stamp);
}

FileSystem::Kind CommandLineFileSystem::kind(const std::string& path) {
  return isStaged(path) ? Kind::File : PosixFileSystem::kind(path);
}

bool CommandLineFileSystem::nameUsable(const std::string& path, std::string* why) {
  return isStaged(path) || PosixFileSystem::nameUsable(path, why);
}

}  // namespace kelvarine
