#include <algorithm>
#include <map>
#include <tuple>
#include <vector>

#include "engine/matcher_state.h"

namespace kelvarine {

namespace {

// The search works in passes: each pass collects runs of equal unpaired lines from every New line it
// visits, keeps the nine longest (ties: the one found first), accepts the longest and those of the
// others that are still free, and starts again. A pass only changes the runs that touch the lines it
// paired, so the runs found from each visited New line are kept from pass to pass, and a run is found
// again only when one of its lines was paired; the passes then cost what they change, not the chunk.
class MovedLineSearch {
 public:
  explicit MovedLineSearch(MatcherState& state)
      : s_(state),
        cache_(static_cast<std::size_t>(state.NewCount) + 2),
        coverNew_(static_cast<std::size_t>(state.NewCount) + 2),
        coverOld_(static_cast<std::size_t>(state.OldCount) + 2) {}

  void run();

 private:
  // Longest first; equally long runs in the order the search finds them (by New line, then Old line).
  using Key = std::tuple<int, int, int>;  // -Len, cur, cand
  using FoundRuns = std::map<Key, RunEntry>;
  // A run found from the pair (cur, cand), where it stands in the found runs, and where its forward
  // part stopped.
  struct Found {
    int cand;
    RunEntry run;
    FoundRuns::iterator at;
    int end;
    bool stale;
  };
  // The runs found from one New line (by ascending Old line), and where its pass goes on.
  struct CurRuns {
    bool known = false;  // runs found (dropped when the line is not visited)
    bool fresh = false;  // none of them is stale
    int next = 0;
    int visitedPass = 0;
    std::vector<Found> runs;
  };
  using Cover = std::vector<std::vector<std::pair<int, int>>>;  // per line: the (cur, cand) runs over it
  bool newFree(int n) const { return !s_.newLine(n).Matched && !s_.newLine(n).Unique; }
  bool oldFree(int o) const { return !s_.oldLine(o).Matched && !s_.oldLine(o).Moved; }
  CurRuns& at(int cur) { return cache_[static_cast<std::size_t>(cur)]; }

  void visitPass();
  void findRuns(int cur);
  void refreshRuns(int cur);
  void addRun(int cur, Found& f);
  RunEntry extendRun(int cur, int cand, int& n) const;
  void forget(int cur);
  void settle(Cover& cover, int line);
  static void note(Cover& cover, int line, int cur, int cand);
  bool acceptable(const RunEntry& run) const;
  void accept(const RunEntry& run);

  MatcherState& s_;
  std::vector<CurRuns> cache_;
  FoundRuns found_;  // the runs of the New lines the last pass visited
  Cover coverNew_, coverOld_;
  std::vector<int> visited_;
  int pass_ = 0;
};

// The run from (cur, cand): forward over free equal lines, then backward; `n` is where the forward
// part stopped.
RunEntry MovedLineSearch::extendRun(int cur, int cand, int& n) const {
  int len = 1;
  n = s_.nextNew(cur + 1);
  int o = s_.nextOld(cand + 1);
  while (n <= s_.NewCount && o <= s_.OldCount && newFree(n) && oldFree(o) && s_.equal(n, o)) {
    ++len;
    n = s_.nextNew(n + 1);
    o = s_.nextOld(o + 1);
  }
  int bn = cur, bo = cand;
  int pn = s_.prevNew(cur - 1), po = s_.prevOld(cand - 1);
  while (pn > 1 && po > 1 && s_.equal(pn, po) && newFree(pn) && oldFree(po)) {
    ++len;
    bn = pn;
    bo = po;
    pn = s_.prevNew(pn - 1);
    po = s_.prevOld(po - 1);
  }
  return RunEntry{len, bn, bo, s_.prevNew(n - 1), s_.prevOld(o - 1)};
}

void MovedLineSearch::forget(int cur) {
  CurRuns& c = at(cur);
  for (const Found& f : c.runs)
    found_.erase(f.at);
  c.runs.clear();
  c.known = c.fresh = false;
}

// Notes that the run (cur, cand) spans `line`. Runs found again note themselves again: a list that has
// doubled is cut back to its distinct entries, so it never holds much more than the runs it names.
void MovedLineSearch::note(Cover& cover, int line, int cur, int cand) {
  auto& list = cover[static_cast<std::size_t>(line)];
  if (!list.empty() && list.back() == std::pair{cur, cand}) return;
  list.emplace_back(cur, cand);
  if (list.size() >= 64 && (list.size() & (list.size() - 1)) == 0) {
    std::sort(list.begin(), list.end());
    list.erase(std::unique(list.begin(), list.end()), list.end());
  }
}

// A line was paired: the runs over it are stale.
void MovedLineSearch::settle(Cover& cover, int line) {
  auto& list = cover[static_cast<std::size_t>(line)];
  for (const auto& [cur, cand] : list) {
    CurRuns& c = at(cur);
    auto it = std::lower_bound(c.runs.begin(), c.runs.end(), cand,
                               [](const Found& f, int value) { return f.cand < value; });
    if (it == c.runs.end() || it->cand != cand) continue;
    it->stale = true;
    c.fresh = false;
  }
  list.clear();
}

void MovedLineSearch::addRun(int cur, Found& f) {
  f.at = found_.emplace(Key{-f.run.Len, cur, f.cand}, f.run).first;
  for (int i = f.run.NewStart; i <= f.run.NewLast; i = s_.nextNew(i + 1))
    note(coverNew_, i, cur, f.cand);
  for (int i = f.run.OldStart; i <= f.run.OldLast; i = s_.nextOld(i + 1))
    note(coverOld_, i, cur, f.cand);
}

// The runs from every free Old line of the same text as `cur`, in the order of its twin list.
void MovedLineSearch::findRuns(int cur) {
  CurRuns& c = at(cur);
  LineRecord& line = s_.newLine(cur);
  while (line.Link != 0 && line.Link < s_.OldPos)
    line.Link = s_.oldLine(line.Link).NextTwin;
  c.next = s_.nextNew(cur + 1);
  // Old lines that are paired never become free again: they are unlinked from the twin list as they
  // are met (a New line whose Link still points at one goes on through it).
  int prev = 0;
  for (int cand = line.Link; cand != 0 && cand <= s_.OldCount; cand = s_.oldLine(cand).NextTwin) {
    const LineRecord& candLine = s_.oldLine(cand);
    if (!oldFree(cand) || candLine.DpLine) {
      if (prev == 0)
        line.Link = candLine.NextTwin;
      else
        s_.oldLine(prev).NextTwin = candLine.NextTwin;
      continue;
    }
    prev = cand;
    Found f{cand, {}, {}, 0, false};
    f.run = extendRun(cur, cand, f.end);
    c.next = std::max(c.next, f.end);
    addRun(cur, f);
    c.runs.push_back(f);
  }
  c.known = c.fresh = true;
}

// Finds the stale runs of `cur` again; a run whose Old line was paired is dropped.
void MovedLineSearch::refreshRuns(int cur) {
  CurRuns& c = at(cur);
  c.next = s_.nextNew(cur + 1);
  std::size_t kept = 0;
  for (std::size_t k = 0; k < c.runs.size(); ++k) {
    Found f = c.runs[k];
    if (f.stale) {
      found_.erase(f.at);
      if (!oldFree(f.cand)) continue;
      f.run = extendRun(cur, f.cand, f.end);
      f.stale = false;
      addRun(cur, f);
    }
    c.next = std::max(c.next, f.end);
    c.runs[kept++] = f;
  }
  c.runs.resize(kept);
  c.fresh = true;
}

// Walks the New lines a pass visits, from NewPos; a line's runs are found again only when stale.
void MovedLineSearch::visitPass() {
  ++pass_;
  std::vector<int> visited;
  int cur = s_.NewPos;
  while (cur <= s_.NewCount) {
    if (!at(cur).known)
      findRuns(cur);
    else if (!at(cur).fresh)
      refreshRuns(cur);
    at(cur).visitedPass = pass_;
    visited.push_back(cur);
    cur = at(cur).next;
    while (cur <= s_.NewCount && !newFree(cur))
      cur = s_.nextNew(cur + 1);
  }
  for (int c : visited_)
    if (at(c).visitedPass != pass_) forget(c);
  visited_ = std::move(visited);
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

// Pairs the run's lines as moved; the runs that spanned them are found again in the next pass.
void MovedLineSearch::accept(const RunEntry& run) {
  int n = run.NewStart, o = run.OldStart;
  for (int i = 0; i < run.Len && n <= s_.NewCount && o <= s_.OldCount; ++i) {
    LineRecord& newLine = s_.newLine(n);
    LineRecord& oldLine = s_.oldLine(o);
    newLine.Link = o;
    oldLine.Link = n;
    newLine.Moved = oldLine.Moved = true;
    newLine.Unique = true;
    settle(coverNew_, n);
    settle(coverOld_, o);
    n = s_.nextNew(n + 1);
    o = s_.nextOld(o + 1);
  }
}

void MovedLineSearch::run() {
  s_.buildTwinLists(/*movedSearch=*/true);
  s_.NewPos = s_.nextNew(1);
  s_.OldPos = s_.nextOld(1);
  while (s_.NewPos <= s_.NewCount && s_.OldPos <= s_.OldCount) {
    while (s_.OldPos <= s_.OldCount && !oldFree(s_.OldPos))
      s_.OldPos = s_.nextOld(s_.OldPos + 1);
    if (s_.OldPos <= s_.OldCount) {
      while (s_.NewPos <= s_.NewCount && !newFree(s_.NewPos))
        s_.NewPos = s_.nextNew(s_.NewPos + 1);
    } else {
      s_.NewPos = s_.nextNew(s_.NewCount + 1);
    }
    visitPass();
    s_.runs.reset(0);
    for (auto it = found_.begin(); it != found_.end() && s_.runs.count() < RunTable::kMaxRuns; ++it)
      s_.runs.enter(it->second);
    if (s_.runs.empty()) break;
    accept(s_.runs[1]);
    for (int k = 2; k <= s_.runs.count(); ++k) {
      const RunEntry& run = s_.runs[k];
      if (run.Len > 0 && acceptable(run)) accept(run);
    }
  }
}

}  // namespace

void FindMovedLines(MatcherState& state) {
  MovedLineSearch(state).run();
}

}  // namespace kelvarine
