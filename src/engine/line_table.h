#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

namespace kelvarine {

// One line of a chunk. Filled by the text reader, marked by the Dp filters, linked by the matcher,
// flagged by the listing. Indexes are 1-based table indexes.
struct LineRecord {
  std::int64_t EndPos = 0;         // file position just after this line's terminator
  char* Text = nullptr;            // at least Len + 4 bytes: the line as read, then the compare text in place
  const char* ReadText = nullptr;  // the line as read (Len characters), as the listing shows it
  char* ListText = nullptr;        // the listing's copy of a Dp line, its comment blanked
  std::uint64_t TwinKey = 0;       // strong hash of the compare text (made with it)
  std::int32_t Link = 0;           // partner (or, while indexing, first equal Old line / bucket chain)
  std::int32_t NextTwin = 0;       // Old: next Old line with the same compare text
  std::int32_t RunLen = 0;         // listing: lines of the run this line starts
  std::int32_t Len = 0;            // length as read, 1..2048 (an empty line is one blank)
  std::int32_t CmpLen = 0;         // compare text length after blank removal, padded to even
  std::int32_t CcolLen = 0;        // compare-column text length (with Ccol)
  std::int32_t TextCap = 0;        // bytes available at Text (at least Len + 4)
  std::uint16_t Hash = 0;          // hash of the compare text; never 0 for a prepared line
  bool Matched = false;            // paired with a line of the other table
  bool Unique = false;             // New: settled without a partner in its region (matcher working flag)
  bool DpLine = false;             // don't-process line: never matched
  bool PartDp = false;             // part of the line is a Dp comment, blanked before comparing
  bool Reformat = false;           // matched line whose listing text differs from its partner's
  bool Anchor = false;             // first line of an accepted run; true on the sentinel
  bool Moved = false;              // paired out of order by the moved-line search
  bool CcolShort = false;          // shorter than the first compare column; compare text one blank
  bool TwinExact = false;          // the twin index's class of TwinKey holds every line this one can equal
};

// Bytes a line table gives the Text of a line of `len` characters: len + 4, rounded up to whole words.
inline std::int32_t PaddedTextBytes(std::int32_t len) {
  return (len + 4 + 7) & ~7;
}

// Writes the `len` bytes at `src` to `dst` followed by zeros up to `cap` (>= len) bytes. A short
// line a word at a time, where a call of memcpy and memset would cost more than the copy itself.
inline void CopyZeroPadded(char* dst, std::size_t cap, const char* src, std::size_t len) {
  if (len > 24) {
    std::memcpy(dst, src, len);
    std::memset(dst + len, 0, cap - len);
    return;
  }
  std::size_t k = 0;
  for (; k + 8 <= len; k += 8)
    std::memcpy(dst + k, src + k, 8);
  char tail[8] = {};
  const std::size_t rest = len - k;
  std::size_t at = 0;
  if ((rest & 4) != 0) {
    std::memcpy(tail, src + k, 4);
    at = 4;
  }
  if ((rest & 2) != 0) {
    std::memcpy(tail + at, src + k + at, 2);
    at += 2;
  }
  if ((rest & 1) != 0) tail[at] = src[k + at];
  if (k + 8 > cap) {
    for (std::size_t j = 0; k < cap; ++k, ++j)
      dst[k] = tail[j];
    return;
  }
  std::memcpy(dst + k, tail, 8);
  for (k += 8; k + 8 <= cap; k += 8)
    std::memset(dst + k, 0, 8);
  for (; k < cap; ++k)
    dst[k] = 0;
}

// A New or Old line table: records 1..8001 of one chunk (at most 7999 lines, a sentinel behind the
// last) and the text they point to. Text lives in an arena that is reset with the table.
class LineTable {
 public:
  static constexpr int kMaxLines = 7999;
  static constexpr int kRecords = 8001;

  LineTable();

  // Record i, 1..8001; any other index is a range error (EngineFault).
  LineRecord& operator[](int i) {
    if (i < 1 || i > kRecords) rangeError(i);
    if (i > touched_) touched_ = i;
    return records_[static_cast<std::size_t>(i)];
  }
  const LineRecord& operator[](int i) const {
    if (i < 1 || i > kRecords) rangeError(i);
    return records_[static_cast<std::size_t>(i)];
  }

  // Records 0..last as an array (index i is record i), for loops over a whole table; records up to
  // `last` (at most 8001) count as written.
  LineRecord* rows(int last) {
    if (last < 0 || last > kRecords) rangeError(last);
    if (last > touched_) touched_ = last;
    return records_.data();
  }

  // Clears every record to zero and releases all text (only the records that were touched since the
  // last clear need it, which keeps small files cheap).
  void clear();
  // The same for a table whose records 1..n are about to be assigned whole: releases all text now;
  // clearFrom(n + 1) then clears the records behind them.
  void releaseAllText() {
    block_ = 0;
    used_ = 0;
  }
  void clearFrom(int first);
  // Gives record i a text buffer of at least `len` + 4 bytes holding `text` followed by zero bytes.
  void setText(int i, const char* text, int len);
  // A copy of `text` (`len` + 4 bytes or more, zeros behind the text) that lives until the next clear().
  char* copyText(const char* text, int len);
  // Drops record i's texts (their memory returns with the next clear()).
  void releaseText(int i);
  // Makes record i the sentinel of a table whose other table holds `otherCount` lines.
  void makeSentinel(int i, int otherCount);

 private:
  [[noreturn]] static void rangeError(int i);
  // `bytes` from the arena: from the block being filled when they fit, else from the next one.
  char* allocate(std::size_t bytes) {
    if (block_ < blockSizes_.size() && used_ + bytes <= blockSizes_[block_]) {
      char* p = blocks_[block_].get() + used_;
      used_ += bytes;
      return p;
    }
    return allocateInNextBlock(bytes);
  }
  char* allocateInNextBlock(std::size_t bytes);

  std::vector<LineRecord> records_;
  std::vector<std::unique_ptr<char[]>> blocks_;
  std::vector<std::size_t> blockSizes_;
  int touched_ = kRecords;  // highest record index handed out for writing since the last clear()
  std::size_t block_ = 0;   // block being filled
  std::size_t used_ = 0;    // bytes used in that block
};

// The Dp-skipping index steps over one table of `count` lines. Without an active Dp option they
// return the index itself; past the table they give count + 1 (the sentinel).
struct LineSteps {
  const LineTable& table;
  int count;
  bool dpActive;

  // First index >= i that is not a Dp line (count + 1 past the end). Inline: the matcher and the
  // listing step through every line with it.
  int next(int i) const {
    if (i > count) return count + 1;
    if (i < 1) i = 1;
    if (!dpActive) return i;
    while (i <= count && table[i].DpLine)
      ++i;
    return i;
  }
  // Steps back from i over Dp lines; stops at the first non-Dp line or at 1. i < 2 is returned as is.
  int prev(int i) const {
    if (!dpActive || i < 2) return i;
    if (i > count + 1) i = count + 1;
    while (i > 1 && table[i].DpLine)
      --i;
    return i;
  }
};

}  // namespace kelvarine
