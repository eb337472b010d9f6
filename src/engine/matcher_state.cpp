#include "engine/matcher_state.h"

#include <array>
#include <utility>

namespace kelvarine {

namespace {

// The Old lines that may have the same compare text as a New line, in table order, each once: either
// the line's class in the index merged with the index's rare lines, or the whole chain of its bucket.
class CandidateWalk {
 public:
  CandidateWalk(const TwinIndex& index, const LineRecord& line, const std::vector<std::int32_t>& rare)
      : index_(&index), member_(index.first(line)), rare_(&rare) {}
  CandidateWalk(const LineRecord* olds, int head, int oldEnd) : olds_(olds), member_(head), oldEnd_(oldEnd) {}

  // The next candidate; 0 after the last.
  int next() {
    if (index_ == nullptr) {
      const int taken = member_ == oldEnd_ ? 0 : member_;
      if (taken != 0) member_ = olds_[taken].Link;
      return taken;
    }
    const int other = at_ < rare_->size() ? (*rare_)[at_] : 0;
    if (member_ == 0 && other == 0) return 0;
    const int taken = other == 0 || (member_ != 0 && member_ < other) ? member_ : other;
    if (taken == other) ++at_;
    if (taken == member_) member_ = index_->next(member_);
    return taken;
  }

 private:
  const TwinIndex* index_ = nullptr;
  const LineRecord* olds_ = nullptr;
  int member_ = 0;  // next of the class or of the chain; 0 (index) or oldEnd_ (chain) at the end
  int oldEnd_ = 0;
  const std::vector<std::int32_t>* rare_ = nullptr;
  std::size_t at_ = 0;
};

}  // namespace

MatcherState::MatcherState(CompareContext& context)
    : ctx(context),
      newTable(context.newTable),
      oldTable(context.oldTable),
      dpActive(context.options().DpActive),
      NewCount(context.newInput.Count),
      OldCount(context.oldInput.Count),
      buckets(context.bucketHeads),
      news_(context.newTable.rows(NewCount + 1)),
      olds_(context.oldTable.rows(OldCount + 1)),
      newRecords_(static_cast<unsigned>(NewCount + 1)),
      oldRecords_(static_cast<unsigned>(OldCount + 1)) {}

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
  TwinIndex& index = ctx.twinIndex;
  index.build(olds, OldCount);
  const std::vector<std::int32_t> none;
  for (int j = 1; j <= NewCount; ++j) {
    LineRecord& line = news[j];
    if (line.DpLine || (movedSearch && line.Matched)) continue;
    if (movedSearch) line.Unique = false;
    // With equal compare lengths required, a line's class holds every Old line it can equal.
    CandidateWalk walk = index.usable() && (movedSearch || TwinIndex::exact(line))
                             ? CandidateWalk(index, line, movedSearch ? none : index.ambiguousOlds())
                             : CandidateWalk(olds, bucketOf(line), oldEnd);
    int c = walk.next();
    while (c != 0 && !same(line, olds[c]))
      c = walk.next();
    if (c == 0) {
      line.Link = oldEnd;
      line.Unique = true;
      continue;
    }
    if (olds[c].NextTwin == 0) {
      int last = c;
      for (int d = walk.next(); d != 0; d = walk.next()) {
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
