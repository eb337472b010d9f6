#include "engine/name_pairing.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "support/memory_set.h"

namespace kelvarine {
namespace {

// Names separated by '|'; pairs as "new:old".
struct PairingCase {
  const char *name, *newNames, *oldNames, *pairs, *unpairedNew, *unpairedOld;
  friend void PrintTo(const PairingCase& c, std::ostream* out) { *out << c.name; }
};

class NamePairingTest : public ::testing::TestWithParam<PairingCase> {};

TEST_P(NamePairingTest, ExactSpellingFirstThenIgnoringCaseNoNameDropped) {
  const PairingCase& c = GetParam();
  const NamePairs result = PairNames(split(c.newNames), split(c.oldNames));
  std::vector<std::string> pairs;
  for (const auto& [newName, oldName] : result.pairs)
    pairs.push_back(newName + ":" + oldName);
  EXPECT_EQ(pairs, split(c.pairs));
  EXPECT_EQ(result.unpairedNew, split(c.unpairedNew));
  EXPECT_EQ(result.unpairedOld, split(c.unpairedOld));
}

INSTANTIATE_TEST_SUITE_P(
    Names, NamePairingTest,
    ::testing::Values(PairingCase{"CaseTwinsOnBothSidesPairExactly", "makefile|Makefile", "Makefile|makefile",
                                  "Makefile:Makefile|makefile:makefile", "", ""},
                      PairingCase{"OtherSpellingPairsIgnoringCase", "README.txt", "readme.TXT",
                                  "README.txt:readme.TXT", "", ""},
                      PairingCase{"TwinWithoutPartnerStaysUnpaired", "a|A", "a", "a:a", "A", ""},
                      PairingCase{"LeftoversPairInOrder", "x.C|X.c|x.c", "X.C|x.c", "X.c:X.C|x.c:x.c", "x.C",
                                  ""},
                      PairingCase{"NameOrderIgnoringCaseDuplicatesOnce", "c|b|A|b", "B|a|d|.hidden",
                                  "A:a|b:B", "c", ".hidden|d"},
                      PairingCase{"PathsInOrderNameByNameThoughDashAndDotSortBelowSlash", "a.x|a-b|a/c|A/b",
                                  "a-B|a/B", "A/b:a/B|a-b:a-B", "a/c|a.x", ""},
                      PairingCase{"EmptySide", "a", "", "", "a", ""}),
    [](const ::testing::TestParamInfo<PairingCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kelvarine
