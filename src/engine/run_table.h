#pragma once

#include <array>

namespace kelvarine {

// A stretch of pairs: first pair (NewStart, OldStart), last pair (NewLast, OldLast), and the number of
// equal pairs in it (bridged gaps are not counted).
struct RunEntry {
  int Len = 0;
  int NewStart = 0, OldStart = 0, NewLast = 0, OldLast = 0;

  bool operator==(const RunEntry&) const = default;
};

// The candidate runs of one region, longest first: entries 1..9 are in use, entry 0 is scratch and
// entry 10 only ever holds Len 0. A run enters only when it is longer than the threshold, which starts
// at the cycle's minimum and becomes the Len of entry 9 once the table is full.
class RunTable {
 public:
  static constexpr int kMaxRuns = 9;

  // Empties the table and sets the minimum a run must exceed to enter.
  void reset(int threshold);

  // Enters a run longer than the threshold at its place by Len (ties after the earlier ones); when the
  // table is full the shortest drops out. Returns false when the run is not long enough.
  bool enter(const RunEntry& run);

  // Moves entry k behind all following entries whose Len is at least its own (after it shrank).
  void sinkBehindLonger(int k);
  // Moves entry k behind the following entries of the same Len, which move up one place.
  void rotateBehindEqual(int k);

  RunEntry& operator[](int k) { return entries_.at(static_cast<std::size_t>(k)); }
  const RunEntry& operator[](int k) const { return entries_.at(static_cast<std::size_t>(k)); }
  int count() const { return count_; }
  int threshold() const { return threshold_; }
  bool empty() const { return count_ == 0 || entries_[1].Len == 0; }

 private:
  // Moves entry `from` to place `to` (to > from); the entries between move up one place.
  void moveDown(int from, int to);

  std::array<RunEntry, kMaxRuns + 2> entries_{};
  int count_ = 0;
  int threshold_ = 0;
};

}  // namespace kelvarine
