#include "engine/run_table.h"

#include <algorithm>

namespace kelvarine {

void RunTable::reset(int threshold) {
  entries_.fill(RunEntry{});
  count_ = 0;
  threshold_ = threshold;
}

bool RunTable::enter(const RunEntry& run) {
  if (run.Len <= threshold_) return false;
  if (count_ < kMaxRuns) ++count_;
  entries_[static_cast<std::size_t>(count_) + 1].Len = 0;
  int place = count_;
  if (run.Len >= 2) {
    place = 1;
    while (place < count_ && entries_[static_cast<std::size_t>(place)].Len >= run.Len)
      ++place;
  }
  for (int k = count_; k > place; --k)
    entries_[static_cast<std::size_t>(k)] = entries_[static_cast<std::size_t>(k) - 1];
  entries_[static_cast<std::size_t>(place)] = run;
  if (count_ == kMaxRuns) threshold_ = std::max(threshold_, entries_[kMaxRuns].Len);
  return true;
}

void RunTable::moveDown(int from, int to) {
  RunEntry moving = entries_[static_cast<std::size_t>(from)];
  for (int k = from; k < to; ++k)
    entries_[static_cast<std::size_t>(k)] = entries_[static_cast<std::size_t>(k) + 1];
  entries_[static_cast<std::size_t>(to)] = moving;
}

void RunTable::sinkBehindLonger(int k) {
  if (k >= count_ ||
      entries_[static_cast<std::size_t>(k) + 1].Len <= entries_[static_cast<std::size_t>(k)].Len)
    return;
  int len = entries_[static_cast<std::size_t>(k)].Len;
  int last = k + 1;
  while (last + 1 <= count_ && entries_[static_cast<std::size_t>(last) + 1].Len >= len)
    ++last;
  moveDown(k, last);
}

void RunTable::rotateBehindEqual(int k) {
  int len = entries_[static_cast<std::size_t>(k)].Len;
  int last = k;
  while (last + 1 <= count_ && entries_[static_cast<std::size_t>(last) + 1].Len == len)
    ++last;
  if (last > k) moveDown(k, last);
}

}  // namespace kelvarine
