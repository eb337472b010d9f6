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
  while (true) {
    const std::size_t aEnd = std::min(a.find('/'), a.size()), bEnd = std::min(b.find('/'), b.size());
    if (const int order = CompareIgnoringCase(a.substr(0, aEnd), b.substr(0, bEnd)); order != 0) return order;
    const bool aLast = aEnd == a.size(), bLast = bEnd == b.size();
    if (aLast || bLast) return aLast == bLast ? 0 : (aLast ? -1 : 1);
    a.remove_prefix(aEnd + 1);
    b.remove_prefix(bEnd + 1);
  }
}

bool PathOrderLess(std::string_view a, std::string_view b) {
  const int folded = ComparePathsIgnoringCase(a, b);
  return folded != 0 ? folded < 0 : a < b;
}

}  // namespace kelvarine
