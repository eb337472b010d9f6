#include "engine/matcher_state.h"

#include <array>
#include <utility>

namespace kelvarine {

MatcherState::MatcherState(CompareContext& context)
    : ctx(context),
      newTable(context.newTable),
      oldTable(context.oldTable),
      dpActive(context.options().DpActive),
      NewCount(context.newInput.Count),
      OldCount(context.oldInput.Count),
      buckets(context.bucketHeads) {}

bool MatcherState::probe(int& n, int& o) const {
  if (n + 6 > NewCount || o + 6 > OldCount) return false;
  static constexpr std::array<std::pair<int, int>, 8> kOffsets{
      {{0, 1}, {1, 0}, {1, 1}, {2, 0}, {0, 2}, {2, 1}, {1, 2}, {2, 2}}};
  int hits = 0;
  for (const auto& [newSkip, oldSkip] : kOffsets) {
    int n1 = n;
    for (int s = 0; s < newSkip; ++s)
      n1 = nextNew(n1 + 1);
    int o1 = o;
    for (int s = 0; s < oldSkip; ++s)
      o1 = nextOld(o1 + 1);
    if (n1 > NewCount || o1 > OldCount || !equal(n1, o1)) continue;
    ++hits;
    int n2 = nextNew(n1 + 1), o2 = nextOld(o1 + 1);
    int n3 = nextNew(n2 + 1), o3 = nextOld(o2 + 1);
    if (equal(n2, o2) && equal(n3, o3)) {
      if (hits > 1) return false;
      n = n1;
      o = o1;
      return true;
    }
  }
  return false;
}

void MatcherState::buildTwinLists(bool movedSearch) {
  const int oldEnd = OldCount + 1;
  if (buckets.size() != kBuckets + 1) buckets.assign(kBuckets + 1, 0);
  // Plain arrays: every index below is within 1..OldCount or 1..NewCount.
  LineRecord* const olds = oldTable.rows(OldCount);
  LineRecord* const news = newTable.rows(NewCount);
  std::int32_t* const heads = buckets.data();
  const auto bucketOf = [&](const LineRecord& line) -> std::int32_t& { return heads[HashBucket(line.Hash)]; };
  for (int i = OldCount; i >= 1; --i) {
    LineRecord& line = olds[i];
    if (line.DpLine) continue;
    std::int32_t& head = bucketOf(line);
    line.Link = head == 0 ? oldEnd : head;
    line.NextTwin = 0;
    head = i;
  }
  const auto same = [&](const LineRecord& n, const LineRecord& o) {
    return SameCompareText(n, o) && (!movedSearch || n.CmpLen == o.CmpLen);
  };
  for (int j = 1; j <= NewCount; ++j) {
    LineRecord& line = news[j];
    if (line.DpLine || (movedSearch && line.Matched)) continue;
    if (movedSearch) line.Unique = false;
    int c = bucketOf(line);
    if (c == 0) c = oldEnd;
    while (c != oldEnd && !same(line, olds[c]))
      c = olds[c].Link;
    if (c == oldEnd) {
      line.Link = oldEnd;
      line.Unique = true;
      continue;
    }
    if (olds[c].NextTwin == 0) {
      int last = c;
      for (int d = olds[c].Link; d != oldEnd; d = olds[d].Link) {
        if (same(line, olds[d])) {
          olds[last].NextTwin = d;
          last = d;
        }
      }
      olds[last].NextTwin = oldEnd;
    }
    line.Link = c;
  }
  for (int i = 1; i <= OldCount; ++i) {
    LineRecord& line = olds[i];
    if (line.DpLine) continue;
    if (line.NextTwin == 0) line.NextTwin = oldEnd;
    bucketOf(line) = 0;
  }
}

}  // namespace kelvarine
