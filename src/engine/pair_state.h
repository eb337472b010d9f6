#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace kelvarine {

// The state of the pair being compared; cleared at the start of every pair.
struct PairState {
  bool StopSet = false;                     // end the set now (invalid compare-column ranges)
  bool Binary = false;                      // compared byte by byte
  bool AllRead = false;                     // the pair needs no further reading
  bool FilesDiffer = false;                 // the pair has differences
  bool AeqfEqual = false;                   // equal date stamp and size under Aeqf
  bool Reading = false;                     // the chunk loader is running
  bool MovedSubOptimal = false;             // compared in several chunks with Fmvl ticked
  std::int32_t NewLines = 0, OldLines = 0;  // lines in the two line tables of the current chunk
  std::int32_t NewCcolShortLines = 0, OldCcolShortLines = 0;
  std::int64_t NewBinBytes = 0, OldBinBytes = 0;  // sizes of a binary pair
  std::int32_t ReturnCode = 0;  // 0 ready/compared, 1 pair differs (or bad Ccol), 4 input error
  // Text pair: an end-of-file character ended the text of a file, and the bytes behind it differ.
  bool EofCharTailsDiffer = false;
  // Binary pair that differs: the 1-based offset and line of its first differing byte, as cmp counts
  // them. When one file is the start of the other, the byte after the shorter one's end, and that side.
  std::int64_t FirstDiffByte = 0, FirstDiffLine = 0;
  enum class Ended { Neither, New, Old } ShorterEnded = Ended::Neither;

  // Pair counters of the listing, accumulated over the chunks of the pair.
  std::int32_t NewLinesProcessed = 0, OldLinesProcessed = 0, MatchCount = 0, ReformatCount = 0,
               InsertCount = 0, DeleteCount = 0, NewDpCount = 0, NewPartDpCount = 0, OldDpCount = 0,
               OldPartDpCount = 0, PairedChanges = 0, MovedCount = 0, TotalChanges = 0;

  // Chng listing context: held unchanged lines around the changes.
  static constexpr int kChngWindow = 7;
  std::int32_t ChngHeld = 0;
  std::int32_t ChngFirst = 0;  // where the oldest held line is in ChngHeldLines, a ring
  bool ChngTrailing = false;
  bool ChngGapPending = false;
  std::int32_t ChngSkipped = 0;
  // A held line: a finished report line, or (matched) an unchanged line's text and references, made
  // into a report line only if it is shown: most unchanged lines of a Chng listing never are. A matched
  // line's text stays where the chunk keeps it (`at`) until the chunk's listing ends; then it is copied.
  struct HeldLine {
    std::string text;
    const char* at = nullptr;
    std::int32_t len = 0;
    std::int32_t newRef = 0, oldRef = 0;
    bool matched = false;
  };
  std::array<HeldLine, kChngWindow> ChngHeldLines;
};

// One entry of the pair statistics list: created by the pair setup, filled by the report.
struct PairStatistics {
  bool Binary = false;     // compared byte by byte
  bool TdlEqual = false;   // taken as equal by Aeqf (equal date stamp and size)
  bool OpenError = false;  // could not be opened, or 2 GB or larger
  bool Changed = false;    // differences found
  std::int32_t NewLinesProcessed = 0, OldLinesProcessed = 0, MatchCount = 0, ReformatCount = 0,
               InsertCount = 0, DeleteCount = 0, NewDpCount = 0, OldDpCount = 0, TotalChanges = 0,
               PairedChanges = 0, MovedCount = 0;
  std::int64_t NewBinBytes = 0, OldBinBytes = 0;
};

}  // namespace kelvarine
