// The moved-line search exactly as its steps read, pass after pass over every unpaired line: slow on
// inputs with many equal unpaired lines, but plain. Tests hold the engine's search to its results.
#include "support/reference_moved_search.h"

namespace kelvarine {

namespace {

class MovedLineSearch {
 public:
  explicit MovedLineSearch(MatcherState& state) : s_(state) {}

  void run();

 private:
  bool newFree(int n) const { return !s_.newLine(n).Matched && !s_.newLine(n).Unique; }
  bool oldFree(int o) const { return !s_.oldLine(o).Matched && !s_.oldLine(o).Moved; }
  void searchRuns();
  void recordRun(int cur, int cand, int len, int n, int o);
  bool acceptable(const RunEntry& run) const;
  void accept(const RunEntry& run);

  MatcherState& s_;
};

void MovedLineSearch::recordRun(int cur, int cand, int len, int n, int o) {
  int back = 0, bn = cur, bo = cand;
  int pn = s_.prevNew(cur - 1), po = s_.prevOld(cand - 1);
  while (pn > 1 && po > 1 && s_.equal(pn, po) && newFree(pn) && oldFree(po)) {
    ++back;
    bn = pn;
    bo = po;
    pn = s_.prevNew(pn - 1);
    po = s_.prevOld(po - 1);
  }
  len += back;
  s_.runs.enter(RunEntry{len, bn, bo, s_.prevNew(n - 1), s_.prevOld(o - 1)});
}

// One pass of the run search over the unpaired New lines from NewPos.
void MovedLineSearch::searchRuns() {
  int cur = s_.NewPos;
  while (cur <= s_.NewCount) {
    LineRecord& line = s_.newLine(cur);
    while (line.Link != 0 && line.Link < s_.OldPos)
      line.Link = s_.oldLine(line.Link).NextTwin;
    int next = s_.nextNew(cur + 1);
    for (int cand = line.Link; cand != 0 && cand <= s_.OldCount; cand = s_.oldLine(cand).NextTwin) {
      const LineRecord& candLine = s_.oldLine(cand);
      if (candLine.Matched || candLine.Moved || candLine.DpLine) continue;
      int len = 1;
      int n = s_.nextNew(cur + 1), o = s_.nextOld(cand + 1);
      while (n <= s_.NewCount && o <= s_.OldCount && newFree(n) && oldFree(o) && s_.equal(n, o)) {
        ++len;
        n = s_.nextNew(n + 1);
        o = s_.nextOld(o + 1);
      }
      recordRun(cur, cand, len, n, o);
      if (n > next) next = n;
    }
    cur = next;
    while (cur <= s_.NewCount && !newFree(cur))
      cur = s_.nextNew(cur + 1);
  }
}

bool MovedLineSearch::acceptable(const RunEntry& run) const {
  int n = run.NewStart, o = run.OldStart;
  for (int i = 0; i < run.Len; ++i) {
    if (n > s_.NewCount || o > s_.OldCount) return false;
    const LineRecord& newLine = s_.newLine(n);
    if (newLine.Unique || newLine.Matched || newLine.DpLine || s_.oldLine(o).Moved) return false;
    if (!s_.equalWithLength(n, o)) return false;
    n = s_.nextNew(n + 1);
    o = s_.nextOld(o + 1);
  }
  return true;
}

void MovedLineSearch::accept(const RunEntry& run) {
  int n = run.NewStart, o = run.OldStart;
  for (int i = 0; i < run.Len && n <= s_.NewCount && o <= s_.OldCount; ++i) {
    LineRecord& newLine = s_.newLine(n);
    LineRecord& oldLine = s_.oldLine(o);
    newLine.Link = o;
    oldLine.Link = n;
    newLine.Moved = oldLine.Moved = true;
    newLine.Unique = true;
    n = s_.nextNew(n + 1);
    o = s_.nextOld(o + 1);
  }
}

void MovedLineSearch::run() {
  s_.buildTwinLists(/*movedSearch=*/true);
  s_.NewPos = s_.nextNew(1);
  s_.OldPos = s_.nextOld(1);
  while (s_.NewPos <= s_.NewCount && s_.OldPos <= s_.OldCount) {
    s_.runs.reset(0);
    while (s_.OldPos <= s_.OldCount && !oldFree(s_.OldPos))
      s_.OldPos = s_.nextOld(s_.OldPos + 1);
    if (s_.OldPos <= s_.OldCount) {
      while (s_.NewPos <= s_.NewCount && !newFree(s_.NewPos))
        s_.NewPos = s_.nextNew(s_.NewPos + 1);
    } else {
      s_.NewPos = s_.nextNew(s_.NewCount + 1);
    }
    searchRuns();
    if (s_.runs.empty()) break;
    accept(s_.runs[1]);
    for (int k = 2; k <= s_.runs.count(); ++k) {
      const RunEntry& run = s_.runs[k];
      if (run.Len > 0 && acceptable(run)) accept(run);
    }
  }
}

}  // namespace

void ReferenceFindMovedLines(MatcherState& state) {
  MovedLineSearch(state).run();
}

}  // namespace kelvarine
