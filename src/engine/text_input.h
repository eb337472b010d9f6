#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/file_system.h"
#include "engine/line_feed.h"
#include "engine/line_splitter.h"

namespace kelvarine {

// The reader's state for the New or the Old file of a pair.
struct TextInput {
  static constexpr int kReadBlock = kTextReadBlock;
  static constexpr int kMaxLineLen = kMaxTextLineLen;

  bool AtEof = false;         // end of file reached; the last read returned no line
  bool EofCharEnd = false;    // an end-of-file character (26) ended the last line
  bool PrematureEof = false;  // an end-of-file character was met with data behind it
  // Where the end-of-file character that ended the text lies when data follows it (-1: none did).
  std::int64_t EofCharAt = -1;
  bool CcolShortSeen = false;  // some line was shorter than the first compare column
  bool LinesSplit = false;     // some line longer than 2048 characters was split
  bool CcolTwoRanges = false;  // a second compare-column range is in use
  std::int32_t CcolStart1 = 0, CcolEnd1 = 0, CcolStart2 = 0, CcolEnd2 = 0;  // end 0: end of line

  // Dp carry flags: a comment or string open at the end of the previous line.
  bool CarryCppString = false, CarryCppComment = false, CarryParenComment = false, CarryHtmlComment = false,
       CarryBraceComment = false;

  std::string FileName;               // the whole path
  std::unique_ptr<InputFile> Stream;  // the open file
  std::int64_t FilePos = 0;           // bytes consumed: just after the last line returned
  std::int64_t ChunkStart = 0;        // FilePos at the start of the current chunk
  std::vector<char> ReadBuf;          // kReadBlock bytes while a pair is set up
  std::vector<char> LineBuf;          // kMaxLineLen bytes while a pair is set up
  std::int32_t LineLen = 0;           // length of the last line returned (at least 1)
  std::int32_t LongestLine = 0;       // longest line met (an empty line counts 0)
  std::int32_t MaxCmpLen = 0;         // longest compare-column text met
  std::int32_t Count = 0;             // line records of the current chunk
  std::int32_t BufLeft = 0, BufPos = 0;
  std::int32_t LineBase = 0;      // lines of the file before the current chunk
  std::int32_t LinesDone = 0;     // lines of the file before the next chunk
  FileStamp FileDate = 0;         // modification time
  std::int64_t FileSize = 0;      // size; the binary compare reuses it for its last read count
  std::int64_t FileSizeKept = 0;  // New only: the size, never overwritten
  LineFeed Feed;                  // the lines the chunk loader takes, split and keyed
  std::int32_t KeysMade = 0;      // lines 1..KeysMade of the chunk came with their compare keys
  // End of the furthest line counted as shorter than the first compare column: a line read again
  // with a later chunk (the matcher cuts chunks short) is counted once.
  std::int64_t CcolCountedTo = 0;

  // A pass over the lines of a chunk starts outside any comment or string.
  void clearDpCarry() {
    CarryCppString = CarryCppComment = CarryParenComment = CarryHtmlComment = CarryBraceComment = false;
  }

  // The compare-column bounds.
  CompareColumns columns() const { return {CcolTwoRanges, CcolStart1, CcolEnd1, CcolStart2, CcolEnd2}; }

  // Clears the input for the next pair, keeping the buffers' memory; the compare-column bounds survive
  // when `keepCcol`.
  void clear(bool keepCcol);
};

}  // namespace kelvarine
