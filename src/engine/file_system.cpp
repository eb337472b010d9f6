#include "engine/file_system.h"

namespace kelvarine {

std::string joinPath(const std::string& directory, const std::string& name) {
  if (directory.empty()) return name;
  if (directory.back() == '/') return directory + name;
  return directory + "/" + name;
}

std::string WithReason(FileSystem& files, const std::string& message, const std::string& path) {
  const std::string reason = files.problem(path);
  return reason.empty() ? message : message + "\r" + path + ": " + reason;
}

std::string baseName(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace kelvarine
