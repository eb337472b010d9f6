#include "engine/compare_choices.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
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

TEST(OptionsStringTest, RebuildListsDpNameThenKeywordsInPanelOrder) {
  const auto rebuilt = [](int dpIndex, const std::vector<Pref>& boxes) {
    CompareChoices c = choicesWith(dpIndex, boxes);
    return RebuildOptionsString(c);
  };
  EXPECT_EQ(rebuilt(-1, {}), "None");
  EXPECT_EQ(rebuilt(kDpOptionCount, {Pref::Icas}), "Icas");
  EXPECT_EQ(rebuilt(6, {Pref::Ccol, Pref::Xtab, Pref::Icas}), "Dcpp Icas Xtab Ccol");
  EXPECT_EQ(rebuilt(-1, {kPanelOrder.begin(), kPanelOrder.end() - 1}),  // all but Abin
            "Icas Rovr Inpn Sbsl Fmvl Lorl Noss Xdpl Ieof Subc Xtab Txal Aeqf Fscl Chgo Txfo Ccol");
}

TEST(OptionsStringTest, AbinUnchecksTheBoxesItOverridesAndTheStringReadsBack) {
  CompareChoices original = choicesWith(10, {kPanelOrder.begin(), kPanelOrder.end()});
  const std::string text = "Dudc Icas Rovr Inpn Fmvl Lorl Xdpl Ieof Subc Xtab Aeqf Fscl Chgo Ccol Abin";
  EXPECT_EQ(RebuildOptionsString(original), text);
  CompareChoices loaded;
  EXPECT_EQ(ApplyOptionsString(loaded, text), text);
  EXPECT_EQ(loaded.dpIndex, 10);
  EXPECT_EQ(loaded.checked, original.checked);
}

TEST(OptionsStringTest, ApplySelectsDpAndChecksMatchedKeywords) {
  const struct {
    const char *text, *expected;
    int dpIndex;
    std::vector<Pref> checked;
  } cases[] = {{"Dcpp Icas Xtab", "Dcpp Icas Xtab", 6, {Pref::Icas, Pref::Xtab}},
               {"DDL2,aBIN;ccol", "Ddl2 Abin Ccol", 5, {Pref::Abin, Pref::Ccol}},
               {"None Icas", "None", 0, {}},
               {"", "None", 0, {}},
               {"Dxyz Icas zzzz", "Icas", 0, {Pref::Icas}},
               {"Dsem Dudc", "Dsem Dudc", 10, {}},
               // A doubled blank shifts every later word off the five-character stride.
               {"Icas  Rovr", "Icas", 0, {Pref::Icas}},
               {"Icas Ro", "Icas", 0, {Pref::Icas}}};
  for (const auto& k : cases) {
    CompareChoices c = choicesWith(3, {Pref::Lorl});
    EXPECT_EQ(ApplyOptionsString(c, k.text), k.expected);
    EXPECT_EQ(c.dpIndex, k.dpIndex) << k.text;
    CompareChoices expected = choicesWith(0, k.checked);
    expected.setChecked(Pref::Lorl, true);  // boxes already checked stay checked
    EXPECT_EQ(c.checked, expected.checked) << k.text;
  }
}

TEST(SubcTextTest, NormalisesToTheCharacterBetweenQuotes) {
  const std::pair<const char*, const char*> cases[] = {
      {"", "\".\""},    {"x", "\"x\""},    {"\"#\"", "\"#\""},  {"\"ab", "\"ab"},
      {"abc", "\"a\""}, {"\"x", "\"\"\""}, {"\"xy\"", "\"\"\""}};
  for (const auto& [in, out] : cases)
    EXPECT_EQ(NormaliseSubcText(in), out) << "text [" << in << "]";
}

}  // namespace
}  // namespace kelvarine
