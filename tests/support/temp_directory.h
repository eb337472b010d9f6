#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace kelvarine {

// A fresh directory under the system's temporary directory, removed with the object.
class TempDirectory {
 public:
  TempDirectory() {
    std::string name = (std::filesystem::temp_directory_path() / "kelvarine-test-XXXXXX").string();
    root = mkdtemp(name.data());
  }
  ~TempDirectory() {
    std::error_code ec;
    std::filesystem::remove_all(root, ec);
  }
  TempDirectory(const TempDirectory&) = delete;
  TempDirectory& operator=(const TempDirectory&) = delete;

  // Writes `content` to `relative` (directories made as needed); returns the whole path.
  std::string write(const std::string& relative, const std::string& content) const {
    const std::filesystem::path p = root / relative;
    std::filesystem::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << content;
    return p.string();
  }
  std::string path(const std::string& relative) const { return (root / relative).string(); }

  std::filesystem::path root;
};

// The whole content of the file at `path`; empty when it cannot be read.
inline std::string readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace kelvarine
