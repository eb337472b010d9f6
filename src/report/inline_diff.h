#pragma once

#include <string_view>
#include <vector>

namespace kelvarine {

// Characters [begin, end) of a line.
struct TextSpan {
  int begin = 0, end = 0;
  bool operator==(const TextSpan&) const = default;
};

// What changed inside two lines that face each other: the spans of each that the other does not hold.
struct InlineDifference {
  std::vector<TextSpan> newSpans, oldSpans;
};

// The in-line difference of a New and an Old text, on tokens (runs of letters, digits, '_' and bytes
// above 127; runs of blanks and tabs; any other single character): common leading and trailing tokens,
// then a token LCS of what is between. Neighbouring changed tokens, and changed tokens with only blanks
// between them, form one span. Texts that share less than a quarter of the shorter one's characters
// (blanks aside) give no spans: the whole line changed, which its row already says.
InlineDifference DiffWithinLine(std::string_view newText, std::string_view oldText);

}  // namespace kelvarine
