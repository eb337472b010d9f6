#pragma once

#include <charconv>
#include <cstdarg>
#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

namespace kelvarine {

// Widest report line; longer texts are cut.
inline constexpr std::size_t kReportLineWidth = 132;
// Characters of a line's text that a listing line shows: without Fscl, and with it.
inline constexpr int kPlainTextWidth = 80;
inline constexpr int kFullTextWidth = 128;

// printf-style formatting into a report line buffer: the result is cut at 132 characters.
[[gnu::format(printf, 1, 2)]] inline std::string FormatReportLine(const char* format, ...) {
  char buffer[kReportLineWidth + 1];
  va_list args;
  va_start(args, format);
  std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  return buffer;
}

// Writes `value` as "%.5d" writes it (at least five digits, zeros in front) at `out` (room for 12
// characters) and returns the end, without printf's cost: the listing writes two of these on every line.
inline char* WriteReference(char* out, int value) {
  char digits[16];
  const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  std::string_view text(digits, static_cast<std::size_t>(end - digits));
  if (value < 0) {
    *out++ = '-';
    text.remove_prefix(1);
  }
  for (std::size_t k = text.size(); k < 5; ++k)
    *out++ = '0';
  for (const char c : text)
    *out++ = c;
  return out;
}

}  // namespace kelvarine
