#include "engine/options_capture.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "engine/compare_choices.h"
#include "engine/engine_fault.h"

namespace kelvarine {
namespace {

CompareChoices choicesWith(int dpIndex, const std::vector<Pref>& boxes) {
  CompareChoices c;
  c.dpIndex = dpIndex;
  for (Pref p : boxes)
    c.setChecked(p, true);
  return c;
}

TEST(OptionsStringTest, AbinUnchecksTheBoxesItOverridesAndTheStringReadsBack) {
  CompareChoices none = choicesWith(kDpOptionCount, {});  // no such Dp item
  EXPECT_EQ(RebuildOptionsString(none), "None");
  CompareChoices original = choicesWith(10, {kPanelOrder.begin(), kPanelOrder.end()});
  const std::string text = "Dudc Icas Rovr Inpn Fmvl Lorl Xdpl Ieof Subc Xtab Aeqf Fscl Chgo Ccol Abin";
  EXPECT_EQ(RebuildOptionsString(original), text);
  CompareChoices loaded;
  EXPECT_EQ(ApplyOptionsString(loaded, text), text);
  EXPECT_EQ(loaded.dpIndex, 10);
  EXPECT_EQ(loaded.checked, original.checked);
}

TEST(OptionsStringTest, ApplySelectsDpAndChecksMatchedKeywords) {
  // Text, the words taken, the Dp item then, and the boxes then (Lorl was checked before and stays).
  const struct {
    const char *text, *taken;
    int dpIndex;
    const char* boxes;
  } cases[] = {{"Dcpp Icas Xtab", "Dcpp Icas Xtab", 6, "Icas Lorl Xtab"},
               {"DDL2,aBIN;ccol", "Ddl2 Abin Ccol", 5, "Lorl Ccol Abin"},
               {"None Icas", "None", 0, "Lorl"},
               {"", "None", 0, "Lorl"},
               {"Dxyz Icas zzzz", "Icas", 0, "Icas Lorl"},
               {"Dsem Dudc", "Dsem Dudc", 10, "Lorl"},
               // A doubled blank shifts every later word off the five-character stride.
               {"Icas  Rovr", "Icas", 0, "Icas Lorl"}};
  for (const auto& k : cases) {
    CompareChoices c = choicesWith(3, {Pref::Lorl});
    EXPECT_EQ(ApplyOptionsString(c, k.text), k.taken);
    EXPECT_EQ(c.dpIndex, k.dpIndex) << k.text;
    c.dpIndex = -1;
    EXPECT_EQ(RebuildOptionsString(c), k.boxes) << k.text;
  }
}

TEST(SubcTextTest, NormalisesToTheCharacterBetweenQuotes) {
  const std::pair<const char*, const char*> cases[] = {
      {"", "\".\""},    {"x", "\"x\""},    {"\"#\"", "\"#\""},  {"\"ab", "\"ab"},
      {"abc", "\"a\""}, {"\"x", "\"\"\""}, {"\"xy\"", "\"\"\""}};
  for (const auto& [in, out] : cases)
    EXPECT_EQ(NormaliseSubcText(in), out) << "text [" << in << "]";
}

// The ranges of one file as "start:end", blank-separated; "-" when the 1st range is invalid.
std::string ranges(const CcolSide& s) {
  if (!s.firstValid) return "-";
  std::string r = std::to_string(s.start1) + ":" + std::to_string(s.end1);
  if (s.twoRanges) r += " " + std::to_string(s.start2) + ":" + std::to_string(s.end2);
  return r;
}

TEST(CcolValidationTest, ValidatesEitherFileAlike) {
  // 1st range, 2nd range, valid, the ranges taken.
  // clang-format off
  const struct { const char *first, *second; bool valid; const char* ranges; } cases[] = {
      {"3:EoL", "", true, "3:0"}, {"10:5", "", true, "10:5"}, {" +3 : 40 ", "", true, "3:40"},
      // A numeric 2nd range is dropped silently unless it lies wholly behind the 1st stop.
      {"1:10", "5:20", true, "1:10"}, {"1:10", "11:10", true, "1:10"}, {"1:10", "12:20", true, "1:10 12:20"},
      {"1:10", "12:11", true, "1:10 12:11"}, {"1:10", "1220", true, "1:10"}, {"1:eol", "5:20", true, "1:0 5:20"},
      // An "eol" 2nd range starting within the 1st range makes the whole choice invalid.
      {"1:10", "11:eol", true, "1:10 11:0"}, {"1:10", "10:EOL", false, "1:10 10:0"},
      {"1:10", "0:eol", true, "1:10"}, {"0:10", "", false, "-"}, {"10", "", false, "-"}, {"1:0", "", false, "-"},
      {"1:10:20", "", false, "-"}, {"1:2147483648", "", false, "-"}, {"1:2147483647", "", true, "1:2147483647"}};
  // clang-format on
  for (const auto& k : cases) {
    for (bool onNew : {true, false}) {
      CompareChoices c;
      (onNew ? c.ccolNew1 : c.ccolOld1) = k.first;
      (onNew ? c.ccolNew2 : c.ccolOld2) = k.second;
      const CcolValidation v = ValidateCcolRanges(c);
      EXPECT_EQ(v.valid, k.valid) << k.first << " / " << k.second << (onNew ? " new" : " old");
      EXPECT_EQ(ranges(onNew ? v.newSide : v.oldSide), k.ranges) << k.first << " / " << k.second;
      EXPECT_EQ(ranges(onNew ? v.oldSide : v.newSide), "1:0");
    }
  }
}

class CaptureTest : public ::testing::Test {
 protected:
  // Captures and returns the names of the yes/no options that are set.
  std::string capture() {
    CaptureCompareOptions(choices, options, pair, newInput, oldInput);
    const CompareOptions& o = options;
    const bool flags[] = {o.Icas, o.Rovr,     o.Fmvl,      o.Xdpl,     o.Xtab,     o.Lorl, o.Noss,
                          o.Ieof, o.Subc,     o.Sbsl,      o.Txal,     o.Abin,     o.Aeqf, o.Fscl,
                          o.Chgo, o.Inpn,     o.Txfo,      o.Ccol,     o.DpActive, o.Dsem, o.Drem,
                          o.Dblk, o.Ddlc,     o.Ddl2,      o.Dcpp,     o.Dvbc,     o.Dhtm, o.Dcob,
                          o.Dudc, o.ListChng, o.ListDelta, o.ListLong, o.ListOvsum};
    std::istringstream names(
        "Icas Rovr Fmvl Xdpl Xtab Lorl Noss Ieof Subc Sbsl Txal Abin Aeqf Fscl Chgo Inpn Txfo Ccol DpActive "
        "Dsem Drem Dblk Ddlc Ddl2 Dcpp Dvbc Dhtm Dcob Dudc ListChng ListDelta ListLong ListOvsum");
    std::string name, set;
    for (bool flag : flags) {
      names >> name;
      if (flag) set += (set.empty() ? "" : " ") + name;
    }
    return set;
  }

  CompareChoices choices;
  CompareOptions options;
  PairState pair;
  TextInput newInput, oldInput;
};

TEST_F(CaptureTest, ListingTypeMatchesItsFirstFiveCharactersExactly) {
  choices.setChecked(Pref::Sbsl, true);  // dropped for Ovsum only
  // clang-format off
  const char* cases[][3] = {{"Delta", "Delta", "Sbsl ListDelta"}, {"Ovsum", "Ovsum", "ListOvsum"},
                            {"Ovsummary", "Ovsum", "ListOvsum"}, {"Longer", "Longe", "Sbsl"}, {"chng", "chng", "Sbsl"}};
  // clang-format on
  for (const auto& [text, name, set] : cases) {
    choices.listType = text;
    EXPECT_EQ(capture(), set);
    EXPECT_EQ(options.ListTypeName, name);
  }
}

TEST_F(CaptureTest, EachDpItemAndEachBoxSetsOnlyItsOwnFlag) {
  for (int index = -1; index <= kDpOptionCount; ++index) {
    choices.dpIndex = index;
    const std::string name = index > 0 && index < kDpOptionCount ? kDpOptionNames[index] : "";
    EXPECT_EQ(capture(), (name.empty() ? "" : "DpActive " + name + " ") + "ListChng") << index;
  }
  for (std::size_t tag = 0; tag < kPrefCount; ++tag) {
    choices.checked = {};
    choices.checked[tag] = true;
    EXPECT_EQ(capture(), std::string(kPrefKeywords[tag]) + " ListChng");
  }
}

TEST_F(CaptureTest, StartsAFreshRecordAndReadsParametersOnlyWhenTheirBoxIsChecked) {
  options.TotMatches = 7;
  choices.xtabText = "x";
  choices.subcText = "";
  choices.dudcTag = "@";
  capture();
  EXPECT_EQ(options.TotMatches + options.XtabWidth, 0);
  EXPECT_EQ(options.DudcTag + options.DudcYesNo, "@No");  // the Dudc texts are always taken

  choices.setChecked(Pref::Xtab, true);
  choices.setChecked(Pref::Subc, true);
  choices.subcText = "ab";
  for (const auto& [text, width] : {std::pair{" 6 ", 6}, {"+3", 3}, {"12", 12}}) {
    choices.xtabText = text;
    capture();
    EXPECT_EQ(options.XtabWidth, width);
  }
  EXPECT_EQ(options.SubcChar, 'b');
  for (const char* bad : {"x", "", "4x", "3.0", "+-4", "99999999999"}) {
    choices.xtabText = bad;
    EXPECT_THROW(capture(), EngineFault) << bad;
  }
  choices.xtabText = "4";
  choices.subcText = "x";
  EXPECT_THROW(capture(), EngineFault);
}

}  // namespace
}  // namespace kelvarine
