#include "report/group_summary.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "engine/compare_run.h"
#include "report/pair_summary.h"
#include "report/report_generator.h"
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
  const std::string longest = "LISTING-TYPE = Delta  OPTIONS = None  LONGEST-LINE = (40/38)";
  const std::vector<std::pair<std::string, Lines>> cases = {
      {"binary several",
       {"   1234 New Bin File Size Processed    1200 Old Bin File Size Processed", "OPTIONS = Abin"}},
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

// The counters a text pair leaves in the pair state.
struct TextCounts {
  int newProc, oldProc, match, ins, del, refm, paired, newDp = 0, oldDp = 0, moved = 0;
};

// A set built pair by pair as the report step sees it: each pair's counters go through
// AccumulatePairStatistics, then the grouped summary is written. The whole summary of a type 2 set is
// checked line by line by the whole-report tests.
class GroupSummaryTest : public ::testing::Test, public MemorySet<> {
 public:
  GroupSummaryTest() { reset(); }
  void reset() {
    app = AppState();
    ctx.stats.clear();
    app.options.ListTypeName = "Delta";
  }
  PairStatistics& startPair(const std::string& newName, const std::string& oldName) {
    app.NewFileList.push_back(newName);
    app.OldFileList.push_back(oldName);
    app.PairCount = static_cast<std::int32_t>(app.NewFileList.size());
    app.CurrentPairIndex = app.PairCount - 1;
    app.pair = PairState{};
    return ctx.stats.emplace_back();
  }
  void textPair(const std::string& name, const TextCounts& c) {
    startPair(name, name);
    PairState& p = app.pair;
    std::tie(p.NewLinesProcessed, p.OldLinesProcessed, p.MatchCount, p.InsertCount, p.DeleteCount,
             p.ReformatCount, p.PairedChanges, p.NewDpCount, p.OldDpCount, p.MovedCount) =
        std::tie(c.newProc, c.oldProc, c.match, c.ins, c.del, c.refm, c.paired, c.newDp, c.oldDp, c.moved);
    p.FilesDiffer = c.ins + c.del + c.refm > 0;
    AccumulatePairStatistics(ctx);
  }
  void binaryPair(const std::string& name, std::int64_t newBytes, std::int64_t oldBytes) {
    startPair(name, name).Binary = app.pair.Binary = true;
    std::tie(app.pair.NewBinBytes, app.pair.OldBinBytes, app.pair.FilesDiffer) =
        std::tuple(newBytes, oldBytes, newBytes != oldBytes);
    AccumulatePairStatistics(ctx);
  }
  // The table rows: the lines between the table header and the blank line after them.
  Lines tableRows() const {
    const Lines& all = app.reportLines.lines();
    auto header = std::ranges::find_if(all, [](const std::string& s) { return s.starts_with("Code  "); });
    return header == all.end() ? Lines{} : Lines(header + 1, std::find(header + 1, all.end(), " "));
  }
  // The lines after the first line equal to `marker`.
  Lines after(const std::string& marker) const {
    const Lines& all = app.reportLines.lines();
    auto it = std::ranges::find(all, marker);
    if (it == all.end()) ADD_FAILURE() << "no line \"" << marker << "\"";
    return it == all.end() ? Lines{} : Lines(it + 1, all.end());
  }
  bool hasLine(const std::string& line) const {
    return std::ranges::count(app.reportLines.lines(), line) > 0;
  }

  CompareContext ctx{app, host, fs, report};
};

constexpr const char* kLegendEnd = "      Err     - I/O on open or File > 2GB";

// The numbers in `lines`, separated by blanks: a short form of count lines whose columns are checked
// elsewhere.
std::string numbers(const Lines& lines) {
  std::string out;
  for (const std::string& line : lines)
    for (std::size_t i = 0; i < line.size(); ++i)
      if (std::isdigit(static_cast<unsigned char>(line[i])))
        out +=
            (i > 0 && std::isdigit(static_cast<unsigned char>(line[i - 1])) ? "" : " ") + line.substr(i, 1);
  return out.empty() ? out : out.substr(1);
}

TEST_F(GroupSummaryTest, TypeTwoSetTotalsCountUnpairedFilesNonPairedChangesDpAndMovedLines) {
  app.RunAllLikeNamed = app.options.Fmvl = app.options.DpActive = true;
  app.UnpairedNewCount = 1;
  textPair("a.txt", {12, 11, 9, 3, 2, 0, 2, 1, 0, 2});
  textPair("b.txt", {5, 5, 5, 0, 0, 0, 0});
  textPair("c.txt", {7, 8, 6, 1, 2, 0, 0, 2, 1, 3});
  app.reportLines.add("last listing line");
  app.reportLines.add(" ");
  WriteGroupSummary(ctx);
  // Text, binary, changed and unchanged pairs; files in the New and the Old directory, New + Old files,
  // unpaired New and Old files; then matches, total changes, reformats, paired changes, inserts,
  // non-paired inserts, deletes, non-paired deletes; New and Old lines with their Dp lines; moved lines.
  EXPECT_EQ(numbers(after(kLegendEnd)), "3 0 2 1 4 3 6 1 0 20 6 0 2 4 2 4 2 21 3 0 23 1 0 5");
  const Lines& all = app.reportLines.lines();
  EXPECT_EQ(Lines(all.end() - 4, all.end()),
            (Lines{"     21 New File Lines Processed       3 New Dp/Cmt + 0 Part New Dp/Comments",
                   "     23 Old File Lines Processed       1 Old Dp/Cmt + 0 Part Old Dp/Comments",
                   "      5 Number of Inserted/Deleted (Moved lines) detected",
                   "LISTING-TYPE = Delta  OPTIONS = None"}));
  EXPECT_EQ(std::tuple(app.SummaryToMainOnly, app.GroupSummaryStart, app.SummaryStartLine),
            std::tuple(true, 2, 16));
}

// Each case: which pairs changed ('*') or not ('-'), Chgo, and the pairs listed in the table.
TEST_F(GroupSummaryTest, TableWrittenOnlyWhenSomePairIsUnchangedAndChgoListsChangedPairs) {
  // Every pair changed: no table; Chgo and nothing changed: no table either.
  using Case = std::tuple<std::string, bool, std::string>;
  for (const auto& [changed, chgo, listed] :
       {Case{"***", false, ""}, Case{"*-*", true, "ac"}, Case{"---", true, ""}}) {
    SCOPED_TRACE(changed + (chgo ? " Chgo" : ""));
    reset();
    app.options.Chgo = chgo;
    for (std::size_t i = 0; i < changed.size(); ++i)
      textPair(std::string(1, static_cast<char>('a' + i)),
               changed[i] == '*' ? TextCounts{3, 3, 2, 1, 1, 0, 1} : TextCounts{3, 3, 3, 0, 0, 0, 0});
    WriteGroupSummary(ctx);
    std::string names;
    for (const std::string& row : tableRows())
      names += row[6];
    EXPECT_EQ(names, listed);
    EXPECT_EQ(hasLine(kLegendEnd), !listed.empty());
    EXPECT_TRUE(hasLine("      3 Total New/Old Paired Text Files Processed."));  // with or without the table
  }
}

TEST_F(GroupSummaryTest, RowCodesNamesAndBinaryRows) {
  textPair("abcdefghijklmnopqrstu.txt", {2, 2, 2, 0, 0, 0, 0});  // head and the last four characters
  textPair("abcdefghijklmnop.txt", {1, 1, 1, 0, 0, 0, 0});       // exactly 20: whole
  startPair("bad.txt", "bad.txt").OpenError = true;
  startPair("same.txt", "same.txt").TdlEqual = true;
  binaryPair("x.bin", 1234, 0);
  WriteGroupSummary(ctx);
  EXPECT_EQ(tableRows(),
            (Lines{"      abcdefghijklmn...txt       2        2       2" + std::string(49, ' '),
                   "      abcdefghijklmnop.txt       1        1       1" + std::string(49, ' '),
                   "Err=  bad.txt              " + std::string(73, ' '),  // zero counts are blank
                   "TDL=  same.txt             " + std::string(73, ' '),
                   "*     x.bin                   1234            ** Processed as a Binary File **"}));
}

TEST_F(GroupSummaryTest, CompareTypesThreeAndFourNameColumnsAndSelectedPairs) {
  for (const bool typeFour : {false, true}) {
    SCOPED_TRACE(typeFour);
    reset();
    app.choices.compareType = kCompareTypes[typeFour ? 3 : 2];
    (typeFour ? app.RunFromTwoLists : app.RunFromLikeNameList) = true;
    startPair("new-name-that-is-long.txt", "old.txt");
    startPair("n2.txt", "o2.txt");
    WriteGroupSummary(ctx);
    EXPECT_EQ(hasLine("Code  New-Fi-Name      Old-Fi-Name     New-Proc Old-Proc Num-Mat New-Ins Old-Del "
                      "Num-Refm Tot-Chg N-DpLns O-DpLns"),
              typeFour);
    const Lines rows = tableRows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].substr(0, 40), typeFour ? "      new-name-t...txt old.txt" + std::string(10, ' ')
                                              : "      old.txt" + std::string(27, ' '));
    EXPECT_EQ(after("LISTING-TYPE = Delta  OPTIONS = None"),
              (typeFour ? Lines{" USER SELECT FROM UNLIKE/LIKE-NAME FILE LIST -- COMPARE OPTION (4)",
                                "  new-name-that-is-long.txt  :  old.txt", "  n2.txt  :  o2.txt"}
                        : Lines{" USER SELECT FROM LIKE-NAME FILE LIST -- COMPARE OPTION (3)",
                                "  new-name-that-is-long.txt", "  n2.txt"}));
  }
}

TEST_F(GroupSummaryTest, BinarySizeLineWidths) {
  using Case = std::tuple<std::int64_t, std::int64_t, std::string>;
  for (const auto& [newBytes, oldBytes, line] :
       {Case{10000000, 5, "10000000 New Bin Size Processed         5 Old Bin File Size Processed"},
        Case{10000001, 5, "10000001 New Bin Size Processed          5 Old Bin File Size Processed"},
        Case{5, 10000000, "       5 New Bin Size Processed   10000000 Old Bin File Size Processed"},
        Case{100000001, 5, "100000001 New Bin Size Processed           5 Old Bin File Size Processed"},
        Case{5, 100000000, "        5 New Bin Size Processed   100000000 Old Bin File Size Processed"},
        Case{3000000000, 2, "3000000000 New Bin Size Processed           2 Old Bin File Size Processed"}}) {
    reset();
    binaryPair("x.bin", newBytes, oldBytes);
    WriteGroupSummary(ctx);
    const Lines& all = app.reportLines.lines();
    EXPECT_EQ(Lines(all.end() - 2, all.end()), (Lines{line, " All Files were processed as binary files. "}));
  }
}

// Rows: New names faced by the next unpaired Old name, then the Old names left over.
TEST_F(GroupSummaryTest, UnpairedFileList) {
  const std::string blank(41, ' ');
  using Case = std::tuple<Lines, Lines, Lines>;  // New names, Old names, rows
  for (const auto& [newNames, oldNames, rows] :
       {Case{{"a.txt", "n1.txt", "n2.txt"},
             {"a.txt", "o1.txt"},
             {" n1.txt" + blank.substr(7) + " : o1.txt", " n2.txt" + blank.substr(7)}},
        Case{{"a.txt", "b.txt", "c.txt"},
             {"a.txt", "aa.txt", "c.txt", "d.txt", "e.txt"},
             {" b.txt" + blank.substr(6) + " : aa.txt", blank + "  :       d.txt" + std::string(35, ' '),
              blank + "  :       e.txt" + std::string(35, ' ')}}}) {
    SCOPED_TRACE(newNames.back());
    reset();
    app.RunAllLikeNamed = app.options.Inpn = true;
    app.NewDirNames = newNames;
    app.OldDirNames = oldNames;
    for (const std::string& name : newNames)
      if (std::ranges::find(oldNames, name) != oldNames.end()) textPair(name, {1, 1, 1, 0, 0, 0, 0});
    app.UnpairedNewCount = static_cast<std::int32_t>(newNames.size()) - app.PairCount;
    app.UnpairedOldCount = static_cast<std::int32_t>(oldNames.size()) - app.PairCount;
    WriteGroupSummary(ctx);
    Lines listed = after(" LIST OF UNPAIRED NEW AND OLD FILES NOT PROCESSED ");
    ASSERT_FALSE(listed.empty());
    EXPECT_EQ(listed.front(), " New File Name (" + std::to_string(app.UnpairedNewCount) +
                                  ")                    Old File Name (" +
                                  std::to_string(app.UnpairedOldCount) + ")");
    if (app.PairCount > 1) listed.pop_back();  // the options line
    EXPECT_EQ(Lines(listed.begin() + 1, listed.end()), rows);
  }
}

// Whole sets through the compare run: a binary pair skipped by Txfo, wherever it stands, counts once
// as a binary pair and never as a text pair.
TEST(GroupSummaryRunTest, TxfoSkippedPairCountsOnceWhereverItStands) {
  for (const Lines& names :
       {Lines{"b.bin", "t1", "t2"}, Lines{"t0", "b.bin", "t2"}, Lines{"t0", "t1", "b.bin"}}) {
    SCOPED_TRACE(names[0] + names[1]);
    MemorySet<ReportGenerator> set;
    set.check({Pref::Txfo});
    for (const std::string& name : names)
      set.addPair(name, name == "b.bin" ? std::string(40, '\x01') : "same\n",
                  name == "b.bin" ? std::string(40, '\x01') : "same\n");
    set.run();
    for (const char* line : {"      2 Total New/Old Paired Text Files Processed.",
                             "      1 Total Paired New/Old Binary Files Not Processed due to Txfo option.",
                             "      2 Total New/Old Paired Files Processed had No Changes.",
                             "      4 Total New + Old Files Processed.",
                             "      0 New Bin Size Processed         0 Old Bin File Size Processed"})
      EXPECT_EQ(std::ranges::count(set.app.reportLines.lines(), line), 1) << line;
    EXPECT_EQ(set.app.options.BinaryPairs, 1);
  }
}

}  // namespace
}  // namespace kelvarine
