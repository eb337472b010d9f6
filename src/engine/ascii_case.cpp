#include "engine/ascii_case.h"

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

}  // namespace kelvarine
