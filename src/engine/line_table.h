#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace kelvarine {

// One line of a chunk. Filled by the text reader, marked by the Dp filters, linked by the matcher,
// flagged by the listing. Indexes are 1-based table indexes.
struct LineRecord {
  bool Matched = false;       // paired with a line of the other table
  bool Unique = false;        // New: settled without a partner in its region (matcher working flag)
  bool DpLine = false;        // don't-process line: never matched
  bool PartDp = false;        // part of the line is a Dp comment, blanked before comparing
  bool Reformat = false;      // matched line whose listing text differs from its partner's
  bool Anchor = false;        // first line of an accepted run; true on the sentinel
  bool Moved = false;         // paired out of order by the moved-line search
  bool CcolShort = false;     // shorter than the first compare column; compare text one blank
  std::int32_t Link = 0;      // partner (or, while indexing, first equal Old line / bucket chain)
  std::uint16_t Hash = 0;     // hash of the compare text; never 0 for a prepared line
  std::int32_t NextTwin = 0;  // Old: next Old line with the same compare text
  std::int32_t RunLen = 0;    // listing: lines of the run this line starts
  std::int32_t Len = 0;       // length as read, 1..2048 (an empty line is one blank)
  std::int32_t CmpLen = 0;    // compare text length after blank removal, padded to even
  std::int32_t CcolLen = 0;   // compare-column text length (with Ccol)
  std::int64_t EndPos = 0;    // file position just after this line's terminator
  char* Text = nullptr;       // Len + 4 bytes: the line as read, then the compare text in place
  char* ListText = nullptr;   // the listing's copy of the line as read
  std::int32_t TextCap = 0;   // bytes available at Text (at least Len + 4)
};

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

  // Clears every record to zero and releases all text (only the records that were touched since the
  // last clear need it, which keeps small files cheap).
  void clear();
  // Gives record i a text buffer of `len` + 4 bytes holding `text` followed by zero bytes.
  void setText(int i, const char* text, int len);
  // Gives record i a listing copy (`len` + 4 bytes) of `text`.
  void setListText(int i, const char* text, int len);
  // Drops record i's Text and ListText (their memory returns with the next clear()).
  void releaseText(int i);
  // Makes record i the sentinel of a table whose other table holds `otherCount` lines.
  void makeSentinel(int i, int otherCount);

 private:
  [[noreturn]] static void rangeError(int i);
  char* allocate(std::size_t bytes);

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

  // First index >= i that is not a Dp line (count + 1 past the end).
  int next(int i) const;
  // Steps back from i over Dp lines; stops at the first non-Dp line or at 1. i < 2 is returned as is.
  int prev(int i) const;
};

}  // namespace kelvarine
