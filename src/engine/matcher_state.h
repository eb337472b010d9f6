#pragma once

#include <cstdint>
#include <vector>

#include "engine/compare_context.h"
#include "engine/compare_key.h"
#include "engine/line_table.h"
#include "engine/run_table.h"

namespace kelvarine {

// The working state of the line matcher for one chunk, shared with the moved-line search.
struct MatcherState {
  static constexpr int kBuckets = 8192;

  explicit MatcherState(CompareContext& context);

  CompareContext& ctx;
  LineTable& newTable;
  LineTable& oldTable;
  bool dpActive;
  int NewCount, OldCount;
  int NewPos = 1, OldPos = 1, NewEnd = 1, OldEnd = 1;
  std::vector<std::int32_t>& buckets;  // head of each bucket's chain of Old lines, index 1..8192; 0 = none
  RunTable runs;
  bool BigMode = false;
  bool LastChunk = false;
  int CutNew = 1, CutOld = 1;
  int cycles = 0;

  // Record i: from the arrays of the chunk's records (and sentinels) as loaded, else through the table
  // (whose range check throws outside 1..8001).
  LineRecord& newLine(int i) { return static_cast<unsigned>(i - 1) < newRecords_ ? news_[i] : newTable[i]; }
  LineRecord& oldLine(int i) { return static_cast<unsigned>(i - 1) < oldRecords_ ? olds_[i] : oldTable[i]; }

  // The Dp-skipping steps over the current (possibly cut) tables.
  int nextNew(int i) const { return LineSteps{newTable, NewCount, dpActive}.next(i); }
  int nextOld(int i) const { return LineSteps{oldTable, OldCount, dpActive}.next(i); }
  int prevNew(int i) const { return LineSteps{newTable, NewCount, dpActive}.prev(i); }
  int prevOld(int i) const { return LineSteps{oldTable, OldCount, dpActive}.prev(i); }

  // New line n and Old line o have the same compare text (lines past a table never do).
  bool equal(int n, int o) const {
    if (n < 1 || n > NewCount || o < 1 || o > OldCount) return false;
    return SameCompareText(news_[n], olds_[o]);
  }

  // The resync probe: bridges a small gap at (n, o). Tries the eight offset pairs in order; succeeds
  // with (n, o) moved to the first offset pair whose pair and two following pairs are equal, unless an
  // earlier offset pair already had an equal first pair (ambiguous). Needs six lines of room.
  bool probe(int& n, int& o) const;

  // Indexes the Old lines by bucket and points every New line that `movedSearch` does not pass over
  // (Dp lines always; Matched lines in the moved-line search) at the first Old line of the same text
  // (and, in the moved-line search, the same CmpLen); the other Old lines of that text follow through
  // NextTwin, ending at the Old end marker. A New line without one gets Link = end marker and Unique.
  // The bucket chains stay as they were (Old lines' Link); the candidates are found through
  // ctx.twinIndex where that finds the same lines in the same order.
  void buildTwinLists(bool movedSearch);

  // New line n and Old line o are equal, and of equal compare length.
  bool equalWithLength(int n, int o) const { return equal(n, o) && news_[n].CmpLen == olds_[o].CmpLen; }

 private:
  LineRecord* news_;
  LineRecord* olds_;
  unsigned newRecords_, oldRecords_;  // records 1..count + 1 of the chunk as loaded
};

// Pairs equal unpaired lines that lie out of order, longest runs first, and marks them Moved.
void FindMovedLines(MatcherState& state);

}  // namespace kelvarine
