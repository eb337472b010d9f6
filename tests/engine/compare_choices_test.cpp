#include "engine/compare_choices.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kelvarine {
namespace {

CompareChoices choicesWith(int dpIndex, const std::vector<Pref>& boxes) {
  CompareChoices c;
  c.dpIndex = dpIndex;
  for (Pref p : boxes)
    c.setChecked(p, true);
  return c;
}

std::vector<Pref> allBoxes() {
  return {kPanelOrder.begin(), kPanelOrder.end()};
}

struct RebuildCase {
  int dpIndex;
  std::vector<Pref> boxes;
  std::string expected;
};

class OptionsStringRebuildTest : public ::testing::TestWithParam<RebuildCase> {};

TEST_P(OptionsStringRebuildTest, ListsDpNameThenKeywordsInPanelOrder) {
  CompareChoices c = choicesWith(GetParam().dpIndex, GetParam().boxes);
  EXPECT_EQ(RebuildOptionsString(c), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OptionsStringRebuildTest,
    ::testing::Values(
        RebuildCase{-1, {}, "None"}, RebuildCase{0, {}, "None"}, RebuildCase{1, {}, "Dsem"},
        RebuildCase{6, {Pref::Ccol, Pref::Xtab, Pref::Icas}, "Dcpp Icas Xtab Ccol"},
        RebuildCase{5, {Pref::Abin}, "Ddl2 Abin"}, RebuildCase{-1, {Pref::Inpn, Pref::Rovr}, "Rovr Inpn"},
        RebuildCase{0,
                    {Pref::Icas, Pref::Rovr, Pref::Inpn, Pref::Sbsl, Pref::Fmvl, Pref::Lorl, Pref::Noss,
                     Pref::Xdpl, Pref::Ieof, Pref::Subc, Pref::Xtab, Pref::Txal, Pref::Aeqf, Pref::Fscl,
                     Pref::Chgo, Pref::Txfo, Pref::Ccol},
                    "Icas Rovr Inpn Sbsl Fmvl Lorl Noss Xdpl Ieof Subc Xtab Txal Aeqf Fscl Chgo Txfo Ccol"},
        RebuildCase{10, allBoxes(),
                    "Dudc Icas Rovr Inpn Fmvl Lorl Xdpl Ieof Subc Xtab Aeqf Fscl Chgo Ccol Abin"},
        RebuildCase{kDpOptionCount, {Pref::Icas}, "Icas"}));

TEST(OptionsStringRebuildTest, AbinUnchecksTheFourBoxesItOverrides) {
  CompareChoices c = choicesWith(-1, allBoxes());
  RebuildOptionsString(c);
  for (Pref p : {Pref::Txal, Pref::Txfo, Pref::Sbsl, Pref::Noss})
    EXPECT_FALSE(c.isChecked(p));
  EXPECT_TRUE(c.isChecked(Pref::Abin));
  EXPECT_TRUE(c.isChecked(Pref::Icas));

  CompareChoices withoutAbin = choicesWith(-1, {Pref::Txal, Pref::Sbsl});
  EXPECT_EQ(RebuildOptionsString(withoutAbin), "Sbsl Txal");
  EXPECT_TRUE(withoutAbin.isChecked(Pref::Txal));
}

TEST(SubcTextTest, NormalisesToTheCharacterBetweenQuotes) {
  const struct {
    std::string in, out;
  } cases[] = {{"", "\".\""},    {"x", "\"x\""},    {"\"#\"", "\"#\""},   {"\"ab", "\"ab"},
               {"abc", "\"a\""}, {"\"x", "\"\"\""}, {"\"xy\"", "\"\"\""}, {" ", "\" \""}};
  for (const auto& c : cases)
    EXPECT_EQ(NormaliseSubcText(c.in), c.out) << "text [" << c.in << "]";
}

struct ApplyCase {
  std::string text;
  std::string expected;
  int dpIndex;
  std::vector<Pref> checked;
};

class ApplyOptionsStringTest : public ::testing::TestWithParam<ApplyCase> {};

TEST_P(ApplyOptionsStringTest, SelectsDpAndChecksMatchedKeywords) {
  CompareChoices c;
  c.dpIndex = 3;
  EXPECT_EQ(ApplyOptionsString(c, GetParam().text), GetParam().expected);
  EXPECT_EQ(c.dpIndex, GetParam().dpIndex);
  CompareChoices expected = choicesWith(0, GetParam().checked);
  EXPECT_EQ(c.checked, expected.checked);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ApplyOptionsStringTest,
    ::testing::Values(ApplyCase{"Dcpp Icas Xtab", "Dcpp Icas Xtab", 6, {Pref::Icas, Pref::Xtab}},
                      ApplyCase{"icas", "Icas", 0, {Pref::Icas}},
                      ApplyCase{"DDL2,aBIN;ccol", "Ddl2 Abin Ccol", 5, {Pref::Abin, Pref::Ccol}},
                      ApplyCase{"None", "None", 0, {}}, ApplyCase{"None Icas", "None", 0, {}},
                      ApplyCase{"", "None", 0, {}}, ApplyCase{"junk Icas zzzz", "Icas", 0, {Pref::Icas}},
                      ApplyCase{"Dxyz Fmvl", "Fmvl", 0, {Pref::Fmvl}},
                      ApplyCase{"Dsem Dudc", "Dsem Dudc", 10, {}},
                      // A doubled blank shifts every later word off the five-character stride.
                      ApplyCase{"Icas  Rovr", "Icas", 0, {Pref::Icas}},
                      ApplyCase{"Icas Ro", "Icas", 0, {Pref::Icas}}));

TEST(ApplyOptionsStringTest, RoundTripsARebuiltString) {
  CompareChoices original = choicesWith(9, allBoxes());
  const std::string text = RebuildOptionsString(original);
  CompareChoices loaded;
  EXPECT_EQ(ApplyOptionsString(loaded, text), text);
  EXPECT_EQ(loaded.dpIndex, 9);
  EXPECT_EQ(loaded.checked, original.checked);
}

TEST(ApplyOptionsStringTest, LeavesAlreadyCheckedBoxesAlone) {
  CompareChoices c = choicesWith(-1, {Pref::Lorl});
  EXPECT_EQ(ApplyOptionsString(c, "Noss"), "Noss");
  EXPECT_TRUE(c.isChecked(Pref::Lorl));
  EXPECT_TRUE(c.isChecked(Pref::Noss));
}

}  // namespace
}  // namespace kelvarine
