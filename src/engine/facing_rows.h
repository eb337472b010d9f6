#pragma once

#include <cstdint>
#include <utility>
#include <vector>

namespace kelvarine {

// Which listed change lines face each other: an inserted line and the deleted line it replaced (the
// paired changes of the listing), a reformatted New line and its Old line. New rows are rows of the report
// line list; Old rows are rows of the same list, or of the Old-side list when the set ran with Sbsl. The
// listing adds pairs in report order, so both columns ascend and a lookup is a binary search.
class FacingRows {
 public:
  void add(std::int64_t newRow, std::int64_t oldRow) { rows_.emplace_back(newRow, oldRow); }
  void clear() { rows_.clear(); }
  std::size_t size() const { return rows_.size(); }

  // The Old row facing New row `row`, or -1 when it faces none.
  std::int64_t oldRowFacing(std::int64_t row) const;
  // The New row facing Old row `row`, or -1.
  std::int64_t newRowFacing(std::int64_t row) const;

 private:
  std::vector<std::pair<std::int64_t, std::int64_t>> rows_;
};

}  // namespace kelvarine
