#include "engine/facing_rows.h"

#include <algorithm>

namespace kelvarine {

std::int64_t FacingRows::oldRowFacing(std::int64_t row) const {
  const auto at = std::lower_bound(rows_.begin(), rows_.end(), row,
                                   [](const auto& pair, std::int64_t r) { return pair.first < r; });
  return at != rows_.end() && at->first == row ? at->second : -1;
}

std::int64_t FacingRows::newRowFacing(std::int64_t row) const {
  const auto at = std::lower_bound(rows_.begin(), rows_.end(), row,
                                   [](const auto& pair, std::int64_t r) { return pair.second < r; });
  return at != rows_.end() && at->second == row ? at->first : -1;
}

}  // namespace kelvarine
