#pragma once

#include <memory>
#include <string>

#include "engine/file_system.h"

namespace kelvarine {

// The platform file system through the standard library. Names are resolved as on a
// case-insensitive file system: a path whose exact spelling does not exist is resolved component by
// component against the directory entries ignoring case (an exact match wins; among several case
// variants the first in byte order).
class StdFileSystem : public FileSystem {
 public:
  std::unique_ptr<InputFile> openForReading(const std::string& path) override;
  Kind kind(const std::string& path) override;
  std::vector<std::string> listFiles(const std::string& directory) override;
  bool listDirectory(const std::string& directory, DirectoryEntries& entries, std::string* why) override;
  std::string resolveForWriting(const std::string& path) override;
  bool opensConcurrently() const override { return true; }
};

// The existing spelling of `path`, resolved ignoring case; `path` itself when nothing matches.
std::string ResolvePathIgnoringCase(const std::string& path);

// The name a file written under `path` goes to: the existing entry that `path` names ignoring case;
// when there is none, `path` with its directory so resolved and its last component as typed (a new
// file keeps the spelling it was given).
std::string ResolveTargetPath(const std::string& path);

}  // namespace kelvarine
