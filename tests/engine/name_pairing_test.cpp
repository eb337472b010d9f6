#include "engine/name_pairing.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace kelvarine {
namespace {

using Names = std::vector<std::string>;
using Pairs = std::vector<std::pair<std::string, std::string>>;

struct PairingCase {
  std::string name;
  Names newNames, oldNames;
  Pairs pairs;
  Names unpairedNew, unpairedOld;
  friend void PrintTo(const PairingCase& c, std::ostream* out) { *out << c.name; }
};

class NamePairingTest : public ::testing::TestWithParam<PairingCase> {};

TEST_P(NamePairingTest, ExactSpellingFirstThenIgnoringCaseNoNameDropped) {
  const PairingCase& c = GetParam();
  const NamePairs result = PairNames(c.newNames, c.oldNames);
  EXPECT_EQ(result.pairs, c.pairs);
  EXPECT_EQ(result.unpairedNew, c.unpairedNew);
  EXPECT_EQ(result.unpairedOld, c.unpairedOld);
}

INSTANTIATE_TEST_SUITE_P(
    Names, NamePairingTest,
    ::testing::Values(PairingCase{"CaseTwinsOnBothSidesPairExactly",
                                  {"makefile", "Makefile"},
                                  {"Makefile", "makefile"},
                                  {{"Makefile", "Makefile"}, {"makefile", "makefile"}},
                                  {},
                                  {}},
                      PairingCase{"OtherSpellingPairsIgnoringCase",
                                  {"README.txt"},
                                  {"readme.TXT"},
                                  {{"README.txt", "readme.TXT"}},
                                  {},
                                  {}},
                      PairingCase{
                          "TwinWithoutPartnerStaysUnpaired", {"a", "A"}, {"a"}, {{"a", "a"}}, {"A"}, {}},
                      PairingCase{"LeftoversPairInOrder",
                                  {"x.C", "X.c", "x.c"},
                                  {"X.C", "x.c"},
                                  {{"X.c", "X.C"}, {"x.c", "x.c"}},
                                  {"x.C"},
                                  {}},
                      PairingCase{"NameOrderIgnoringCaseDuplicatesOnce",
                                  {"c", "b", "A", "b"},
                                  {"B", "a", "d", ".hidden"},
                                  {{"A", "a"}, {"b", "B"}},
                                  {"c"},
                                  {".hidden", "d"}},
                      PairingCase{"PathsInOrderNameByNameThoughDashAndDotSortBelowSlash",
                                  {"a.x", "a-b", "a/c", "A/b"},
                                  {"a-B", "a/B"},
                                  {{"A/b", "a/B"}, {"a-b", "a-B"}},
                                  {"a/c", "a.x"},
                                  {}},
                      PairingCase{"EmptySide", {"a"}, {}, {}, {"a"}, {}}),
    [](const ::testing::TestParamInfo<PairingCase>& info) { return info.param.name; });

}  // namespace
}  // namespace kelvarine
