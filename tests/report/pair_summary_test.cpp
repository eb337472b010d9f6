#include "report/pair_summary.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "support/memory_set.h"

namespace kelvarine {
namespace {

using Lines = std::vector<std::string>;

// One pair of a one-pair Delta set, as the report step leaves it before the pair summary: 1 reformatted
// line, 2 insertions facing 3 deletions, 2 of them paired. (The whole section of a text pair and of a
// binary pair is checked by the whole-report tests.)
struct SummaryRun : MemorySet<> {
  SummaryRun() {
    app.PairCount = 1;
    app.options.ListTypeName = "Delta";
    ctx.newInput.LongestLine = 40;
    ctx.oldInput.LongestLine = 38;
    PairState& p = app.pair;
    p.FilesDiffer = true;
    std::tie(p.MatchCount, p.ReformatCount, p.InsertCount, p.DeleteCount, p.PairedChanges) =
        std::tuple(10, 1, 2, 3, 2);
    std::tie(p.NewLinesProcessed, p.OldLinesProcessed, p.NewDpCount, p.NewPartDpCount, p.OldPartDpCount) =
        std::tuple(14, 13, 2, 1, 3);  // the Dp counts are shown with DpActive only
  }
  Lines linesFrom(std::size_t from) const {
    const Lines& all = app.reportLines.lines();
    return Lines(all.begin() + static_cast<std::ptrdiff_t>(std::min(from, all.size())), all.end());
  }

  CompareContext ctx{app, host, fs, report};
};

TEST(PairSummaryTest, StatisticsWithNonPairedDeletesAndDpCountsAfterTheListing) {
  SummaryRun run;
  for (const char* line : {"a", "b", "c"})
    run.app.reportLines.add(line);
  run.app.options.PairHeaderPending = true;
  run.app.options.DpActive = true;
  WritePairSummary(run.ctx);
  const Lines lines = run.linesFrom(3);
  ASSERT_EQ(lines.size(), 12u);  // the pending header is dropped, not written
  EXPECT_EQ(Lines(lines.begin() + 5, lines.begin() + 11),
            (Lines{"     10 Number Of Line Matches          4 Total Changes (Paired+NonPaired Chg) ",
                   "      1 Reformatted Lines               3 Paired Changes (Refm+Paired Ins/Del)",
                   "      2 New File Line Insertions        0 Non-Paired Inserts (Ins Paired-Chg)",
                   "      3 Old File Line Deletions         1 Non-Paired Deletes (Del Paired-Chg)",
                   "     12 New File Lines Processed        2 New Dp/Cmt + 1 Part New Dp/Comments",
                   "     13 Old File Lines Processed        0 Old Dp/Cmt + 3 Part Old Dp/Comments"}));
  EXPECT_FALSE(run.app.options.PairHeaderPending);
  EXPECT_TRUE(run.app.SummaryToMainOnly);
  EXPECT_EQ(run.app.ListingLineCount, 3);
  EXPECT_EQ(run.app.SummaryStartLine, 4);
}

// Sets up the conditions named in `conditions` (words separated by blanks).
void setUp(SummaryRun& r, const std::string& conditions) {
  const auto has = [&](const std::string& word) {
    return (" " + conditions + " ").find(" " + word + " ") != std::string::npos;
  };
  // Compare columns of one file; a second range when `s2` is not 0.
  const auto ccol = [](TextInput& in, int s1, int e1, int s2, int e2, int maxLen) {
    std::tie(in.CcolStart1, in.CcolEnd1, in.CcolStart2, in.CcolEnd2, in.MaxCmpLen) =
        std::tie(s1, e1, s2, e2, maxLen);
    in.CcolTwoRanges = s2 != 0;
  };
  CompareOptions& o = r.app.options;
  if (has("binary")) {  // an equal-length binary pair under Abin
    r.app.pair = PairState{};
    r.app.pair.Binary = true;
    r.app.pair.NewBinBytes = o.TotNewBinBytes = 1234;
    r.app.pair.OldBinBytes = o.TotOldBinBytes = 1200;
    o.Abin = true;
    r.ctx.newInput.LongestLine = r.ctx.oldInput.LongestLine = 0;
    r.app.optionsString = "Abin";
  }
  if (has("binary") || has("binarySet")) o.BinaryPairs = 1;
  if (has("emptyNew")) r.ctx.newInput.LongestLine = 0;
  if (has("several")) r.app.PairCount = 3;
  o.Noss = has("noss");
  if (has("aeqf")) r.app.pair.AeqfEqual = true;
  if (has("ccol1")) {
    o.Ccol = true;
    ccol(r.ctx.newInput, 1, 0, 0, 0, 57);
    ccol(r.ctx.oldInput, 2, 30, 0, 0, 29);
  }
  if (has("ccol2")) {
    o.Ccol = true;
    ccol(r.ctx.newInput, 3, 10, 20, 0, 12);
    ccol(r.ctx.oldInput, 1, 0, 5, 9, 7);
  }
  if (has("warnings")) {  // moved lines and every input warning
    o.Fmvl = o.Dudc = o.Ieof = true;
    o.DudcTag = "#";
    o.DudcYesNo = "Yes";
    r.app.pair.MovedCount = 2;
    r.app.pair.MovedSubOptimal = true;
    r.app.pair.OldCcolShortLines = 4;
    r.ctx.oldInput.CcolShortSeen = r.ctx.oldInput.LinesSplit = true;
    r.ctx.newInput.PrematureEof = true;
  }
  if (has("oldEof") || has("warnings")) r.ctx.oldInput.PrematureEof = true;
}

// The lines after the two lines of processed lines, for each condition that adds or changes them (with
// no line before the summary, Noss leaves nothing).
TEST(PairSummaryTest, OptionalLinesAndTheirVariants) {
  const std::string binarySizes = "   1234 New Bin File Size Processed    1200 Old Bin File Size Processed";
  const std::string longest = "LISTING-TYPE = Delta  OPTIONS = None  LONGEST-LINE = (40/38)";
  const std::vector<std::pair<std::string, Lines>> cases = {
      {"binary several", {binarySizes, "OPTIONS = Abin"}},
      {"binarySet emptyNew",
       {"      0 New Bin File Size Processed       0 Old Bin File Size Processed",
        "LISTING-TYPE = Delta  OPTIONS = None  LONGEST-LINE = (0/38)"}},
      {"aeqf", {longest, "AEqF option & equal \"Time-Date-Length\" suppressed \"Old File\" comparison."}},
      {"aeqf several", {"LONGEST-LINE = (40/38)"}},
      {"ccol1",
       {longest, "NEW-COMPARE-COLUMNS (1:eol) MAX-NEW-COMP-LEN = 57",
        "OLD-COMPARE-COLUMNS (2:30) MAX-OLD-COMP-LEN = 29"}},
      {"ccol2",  // a first range to eol prints its 0
       {longest, "NEW-COMPARE-COLUMNS (3:10) + (20:eol)  MAX-NEW-COMP-LEN = 12",
        "OLD-COMPARE-COLUMNS (1:0) + (5:9)  MAX-OLD-COMP-LEN = 7"}},
      {"warnings",
       {"      2 Number of Moved lines detected", "Moved Line detection sub optimal due to compare set size.",
        longest,
        "WARN: \"CCOL\" start value < some line lengths. New Lines = 0  Old Lines = 4 treated as null blank "
        "lines.",
        "DUDC-DP-OPTION-LEADING-COMMENT-TEXT = \"#\". EMBEDDED-USE = \"Yes\".",
        "WARN: \"Ieof\" opt allowed premature new file EOF char(26) to be ignored.",
        "WARN: \"Ieof\" opt allowed premature old file EOF char(26) to be ignored.",
        "WARN: Lines GT. 2048 characters were split off into separate lines before being processed."}},
      {"noss", {longest}},  // ignored with one pair
      {"noss several", {}},
      {"oldEof", {longest, "WARN: Old file EOF char(26) prematurely terminated text input."}},
  };
  for (const auto& [conditions, tail] : cases) {
    SCOPED_TRACE(conditions);
    SummaryRun run;
    setUp(run, conditions);
    WritePairSummary(run.ctx);
    EXPECT_EQ(run.linesFrom(10), tail);
  }
}

}  // namespace
}  // namespace kelvarine
