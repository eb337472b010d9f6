#pragma once

#include <cstdarg>
#include <cstddef>
#include <cstdio>
#include <string>

namespace kelvarine {

// Widest report line; longer texts are cut.
inline constexpr std::size_t kReportLineWidth = 132;

// printf-style formatting into a report line buffer: the result is cut at 132 characters.
[[gnu::format(printf, 1, 2)]] inline std::string FormatReportLine(const char* format, ...) {
  char buffer[kReportLineWidth + 1];
  va_list args;
  va_start(args, format);
  std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  return buffer;
}

}  // namespace kelvarine
