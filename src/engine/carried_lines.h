#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/line_table.h"

namespace kelvarine {

// Lines the matcher cut off the end of a chunk, kept with their compare keys: the next chunk starts
// with exactly these lines, so it takes them from here instead of reading and preparing them again.
// Only lines whose key depends on nothing but the line itself may be kept (no Dp option).
class CarriedLines {
 public:
  // Keeps records from..to of `table` (prepared, not Dp lines) in front of the lines kept so far;
  // they are valid for a chunk that starts at file position `resumeAt`.
  void keepFront(const LineTable& table, int from, int to, std::int64_t resumeAt);
  // At the start of a chunk (tables cleared) at file position `at`: true when the kept lines start
  // it (they are then taken with takeNext), else drops them.
  bool startChunk(bool usable, std::int64_t at);
  // A kept line is left to take (inline: asked for every line read).
  bool hasNext() const { return next_ < lines_.size(); }
  // Fills record i of `table` (cleared) with the next kept line as it stood after its key was made;
  // its Text stays here until the next chunk starts. False when none is left.
  bool takeNext(LineTable& table, int i);
  // Drops the lines not taken (the text of those taken stays until the next chunk starts).
  void endChunk();
  // Drops everything.
  void clear();

  // File position just after the last kept line.
  std::int64_t endPos() const { return lines_.empty() ? resumeAt_ : lines_.back().EndPos; }

 private:
  // One kept line, small: up to 7998 of them wait between two chunks. Lengths are at most 2049.
  struct Line {
    std::int64_t EndPos;
    std::uint32_t TextAt;  // offset of its Text (PaddedTextBytes(Len) bytes) in the taken text
    std::int16_t Len, CmpLen, CcolLen;
    std::uint16_t Hash;
    bool CcolShort;
  };

  std::vector<Line> lines_;
  std::size_t next_ = 0;
  std::int64_t resumeAt_ = -1;
  // The text of the lines being kept, and of the lines taken by the current chunk.
  std::array<std::vector<char>, 2> text_;
  std::size_t keeping_ = 0;
};

}  // namespace kelvarine
