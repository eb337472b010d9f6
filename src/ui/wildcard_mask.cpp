#include "ui/wildcard_mask.h"

#include <cstddef>

#include "engine/ascii_case.h"

namespace kelvarine {

namespace {

// Plain wildcard match of the whole name: "*" any run, "?" one character, letters ignoring case.
// Backtracks only to the last "*", which is enough because a later "*" absorbs any earlier choice.
bool globMatch(std::string_view pattern, std::string_view name) {
  std::size_t p = 0, n = 0;
  std::size_t starP = std::string_view::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starN = n;
    } else if (p < pattern.size() && (pattern[p] == '?' || FoldAscii(pattern[p]) == FoldAscii(name[n]))) {
      ++p;
      ++n;
    } else if (starP != std::string_view::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*')
    ++p;
  return p == pattern.size();
}

std::string_view trimBlanks(std::string_view text) {
  while (!text.empty() && text.front() == ' ')
    text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ')
    text.remove_suffix(1);
  return text;
}

bool patternMatches(std::string_view pattern, std::string_view name) {
  if (globMatch(pattern, name)) return true;
  if (pattern.size() >= 2 && pattern.ends_with(".*"))
    return globMatch(pattern.substr(0, pattern.size() - 2), name);
  if (pattern.ends_with('.') && name.find('.') == std::string_view::npos)
    return globMatch(pattern.substr(0, pattern.size() - 1), name);
  return false;
}

}  // namespace

bool MatchesMask(std::string_view name, std::string_view masks) {
  bool anyPattern = false;
  while (true) {
    const std::size_t semicolon = masks.find(';');
    const std::string_view pattern = trimBlanks(masks.substr(0, semicolon));
    if (!pattern.empty()) {
      anyPattern = true;
      if (patternMatches(pattern, name)) return true;
    }
    if (semicolon == std::string_view::npos) break;
    masks.remove_prefix(semicolon + 1);
  }
  return !anyPattern;
}

std::vector<std::string> ListFilesByMask(FileSystem& files, const std::string& directory,
                                         std::string_view masks) {
  std::vector<std::string> names = files.listFiles(directory);
  std::erase_if(names, [masks](const std::string& name) { return !MatchesMask(name, masks); });
  return names;
}

}  // namespace kelvarine
