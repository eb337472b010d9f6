#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/file_system.h"

namespace kelvarine {

// True when `name` matches one of the wildcard patterns of `masks` (several separated by ";", blanks
// around each ignored). "*" matches any run of characters, "?" exactly one; letters match ignoring
// ASCII case. A pattern ending in ".*" also matches as if that ending were not there ("*.*" matches
// every name, with or without a dot); a pattern ending in "." also matches a name without any dot as
// if the final "." were not there ("*." matches the names without an extension). A mask without any
// pattern matches every name.
bool MatchesMask(std::string_view name, std::string_view masks);

// The names of the files of `directory` that match `masks`, in the order the file system lists them.
std::vector<std::string> ListFilesByMask(FileSystem& files, const std::string& directory,
                                         std::string_view masks);

}  // namespace kelvarine
