#include "engine/line_matcher.h"

#include <cstdio>
#include <optional>

#include "engine/matcher_state.h"
#include "engine/run_acceptance.h"

namespace kelvarine {

namespace {

// What recording a run asks of the run search.
enum class Recorded { Done, Bridged, StopTwins };

class LineMatcher {
 public:
  explicit LineMatcher(CompareContext& context) : s_(context) {}

  void run();

 private:
  void buildSameTextIndex();
  void cycle();
  void runSearch();
  Recorded recordRun(int cur, int cand, int& nNext, int& oNext, int& len, int& next);
  void advanceRegion();
  void truncateTables(int n, int o);
  int settledLines() const;

  MatcherState s_;
};

// Step 1: the same-text index; the sentinels point at the other table's end.
void LineMatcher::buildSameTextIndex() {
  s_.buildTwinLists(/*movedSearch=*/false);
  s_.newLine(s_.NewCount + 1).Link = s_.OldCount + 1;
  s_.oldLine(s_.OldCount + 1).Link = s_.NewCount + 1;
}

// Recording a run found by the search: extend it backwards, bridge a small gap in big mode, or enter it
// into the run table.
Recorded LineMatcher::recordRun(int cur, int cand, int& nNext, int& oNext, int& len, int& next) {
  int back = 0, bn = cur, bo = cand;
  if (cur > s_.NewPos && cand > s_.OldPos) {
    int pn = s_.prevNew(cur - 1), po = s_.prevOld(cand - 1);
    while (pn > s_.NewPos && po > s_.OldPos && s_.equal(pn, po)) {
      ++back;
      bn = pn;
      bo = po;
      pn = s_.prevNew(pn - 1);
      po = s_.prevOld(po - 1);
    }
  }
  if (s_.BigMode && len + back >= 4 && oNext < s_.OldEnd) {
    int n = nNext, o = oNext;
    if (s_.probe(n, o)) {
      for (int step = 0; step < 3; ++step) {
        n = s_.nextNew(n + 1);
        o = s_.nextOld(o + 1);
      }
      nNext = n;
      oNext = o;
      len += 3;
      return Recorded::Bridged;
    }
  }
  len += back;
  RunEntry entry{len, back > 0 ? bn : cur, back > 0 ? bo : cand, s_.prevNew(nNext - 1),
                 s_.prevOld(oNext - 1)};
  s_.runs.enter(entry);
  if (nNext > next) next = nNext;
  return len - back == 1 ? Recorded::StopTwins : Recorded::Done;
}

// The run search of one cycle: candidate runs of the region from every unsettled New line and each of
// its equal Old lines in the region.
void LineMatcher::runSearch() {
  int cur = s_.NewPos;
  while (cur < s_.NewEnd) {
    int next = s_.nextNew(cur + 1);
    LineRecord& line = s_.newLine(cur);
    int cand = line.Link;
    while (cand != 0 && cand < s_.OldPos) {
      cand = s_.oldLine(cand).NextTwin;
      line.Link = cand;
    }
    if (cand == 0 || cand >= s_.OldEnd) {
      line.Unique = true;
    } else {
      int len = 1;
      int nNext = s_.nextNew(cur + 1), oNext = s_.nextOld(cand + 1);
      while (oNext < s_.OldEnd) {
        if (nNext < s_.NewEnd && s_.equal(nNext, oNext)) {
          ++len;
          nNext = s_.nextNew(nNext + 1);
          oNext = s_.nextOld(oNext + 1);
          continue;
        }
        if (s_.BigMode && len == 1) {
          len = 0;
          break;
        }
        Recorded r = recordRun(cur, cand, nNext, oNext, len, next);
        if (r == Recorded::Bridged) continue;
        if (r == Recorded::StopTwins) {
          len = 0;
          break;
        }
        cand = s_.oldLine(cand).NextTwin;
        if (cand == 0 || cand >= s_.OldEnd) {
          len = 0;
          break;
        }
        len = 1;
        nNext = s_.nextNew(cur + 1);
        oNext = s_.nextOld(cand + 1);
      }
      if (len > 0) recordRun(cur, cand, nNext, oNext, len, next);
    }
    cur = next;
    while (cur < s_.NewEnd && s_.newLine(cur).Unique)
      cur = s_.nextNew(cur + 1);
  }
}

// Moves the region past the lines settled so far: the next region runs from the first unsettled pair
// to the next accepted run (its Anchor).
void LineMatcher::advanceRegion() {
  bool progress = false;
  while (s_.NewPos <= s_.NewCount && (s_.newLine(s_.NewPos).Matched || s_.newLine(s_.NewPos).Unique)) {
    if (s_.newLine(s_.NewPos).Matched) {
      s_.OldPos = s_.nextOld(s_.newLine(s_.NewPos).Link + 1);
      while (s_.OldPos <= s_.OldCount && s_.oldLine(s_.OldPos).Matched) {
        s_.NewPos = s_.nextNew(s_.oldLine(s_.OldPos).Link);
        s_.OldPos = s_.nextOld(s_.OldPos + 1);
      }
    }
    progress = true;
    s_.NewPos = s_.nextNew(s_.NewPos + 1);
  }
  if (!progress) return;
  int end = s_.NewPos;
  while (end <= s_.NewCount && !s_.newLine(end).Anchor)
    ++end;
  if (end > s_.NewCount) end = s_.NewCount + 1;
  s_.NewEnd = end;
  s_.OldEnd = s_.newLine(end).Link;
}

// Cuts the chunk after New line n and Old line o; the lines behind start the next chunk.
void LineMatcher::truncateTables(int n, int o) {
  for (int i = n + 1; i <= s_.NewCount; ++i)
    s_.newTable.releaseText(i);
  for (int i = o + 1; i <= s_.OldCount; ++i)
    s_.oldTable.releaseText(i);
  s_.ctx.newInput.Count = n;
  s_.ctx.oldInput.Count = o;
  s_.ctx.pair().NewLines = n;
  s_.ctx.pair().OldLines = o;
  s_.NewCount = n;
  s_.OldCount = o;
  s_.newTable.makeSentinel(n + 1, o);
  s_.oldTable.makeSentinel(o + 1, n);
  if (s_.NewEnd > n + 1) s_.NewEnd = n + 1;
  if (s_.OldEnd > o + 1) s_.OldEnd = o + 1;
}

void LineMatcher::cycle() {
  ++s_.cycles;
  s_.runs.reset(s_.BigMode ? 3 : 0);
  runSearch();
  if (s_.BigMode && s_.runs.empty()) {
    // Nothing of four lines or more: the next cycle searches the same region without big mode.
    s_.BigMode = false;
    return;
  }
  if (s_.runs.empty()) {
    s_.NewPos = s_.NewEnd;
    s_.OldPos = s_.OldEnd;
  } else {
    AcceptRuns(s_);
    if (s_.BigMode && !s_.LastChunk) truncateTables(s_.CutNew, s_.CutOld);
  }
  advanceRegion();
  s_.BigMode = false;
}

int LineMatcher::settledLines() const {
  int settled = 0;
  for (int i = 1; i <= s_.NewCount; ++i)
    if (s_.newTable[i].Matched || s_.newTable[i].Unique) ++settled;
  return settled;
}

void LineMatcher::run() {
  s_.LastChunk = s_.ctx.pair().AllRead;
  buildSameTextIndex();
  s_.NewPos = s_.nextNew(1);
  s_.OldPos = s_.nextOld(1);
  s_.NewEnd = s_.NewCount + 1;
  s_.OldEnd = s_.OldCount + 1;
  s_.CutNew = s_.NewPos;
  s_.CutOld = s_.OldPos;
  s_.BigMode = s_.NewCount > 15 && s_.OldCount > 15;
  if (s_.NewCount > 0 && s_.OldCount > 0) {
    // Every cycle settles lines or narrows the region; should one ever do neither, the rest of the
    // region stays unpaired rather than the walk repeating itself.
    int stalled = 0;
    while (s_.NewPos <= s_.NewCount && s_.OldPos <= s_.OldCount) {
      const int before[4] = {s_.NewPos, s_.OldPos, s_.NewEnd, s_.OldEnd};
      const int settledBefore = stalled > 0 ? settledLines() : -1;
      const bool big = s_.BigMode;
      cycle();
      const bool moved = before[0] != s_.NewPos || before[1] != s_.OldPos || before[2] != s_.NewEnd ||
                         before[3] != s_.OldEnd;
      if (moved || big) {
        stalled = 0;
      } else if (++stalled > 1 && settledLines() == settledBefore) {
        break;
      }
    }
    if (s_.ctx.options().Fmvl) FindMovedLines(s_);
  }
  // Matched Old lines point back at their New partners (the moved-line search reused their links).
  for (int n = 1; n <= s_.NewCount; ++n) {
    const LineRecord& line = s_.newLine(n);
    if (line.Matched) s_.oldLine(line.Link).Link = n;
  }

  char text[160];
  std::snprintf(text, sizeof text,
                "Compare Lines Pass Count (%d) Compare Cycles (%d) New Counter, (%d) Old Counter", s_.cycles,
                s_.ctx.newInput.LineBase + s_.NewPos, s_.ctx.oldInput.LineBase + s_.OldPos);
  s_.ctx.host.setStatusText(text);
  s_.ctx.host.toggleActivityImages();
  s_.ctx.host.processEvents();
}

}  // namespace

void MatchChunk(CompareContext& context) {
  LineMatcher(context).run();
}

}  // namespace kelvarine
