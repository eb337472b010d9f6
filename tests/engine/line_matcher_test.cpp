#include "engine/line_matcher.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/matcher_state.h"
#include "support/chunk_builder.h"

namespace kelvarine {
namespace {

std::vector<std::string> numbered(const std::string& prefix, int from, int to) {
  std::vector<std::string> lines;
  for (int i = from; i <= to; ++i)
    lines.push_back(prefix + std::to_string(i));
  return lines;
}

std::vector<std::string> concat(std::initializer_list<std::vector<std::string>> parts) {
  std::vector<std::string> out;
  for (const auto& p : parts)
    out.insert(out.end(), p.begin(), p.end());
  return out;
}

class LineMatcherTest : public ::testing::Test {
 protected:
  CompareContext& match(const std::vector<std::string>& newLines, const std::vector<std::string>& oldLines,
                        bool lastChunk = true) {
    CompareContext& c = builder.build(newLines, oldLines, lastChunk);
    MatchChunk(c);
    EXPECT_EQ(CheckMatcherInvariants(c), "");
    return c;
  }
  // "M<partner>" for a matched New line, "V<partner>" moved, "-" unpaired, "dp" a Dp line.
  std::vector<std::string> newSide(const CompareContext& c) const {
    std::vector<std::string> out;
    for (int n = 1; n <= c.newInput.Count; ++n) {
      const LineRecord& r = c.newTable[n];
      out.push_back(r.DpLine    ? "dp"
                    : r.Matched ? "M" + std::to_string(r.Link)
                    : r.Moved   ? "V" + std::to_string(r.Link)
                                : "-");
    }
    return out;
  }
  int matchedNew(const CompareContext& c) const {
    int count = 0;
    for (int n = 1; n <= c.newInput.Count; ++n)
      count += c.newTable[n].Matched ? 1 : 0;
    return count;
  }
  ChunkBuilder builder;
};

TEST_F(LineMatcherTest, IdenticalTablesAreOneRunAcceptedInTheFirstCycle) {
  auto lines = numbered("line ", 1, 100);
  CompareContext& c = match(lines, lines);
  for (int n = 1; n <= 100; ++n)
    ASSERT_EQ(c.newTable[n].Link, n);
  EXPECT_TRUE(c.newTable[1].Anchor);
  EXPECT_EQ(builder.host.statusTexts.back(),
            "Compare Lines Pass Count (1) Compare Cycles (101) New Counter, (101) Old Counter");
}

TEST_F(LineMatcherTest, OneChangedLineIsBridgedInBigMode) {
  auto oldLines = numbered("line ", 1, 100);
  auto newLines = oldLines;
  newLines[49] = "changed";
  CompareContext& c = match(newLines, oldLines);
  EXPECT_EQ(matchedNew(c), 99);
  EXPECT_FALSE(c.newTable[50].Matched);
  EXPECT_FALSE(c.oldTable[50].Matched);
  EXPECT_EQ(c.newTable[51].Link, 51);
}

TEST_F(LineMatcherTest, BlockMovedToTheEndIsUnpairedWithoutFmvlAndMovedWithIt) {
  auto base = numbered("line ", 1, 100);
  auto moved = concat({numbered("line ", 11, 100), numbered("line ", 1, 10)});
  {
    CompareContext& c = match(moved, base);
    EXPECT_EQ(matchedNew(c), 90);
    for (int n = 91; n <= 100; ++n)
      EXPECT_FALSE(c.newTable[n].Moved);
  }
  builder.app.options.Fmvl = true;
  CompareContext& c = match(moved, base);
  EXPECT_EQ(matchedNew(c), 90);
  for (int n = 91; n <= 100; ++n) {
    EXPECT_TRUE(c.newTable[n].Moved) << n;
    EXPECT_EQ(c.newTable[n].Link, n - 90);
  }
}

TEST_F(LineMatcherTest, RepeatedLineIsPairedWhereTheLongestRunContinues) {
  // "end" occurs three times in Old; the New "end" belongs after b1..b3.
  std::vector<std::string> oldLines{"a1", "end", "x", "end", "b1", "b2", "b3", "end", "c1"};
  std::vector<std::string> newLines{"b1", "b2", "b3", "end", "c1"};
  CompareContext& c = match(newLines, oldLines);
  EXPECT_EQ(newSide(c), (std::vector<std::string>{"M5", "M6", "M7", "M8", "M9"}));
}

TEST_F(LineMatcherTest, BlanksAndCaseDifferencesArePaired) {
  builder.app.options.Icas = true;
  CompareContext& c = match({"int  a = 1;", "RETURN X"}, {"int a=1;", "return x"});
  EXPECT_EQ(newSide(c), (std::vector<std::string>{"M1", "M2"}));
}

TEST_F(LineMatcherTest, SmallChunksPairSingleLines) {
  CompareContext& c = match({"a", "X", "c", "Y", "e"}, {"Z", "c", "W", "e"});
  EXPECT_EQ(newSide(c), (std::vector<std::string>{"-", "-", "M2", "-", "M4"}));
}

TEST_F(LineMatcherTest, DpLinesAreNeverPairedAndDoNotBreakARun) {
  std::vector<std::string> newLines{"a", "#dp one", "b", "c", "#dp two", "d"};
  std::vector<std::string> oldLines{"#dp one", "a", "b", "#dp x", "c", "d"};
  CompareContext& c = match(newLines, oldLines);
  EXPECT_EQ(newSide(c), (std::vector<std::string>{"M2", "dp", "M3", "M5", "dp", "M6"}));
  EXPECT_TRUE(c.newTable[1].Anchor);
  EXPECT_FALSE(c.newTable[3].Anchor);  // one run across the Dp lines
}

TEST_F(LineMatcherTest, AnEmptySideLeavesEveryLineUnpaired) {
  CompareContext& c = match(numbered("n", 1, 20), {});
  EXPECT_EQ(matchedNew(c), 0);
}

TEST_F(LineMatcherTest, BigModeCutsANonFinalChunkAfterTheLastAcceptedRun) {
  // The last 30 New lines have nothing in common with the Old table: the chunk ends after line 70.
  auto oldLines = concat({numbered("line ", 1, 70), numbered("old tail ", 1, 30)});
  auto newLines = concat({numbered("line ", 1, 70), numbered("new tail ", 1, 30)});
  CompareContext& c = match(newLines, oldLines, /*lastChunk=*/false);
  EXPECT_EQ(c.newInput.Count, 70);
  EXPECT_EQ(c.oldInput.Count, 70);
  EXPECT_EQ(builder.app.pair.NewLines, 70);
  EXPECT_TRUE(c.newTable[71].Anchor);
  EXPECT_EQ(c.newTable[71].Link, 71);
  EXPECT_EQ(c.newTable[71].Text, nullptr);
}

TEST_F(LineMatcherTest, TheFinalChunkIsNeverCut) {
  auto oldLines = concat({numbered("line ", 1, 70), numbered("old tail ", 1, 30)});
  auto newLines = concat({numbered("line ", 1, 70), numbered("new tail ", 1, 30)});
  CompareContext& c = match(newLines, oldLines, /*lastChunk=*/true);
  EXPECT_EQ(c.newInput.Count, 100);
}

TEST_F(LineMatcherTest, LinesThatAllShareOneBucketStillMatch) {
  // Every line hashes alike: two-character lines whose byte sum is constant.
  std::vector<std::string> oldLines, newLines;
  for (int i = 0; i < 60; ++i) {
    std::string s{static_cast<char>('A' + i % 26), static_cast<char>('z' - i % 26)};
    oldLines.push_back(s);
  }
  newLines = oldLines;
  newLines.erase(newLines.begin() + 30);
  CompareContext& c = match(newLines, oldLines);
  EXPECT_GE(matchedNew(c), 55);
}

// The probe bridges a gap only when its first hit is followed by two more equal pairs.
TEST_F(LineMatcherTest, ResyncProbeRefusesAnAmbiguousGap) {
  // At (1,1): offset (0,1) hits on "p" but is not followed by two equal pairs; offset (1,1) would be.
  CompareContext& c = builder.build({"x", "p", "a", "b", "c", "d", "e", "f", "g"},
                                    {"p", "p", "q", "a", "b", "c", "d", "e", "f", "g"});
  MatcherState state(c);
  int n = 1, o = 1;
  EXPECT_FALSE(state.probe(n, o));
  EXPECT_EQ(n, 1);
  EXPECT_EQ(o, 1);
  CompareContext& clear = builder.build({"x", "a", "b", "c", "d", "e", "f", "g", "h"},
                                        {"y", "a", "b", "c", "d", "e", "f", "g", "h"});
  MatcherState plain(clear);
  n = 1;
  o = 1;
  EXPECT_TRUE(plain.probe(n, o));
  EXPECT_EQ(n, 2);
  EXPECT_EQ(o, 2);
}

class MovedLineSearchTest : public LineMatcherTest {
 protected:
  void SetUp() override { builder.app.options.Fmvl = true; }
};

TEST_F(MovedLineSearchTest, SingleMovedLineIsAOneLineRun) {
  auto oldLines = numbered("line ", 1, 30);
  auto newLines = oldLines;
  std::string movedLine = newLines[4];
  newLines.erase(newLines.begin() + 4);
  newLines.insert(newLines.begin() + 24, movedLine);
  CompareContext& c = match(newLines, oldLines);
  EXPECT_TRUE(c.newTable[25].Moved);
  EXPECT_EQ(c.newTable[25].Link, 5);
  EXPECT_TRUE(c.oldTable[5].Moved);
}

TEST_F(MovedLineSearchTest, OnlyOneOfTwoEqualNewLinesBecomesMoved) {
  std::vector<std::string> oldLines{"dup", "a", "b", "c"};
  std::vector<std::string> newLines{"a", "b", "c", "dup", "dup"};
  CompareContext& c = match(newLines, oldLines);
  int moved = 0;
  for (int n = 1; n <= 5; ++n)
    moved += c.newTable[n].Moved ? 1 : 0;
  EXPECT_EQ(moved, 1);
}

TEST_F(MovedLineSearchTest, LineChangedInBlanksAndMovedIsStillFound) {
  auto oldLines = numbered("line ", 1, 20);
  auto newLines = numbered("line ", 2, 20);
  newLines.push_back("li ne 1");
  CompareContext& c = match(newLines, oldLines);
  EXPECT_TRUE(c.newTable[20].Moved);
  EXPECT_EQ(c.newTable[20].Link, 1);
}

}  // namespace
}  // namespace kelvarine
