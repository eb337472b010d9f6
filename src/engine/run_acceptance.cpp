#include "engine/run_acceptance.h"

#include <optional>

namespace kelvarine {

namespace {

class RunAcceptance {
 public:
  explicit RunAcceptance(MatcherState& state) : s_(state), runs_(state.runs) {}

  void acceptAll();

 private:
  // The examination of place k; returns true when place k is to be examined again.
  bool examine(int k);
  void leftBound(int newStart, int& ln, int& lo);
  void rightBound(int newStart, int& rn, int& ro);
  bool trimStart(RunEntry& run, int ln, int lo);
  bool trimEnd(RunEntry& run, int rn, int ro);
  bool settleTies(int k);
  void accept(int k);
  static bool crosses(const RunEntry& e, const RunEntry& f);

  MatcherState& s_;
  RunTable& runs_;
  RunEntry lastAccepted_;
  std::optional<RunEntry> tieSave_;
};

bool RunAcceptance::crosses(const RunEntry& e, const RunEntry& f) {
  return (e.NewStart < f.NewStart && e.OldStart > f.OldLast) ||
         (e.NewStart > f.NewStart && e.OldStart < f.OldLast);
}

// The nearest settled pair at or before a run start: the last line of the settled stretch holding the
// start, or the nearest Matched line before it (line 1 at the latest), with the Old line it points at.
void RunAcceptance::leftBound(int newStart, int& ln, int& lo) {
  ln = newStart;
  const LineRecord& start = s_.newLine(ln);
  if (!start.Matched && !start.Unique) {
    while (ln >= 2 && !s_.newLine(ln).Matched)
      ln = s_.prevNew(ln - 1);
    lo = s_.newLine(ln).Link;
    return;
  }
  lo = start.Link;
  while (true) {
    int next = s_.nextNew(ln + 1);
    if (next > s_.NewCount) break;
    const LineRecord& line = s_.newLine(next);
    if (!line.Matched && !line.Unique) break;
    ln = next;
    if (line.Matched) lo = line.Link;
  }
}

// The first accepted run start (Anchor) at or after a run start, and its Old partner.
void RunAcceptance::rightBound(int newStart, int& rn, int& ro) {
  rn = newStart;
  while (rn <= s_.NewCount && !s_.newLine(rn).Anchor)
    ++rn;
  if (rn > s_.NewCount) rn = s_.NewCount + 1;
  ro = s_.newLine(rn).Link;
}

// Moves the start of a run past the left bound; false when the run is dropped.
bool RunAcceptance::trimStart(RunEntry& run, int ln, int lo) {
  while (run.Len > 0 && !(run.NewStart > ln && run.OldStart > lo)) {
    if (s_.equal(run.NewStart, run.OldStart)) {
      run.NewStart = s_.nextNew(run.NewStart + 1);
      run.OldStart = s_.nextOld(run.OldStart + 1);
      --run.Len;
    } else if (!s_.probe(run.NewStart, run.OldStart)) {
      run.Len = 0;  // the gap cannot be found again: the walk ends here
    }
  }
  if (run.Len >= 1 && s_.newLine(run.NewStart).Hash != s_.oldLine(run.OldStart).Hash &&
      !s_.probe(run.NewStart, run.OldStart))
    run.Len = 0;
  if (run.Len <= runs_.threshold()) run.Len = 0;
  return run.Len > 0;
}

// Cuts the end of a run before the right bound by walking it again; false when the run is dropped.
bool RunAcceptance::trimEnd(RunEntry& run, int rn, int ro) {
  int n = run.NewStart, o = run.OldStart, count = 0, lastN = run.NewStart, lastO = run.OldStart;
  while (count < run.Len && n < rn && o < ro) {
    if (s_.equal(n, o)) {
      ++count;
      lastN = n;
      lastO = o;
      n = s_.nextNew(n + 1);
      o = s_.nextOld(o + 1);
    } else if (!s_.probe(n, o)) {
      break;
    }
  }
  run.Len = count;
  run.NewLast = lastN;
  run.OldLast = lastO;
  if (run.Len <= runs_.threshold()) run.Len = 0;
  return run.Len > 0;
}

// The tie rotation at place k; returns true when another entry now stands at place k.
bool RunAcceptance::settleTies(int k) {
  const RunEntry original = runs_[k];
  if (!tieSave_) tieSave_ = runs_[k];
  while (true) {
    const RunEntry& e = runs_[k];
    int crossings = 0;
    for (int f = k + 1; f <= runs_.count() && runs_[f].Len == e.Len; ++f)
      if (crosses(e, runs_[f])) ++crossings;
    if (!(crossings >= 2 || (crossings == 1 && !(e == *tieSave_)))) break;
    runs_.rotateBehindEqual(k);
    if (runs_[k] == *tieSave_ || runs_[k] == original) break;
  }
  return !(runs_[k] == original);
}

void RunAcceptance::accept(int k) {
  const RunEntry run = runs_[k];
  if (s_.BigMode && !s_.LastChunk && run.NewLast > s_.CutNew) {
    s_.CutNew = run.NewLast;
    s_.CutOld = run.OldLast;
  }
  lastAccepted_ = run;
  tieSave_.reset();
  s_.newLine(run.NewStart).Anchor = true;
  s_.oldLine(run.OldStart).Anchor = true;
  if (run.NewStart < s_.NewEnd) {
    s_.NewEnd = run.NewStart;
    s_.OldEnd = run.OldStart;
  }
  int n = run.NewStart, o = run.OldStart, paired = 0;
  while (paired < run.Len && n <= s_.NewCount && o <= s_.OldCount) {
    if (s_.equal(n, o)) {
      LineRecord& newLine = s_.newLine(n);
      LineRecord& oldLine = s_.oldLine(o);
      if (newLine.Matched || oldLine.Matched) break;
      newLine.Link = o;
      oldLine.Link = n;
      newLine.Matched = oldLine.Matched = true;
      ++paired;
      n = s_.nextNew(n + 1);
      o = s_.nextOld(o + 1);
      continue;
    }
    int pn = n, po = o;
    if (!s_.probe(pn, po)) break;
    for (int i = n; i < pn; i = s_.nextNew(i + 1))
      s_.newLine(i).Unique = true;
    n = pn;
    o = po;
  }
}

bool RunAcceptance::examine(int k) {
  RunEntry& run = runs_[k];
  if (run.Len == 0) return false;
  if (run.NewStart >= lastAccepted_.NewStart && run.NewLast <= lastAccepted_.NewLast) {
    run.Len = 0;
    return false;
  }
  int ln = 0, lo = 0;
  leftBound(run.NewStart, ln, lo);
  if (run.NewLast <= ln || run.OldLast <= lo) {
    run.Len = 0;
    return false;
  }
  if (run.NewStart > ln && run.OldStart > lo) {
    int rn = 0, ro = 0;
    rightBound(run.NewStart, rn, ro);
    if (run.OldStart >= ro) {
      run.Len = 0;
      return false;
    }
    if (run.NewLast < rn && run.OldLast < ro) {
      if (settleTies(k)) return true;
      accept(k);
      return false;
    }
    const RunEntry before = run;
    if (!trimEnd(run, rn, ro)) return false;
    if (run == before) {  // nothing could be cut: never examine the same run twice
      run.Len = 0;
      return false;
    }
  } else {
    const RunEntry before = run;
    if (!trimStart(run, ln, lo)) return false;
    if (run == before) {
      run.Len = 0;
      return false;
    }
  }
  runs_.sinkBehindLonger(k);
  return true;
}

void RunAcceptance::acceptAll() {
  s_.NewEnd = s_.NewCount;
  s_.OldEnd = s_.OldCount;
  runs_[runs_.count() + 1].Len = 0;
  tieSave_.reset();
  settleTies(1);
  accept(1);
  // Each re-examination follows a trim that shortened a run or a rotation among equal runs, so the
  // examinations are bounded; the limit only guards that reasoning.
  int examinations = 0;
  const int limit = 64 * RunTable::kMaxRuns * RunTable::kMaxRuns + 8001;
  for (int k = 2; k <= runs_.count() && examinations < limit; ++examinations) {
    if (!examine(k)) ++k;
  }
}

}  // namespace

void AcceptRuns(MatcherState& state) {
  RunAcceptance(state).acceptAll();
}

}  // namespace kelvarine
