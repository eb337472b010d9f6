#pragma once

#include <string>
#include <vector>

#include "report/inline_diff.h"

namespace kelvarine {

// `text` with each of `spans` (shifted left by `offset`) in brackets.
inline std::string MarkedText(const std::string& text, const std::vector<TextSpan>& spans, int offset = 0) {
  std::string out;
  int at = 0;
  for (const TextSpan& span : spans) {
    const int begin = span.begin - offset, end = span.end - offset;
    out += text.substr(at, begin - at) + "[" + text.substr(begin, end - begin) + "]";
    at = end;
  }
  return out + text.substr(at);
}

}  // namespace kelvarine
