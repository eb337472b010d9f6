#include "engine/ascii_case.h"

#include <algorithm>

namespace kelvarine {

std::string LowerAscii(std::string text) {
  for (char& c : text)
    c = FoldAscii(c);
  return text;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  return true;
}

int CompareIgnoringCase(std::string_view a, std::string_view b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const auto x = static_cast<unsigned char>(FoldAscii(a[i]));
    const auto y = static_cast<unsigned char>(FoldAscii(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

bool NameOrderLess(std::string_view a, std::string_view b) {
  const int folded = CompareIgnoringCase(a, b);
  return folded != 0 ? folded < 0 : a < b;
}

int ComparePathsIgnoringCase(std::string_view a, std::string_view b) {
  // Component by component is byte by byte with '/' below every other byte: up to the first
  // difference both paths have the same components, and there the one whose component ends first
  // (at a '/' or at its end) is the smaller. One pass, as sorting calls it for every comparison.
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const auto x = static_cast<unsigned char>(FoldAscii(a[i]));
    const auto y = static_cast<unsigned char>(FoldAscii(b[i]));
    if (x == y) continue;
    if (x == '/') return -1;
    if (y == '/') return 1;
    return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

bool PathOrderLess(std::string_view a, std::string_view b) {
  const int folded = ComparePathsIgnoringCase(a, b);
  return folded != 0 ? folded < 0 : a < b;
}

}  // namespace kelvarine
