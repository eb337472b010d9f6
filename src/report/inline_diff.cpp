#include "report/inline_diff.h"

#include <dtl/dtl.hpp>

#include <algorithm>
#include <cstddef>
#include <string_view>
#include <vector>

namespace kelvarine {

namespace {

// Both texts are cut here: a listed text holds at most 128 characters, and the LCS stays small.
constexpr std::size_t kLongestText = 512;
// Two lines are marked only when they share at least this part (1 / N) of the shorter one's characters
// other than blanks: lines that share a bracket or two were rewritten, not edited.
constexpr std::size_t kLeastSharedPart = 4;

enum class TokenClass { Word, Blank, Other };

TokenClass classOf(unsigned char c) {
  if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c >= 128)
    return TokenClass::Word;
  if (c == ' ' || c == '\t') return TokenClass::Blank;
  return TokenClass::Other;
}

struct Tokens {
  std::vector<std::string_view> texts;
  std::vector<int> starts;  // offset of each token in the line
  std::vector<bool> changed;
};

Tokens tokenise(std::string_view text) {
  Tokens tokens;
  std::size_t i = 0;
  while (i < text.size()) {
    const TokenClass kind = classOf(static_cast<unsigned char>(text[i]));
    std::size_t end = i + 1;
    if (kind != TokenClass::Other)
      while (end < text.size() && classOf(static_cast<unsigned char>(text[end])) == kind)
        ++end;
    tokens.texts.push_back(text.substr(i, end - i));
    tokens.starts.push_back(static_cast<int>(i));
    i = end;
  }
  tokens.changed.assign(tokens.texts.size(), true);
  return tokens;
}

bool isBlank(std::string_view token) {
  return classOf(static_cast<unsigned char>(token.front())) == TokenClass::Blank;
}

// The characters of the tokens other than blanks.
std::size_t nonBlankLength(const Tokens& tokens) {
  std::size_t length = 0;
  for (const std::string_view token : tokens.texts)
    if (!isBlank(token)) length += token.size();
  return length;
}

// Marks the tokens the two sequences share as unchanged: common ends first, then an LCS of the middles.
// Returns the characters of the shared tokens other than blanks.
std::size_t markCommon(Tokens& a, Tokens& b) {
  const std::size_t na = a.texts.size(), nb = b.texts.size();
  std::size_t shared = 0;
  auto keep = [&](std::size_t i, std::size_t k) {
    a.changed[i] = b.changed[k] = false;
    if (!isBlank(a.texts[i])) shared += a.texts[i].size();
  };
  std::size_t head = 0;
  while (head < na && head < nb && a.texts[head] == b.texts[head])
    keep(head, head), ++head;
  std::size_t tail = 0;
  while (tail < na - head && tail < nb - head && a.texts[na - 1 - tail] == b.texts[nb - 1 - tail])
    keep(na - 1 - tail, nb - 1 - tail), ++tail;
  if (head + tail == na || head + tail == nb) return shared;

  using Middle = std::vector<std::string_view>;
  const Middle middleA(a.texts.begin() + static_cast<std::ptrdiff_t>(head),
                       a.texts.end() - static_cast<std::ptrdiff_t>(tail));
  const Middle middleB(b.texts.begin() + static_cast<std::ptrdiff_t>(head),
                       b.texts.end() - static_cast<std::ptrdiff_t>(tail));
  dtl::Diff<std::string_view, Middle> diff(middleA, middleB);
  diff.compose();
  std::size_t i = head, k = head;
  for (const auto& [token, info] : diff.getSes().getSequence()) {
    if (info.type == dtl::SES_COMMON) {
      keep(i++, k++);
    } else if (info.type == dtl::SES_DELETE) {
      ++i;
    } else {
      ++k;
    }
  }
  return shared;
}

// The changed tokens as spans; blanks between two changed tokens join them.
std::vector<TextSpan> spansOf(const Tokens& tokens, std::size_t length) {
  std::vector<TextSpan> spans;
  const std::size_t n = tokens.texts.size();
  for (std::size_t i = 0; i < n; ++i) {
    if (!tokens.changed[i]) continue;
    const int begin = tokens.starts[i];
    const int end = i + 1 < n ? tokens.starts[i + 1] : static_cast<int>(length);
    const bool joins = !spans.empty() && (spans.back().end == begin ||
                                          (i >= 2 && tokens.changed[i - 2] && isBlank(tokens.texts[i - 1]) &&
                                           spans.back().end == tokens.starts[i - 1]));
    if (joins) {
      spans.back().end = end;
    } else {
      spans.push_back({begin, end});
    }
  }
  return spans;
}

}  // namespace

InlineDifference DiffWithinLine(std::string_view newText, std::string_view oldText) {
  newText = newText.substr(0, kLongestText);
  oldText = oldText.substr(0, kLongestText);
  Tokens a = tokenise(newText), b = tokenise(oldText);
  const std::size_t shared = markCommon(a, b);
  if (shared == 0 || shared * kLeastSharedPart < std::min(nonBlankLength(a), nonBlankLength(b))) return {};
  return {spansOf(a, newText.size()), spansOf(b, oldText.size())};
}

}  // namespace kelvarine
