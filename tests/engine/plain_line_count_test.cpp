#include "engine/plain_line_count.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "engine/text_reader.h"

namespace kelvarine {
namespace {

struct Counted {
  std::int32_t lines = 0, longest = 0;
  std::int64_t end = 0;
  bool cut = false;  // a line of 2048 characters or more was met
  friend bool operator==(const Counted&, const Counted&) = default;
};

// ReadLine's answer: up to `limit` lines from `start`.
Counted readLines(const std::string& text, std::int64_t start, std::int32_t limit) {
  TextInput input;
  input.Stream = InputFileFromBytes(text, static_cast<std::int64_t>(text.size()), 0);
  input.FilePos = start;
  ResetInput(input, true);
  Counted out;
  while (out.lines < limit && ReadLine(input, false))
    ++out.lines;
  out.longest = input.LongestLine;
  out.end = input.FilePos;
  out.cut = input.LinesSplit;
  return out;
}

// The counter's answer, fed the text from `start` in pieces of random sizes.
Counted countLines(const std::string& text, std::int64_t start, std::int32_t limit, std::mt19937& random) {
  PlainLineCounter counter(start, limit);
  Counted out;
  auto at = static_cast<std::size_t>(start);
  while (at < text.size() && !counter.full()) {
    const std::size_t piece = std::min<std::size_t>(text.size() - at, 1 + random() % 40);
    if (!counter.feed(text.data() + at, piece, static_cast<std::int64_t>(at))) {
      out.cut = true;
      return out;
    }
    at += piece;
  }
  out.cut = !counter.finish(static_cast<std::int64_t>(text.size()));
  if (out.cut) return out;
  out.lines = counter.lines();
  out.longest = counter.longest();
  out.end = counter.end();
  return out;
}

TEST(PlainLineCounter, CountsAsReadLineReadsTextWithLfAlone) {
  std::mt19937 random(20261207);
  for (int round = 0; round < 3000; ++round) {
    // Short lines with TABs and blanks, empty lines, now and then a line near or past 2048 characters;
    // every other text has lines of at most 6 characters only, which may lie inside one 8-byte word.
    std::string text;
    const int lines = static_cast<int>(random() % 60);
    for (int i = 0; i < lines; ++i) {
      const int kind = static_cast<int>(random() % 20);
      const std::size_t length = round % 2 == 0 ? random() % 7
                                 : kind == 0    ? 2040 + random() % 16
                                                : random() % (kind < 10 ? 9 : 70);
      for (std::size_t k = 0; k < length; ++k)
        text += "ab \txyz0"[random() % 8];
      if (i + 1 < lines || random() % 2 == 0) text += '\n';
    }
    ASSERT_TRUE(PlainLineCounter::Plain(text.data(), text.size()));
    std::int64_t start = 0;
    while (true) {
      const auto limit = static_cast<std::int32_t>(1 + random() % 30);
      const Counted expected = readLines(text, start, limit);
      const Counted got = countLines(text, start, limit, random);
      if (got.cut) {
        // It gives up only where ReadLine cuts a line.
        EXPECT_TRUE(expected.cut) << "round " << round;
        break;
      }
      ASSERT_EQ(got, expected) << "round " << round << " from " << start;
      if (got.lines < limit) break;
      start = got.end;
    }
  }
}

TEST(PlainLineCounter, TakesNoTextWithCrOrEndOfFileCharacters) {
  EXPECT_TRUE(PlainLineCounter::Plain("a\tb\n\n", 5));
  EXPECT_FALSE(PlainLineCounter::Plain("a\r\nb", 4));
  EXPECT_FALSE(PlainLineCounter::Plain("a\nb\x1a", 4));
}

}  // namespace
}  // namespace kelvarine
