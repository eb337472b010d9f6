#pragma once

#include <cstddef>
#include <cstdint>

namespace kelvarine {

// Counts lines as ReadLine reads them, without reading them one by one, in text where ReadLine's rules
// come down to "LF ends a line": text without CR, without end-of-file characters (26) and without
// lines of 2048 characters or more (ReadLine cuts those). Fed the file's bytes in order from a line
// start, it stops at a limit of lines and knows their longest length and where the last one ended.
// A long line makes it give up (false); ReadLine is then the one to read that text.
class PlainLineCounter {
 public:
  PlainLineCounter(std::int64_t start, std::int32_t limit) : lineStart_(start), limit_(limit) {}

  // Whether the bytes hold neither CR nor end-of-file characters; only such bytes may be fed.
  static bool Plain(const char* bytes, std::size_t size);

  // Counts the lines ending in the `size` bytes that lie at file offset `offset`, right behind the
  // bytes fed before, until the limit. False at a line of 2048 characters or more.
  bool feed(const char* bytes, std::size_t size, std::int64_t offset);
  // At the end of the file, which lies at `offset`: a last line without LF is a line too.
  bool finish(std::int64_t offset);

  bool full() const { return lines_ >= limit_; }
  std::int32_t lines() const { return lines_; }
  // The longest line counted (an empty line counts 0) and the file offset just behind the last one.
  std::int32_t longest() const { return longest_; }
  std::int64_t end() const { return lineStart_; }

 private:
  // A line ends (its LF) at file offset `at`.
  bool line(std::int64_t at);

  std::int64_t lineStart_;
  std::int32_t limit_;
  std::int32_t lines_ = 0;
  std::int32_t longest_ = 0;
};

}  // namespace kelvarine
