#include "engine/file_system.h"

#include "engine/ascii_case.h"

namespace kelvarine {

std::string joinPath(const std::string& directory, const std::string& name) {
  if (directory.empty()) return name;
  if (directory.back() == '/') return directory + name;
  return directory + "/" + name;
}

std::string lowerBaseName(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return LowerAscii(slash == std::string::npos ? path : path.substr(slash + 1));
}

}  // namespace kelvarine
