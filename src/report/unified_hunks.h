#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace kelvarine {

// A run of a hunk, by file positions: Old lines that are the same in New (context), or Old lines
// replaced by New lines (a change; either side may be empty). Bytes stay in the files.
struct HunkItem {
  bool change = false;
  std::int64_t oldStart = 0, oldEnd = 0, newStart = 0, newEnd = 0;
  std::int64_t oldLines = 0, newLines = 0;
};

// One hunk: its first line on each side (1-based), its line counts and its runs in order.
struct Hunk {
  std::int64_t oldFirst = 0, newFirst = 0, oldLines = 0, newLines = 0;
  std::vector<HunkItem> items;
};

// The "@@ -a,b +c,d @@" line of a hunk, written as diff writes it: ",b" left out when b is 1, an
// empty side written "a,0" with a the line before it.
std::string HunkHeaderText(const Hunk& hunk);

// Groups a pair's lines, given in file order as context lines and changes, into hunks with `context`
// lines of context around each change; hunks whose context would meet are merged. Holds positions
// only: a few context lines and the runs of the open hunk. A hunk of more than `maxRuns` runs ends
// at its next context line and the next change starts another, so that memory stays bounded however
// many changes lie close together (diff would write one hunk; patch applies both alike).
class HunkBuilder {
 public:
  using Writer = std::function<void(const Hunk&)>;
  HunkBuilder(int context, Writer write, std::size_t maxRuns = 65536)
      : context_(context < 0 ? 0 : static_cast<std::size_t>(context)),
        maxRuns_(maxRuns),
        write_(std::move(write)) {}

  // One Old line [start, end) that is the same in New.
  void contextLine(std::int64_t start, std::int64_t end);
  // Old lines [oldStart, oldEnd) (`oldLines` of them) replaced by New lines [newStart, newEnd).
  void change(std::int64_t oldStart, std::int64_t oldEnd, std::int64_t oldLines, std::int64_t newStart,
              std::int64_t newEnd, std::int64_t newLines);
  // The pair ends: writes the open hunk.
  void finish();
  bool wroteHunk() const { return wrote_; }

 private:
  struct Span {
    std::int64_t start, end;
  };
  void addContext(const Span& span);
  void close(std::size_t trailing);

  std::size_t context_;
  std::size_t maxRuns_;
  Writer write_;
  std::deque<Span> recent_;  // outside a hunk: the last context lines; inside: those since the last change
  bool inHunk_ = false;
  bool wrote_ = false;
  Hunk hunk_;
  std::int64_t oldLine_ = 0, newLine_ = 0;  // lines passed on each side
};

}  // namespace kelvarine
