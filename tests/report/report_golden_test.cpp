// Whole reports of small compare sets, line by line: each row is a set of files, the user's choices
// and the complete report text they must give.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "engine/compare_choices.h"
#include "engine/compare_run.h"
#include "report/report_generator.h"
#include "support/memory_set.h"

namespace kelvarine {
namespace {

using Lines = std::vector<std::string>;

// A listing line: ID code and blank, the source text blank-padded to 80 columns, the reference tail.
std::string row(const std::string& id, const std::string& text, const std::string& tail) {
  return id + text + std::string(80 - text.size(), ' ') + tail;
}
std::string matched(const std::string& text, const std::string& refs) {
  return row("    ", text, " " + refs + "              " + refs);
}
std::string blockHeader(const std::string& counts) {
  return std::string(88, ' ') + "Mat/Ins/Del/Rfm=(" + counts + ")";
}

const std::string kRuler =
    "ID  ----+----1----+----2----+----3----+----4----+----5----+----6----+----7----+----8 N-REF# CHNG-TYPE   "
    "O-REF# LEN";

struct PairFiles {
  std::string name, newText, oldText;
};

struct GoldenCase {
  std::string name, listType;
  std::vector<Pref> prefs;
  bool allLikeNamed;  // compare type 2, else type 1
  std::vector<PairFiles> pairs;
  Lines report;
  Lines oldSide;  // the Old-side list (Sbsl only)
  friend void PrintTo(const GoldenCase& golden, std::ostream* os) { *os << golden.name; }
};

// Twelve lines with one changed line (9), one line that differs by leading blanks (11) and one by
// trailing blanks only (12).
const PairFiles kChanged = {
    "a.txt", joinLines(concat({numbered("line ", 1, 8), {"new nine", "line 10", "  line 11", "line 12  "}})),
    joinLines(concat({numbered("line ", 1, 8), {"old nine", "line 10", "line 11", "line 12"}}))};

const Lines kChangedHeader = {"New File(1) = new/a.txt  stamp 100", "Old File(1) = old/a.txt  stamp 200",
                              kRuler};

// The pair summary of kChanged; its options line names the listing type when the set has one pair.
Lines changedSummary(const std::string& listType) {
  return {"INDIVIDUAL PAIRED FILE COMPARE TOTALS AND STATISTICS SECTION",
          "Summary New File(1) = new/a.txt  stamp 100",
          "Summary Old File(1) = old/a.txt  stamp 200",
          " ",
          "     10 Number Of Line Matches          2 Total Changes (Paired+NonPaired Chg) ",
          "      1 Reformatted Lines               2 Paired Changes (Refm+Paired Ins/Del)",
          "      1 New File Line Insertions        0 Non-Paired Inserts (Ins Paired-Chg)",
          "      1 Old File Line Deletions         0 Non-Paired Deletes (Del Paired-Chg)",
          "     12 New File Lines Processed ",
          "     12 Old File Lines Processed ",
          listType.empty() ? "LONGEST-LINE = (9/8)"
                           : "LISTING-TYPE = " + listType + "  OPTIONS = None  LONGEST-LINE = (9/8)"};
}
const std::string kDiffer = "INFORM: The processed files have differences.";

const std::string kInsert9 = row("I - ", "new nine", " 00009 INSERT(NEW)          1    ");
const std::string kDelete9 = row("D - ", "old nine", "       DELETED(OLD) 00009   1    ");
const std::string kReform11 = row("RN- ", "  line 11", " 00011 REFORM(NEW)");

// The Long listing of kChanged: every line, the changed line as a facing insert/delete pair.
Lines changedLongListing() {
  Lines listing;
  for (int i = 1; i <= 8; ++i)
    listing.push_back(matched("line " + std::to_string(i), "0000" + std::to_string(i)));
  return concat(
      {listing, {kInsert9, kDelete9, matched("line 10", "00010"), kReform11, matched("line 12  ", "00012")}});
}

// The one-pair set of kChanged with the given listing type and listing.
GoldenCase changedCase(const std::string& listType, const Lines& listing) {
  const Lines summary = concat({changedSummary(listType), {kDiffer}});
  return {listType, listType,   {},
          false,    {kChanged}, listing.empty() ? summary : concat({kChangedHeader, listing, {" "}, summary}),
          {}};
}

std::vector<GoldenCase> goldenCases() {
  std::vector<GoldenCase> cases;
  cases.push_back(changedCase("Long", changedLongListing()));
  // Lines 1 and 2 are dropped before the first change; at most six context lines on each side.
  const Lines longListing = changedLongListing();
  cases.push_back(changedCase(
      "Chng", concat({{"   ************* 2 New File Lines Not Shown *****************************"},
                      Lines(longListing.begin() + 2, longListing.end())})));
  cases.push_back(changedCase("Delta", {blockHeader("8,1,1,0"), kInsert9, kDelete9, blockHeader("1,0,0,1"),
                                        kReform11, blockHeader("1,0,0,0")}));
  // No header and no listing: the summary is the first section, so no " " precedes it.
  cases.push_back(changedCase("Ovsum", {}));

  // Two inserted lines face one deleted line; the reformatted pair is listed side by side.
  {
    const std::string header1 = "New File(1) = new/s.txt  stamp 100";
    const std::string header2 = "Old File(1) = old/s.txt  stamp 200";
    cases.push_back(
        {"SbslLorl",
         "Long",
         {Pref::Sbsl, Pref::Lorl},
         false,
         {{"s.txt", "keep 1\nkeep 2\nadd one\nadd two\n  keep 3\n", "keep 1\nkeep 2\ngone\nkeep 3\n"}},
         {header1,
          header2,
          kRuler,
          matched("keep 1", "00001"),
          matched("keep 2", "00002"),
          row("I - ", "add one", " 00003 INSERT(NEW)          2    "),
          row("I - ", "add two", " 00004 INSERT"),
          row("RN- ", "  keep 3", " 00005 REFORM(NEW)"),
          " ",
          "INDIVIDUAL PAIRED FILE COMPARE TOTALS AND STATISTICS SECTION",
          "Summary New File(1) = new/s.txt  stamp 100",
          "Summary Old File(1) = old/s.txt  stamp 200",
          " ",
          "      2 Number Of Line Matches          3 Total Changes (Paired+NonPaired Chg) ",
          "      1 Reformatted Lines               2 Paired Changes (Refm+Paired Ins/Del)",
          "      2 New File Line Insertions        1 Non-Paired Inserts (Ins Paired-Chg)",
          "      1 Old File Line Deletions         0 Non-Paired Deletes (Del Paired-Chg)",
          "      5 New File Lines Processed ",
          "      4 Old File Lines Processed ",
          "LISTING-TYPE = Long  OPTIONS = Sbsl Lorl  LONGEST-LINE = (8/6)",
          "INFORM: The processed files have differences."},
         // The Old side: the header, the matched lines, the deleted line padded to face the second
         // inserted line, and the "RO-" line facing the "RN-" line; the summary is on the main list only.
         {header1, header2, kRuler, matched("keep 1", "00001"), matched("keep 2", "00002"),
          row("D - ", "gone", "       DELETED(OLD) 00003   1    "), " ",
          row("RO- ", "keep 3", "      REFORM(OLD)  00004")}});
  }

  // Compare type 2 with two pairs and Long: the changed pair gets its listing and summary; the
  // identical pair its listing after a " " line but no summary; then the grouped summary.
  cases.push_back(
      {"TwoPairs",
       "Long",
       {},
       true,
       {kChanged, {"b.txt", "one\ntwo\nthree\n", "one\ntwo\nthree\n"}},
       concat(
           {kChangedHeader,
            changedLongListing(),
            {" "},
            changedSummary(""),
            {" ", "New File(2) = new/b.txt  stamp 100", "Old File(2) = old/b.txt  stamp 200", kRuler},
            {matched("one", "00001"), matched("two", "00002"), matched("three", "00003")},
            {"  ", "Kelvarn GROUPED COMPARE SUMMARY FOR NAMED PAIRED FILES TOTALS SECTION", "New Dir = new ",
             "Old Dir = old ", " ",
             "Code  New/Old-Fi-Name     New-Proc Old-Proc Num-Mat New-Ins Old-Del Num-Refm Tot-Chg N-DpLns "
             "O-DpLns",
             // Code, name in 20 columns, then "%7.d " and " %7.d" x4, "  %7.d", " %7.d" x3 (0 prints blanks).
             "*     a.txt                     12       12      10       1       1        1       2" +
                 std::string(16, ' '),
             "      b.txt                      3        3       3" + std::string(49, ' '), " ",
             "Code: \"Blank\" - Equal", "      *       - Change File",
             "      TDL=    - Time-Date-Length equal(files assummed equal)",
             "      Err     - I/O on open or File > 2GB", " ",
             "      2 Total New/Old Paired Text Files Processed.",
             "      0 Total New/Old Paired Files Processed as Binary Files.",
             "      1 Total New/Old Paired Files Processed had Changes.",
             "      1 Total New/Old Paired Files Processed had No Changes.",
             "      2 Total Files in New Directory.", "      2 Total Files in Old Directory.",
             "      4 Total New + Old Files Processed.", "      0 Total UnPaired New Files Not Processed.",
             "      0 Total UnPaired Old Files Not Processed.", " ",
             "Kelvarn GROUPED PAIRED TEXT/BINARY FILE COMPARE SUMMARY TOTALS SECTION ",
             "     13 Number Of Line Matches         2 Total Changes (Paired+NonPaired Chg)",
             "      1 Total Reformatted Lines        2 Paired Changes (Refm+Paired Ins/Del)",
             "      1 New File Line Insertions       0 Non-Paired Inserts (Extra Ins in Seq.)",
             "      1 Old File Line Deletions        0 Non-Paired Deletes (Extra Del in Seq.)",
             "     15 New File Lines Processed ", "     15 Old File Lines Processed ",
             "LISTING-TYPE = Long  OPTIONS = None", "INFORM: The processed files have differences."}}),
       {}});

  // A binary pair of equal size that differs: no header, no listing, the binary summary.
  cases.push_back(
      {"BinaryPair",
       "Long",
       {},
       false,
       {{"bin.dat", std::string(10, '\x01') + "ab", std::string(10, '\x01') + "ac"}},
       {"INDIVIDUAL PAIRED FILE COMPARE TOTALS AND STATISTICS SECTION",
        "Summary New File(1) = new/bin.dat  stamp 100", "Summary Old File(1) = old/bin.dat  stamp 200", " ",
        "      0 Number Of Line Matches          0 Total Changes (Paired+NonPaired Chg) ",
        "      0 Reformatted Lines               0 Paired Changes (Refm+Paired Ins/Del)",
        "      0 New File Line Insertions        0 Non-Paired Inserts (Ins Paired-Chg)",
        "      0 Old File Line Deletions         0 Non-Paired Deletes (Del Paired-Chg)",
        "      0 New File Lines Processed ", "      0 Old File Lines Processed ",
        "     12 New Bin File Size Processed      12 Old Bin File Size Processed",
        "LISTING-TYPE = Long  OPTIONS = None", "WARN: Binary files differ: byte 12, line 1.",
        " All Files were processed as binary files. ", "INFORM: The processed files have differences."},
       {}});

  return cases;
}

class ReportGoldenTest : public ::testing::TestWithParam<GoldenCase> {};

// The files and the user's choices of a golden case, as a set ready to run.
struct GoldenSet : MemorySet<ReportGenerator> {
  explicit GoldenSet(const GoldenCase& golden) {
    for (const PairFiles& pair : golden.pairs)
      addPair(pair.name, pair.newText, pair.oldText, 100, 200);
    app.choices.listType = golden.listType;
    check(golden.prefs);
    app.optionsString = RebuildOptionsString(app.choices);
    app.choices.compareType = kCompareTypes[golden.allLikeNamed ? 1 : 0];
    app.RunAllLikeNamed = golden.allLikeNamed;
    if (golden.allLikeNamed) {
      app.NewDirNames = app.NewFileList;
      app.OldDirNames = app.OldFileList;
    }
    app.newNameText = golden.allLikeNamed ? "new" : "new/" + golden.pairs[0].name;
    app.oldNameText = golden.allLikeNamed ? "old" : "old/" + golden.pairs[0].name;
  }
};

TEST_P(ReportGoldenTest, WholeReportLineByLine) {
  GoldenSet set(GetParam());
  set.run();
  // Compared as whole texts, so that a failure shows the differing lines.
  EXPECT_EQ(joinLines(set.app.reportLines.lines()), joinLines(GetParam().report));
  EXPECT_EQ(joinLines(set.app.oldSideLines.lines()), joinLines(GetParam().oldSide));
  EXPECT_TRUE(set.host.messages.empty());
}

// A report list that holds five lines: the header and two listing lines stay, the rest of the pair
// (listing and summary) is dropped, and the run ends with the report note as its status.
TEST(ReportGoldenOverflowTest, FullListEndsTheReportWithTheNote) {
  GoldenSet set({"Overflow", "Long", {}, false, {kChanged}, {}, {}});
  set.app.reportLines.setCapacity(5);
  EXPECT_EQ(set.runStatus(), (RunStatus{RunStatusCode::ReportNote, "StringList Limit. Report Line = 5."}));
  EXPECT_EQ(set.app.reportLines.lines(), concat({kChangedHeader,
                                                 {matched("line 1", "00001"), matched("line 2", "00002"),
                                                  "StringList Limit. Report Line = 5."}}));
  EXPECT_EQ(
      set.host.messages,
      Lines{
          "Results exceeded StingList maximum number of \" 5 \".\r\nOutput results prematurely suspended."});
}

INSTANTIATE_TEST_SUITE_P(Sets, ReportGoldenTest, ::testing::ValuesIn(goldenCases()),
                         [](const ::testing::TestParamInfo<GoldenCase>& info) { return info.param.name; });

}  // namespace
}  // namespace kelvarine
