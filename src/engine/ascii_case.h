#pragma once

#include <string>
#include <string_view>

namespace kelvarine {

// Letter case of ASCII letters only: file names, keywords and masks are compared this way, whatever
// the locale (other bytes are never folded).
inline char FoldAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string LowerAscii(std::string text);
bool EqualIgnoringCase(std::string_view a, std::string_view b);
// Byte order of the case-folded texts: negative, 0 or positive.
int CompareIgnoringCase(std::string_view a, std::string_view b);
// Name order ignoring case; names that differ only in case are ordered by their bytes, so that the
// order is total and the same on every run.
bool NameOrderLess(std::string_view a, std::string_view b);
// The same for relative paths ("sub/name"), compared name by name so that the files under one
// directory stay together; for names without "/" the same as CompareIgnoringCase / NameOrderLess.
int ComparePathsIgnoringCase(std::string_view a, std::string_view b);
bool PathOrderLess(std::string_view a, std::string_view b);

}  // namespace kelvarine
