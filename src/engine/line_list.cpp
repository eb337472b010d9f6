#include "engine/line_list.h"

#include <algorithm>
#include <stdexcept>

namespace kelvarine {

bool LineList::add(std::string line) {
  if (size() >= capacity_) return false;
  addAlways(std::move(line));
  return true;
}

void LineList::addAlways(std::string line) {
  lines_.push_back(std::move(line));
  if (sink_ && lines_.size() >= kSpillBatch) {
    const std::size_t free = pinned_ == kNone     ? lines_.size()
                             : pinned_ > spilled_ ? std::min(lines_.size(), pinned_ - spilled_)
                                                  : 0;
    if (free >= kSpillBatch) spill(free);
  }
}

void LineList::flush() {
  if (sink_) spill(lines_.size());
}

void LineList::clear() {
  lines_.clear();
  spilled_ = 0;
  pinned_ = kNone;
}

std::size_t LineList::held(std::size_t i) const {
  if (i < spilled_) throw std::out_of_range("report line " + std::to_string(i) + " was already written out");
  return i - spilled_;
}

void LineList::spill(std::size_t count) {
  for (std::size_t i = 0; i < count; ++i)
    sink_(spilled_ + i, lines_[i]);
  lines_.erase(lines_.begin(), lines_.begin() + static_cast<std::ptrdiff_t>(count));
  spilled_ += count;
}

}  // namespace kelvarine
