#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace kelvarine {

// True when `bytes` is well-formed UTF-8: shortest forms only, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view bytes);

// One character of a decoded line and the number of bytes it was read from.
struct LineChar {
  char32_t code = 0;
  std::size_t size = 1;
};

// The characters of a line of report bytes: its code points when the line is valid UTF-8, otherwise
// every byte as the Latin-1 character of the same value (the rule the viewers display lines by).
std::vector<LineChar> DecodeLine(std::string_view bytes);

}  // namespace kelvarine
