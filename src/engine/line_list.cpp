#include "engine/line_list.h"

namespace kelvarine {

bool LineList::add(std::string line) {
  if (lines_.size() >= capacity_) return false;
  lines_.push_back(std::move(line));
  return true;
}

}  // namespace kelvarine
