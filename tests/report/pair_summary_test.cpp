#include "report/pair_summary.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "support/memory_file_system.h"
#include "support/recording_host.h"
#include "support/recording_report.h"

namespace kelvarine {
namespace {

using Lines = std::vector<std::string>;

// One pair of a one-pair Delta set, as the report step leaves it before the pair summary: the
// 4-changes pair (1 reformatted line, 3 insertions facing 2 deletions, 2 of them paired).
struct SummaryRun {
  SummaryRun() {
    app.PairCount = 1;
    app.options.ListTypeName = "Delta";
    ctx.newInput.FileName = "new/a.txt";
    ctx.newInput.FileDate = 5;
    ctx.oldInput.FileName = "old/a.txt";
    ctx.oldInput.FileDate = 6;
    ctx.newInput.LongestLine = 40;
    ctx.oldInput.LongestLine = 38;
    PairState& p = app.pair;
    p.FilesDiffer = true;
    p.MatchCount = 10;
    p.ReformatCount = 1;
    p.InsertCount = 3;
    p.DeleteCount = 2;
    p.PairedChanges = 2;
    p.NewLinesProcessed = 14;
    p.OldLinesProcessed = 13;
  }
  Lines linesFrom(std::size_t from) const {
    const Lines& all = app.reportLines.lines();
    return Lines(all.begin() + static_cast<std::ptrdiff_t>(std::min(from, all.size())), all.end());
  }

  MemoryFileSystem fs;
  RecordingHost host;
  AppState app;
  RecordingReport report;
  CompareContext ctx{app, host, fs, report};
};

TEST(PairSummaryTest, FourChangesOnePairWholeSection) {
  SummaryRun run;
  for (const char* line : {"a", "b", "c"})
    run.app.reportLines.add(line);
  run.app.options.PairHeaderPending = true;
  WritePairSummary(run.ctx);
  const Lines expected = {
      " ",
      "INDIVIDUAL PAIRED FILE COMPARE TOTALS AND STATISTICS SECTION",
      "Summary New File(1) = new/a.txt  stamp 5",
      "Summary Old File(1) = old/a.txt  stamp 6",
      " ",
      "     10 Number Of Line Matches          4 Total Changes (Paired+NonPaired Chg) ",
      "      1 Reformatted Lines               3 Paired Changes (Refm+Paired Ins/Del)",
      "      3 New File Line Insertions        1 Non-Paired Inserts (Ins Paired-Chg)",
      "      2 Old File Line Deletions         0 Non-Paired Deletes (Del Paired-Chg)",
      "     14 New File Lines Processed ",
      "     13 Old File Lines Processed ",
      "LISTING-TYPE = Delta  OPTIONS = None  LONGEST-LINE = (40/38)",
  };
  EXPECT_EQ(run.linesFrom(3), expected);  // the pending header is dropped, not written
  EXPECT_FALSE(run.app.options.PairHeaderPending);
  EXPECT_TRUE(run.app.SummaryToMainOnly);
  EXPECT_EQ(run.app.ListingLineCount, 3);
  EXPECT_EQ(run.app.SummaryStartLine, 4);
}

TEST(PairSummaryTest, NossKeepsOnlyTheSeparatorWhenTheSetHasSeveralPairs) {
  for (const int pairCount : {3, 1}) {
    SCOPED_TRACE(pairCount);
    SummaryRun run;
    run.app.options.Noss = true;
    run.app.PairCount = pairCount;
    run.app.CurrentPairIndex = pairCount - 1;
    run.app.SummaryStartLine = 99;
    run.app.reportLines.add("listing");
    WritePairSummary(run.ctx);
    if (pairCount == 3) {
      EXPECT_EQ(run.linesFrom(1), Lines{" "});
      EXPECT_FALSE(run.app.SummaryToMainOnly);
      EXPECT_EQ(run.app.SummaryStartLine, 99);
    } else {
      EXPECT_EQ(run.linesFrom(1).size(), 12u);
      EXPECT_EQ(run.app.SummaryStartLine, 2);
    }
  }
}

// The lines after the two statistics lines of processed lines, for each condition that adds or
// changes them.
TEST(PairSummaryTest, OptionalLinesAndTheirVariants) {
  struct Case {
    const char* name;
    std::function<void(SummaryRun&)> setUp;
    Lines tail;
  };
  const auto binaryPair = [](SummaryRun& r) {
    r.app.pair = PairState{};
    r.app.pair.Binary = true;
    r.app.pair.NewBinBytes = r.app.options.TotNewBinBytes = 1234;
    r.app.pair.OldBinBytes = r.app.options.TotOldBinBytes = 1200;
    r.app.options.BinaryPairs = 1;
    r.ctx.newInput.LongestLine = r.ctx.oldInput.LongestLine = 0;
    r.app.optionsString = "Icas";
  };
  const auto ccol = [](TextInput& in, int s1, int e1, bool two, int s2, int e2, int maxLen) {
    in.CcolStart1 = s1;
    in.CcolEnd1 = e1;
    in.CcolTwoRanges = two;
    in.CcolStart2 = s2;
    in.CcolEnd2 = e2;
    in.MaxCmpLen = maxLen;
  };
  const std::string longest = "LISTING-TYPE = Delta  OPTIONS = None  LONGEST-LINE = (40/38)";
  const Case cases[] = {
      {"one binary pair",
       binaryPair,
       {"   1234 New Bin File Size Processed    1200 Old Bin File Size Processed",
        "LISTING-TYPE = Delta  OPTIONS = Icas", " All Files were processed as binary files. "}},
      {"one binary pair with Abin",
       [&](SummaryRun& r) {
         binaryPair(r);
         r.app.options.Abin = true;
       },
       {"   1234 New Bin File Size Processed    1200 Old Bin File Size Processed",
        "LISTING-TYPE = Delta  OPTIONS = Icas"}},
      {"text pair of a set with a binary pair, one empty file",
       [](SummaryRun& r) {
         r.app.options.BinaryPairs = 1;
         r.ctx.newInput.LongestLine = 0;
       },
       {"      0 New Bin File Size Processed       0 Old Bin File Size Processed",
        "LISTING-TYPE = Delta  OPTIONS = None  LONGEST-LINE = (0/38)"}},
      {"Aeqf-equal pair",
       [](SummaryRun& r) { r.app.pair.AeqfEqual = true; },
       {longest, "AEqF option & equal \"Time-Date-Length\" suppressed \"Old File\" comparison."}},
      {"second of several pairs",
       [](SummaryRun& r) {
         r.app.PairCount = 3;
         r.app.pair.AeqfEqual = true;
       },
       {"LONGEST-LINE = (40/38)"}},
      {"binary pair of several",
       [&](SummaryRun& r) {
         binaryPair(r);
         r.app.PairCount = 2;
         r.app.options.Abin = true;
       },
       {"   1234 New Bin File Size Processed    1200 Old Bin File Size Processed", "OPTIONS = Icas"}},
      {"Ccol one range each",
       [&](SummaryRun& r) {
         r.app.options.Ccol = true;
         ccol(r.ctx.newInput, 1, 0, false, 0, 0, 57);
         ccol(r.ctx.oldInput, 2, 30, false, 0, 0, 29);
       },
       {longest, "NEW-COMPARE-COLUMNS (1:eol) MAX-NEW-COMP-LEN = 57",
        "OLD-COMPARE-COLUMNS (2:30) MAX-OLD-COMP-LEN = 29"}},
      {"Ccol two ranges; a first range to eol prints its 0",
       [&](SummaryRun& r) {
         r.app.options.Ccol = true;
         ccol(r.ctx.newInput, 3, 10, true, 20, 0, 12);
         ccol(r.ctx.oldInput, 1, 0, true, 5, 9, 7);
       },
       {longest, "NEW-COMPARE-COLUMNS (3:10) + (20:eol)  MAX-NEW-COMP-LEN = 12",
        "OLD-COMPARE-COLUMNS (1:0) + (5:9)  MAX-OLD-COMP-LEN = 7"}},
      {"moved lines and every input warning",
       [](SummaryRun& r) {
         CompareOptions& o = r.app.options;
         o.Fmvl = o.Dudc = o.Ieof = true;
         o.DudcTag = "#";
         o.DudcYesNo = "Yes";
         r.app.pair.MovedCount = 2;
         r.app.pair.MovedSubOptimal = true;
         r.app.pair.OldCcolShortLines = 4;
         r.ctx.oldInput.CcolShortSeen = true;
         r.ctx.newInput.PrematureEof = r.ctx.oldInput.PrematureEof = true;
         r.ctx.oldInput.LinesSplit = true;
       },
       {"      2 Number of Moved lines detected", "Moved Line detection sub optimal due to compare set size.",
        longest,
        "WARN: \"CCOL\" start value < some line lengths. New Lines = 0  Old Lines = 4 treated as null blank "
        "lines.",
        "DUDC-DP-OPTION-LEADING-COMMENT-TEXT = \"#\". EMBEDDED-USE = \"Yes\".",
        "WARN: \"Ieof\" opt allowed premature new file EOF char(26) to be ignored.",
        "WARN: \"Ieof\" opt allowed premature old file EOF char(26) to be ignored.",
        "WARN: Lines GT. 2048 characters were split off into separate lines before being processed."}},
      {"premature end of the Old file without Ieof",
       [](SummaryRun& r) { r.ctx.oldInput.PrematureEof = true; },
       {longest, "WARN: Old file EOF char(26) prematurely terminated text input."}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SummaryRun run;
    c.setUp(run);
    WritePairSummary(run.ctx);
    EXPECT_EQ(run.linesFrom(10), c.tail);
  }
}

TEST(PairSummaryTest, DpActiveContinuesTheProcessedLines) {
  SummaryRun run;
  PairState& p = run.app.pair;
  run.app.options.DpActive = true;
  p.NewLinesProcessed = 16;
  p.NewDpCount = 2;
  p.NewPartDpCount = 1;
  p.OldPartDpCount = 3;
  WritePairSummary(run.ctx);
  EXPECT_EQ(run.app.reportLines[8],
            "     14 New File Lines Processed        2 New Dp/Cmt + 1 Part New Dp/Comments");
  EXPECT_EQ(run.app.reportLines[9],
            "     13 Old File Lines Processed        0 Old Dp/Cmt + 3 Part Old Dp/Comments");
}

}  // namespace
}  // namespace kelvarine
