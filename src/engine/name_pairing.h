#pragma once

#include <string>
#include <utility>
#include <vector>

namespace kelvarine {

// The files of a New and an Old directory matched by name for a like-name compare.
struct NamePairs {
  std::vector<std::pair<std::string, std::string>> pairs;  // (New name, Old name), in name order
  std::vector<std::string> unpairedNew, unpairedOld;       // in name order
};

// Pairs names as they are on disk: a name pairs with the same spelling on the other side first; a name
// whose spelling has no partner then pairs with one that differs only in letter case (the rule for
// names from a case-blind system). Every name ends up once, in a pair or unpaired; duplicates count
// once. Name order ignores case (PathOrderLess: relative paths of a tree pair the same way, directory
// by directory).
NamePairs PairNames(std::vector<std::string> newNames, std::vector<std::string> oldNames);

}  // namespace kelvarine
