#include "report/group_summary.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/compare_run.h"
#include "support/memory_file_system.h"
#include "support/recording_host.h"
#include "support/recording_report.h"

namespace kelvarine {
namespace {

using Lines = std::vector<std::string>;

// The counters a text pair leaves in the pair state.
struct TextCounts {
  int newProc, oldProc, match, ins, del, refm, paired, newDp = 0, oldDp = 0, moved = 0;
};

// A set built pair by pair as the report step sees it: each pair's counters go through
// AccumulatePairStatistics, then the grouped summary is written.
class GroupSummaryTest : public ::testing::Test {
 public:
  GroupSummaryTest() { reset(); }
  void reset() {
    app = AppState();
    ctx.stats.clear();
    app.options.ListTypeName = "Delta";
    app.newNameText = "/data/new";
    app.oldNameText = "/data/old";
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
    p.NewLinesProcessed = c.newProc;
    p.OldLinesProcessed = c.oldProc;
    p.MatchCount = c.match;
    p.InsertCount = c.ins;
    p.DeleteCount = c.del;
    p.ReformatCount = c.refm;
    p.PairedChanges = c.paired;
    p.NewDpCount = c.newDp;
    p.OldDpCount = c.oldDp;
    p.MovedCount = c.moved;
    p.FilesDiffer = c.ins + c.del + c.refm > 0;
    AccumulatePairStatistics(ctx);
  }
  void binaryPair(const std::string& name, std::int64_t newBytes, std::int64_t oldBytes) {
    startPair(name, name).Binary = true;
    app.pair.Binary = true;
    app.pair.NewBinBytes = newBytes;
    app.pair.OldBinBytes = oldBytes;
    app.pair.FilesDiffer = newBytes != oldBytes;
    AccumulatePairStatistics(ctx);
  }
  // The table rows: the lines between the table header and the blank line after them.
  Lines tableRows() const {
    const Lines& all = app.reportLines.lines();
    auto header =
        std::find_if(all.begin(), all.end(), [](const std::string& s) { return s.starts_with("Code  "); });
    if (header == all.end()) return {};
    return Lines(header + 1, std::find(header + 1, all.end(), " "));
  }
  // The lines after the first line equal to `marker`.
  Lines after(const std::string& marker) const {
    const Lines& all = app.reportLines.lines();
    auto it = std::find(all.begin(), all.end(), marker);
    if (it == all.end()) {
      ADD_FAILURE() << "no line \"" << marker << "\"";
      return {};
    }
    return Lines(it + 1, all.end());
  }
  bool hasLine(const std::string& line) const {
    const Lines& all = app.reportLines.lines();
    return std::find(all.begin(), all.end(), line) != all.end();
  }

  MemoryFileSystem fs;
  RecordingHost host;
  AppState app;
  RecordingReport report;
  CompareContext ctx{app, host, fs, report};
};

constexpr const char* kTotalsTitle =
    "Kelvarn GROUPED PAIRED TEXT/BINARY FILE COMPARE SUMMARY TOTALS SECTION ";

TEST_F(GroupSummaryTest, TypeTwoSetWithOneUnchangedPairWholeSummary) {
  app.RunAllLikeNamed = true;
  app.UnpairedNewCount = 1;
  textPair("a.txt", {12, 11, 9, 3, 2, 0, 2});
  textPair("b.txt", {5, 5, 5, 0, 0, 0, 0});
  textPair("c.txt", {7, 8, 6, 1, 2, 0, 0});
  app.reportLines.add("last listing line");
  app.reportLines.add(" ");
  WriteGroupSummary(ctx);
  const Lines expected = {
      "last listing line",
      " ",
      "  ",
      "Kelvarn GROUPED COMPARE SUMMARY FOR NAMED PAIRED FILES TOTALS SECTION",
      "New Dir = /data/new ",
      "Old Dir = /data/old ",
      " ",
      "Code  New/Old-Fi-Name     New-Proc Old-Proc Num-Mat New-Ins Old-Del Num-Refm Tot-Chg N-DpLns O-DpLns",
      // code, " %-20s ", "%7.d ", " %7.d %7.d %7.d %7.d", "  %7.d", " %7.d %7.d %7.d"
      "*    "
      " a.txt                "
      "     12 "
      "      11       9       3       2"
      "         "
      "       3                ",
      "     "
      " b.txt                "
      "      5 "
      "       5       5                "
      "         "
      "                        ",
      "*    "
      " c.txt                "
      "      7 "
      "       8       6       1       2"
      "         "
      "       3                ",
      " ",
      "Code: \"Blank\" - Equal",
      "      *       - Change File",
      "      TDL=    - Time-Date-Length equal(files assummed equal)",
      "      Err     - I/O on open or File > 2GB",
      " ",
      "      3 Total New/Old Paired Text Files Processed.",
      "      0 Total New/Old Paired Files Processed as Binary Files.",
      "      2 Total New/Old Paired Files Processed had Changes.",
      "      1 Total New/Old Paired Files Processed had No Changes.",
      "      4 Total Files in New Directory.",
      "      3 Total Files in Old Directory.",
      "      6 Total New + Old Files Processed.",
      "      1 Total UnPaired New Files Not Processed.",
      "      0 Total UnPaired Old Files Not Processed.",
      " ",
      kTotalsTitle,
      "     20 Number Of Line Matches         6 Total Changes (Paired+NonPaired Chg)",
      "      0 Total Reformatted Lines        2 Paired Changes (Refm+Paired Ins/Del)",
      "      4 New File Line Insertions       2 Non-Paired Inserts (Extra Ins in Seq.)",
      "      4 Old File Line Deletions        2 Non-Paired Deletes (Extra Del in Seq.)",
      "     24 New File Lines Processed ",
      "     24 Old File Lines Processed ",
      "LISTING-TYPE = Delta  OPTIONS = None",
  };
  EXPECT_EQ(app.reportLines.lines(), expected);
  EXPECT_TRUE(app.SummaryToMainOnly);
  EXPECT_EQ(app.ListingLineCount, 2);
  EXPECT_EQ(app.GroupSummaryStart, 2);
  EXPECT_EQ(app.SummaryStartLine, 16);
}

TEST_F(GroupSummaryTest, TableWrittenOnlyWhenSomePairIsUnchangedAndChgoListsChangedPairs) {
  struct Case {
    std::vector<bool> changed;
    bool chgo;
    Lines rowNames;  // file names of the rows, in order
  };
  const Case cases[] = {
      {{true, true, true}, false, {}},  // every pair changed: no table
      {{true, false, true}, false, {"a.txt", "b.txt", "c.txt"}},
      {{true, false, true}, true, {"a.txt", "c.txt"}},
      {{false, false, false}, true, {}},  // Chgo and nothing changed: no table
      {{false, false, false}, false, {"a.txt", "b.txt", "c.txt"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.changed) + (c.chgo ? " Chgo" : ""));
    reset();
    app.options.Chgo = c.chgo;
    for (std::size_t i = 0; i < c.changed.size(); ++i)
      textPair(std::string(1, static_cast<char>('a' + i)) + ".txt",
               c.changed[i] ? TextCounts{3, 3, 2, 1, 1, 0, 1} : TextCounts{3, 3, 3, 0, 0, 0, 0});
    WriteGroupSummary(ctx);
    Lines names;
    for (const std::string& row : tableRows())
      names.push_back(row.substr(6, 5));
    EXPECT_EQ(names, c.rowNames);
    EXPECT_EQ(hasLine("      Err     - I/O on open or File > 2GB"), !c.rowNames.empty());
    // The totals are there whether or not the table is.
    EXPECT_TRUE(hasLine("      3 Total New/Old Paired Text Files Processed."));
  }
}

TEST(ShortenNameTest, KeepsHeadAndLastFourCharactersWithinTheWidth) {
  struct Case {
    std::string name;
    int width;
    std::string shown;
  };
  const Case cases[] = {
      {"abcdefghijklmnopqrstu.txt", 20, "abcdefghijklmn...txt"},  // 25 characters
      {"abcdefghijklmnop.txt", 20, "abcdefghijklmnop.txt"},       // exactly 20: whole
      {"abcdefghijklmnopq.txt", 20, "abcdefghijklmn...txt"},      // 21
      {"abcdefghijklmnopq.txt", 16, "abcdefghij...txt"},         {"", 16, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ShortenName(c.name, c.width), c.shown) << c.name << " in " << c.width;
    EXPECT_LE(ShortenName(c.name, c.width).size(), static_cast<std::size_t>(c.width));
  }
}

TEST_F(GroupSummaryTest, RowCodesNamesAndBinaryRows) {
  textPair("abcdefghijklmnopqrstu.txt", {2, 2, 2, 0, 0, 0, 0});
  startPair("bad.txt", "bad.txt").OpenError = true;
  startPair("same.txt", "same.txt").TdlEqual = true;
  binaryPair("x.bin", 1234, 0);
  WriteGroupSummary(ctx);
  const Lines expected = {
      "     "
      " abcdefghijklmn...txt "
      "      2 "
      "       2       2                "
      "         "
      "                        ",
      "Err= "
      " bad.txt              " +
          std::string(73, ' '),  // zero counts print as blanks
      "TDL= "
      " same.txt             " +
          std::string(73, ' '),
      "*    "
      " x.bin                "
      "   1234 "
      "        "
      "   ** Processed as a Binary File **",
  };
  EXPECT_EQ(tableRows(), expected);
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
    EXPECT_TRUE(hasLine(typeFour
                            ? "Code  New-Fi-Name      Old-Fi-Name     New-Proc Old-Proc Num-Mat New-Ins "
                              "Old-Del Num-Refm Tot-Chg N-DpLns O-DpLns"
                            : "Code  New/Old-Fi-Name     New-Proc Old-Proc Num-Mat New-Ins Old-Del Num-Refm "
                              "Tot-Chg N-DpLns O-DpLns"));
    const Lines rows = tableRows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].substr(0, 40), typeFour ? "      new-name-t...txt old.txt" + std::string(10, ' ')
                                              : "      old.txt" + std::string(27, ' '));
    const Lines expected = typeFour
                               ? Lines{" USER SELECT FROM UNLIKE/LIKE-NAME FILE LIST -- COMPARE OPTION (4)",
                                       "  new-name-that-is-long.txt  :  old.txt", "  n2.txt  :  o2.txt"}
                               : Lines{" USER SELECT FROM LIKE-NAME FILE LIST -- COMPARE OPTION (3)",
                                       "  new-name-that-is-long.txt", "  n2.txt"};
    EXPECT_EQ(after("LISTING-TYPE = Delta  OPTIONS = None"), expected);
  }
}

TEST_F(GroupSummaryTest, BinarySizeLineWidths) {
  struct Case {
    std::int64_t newBytes, oldBytes;
    const char* line;
  };
  const Case cases[] = {
      {1234, 99, "   1234 New Bin Size Processed        99 Old Bin File Size Processed"},
      {10000000, 5, "10000000 New Bin Size Processed         5 Old Bin File Size Processed"},
      {10000001, 5, "10000001 New Bin Size Processed          5 Old Bin File Size Processed"},
      {5, 10000000, "       5 New Bin Size Processed   10000000 Old Bin File Size Processed"},
      {100000001, 5, "100000001 New Bin Size Processed           5 Old Bin File Size Processed"},
      {5, 100000000, "        5 New Bin Size Processed   100000000 Old Bin File Size Processed"},
      {3000000000, 2, "3000000000 New Bin Size Processed           2 Old Bin File Size Processed"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    reset();
    binaryPair("x.bin", c.newBytes, c.oldBytes);
    WriteGroupSummary(ctx);
    const Lines expected = {"      0 New File Lines Processed ", "      0 Old File Lines Processed ", c.line,
                            " All Files were processed as binary files. "};
    EXPECT_EQ(after("      0 Number Of Line Matches         0 Total Changes (Paired+NonPaired Chg)").size(),
              7u);
    const Lines& all = app.reportLines.lines();
    EXPECT_EQ(Lines(all.end() - 4, all.end()), expected);
  }
}

TEST_F(GroupSummaryTest, MovedLinesAndDpTotalsSumOverPairs) {
  app.options.Fmvl = app.options.DpActive = true;
  textPair("a.txt", {10, 9, 6, 4, 3, 0, 3, 1, 0, 2});
  textPair("b.txt", {8, 8, 5, 3, 3, 0, 3, 2, 1, 3});
  WriteGroupSummary(ctx);
  const Lines expected = {
      "     11 Number Of Line Matches         7 Total Changes (Paired+NonPaired Chg)",
      "      0 Total Reformatted Lines        6 Paired Changes (Refm+Paired Ins/Del)",
      "      7 New File Line Insertions       1 Non-Paired Inserts (Extra Ins in Seq.)",
      "      6 Old File Line Deletions        0 Non-Paired Deletes (Extra Del in Seq.)",
      "     15 New File Lines Processed       3 New Dp/Cmt + 0 Part New Dp/Comments",
      "     16 Old File Lines Processed       1 Old Dp/Cmt + 0 Part Old Dp/Comments",
      "      5 Number of Inserted/Deleted (Moved lines) detected",
      "LISTING-TYPE = Delta  OPTIONS = None",
  };
  EXPECT_EQ(after(kTotalsTitle), expected);
}

TEST_F(GroupSummaryTest, UnpairedFileList) {
  const std::string longNew = "a-very-long-new-file-name-well-over-forty.txt";  // 45 characters
  const std::string longOld = "b-very-long-old-file-name-well-over-forty.txt";
  struct Case {
    const char* name;
    Lines newNames, oldNames;
    Lines rows;
  };
  const Case cases[] = {
      {"two New names, one Old name",
       {"a.txt", "n1.txt", "n2.txt"},
       {"a.txt", "o1.txt"},
       {" n1.txt" + std::string(34, ' ') + " : o1.txt", " n2.txt" + std::string(34, ' ')}},
      {"paired names between unpaired ones, leftover Old names",
       {"a.txt", "b.txt", "c.txt"},
       {"a.txt", "aa.txt", "c.txt", "d.txt", "e.txt"},
       {" b.txt" + std::string(35, ' ') + " : aa.txt",
        std::string(41, ' ') + "  :       d.txt" + std::string(35, ' '),
        std::string(41, ' ') + "  :       e.txt" + std::string(35, ' ')}},
      {"long names are shortened to forty",
       {longNew},
       {longOld},
       {" a-very-long-new-file-name-well-ove...txt : b-very-long-old-file-name-well-ove...txt"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    reset();
    app.RunAllLikeNamed = true;
    app.options.Inpn = true;
    app.NewDirNames = c.newNames;
    app.OldDirNames = c.oldNames;
    for (const std::string& name : c.newNames)
      if (std::find(c.oldNames.begin(), c.oldNames.end(), name) != c.oldNames.end())
        textPair(name, {1, 1, 1, 0, 0, 0, 0});
    app.UnpairedNewCount = static_cast<std::int32_t>(c.newNames.size()) - app.PairCount;
    app.UnpairedOldCount = static_cast<std::int32_t>(c.oldNames.size()) - app.PairCount;
    WriteGroupSummary(ctx);
    Lines rows = after(" LIST OF UNPAIRED NEW AND OLD FILES NOT PROCESSED ");
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows.front(), " New File Name (" + std::to_string(app.UnpairedNewCount) +
                                ")                    Old File Name (" +
                                std::to_string(app.UnpairedOldCount) + ")");
    rows.erase(rows.begin());
    if (app.PairCount > 1) rows.pop_back();  // the options line
    EXPECT_EQ(rows, c.rows);
  }
}

// Whole sets through the compare run: a binary pair skipped by Txfo, wherever it stands, counts once
// as a binary pair and never as a text pair.
TEST(GroupSummaryRunTest, TxfoSkippedPairCountsOnceWhereverItStands) {
  class SummaryOnlyReport : public ReportStep {
   public:
    void GenerateReport(CompareContext& c) override {
      if (!c.pair().AllRead) return;
      AccumulatePairStatistics(c);
      if (c.app.CurrentPairIndex + 1 == c.app.PairCount) WriteGroupSummary(c);
    }
  };
  for (int binaryAt = 0; binaryAt < 3; ++binaryAt) {
    SCOPED_TRACE(binaryAt);
    MemoryFileSystem fs;
    RecordingHost host;
    AppState app;
    SummaryOnlyReport report;
    app.NewDirName = "new";
    app.OldDirName = "old";
    app.choices.setChecked(Pref::Txfo, true);
    for (int i = 0; i < 3; ++i) {
      const std::string name = i == binaryAt ? "b.bin" : "t" + std::to_string(i) + ".txt";
      const std::string content = i == binaryAt ? std::string(40, '\x01') : "same\n";
      fs.add("new/" + name, content);
      fs.add("old/" + name, content);
      app.NewFileList.push_back(name);
      app.OldFileList.push_back(name);
    }
    CompareSet(app, host, fs, report);
    const Lines& all = app.reportLines.lines();
    for (const char* line : {"      2 Total New/Old Paired Text Files Processed.",
                             "      1 Total Paired New/Old Binary Files Not Processed due to Txfo option.",
                             "      2 Total New/Old Paired Files Processed had No Changes.",
                             "      4 Total New + Old Files Processed.",
                             "      0 New Bin Size Processed         0 Old Bin File Size Processed"})
      EXPECT_NE(std::find(all.begin(), all.end(), line), all.end()) << line;
    EXPECT_EQ(app.options.BinaryPairs, 1);
  }
}

}  // namespace
}  // namespace kelvarine
