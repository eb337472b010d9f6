#include "engine/options_capture.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "engine/engine_fault.h"

namespace kelvarine {
namespace {

// ---- Ccol range validation ----

struct Bounds {
  bool firstValid;
  int start1, end1;
  bool twoRanges;
  int start2, end2;
};

void expectSide(const CcolSide& s, const Bounds& b) {
  EXPECT_EQ(s.firstValid, b.firstValid);
  EXPECT_EQ(s.start1, b.start1);
  EXPECT_EQ(s.end1, b.end1);
  EXPECT_EQ(s.twoRanges, b.twoRanges);
  EXPECT_EQ(s.start2, b.start2);
  EXPECT_EQ(s.end2, b.end2);
}

struct CcolCase {
  std::string new1, new2, old1, old2;
  bool valid;
  Bounds newSide, oldSide;
};

constexpr Bounds kWholeLine{true, 1, 0, false, 0, 0};
constexpr Bounds kInvalid{false, 0, 0, false, 0, 0};

class CcolValidationTest : public ::testing::TestWithParam<CcolCase> {};

TEST_P(CcolValidationTest, ValidatesBothFilesAndKeepsTheBounds) {
  const CcolCase& k = GetParam();
  CompareChoices c;
  c.ccolNew1 = k.new1;
  c.ccolNew2 = k.new2;
  c.ccolOld1 = k.old1;
  c.ccolOld2 = k.old2;
  const CcolValidation v = ValidateCcolRanges(c);
  EXPECT_EQ(v.valid, k.valid);
  expectSide(v.newSide, k.newSide);
  expectSide(v.oldSide, k.oldSide);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CcolValidationTest,
    ::testing::Values(
        CcolCase{"1:eol", "", "1:eol", "", true, kWholeLine, kWholeLine},
        CcolCase{"1:EOL", "", "3:Eol", "", true, kWholeLine, {true, 3, 0, false, 0, 0}},
        CcolCase{"10:5", "", "1:eol", "", true, {true, 10, 5, false, 0, 0}, kWholeLine},
        CcolCase{" +3 : 40 ", "", "1:eol", "", true, {true, 3, 40, false, 0, 0}, kWholeLine},
        // 2nd range: dropped silently unless it lies wholly behind the 1st stop.
        CcolCase{"1:10", "5:20", "1:eol", "", true, {true, 1, 10, false, 0, 0}, kWholeLine},
        CcolCase{"1:10", "11:10", "1:eol", "", true, {true, 1, 10, false, 0, 0}, kWholeLine},
        CcolCase{"1:10", "12:20", "1:eol", "", true, {true, 1, 10, true, 12, 20}, kWholeLine},
        CcolCase{"1:10", "12:11", "1:eol", "", true, {true, 1, 10, true, 12, 11}, kWholeLine},
        CcolCase{"1:10", "0:20", "1:eol", "", true, {true, 1, 10, false, 0, 0}, kWholeLine},
        CcolCase{"1:10", "1220", "1:eol", "", true, {true, 1, 10, false, 0, 0}, kWholeLine},
        // A 1st range to end of line admits any 2nd range (the reader then ignores it).
        CcolCase{"1:eol", "5:20", "1:eol", "", true, {true, 1, 0, true, 5, 20}, kWholeLine},
        // An "eol" 2nd range must start behind the 1st stop, or the whole choice is invalid.
        CcolCase{"1:10", "11:eol", "1:eol", "", true, {true, 1, 10, true, 11, 0}, kWholeLine},
        CcolCase{"1:10", "5:eol", "1:eol", "", false, {true, 1, 10, true, 5, 0}, kWholeLine},
        CcolCase{"1:10", "10:EOL", "1:eol", "", false, {true, 1, 10, true, 10, 0}, kWholeLine},
        CcolCase{"1:eol", "", "1:20", "15:eol", false, kWholeLine, {true, 1, 20, true, 15, 0}},
        // Invalid 1st ranges.
        CcolCase{"1:eol", "", "0:10", "", false, kWholeLine, kInvalid},
        CcolCase{"1:eol", "", "10", "", false, kWholeLine, kInvalid},
        CcolCase{"", "", "1:eol", "", false, kInvalid, kWholeLine},
        CcolCase{"1:0", "", "1:eol", "", false, kInvalid, kWholeLine},
        CcolCase{"x:10", "", "1:eol", "", false, kInvalid, kWholeLine},
        CcolCase{"1:10:20", "", "1:eol", "", false, kInvalid, kWholeLine},
        CcolCase{"1:2147483648", "", "1:eol", "", false, kInvalid, kWholeLine},
        CcolCase{"1:2147483647", "", "1:eol", "", true, {true, 1, 2147483647, false, 0, 0}, kWholeLine}));

// ---- Capture ----

class CaptureTest : public ::testing::Test {
 protected:
  void capture() { CaptureCompareOptions(choices, options, pair, newInput, oldInput); }
  void check(std::vector<Pref> boxes) {
    for (Pref p : boxes)
      choices.setChecked(p, true);
  }

  CompareChoices choices;
  CompareOptions options;
  PairState pair;
  TextInput newInput, oldInput;
};

TEST_F(CaptureTest, DefaultsGiveChngAndNothingElse) {
  options.TotMatches = 7;
  options.Icas = true;
  options.Dcpp = true;
  options.ReportNote = "old";
  capture();
  EXPECT_TRUE(options.ListChng);
  EXPECT_EQ(options.ListTypeName, "Chng");
  EXPECT_FALSE(options.DpActive);
  EXPECT_FALSE(options.Icas);
  EXPECT_FALSE(options.Dcpp);
  EXPECT_EQ(options.TotMatches, 0);
  EXPECT_TRUE(options.ReportNote.empty());
  EXPECT_EQ(options.XtabWidth, 0);
  EXPECT_EQ(options.SubcChar, 0);
  EXPECT_EQ(options.DudcTag, "#");
  EXPECT_EQ(options.DudcYesNo, "No");
  EXPECT_EQ(pair.ReturnCode, 0);
  EXPECT_FALSE(pair.StopSet);
}

TEST_F(CaptureTest, ListingTypeMatchesItsFirstFiveCharactersExactly) {
  using Flag = bool CompareOptions::*;
  const struct {
    const char* text;
    const char* name;
    Flag flag;
  } cases[] = {{"Chng", "Chng", &CompareOptions::ListChng},
               {"Delta", "Delta", &CompareOptions::ListDelta},
               {"Long", "Long", &CompareOptions::ListLong},
               {"Ovsum", "Ovsum", &CompareOptions::ListOvsum},
               {"Ovsummary", "Ovsum", &CompareOptions::ListOvsum},
               {"Longer", "Longe", nullptr},
               {"chng", "chng", nullptr},
               {"", "", nullptr}};
  const Flag all[] = {&CompareOptions::ListChng, &CompareOptions::ListDelta, &CompareOptions::ListLong,
                      &CompareOptions::ListOvsum};
  for (const auto& k : cases) {
    choices.listType = k.text;
    capture();
    EXPECT_EQ(options.ListTypeName, k.name);
    for (Flag f : all)
      EXPECT_EQ(options.*f, f == k.flag) << k.text;
  }
}

TEST_F(CaptureTest, EachDpItemSetsItsOwnFlag) {
  using Flag = bool CompareOptions::*;
  const Flag byIndex[] = {nullptr,
                          &CompareOptions::Dsem,
                          &CompareOptions::Drem,
                          &CompareOptions::Dblk,
                          &CompareOptions::Ddlc,
                          &CompareOptions::Ddl2,
                          &CompareOptions::Dcpp,
                          &CompareOptions::Dvbc,
                          &CompareOptions::Dhtm,
                          &CompareOptions::Dcob,
                          &CompareOptions::Dudc};
  for (int index = -1; index < kDpOptionCount; ++index) {
    choices.dpIndex = index;
    capture();
    const Flag expected = index > 0 ? byIndex[index] : nullptr;
    EXPECT_EQ(options.DpActive, expected != nullptr) << index;
    for (int i = 1; i < kDpOptionCount; ++i)
      EXPECT_EQ(options.*byIndex[i], byIndex[i] == expected) << index;
  }
}

TEST_F(CaptureTest, EachPreferenceBoxSetsOnlyItsOwnFlag) {
  using Flag = bool CompareOptions::*;
  const std::pair<Pref, Flag> table[] = {
      {Pref::Icas, &CompareOptions::Icas}, {Pref::Rovr, &CompareOptions::Rovr},
      {Pref::Fmvl, &CompareOptions::Fmvl}, {Pref::Xdpl, &CompareOptions::Xdpl},
      {Pref::Xtab, &CompareOptions::Xtab}, {Pref::Lorl, &CompareOptions::Lorl},
      {Pref::Noss, &CompareOptions::Noss}, {Pref::Ieof, &CompareOptions::Ieof},
      {Pref::Subc, &CompareOptions::Subc}, {Pref::Sbsl, &CompareOptions::Sbsl},
      {Pref::Txal, &CompareOptions::Txal}, {Pref::Abin, &CompareOptions::Abin},
      {Pref::Aeqf, &CompareOptions::Aeqf}, {Pref::Fscl, &CompareOptions::Fscl},
      {Pref::Chgo, &CompareOptions::Chgo}, {Pref::Inpn, &CompareOptions::Inpn},
      {Pref::Txfo, &CompareOptions::Txfo}, {Pref::Ccol, &CompareOptions::Ccol}};
  for (const auto& [box, flag] : table) {
    choices.checked = {};
    choices.setChecked(box, true);
    capture();
    for (const auto& [other, otherFlag] : table)
      EXPECT_EQ(options.*otherFlag, other == box) << kPrefKeywords[static_cast<std::size_t>(box)];
  }
}

TEST_F(CaptureTest, SbslIsDroppedForOvsumOnly) {
  check({Pref::Sbsl});
  choices.listType = "Ovsum";
  capture();
  EXPECT_FALSE(options.Sbsl);
  choices.listType = "Long";
  capture();
  EXPECT_TRUE(options.Sbsl);
}

TEST_F(CaptureTest, ParametersAreReadOnlyWhenTheirBoxIsChecked) {
  choices.xtabText = "x";
  choices.subcText = "";
  EXPECT_NO_THROW(capture());
  EXPECT_EQ(options.XtabWidth, 0);

  check({Pref::Xtab, Pref::Subc});
  choices.subcText = "\"#\"";
  for (const auto& [text, width] : {std::pair{" 6 ", 6}, {"+3", 3}, {"12", 12}}) {
    choices.xtabText = text;
    capture();
    EXPECT_EQ(options.XtabWidth, width);
    EXPECT_EQ(options.SubcChar, '#');
  }
  for (const char* bad : {"x", "", "4x", "3.0", "+-4", "99999999999"}) {
    choices.xtabText = bad;
    EXPECT_THROW(capture(), EngineFault) << bad;
  }
  choices.xtabText = "4";
  for (const char* shortText : {"", "x"}) {
    choices.subcText = shortText;
    EXPECT_THROW(capture(), EngineFault) << shortText;
  }
  choices.subcText = "ab";
  capture();
  EXPECT_EQ(options.SubcChar, 'b');
}

TEST_F(CaptureTest, ValidCcolGoesIntoBothTextInputs) {
  check({Pref::Ccol});
  choices.ccolNew1 = "1:10";
  choices.ccolNew2 = "12:20";
  choices.ccolOld1 = "5:EOL";
  capture();
  EXPECT_TRUE(options.Ccol);
  EXPECT_EQ(pair.ReturnCode, 0);
  EXPECT_EQ(newInput.CcolStart1, 1);
  EXPECT_EQ(newInput.CcolEnd1, 10);
  EXPECT_TRUE(newInput.CcolTwoRanges);
  EXPECT_EQ(newInput.CcolStart2, 12);
  EXPECT_EQ(newInput.CcolEnd2, 20);
  EXPECT_EQ(oldInput.CcolStart1, 5);
  EXPECT_EQ(oldInput.CcolEnd1, 0);
  EXPECT_FALSE(oldInput.CcolTwoRanges);
}

TEST_F(CaptureTest, InvalidCcolStopsTheSetOnlyWhenChecked) {
  choices.ccolOld1 = "0:10";
  capture();
  EXPECT_EQ(pair.ReturnCode, 0);
  EXPECT_FALSE(pair.StopSet);

  check({Pref::Ccol, Pref::Icas});
  newInput.CcolStart1 = 99;
  capture();
  EXPECT_FALSE(options.Ccol);
  EXPECT_TRUE(options.Icas);
  EXPECT_EQ(pair.ReturnCode, 1);
  EXPECT_TRUE(pair.StopSet);
  EXPECT_EQ(newInput.CcolStart1, 99);
}

}  // namespace
}  // namespace kelvarine
