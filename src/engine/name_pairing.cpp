#include "engine/name_pairing.h"

#include <algorithm>
#include <cstddef>

#include "engine/ascii_case.h"

namespace kelvarine {

namespace {

void sortUnique(std::vector<std::string>& names) {
  // Lists from a directory listing come sorted already.
  if (!std::is_sorted(names.begin(), names.end(), PathOrderLess))
    std::sort(names.begin(), names.end(), PathOrderLess);
  names.erase(std::unique(names.begin(), names.end()), names.end());
}

// The end of the run of names from `first` on that are equal to it ignoring case.
std::size_t groupEnd(const std::vector<std::string>& names, std::size_t first) {
  std::size_t end = first + 1;
  while (end < names.size() && EqualIgnoringCase(names[end], names[first]))
    ++end;
  return end;
}

}  // namespace

NamePairs PairNames(std::vector<std::string> newNames, std::vector<std::string> oldNames) {
  sortUnique(newNames);
  sortUnique(oldNames);
  NamePairs result;
  std::size_t i = 0, j = 0;
  // Both lists are in name order, so names equal ignoring case form one group on each side.
  while (i < newNames.size() || j < oldNames.size()) {
    const int order = i == newNames.size()   ? 1
                      : j == oldNames.size() ? -1
                                             : ComparePathsIgnoringCase(newNames[i], oldNames[j]);
    if (order < 0) {
      result.unpairedNew.push_back(std::move(newNames[i++]));
      continue;
    }
    if (order > 0) {
      result.unpairedOld.push_back(std::move(oldNames[j++]));
      continue;
    }
    const std::size_t newEnd = groupEnd(newNames, i), oldEnd = groupEnd(oldNames, j);
    std::vector<std::string> newLeft, oldLeft;
    const std::size_t firstPair = result.pairs.size();
    for (std::size_t n = i, o = j; n < newEnd || o < oldEnd;) {  // a merge: exact spellings pair
      if (o == oldEnd || (n < newEnd && newNames[n] < oldNames[o])) {
        newLeft.push_back(std::move(newNames[n++]));
      } else if (n == newEnd || oldNames[o] < newNames[n]) {
        oldLeft.push_back(std::move(oldNames[o++]));
      } else {
        result.pairs.emplace_back(newNames[n++], std::move(oldNames[o++]));
      }
    }
    // What has no exact partner pairs ignoring case, in order; the rest stays unpaired.
    const std::size_t both = std::min(newLeft.size(), oldLeft.size());
    for (std::size_t k = 0; k < both; ++k)
      result.pairs.emplace_back(std::move(newLeft[k]), std::move(oldLeft[k]));
    std::sort(result.pairs.begin() + static_cast<std::ptrdiff_t>(firstPair), result.pairs.end(),
              [](const auto& a, const auto& b) { return PathOrderLess(a.first, b.first); });
    for (std::size_t k = both; k < newLeft.size(); ++k)
      result.unpairedNew.push_back(std::move(newLeft[k]));
    for (std::size_t k = both; k < oldLeft.size(); ++k)
      result.unpairedOld.push_back(std::move(oldLeft[k]));
    i = newEnd;
    j = oldEnd;
  }
  return result;
}

}  // namespace kelvarine
