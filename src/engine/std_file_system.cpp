#include "engine/std_file_system.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <ios>
#include <string_view>
#include <system_error>
#include <vector>

#include "engine/ascii_case.h"
#include "engine/engine_fault.h"

namespace kelvarine {

namespace fs = std::filesystem;

namespace {

// True when an entry of that exact spelling exists (a dangling link counts: it is there).
bool entryExists(const fs::path& p) {
  std::error_code ec;
  return fs::exists(fs::symlink_status(p, ec));
}

// The entry of `directory` whose name equals `name` ignoring case, the first in byte order; empty
// when there is none or the directory cannot be listed.
std::string findCaseVariant(const fs::path& directory, const std::string& name) {
  std::error_code ec;
  fs::directory_iterator it(directory.empty() ? fs::path(".") : directory, ec);
  std::string best;
  if (ec) return best;
  for (fs::directory_iterator end; it != end; it.increment(ec)) {
    if (ec) break;
    std::string candidate = it->path().filename().string();
    if (EqualIgnoringCase(candidate, name) && (best.empty() || candidate < best)) best = candidate;
  }
  return best;
}

class StdInputFile : public InputFile {
 public:
  StdInputFile(std::filebuf buffer, std::int64_t size, FileStamp stamp)
      : buffer_(std::move(buffer)), size_(size), stamp_(stamp) {}

  std::int64_t size() const override { return size_; }
  FileStamp stamp() const override { return stamp_; }

  // Reads never go past the size the file had when it was opened: a file that others keep appending to
  // is compared as it was then, instead of being read for as long as they write.
  std::int64_t read(char* buffer, std::int64_t count) override {
    count = std::min(count, size_ - position_);
    if (count <= 0) return 0;
    // The library's file buffer reads blocks larger than its own buffer straight into ours, and
    // reports a failed system read by throwing.
    std::streamsize n = buffer_.sgetn(buffer, static_cast<std::streamsize>(count));
    if (n < 0) throw EngineFault("read failure");
    position_ += n;
    return static_cast<std::int64_t>(n);
  }

  void seek(std::int64_t offset) override {
    auto pos = buffer_.pubseekpos(static_cast<std::streamoff>(offset), std::ios_base::in);
    if (pos == std::streampos(std::streamoff(-1))) throw EngineFault("seek failure");
    position_ = offset;
  }

 private:
  std::filebuf buffer_;
  std::int64_t size_;
  FileStamp stamp_;
  std::int64_t position_ = 0;
};

}  // namespace

std::string ResolvePathIgnoringCase(const std::string& path) {
  if (path.empty() || entryExists(path)) return path;
  fs::path given(path);
  fs::path resolved;
  bool first = true;
  for (const fs::path& part : given) {
    std::string name = part.string();
    if (first && given.has_root_path() && part == given.root_path()) {
      resolved = part;
    } else if (name.empty() || name == "." || name == "..") {
      resolved /= part;
    } else if (entryExists(resolved / part)) {
      resolved /= part;
    } else {
      std::string variant = findCaseVariant(resolved, name);
      if (variant.empty()) return path;
      resolved /= variant;
    }
    first = false;
  }
  return resolved.string();
}

std::string ResolveTargetPath(const std::string& path) {
  const std::string resolved = ResolvePathIgnoringCase(path);
  if (resolved != path || entryExists(path)) return resolved;
  const fs::path given(path);
  if (!given.has_parent_path() || !given.has_filename()) return path;
  return (fs::path(ResolvePathIgnoringCase(given.parent_path().string())) / given.filename()).string();
}

std::string StdFileSystem::resolveForWriting(const std::string& path) {
  return ResolveTargetPath(path);
}

std::unique_ptr<InputFile> StdFileSystem::openForReading(const std::string& path) {
  // The exact spelling first: one status call for the common case, a directory search only on a miss.
  std::string resolved = path;
  std::error_code ec;
  fs::file_status st = fs::status(resolved, ec);
  if (!fs::exists(st)) {
    resolved = ResolvePathIgnoringCase(path);
    st = fs::status(resolved, ec);
  }
  // Only regular files (links followed): opening a FIFO or a device could block or mislead.
  if (ec || !fs::is_regular_file(st)) return nullptr;
  std::filebuf buffer;
  if (buffer.open(resolved, std::ios_base::in | std::ios_base::binary) == nullptr) return nullptr;
  // The size of the file as opened, not of whatever the name may name by now.
  const std::streampos end = buffer.pubseekoff(0, std::ios_base::end, std::ios_base::in);
  if (end == std::streampos(std::streamoff(-1)) ||
      buffer.pubseekpos(0, std::ios_base::in) != std::streampos(0))
    return nullptr;
  auto written = fs::last_write_time(resolved, ec);
  if (ec) return nullptr;
  // Nanoseconds since the Unix epoch, as the host's date formatting expects.
  auto nanos = std::chrono::duration_cast<std::chrono::nanoseconds>(
                   std::chrono::file_clock::to_sys(written).time_since_epoch())
                   .count();
  return std::make_unique<StdInputFile>(std::move(buffer), static_cast<std::int64_t>(std::streamoff(end)),
                                        static_cast<FileStamp>(nanos));
}

FileSystem::Kind StdFileSystem::kind(const std::string& path) {
  std::error_code ec;
  fs::file_status st = fs::status(ResolvePathIgnoringCase(path), ec);
  if (ec || !fs::exists(st)) return Kind::Missing;
  if (fs::is_regular_file(st)) return Kind::File;
  if (fs::is_directory(st)) return Kind::Directory;
  return Kind::Other;
}

std::vector<std::string> StdFileSystem::listFiles(const std::string& directory) {
  std::vector<std::string> names;
  std::error_code ec;
  fs::path dir = directory.empty() ? fs::path(".") : fs::path(ResolvePathIgnoringCase(directory));
  fs::directory_iterator it(dir, ec);
  if (ec) return names;
  for (fs::directory_iterator end; it != end; it.increment(ec)) {
    if (ec) break;
    std::error_code entryError;
    // The entry's type comes with the listing; only links cost a status call.
    if (it->is_regular_file(entryError) && !entryError) names.push_back(it->path().filename().string());
  }
  return names;
}

bool StdFileSystem::listDirectory(const std::string& directory, DirectoryEntries& entries, std::string* why) {
  entries = {};
  std::error_code ec;
  fs::path dir = directory.empty() ? fs::path(".") : fs::path(ResolvePathIgnoringCase(directory));
  fs::directory_iterator it(dir, ec);
  for (fs::directory_iterator end; !ec && it != end; it.increment(ec)) {
    std::error_code entryError;
    const fs::file_status linkStatus = it->symlink_status(entryError);
    if (entryError) continue;
    if (fs::is_directory(linkStatus)) {
      entries.directories.push_back(it->path().filename().string());
    } else if (it->is_regular_file(entryError) && !entryError) {
      entries.files.push_back(it->path().filename().string());
    } else if (entryError) {
      entries.unusable.emplace_back(it->path().filename().string(), entryError.message());
    }
  }
  if (!ec) return true;
  if (why != nullptr) *why = ec.message();
  return false;
}

}  // namespace kelvarine
