#include "report/listing_body.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <ostream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "engine/compare_run.h"
#include "report/listing_lines.h"
#include "report/report_format.h"
#include "report/report_generator.h"
#include "report/report_lines.h"
#include "support/memory_set.h"

namespace kelvarine {
namespace {

using Lines = std::vector<std::string>;

const std::string kRuler84 =
    "ID  ----+----1----+----2----+----3----+----4----+----5----+----6----+----7----+----8";

class ReportLinesTest : public ::testing::Test, public MemorySet<> {
 public:
  ReportLinesTest() { context.newInput.FileName = "new/" + std::string(200, 'n'); }
  const Lines& report_() const { return app.reportLines.lines(); }

  CompareContext context{app, host, fs, report};
};

// Arming writes nothing; the next print line writes the header first. Header lines are cut at 132.
TEST_F(ReportLinesTest, HeaderIsWrittenBeforeTheNextLineAndItsRulerFollowsFsclAndTheLongestLine) {
  using Row = std::tuple<bool, int, int, std::string>;  // Fscl, New and Old longest line, the ruler's tail
  for (const auto& [fscl, newLongest, oldLongest, tail] :
       {Row{false, 300, 10, " N-REF# CHNG-TYPE   O-REF# LEN"},
        Row{true, 100, 60, "----+----9----+----1"},  // the "10" mark is cut after its "1", over column 100
        Row{true, 60, 100, "----+----9----+----1"},
        Row{true, 200, 5, "----+----9----+----10---+----11---+----12---+---"},  // 132 wide
        Row{true, 81, 80, "-"}, Row{true, 10, 20, ""}}) {
    SCOPED_TRACE(std::to_string(newLongest) + "/" + std::to_string(oldLongest));
    app.reportLines.clear();
    app.options.Fscl = fscl;
    context.newInput.LongestLine = newLongest;
    context.oldInput.LongestLine = oldLongest;
    ArmPairHeader(context);
    EXPECT_TRUE(report_().empty());
    AppendPrintLine(context, "block");
    ASSERT_EQ(report_().size(), 4u);
    EXPECT_EQ(report_()[0], ("New File(1) = new/" + std::string(200, 'n')).substr(0, 132));
    EXPECT_EQ(report_()[2], kRuler84 + tail);
    EXPECT_EQ(report_()[3], "block");
  }
}

// Lines in (">" marks a print line), then the report list and the Old-side list after padding;
// lines separated by '|'.
TEST_F(ReportLinesTest, SbslRoutesByIdCodeAndPadsBeforeMatchedMaterial) {
  using Row = std::tuple<bool, bool, bool, std::string, std::string, std::string>;
  for (const auto& [sbsl, lorl, summaryToMainOnly, in, newSide, oldSide] :
       {Row{true, false, false, "D - a|DM- b|    m", " | |    m", "D - a|DM- b|    m"},
        Row{true, false, false, "I - a|D - b|IM- c|    m", "I - a|IM- c|    m", "D - b| |    m"},
        Row{true, false, false, "I - a|RN- r|D - b", "I - a|RN- r| ", " | |D - b"},  // reformat without Lorl
        Row{true, false, false, "XX- a|    m", "    m", "    m"},  // unknown codes go nowhere
        Row{false, true, false, "D - a|RO- b|XX- c|    d", "D - a|RO- b|XX- c|    d", ""},  // without Sbsl
        Row{true, false, false, ">both|D - a", "both| ", "both|D - a"},
        Row{true, false, true, ">main", "main", " "}}) {
    SCOPED_TRACE(in);
    app.reportLines.clear();
    app.oldSideLines.clear();
    app.options.Sbsl = sbsl;
    app.options.Lorl = lorl;
    app.SummaryToMainOnly = summaryToMainOnly;
    for (const std::string& line : split(in))
      line[0] == '>' ? AppendPrintLine(context, line.substr(1)) : AppendListingLine(context, line);
    PadReportLists(context);
    EXPECT_EQ(report_(), split(newSide));
    EXPECT_EQ(app.oldSideLines.lines(), split(oldSide));
  }
}

TEST_F(ReportLinesTest, ControlCharactersFromColumnFiveOnAreReplacedAndLinesCutAt132) {
  // Columns 1-4 keep their control characters; DEL and bytes above 127 are not control characters.
  const std::string front = "I\x01-\x02";
  const std::string kept = "\x7f\xc3\xa9 ";
  const std::string line = front + "a\x01z\x1f" + kept + std::string(1, '\0') + "b";
  AppendListingLine(context, line);
  app.options.Subc = true;
  app.options.SubcChar = '#';
  AppendListingLine(context, line);
  AppendListingLine(context, "    " + std::string(200, 'x'));
  EXPECT_EQ(report_(), (Lines{front + "a.z." + kept + ".b", front + "a#z#" + kept + "#b",
                              "    " + std::string(128, 'x')}));
}

TEST_F(ReportLinesTest, ProgressEveryFiftyListingLinesOfTheSet) {
  app.PairCount = 5;
  app.CurrentPairIndex = 2;
  for (int i = 0; i < 49; ++i)
    AppendListingLine(context, "    x");
  AppendPrintLine(context, "header");  // print lines do not count
  EXPECT_TRUE(host.statusTexts.empty());
  for (int i = 0; i < 51; ++i)
    AppendListingLine(context, "    x");
  EXPECT_EQ(host.statusTexts, (Lines{"Writing Report lines Output Line = 50    - Proc File(2) of (5).",
                                     "Writing Report lines Output Line = 100    - Proc File(2) of (5)."}));
  EXPECT_TRUE(host.toggles == 2 && host.processEventsCalls == 2);
}

// The fast reference writer must agree with printf's "%.5d" everywhere, including past five digits and
// below zero (a corrupted count must still show as printf would show it).
TEST(WriteReferenceTest, AgreesWithPrintf) {
  for (int value : {0, 1, 42, 9999, 10000, 99999, 100000, 1234567, -1, -99999, -123456, INT_MAX, INT_MIN}) {
    char expected[32], out[16];
    std::snprintf(expected, sizeof expected, "%.5d", value);
    EXPECT_EQ(std::string(out, WriteReference(out, value)), expected) << value;
  }
}

// A listing line without Fscl: the ID code and blank, the text blank-padded to 80 columns, the tail.
std::string row(const std::string& id, const std::string& text, const std::string& tail) {
  return id + text + std::string(80 - text.size(), ' ') + tail;
}

// A listing line in short form: "=", "DP", "I", "IM", "D", "DM", "RN" or "RO", a blank and the
// trimmed text; "~n" for a "Not Shown" line of n lines and "#(m,i,d,r)" for a block header. The
// exact columns of every line format are checked by the whole-report tests and below.
std::string token(const std::string& line) {
  const std::string notShown = "   ************* ";
  if (line.starts_with(notShown))
    return "~" + line.substr(notShown.size(), line.find(' ', notShown.size()) - notShown.size());
  const auto counts = line.find("Mat/Ins/Del/Rfm=");
  if (counts != std::string::npos) return "#" + line.substr(counts + 16);
  std::string text = line.size() > 4 ? line.substr(4, 80) : "";
  text.erase(text.find_last_not_of(' ') + 1);
  std::string code = line.substr(0, 3);
  if (code == "   ") code = line.find(" DPLINE(NEW) ") != std::string::npos ? "DP" : "=";
  code.erase(code.find_last_not_of(" -") + 1);
  return code + " " + text;
}

Lines tokens(const Lines& lines) {
  Lines out;
  for (const std::string& line : lines)
    out.push_back(token(line));
  return out;
}

// The pair "a.txt" run through the compare run and the report with a listing type, options and Dp item.
struct ListingRun : MemorySet<ReportGenerator> {
  // `options` as in the settings file: a Dp item and keywords ("Dsem Xdpl").
  explicit ListingRun(const std::string& listType, const std::string& options = "") {
    app.NewFileList = app.OldFileList = {"a.txt"};
    app.choices.listType = listType;
    ApplyOptionsString(app.choices, options);
  }
  // Runs the pair and returns the listing: the lines after the ruler up to the pair summary.
  Lines listing(const std::string& newText, const std::string& oldText, FileStamp oldStamp = 2) {
    fs.add("new/a.txt", newText, 1);
    fs.add("old/a.txt", oldText, oldStamp);
    run();
    const Lines& all = app.reportLines.lines();
    const auto end = all.begin() + std::min<std::ptrdiff_t>(app.ListingLineCount, std::ssize(all));
    const auto ruler =
        std::find_if(all.begin(), end, [](const std::string& s) { return s.starts_with("ID  -"); });
    return ruler == end ? Lines{} : Lines(ruler + 1, end);
  }
  Lines listing(const Lines& newLines, const Lines& oldLines) {
    return listing(joinLines(newLines), joinLines(oldLines));
  }
};

TEST(ListingLinesTest, TextIsCutAt80Or128DpLinesWithoutTextAreBlankAndWideFsclBlockHeaders) {
  const std::string longText(200, 'x');
  const ListingText t{longText.data(), 200};
  EXPECT_EQ(InsertedLine(t, false, 1, false, 1), "I - " + std::string(80, 'x') + " 00001 INSERT");
  EXPECT_EQ(InsertedLine(t, true, 1, false, 1), "I - " + std::string(128, 'x'));
  EXPECT_EQ(DpListingLine({}, true, 5), std::string(132, ' '));
  EXPECT_EQ(DpListingLine({}, false, 5), std::string(84, ' ') + " 00005 DPLINE(NEW) ");

  EXPECT_EQ(ReferenceBlockHeaderLine(300, true, 6, true, 7),
            std::string(109, ' ') + "LRef#=00006 RRef#=00007");
}

// A pair's listing in short form and its counters, for each listing type and option that changes it.
// Lines are separated by '|'; `counts` are the matches, inserts, deletes, reformats, paired changes, New
// and Old Dp lines, New and Old part-Dp lines and moved lines.
struct ListingCase {
  const char* name;
  std::string listType;
  std::string options, newText, oldText, listed, counts;
  std::string ccol = "";  // the compare columns of both files
  friend void PrintTo(const ListingCase& c, std::ostream* os) { *os << c.name; }
};

class ListingTableTest : public ::testing::TestWithParam<ListingCase> {};

TEST_P(ListingTableTest, ListsAndCounts) {
  const ListingCase& c = GetParam();
  ListingRun r(c.listType, c.options);
  r.app.choices.ccolNew1 = r.app.choices.ccolOld1 = c.ccol;
  EXPECT_EQ(tokens(r.listing(split(c.newText), split(c.oldText))), split(c.listed));
  const PairState& p = r.app.pair;
  std::string counts;
  for (int n : {p.MatchCount, p.InsertCount, p.DeleteCount, p.ReformatCount, p.PairedChanges, p.NewDpCount,
                p.OldDpCount, p.NewPartDpCount, p.OldPartDpCount, p.MovedCount})
    counts += (counts.empty() ? "" : " ") + std::to_string(n);
  EXPECT_EQ(counts, c.counts);
}

const std::string kDpNew = "a|; c1|b|; c2|; c3|c|d", kDpOld = "a|b|; old|c|x";
const std::string kUnchanged12 = "u1|u2|u3|u4|u5|u6|u7|u8|u9|u10|u11|u12";
const std::string kUnchanged30 = [] {
  std::string lines;
  for (int i = 1; i <= 30; ++i)
    lines += (i > 1 ? "|u" : "u") + std::to_string(i);
  return lines;
}();
const std::string kShown12 = "= u1|= u2|= u3|= u4|= u5|= u6|= u7|= u8|= u9|= u10|= u11|= u12";

const ListingCase kListingCases[] = {
    // Facing runs of equal length alternate; unequal ones follow each other.
    {"FacingEqualRuns", "Long", "", "a|n1|n2|n3|z", "a|o1|o2|o3|z", "= a|I n1|D o1|I n2|D o2|I n3|D o3|= z",
     "2 3 3 0 3 0 0 0 0 0"},
    {"FacingUnequalRuns", "Long", "", "a|n1|z", "a|o1|o2|o3|z", "= a|I n1|D o1|D o2|D o3|= z",
     "2 1 3 0 1 0 0 0 0 0"},
    // Dp lines of the New file are listed in place unless Xdpl; those of the Old file never.
    {"DpLinesInPlace", "Long", "Dsem", kDpNew, kDpOld, "= a|DP ; c1|= b|DP ; c2|DP ; c3|= c|I d|D x",
     "3 1 1 0 1 3 1 0 0 0"},
    {"DpLinesXdpl", "Long", "Dsem Xdpl", kDpNew, kDpOld, "= a|= b|= c|I d|D x", "3 1 1 0 1 3 1 0 0 0"},
    // The comments differ; the code before them is the same, so the pair is an exact match.
    {"PartDpLinesAsInTheFile", "Long", "Dcpp", "x = 1;  // new note|y", "x = 1;  // old|y",
     "= x = 1;  // new note|= y", "2 0 0 0 0 0 0 1 1 0"},
    {"PartDpLinesCutWithXdpl", "Long", "Dcpp Xdpl", "x = 1;  // new note|y", "x = 1;  // old|y",
     "= x = 1;|= y", "2 0 0 0 0 0 0 1 1 0"},
    // The listing reads the lines again outside any comment, whatever the chunk's last line left open.
    {"PartDpLinesCutFromTheChunkStart", "Long", "Dcpp Xdpl", "x = 1; */ y // c|w|z /* open",
     "x = 2; */ y // c|w|z /* open", "I x = 1; */ y|D x = 2; */ y|= w|= z", "2 1 1 0 1 0 0 2 2 0"},
    // Exact or reformatted matches (blanks alone make a reformat in the whole-report tests).
    {"RovrMatchesExactly", "Long", "Rovr", "f|a b c|l", "f|abc|l", "= f|= a b c|= l", "3 0 0 0 0 0 0 0 0 0"},
    {"IcasMatchesExactly", "Long", "Icas", "f|ABC|l", "f|abc|l", "= f|= ABC|= l", "3 0 0 0 0 0 0 0 0 0"},
    {"IcasBlanksReformat", "Long", "Icas", "f|A BC|l", "f|abc|l", "= f|RN A BC|= l", "2 0 0 1 0 0 0 0 0 0"},
    {"CcolDifferOutsideOnly", "Long", "Ccol", "f|abc 1|l", "f|abc 2|l", "= f|= abc 1|= l",
     "3 0 0 0 0 0 0 0 0 0", "1:3"},
    {"CcolOtherBlanksReformat", "Long", "Ccol", "f|a bcX|l", "f|ab cY|l", "= f|RN a bcX|= l",
     "2 0 0 1 0 0 0 0 0 0", "1:4"},
    {"MovedLines", "Long", "Fmvl", "a|b|c|m", "m|a|b|c", "DM m|= a|= b|= c|IM m", "3 1 1 0 0 0 0 0 0 1"},
    // Dp lines are never listed in Delta and do not break runs; reformats come first in their block.
    {"DeltaBlocks", "Delta", "Dsem", "a|p q|; c|r s|n1|n2|z", "a|pq|rs|o1|z",
     "#(1,2,1,2)|RN p q|RN r s|I n1|I n2|D o1|#(1,0,0,0)", "2 2 1 2 1 1 0 0 0 0"},
    // Up to twelve unchanged lines between two changes are all shown; more show as six, "Not Shown", six.
    {"ChngTwelveBetween", "Chng", "", "x1|" + kUnchanged12 + "|x2", "y1|" + kUnchanged12 + "|y2",
     "I x1|D y1|" + kShown12 + "|I x2|D y2", "12 2 2 0 2 0 0 0 0 0"},
    {"ChngThirteenBetween", "Chng", "", "x1|" + kUnchanged12 + "|u13|x2", "y1|" + kUnchanged12 + "|u13|y2",
     "I x1|D y1|= u1|= u2|= u3|= u4|= u5|= u6|~1|= u8|= u9|= u10|= u11|= u12|= u13|I x2|D y2",
     "13 2 2 0 2 0 0 0 0 0"},
    // A long gap: the lines between the six after one change and the six before the next are counted.
    {"ChngLongGap", "Chng", "", "x1|" + kUnchanged30 + "|x2", "y1|" + kUnchanged30 + "|y2",
     "I x1|D y1|= u1|= u2|= u3|= u4|= u5|= u6|~18|= u25|= u26|= u27|= u28|= u29|= u30|I x2|D y2",
     "30 2 2 0 2 0 0 0 0 0"},
};

INSTANTIATE_TEST_SUITE_P(Pairs, ListingTableTest, ::testing::ValuesIn(kListingCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The columns of moved lines: each names the number of its partner on the other side.
TEST(ListingBodyTest, MovedLinesNameTheirPartners) {
  EXPECT_EQ(
      ListingRun("Long", "Fmvl").listing(split("a|b|c|m"), split("m|a|b|c")),
      (Lines{row("DM- ", "m", " 00004 MOVE(O TO N) 00001"), row("    ", "a", " 00001              00002"),
             row("    ", "b", " 00002              00003"), row("    ", "c", " 00003              00004"),
             row("IM- ", "m", " 00004 MOVE(N TO O) 00001")}));
}

// Longest line 3: the references start after 28 - 23 blanks; the reformat starts both sides; without
// reformats or inserts the left reference is left blank, and a block of matches only shows neither.
TEST(ListingBodyTest, DeltaWithFsclShowsBlockReferences) {
  EXPECT_EQ(ListingRun("Delta", "Fscl")
                .listing(Lines{"l1", "l2", "a b", "X", "l5", "l6"}, Lines{"l1", "l2", "ab", "l5", "Y", "l6"}),
            (Lines{"     LRef#=00003 RRef#=00003", "RN- a b", "I - X", std::string(17, ' ') + "RRef#=00005",
                   "D - Y", std::string(17, ' ')}));
}

// The first chunk holds lines 1-7999; the lines after it are numbered on from there, and Delta carries
// the matches of the first chunk into the block header after it.
TEST(ListingBodyTest, ReferenceNumbersContinueAcrossChunks) {
  Lines newLines = numbered("line ", 1, 8010), oldLines = newLines;
  newLines[8004] = "new";
  oldLines[8004] = "old";
  const Lines listing = ListingRun("Long").listing(newLines, oldLines);
  ASSERT_EQ(listing.size(), 8011u);
  EXPECT_EQ(listing[7999], row("    ", "line 8000", " 08000              08000"));
  EXPECT_EQ(Lines(listing.begin() + 8004, listing.begin() + 8006),
            (Lines{row("I - ", "new", " 08005 INSERT(NEW)          1    "),
                   row("D - ", "old", "       DELETED(OLD) 08005   1    ")}));
  EXPECT_EQ(listing.back(), row("    ", "line 8010", " 08010              08010"));
  const Lines delta = ListingRun("Delta").listing(newLines, oldLines);
  EXPECT_EQ(tokens(delta), (Lines{"#(8004,1,1,0)", "I new", "D old", "#(5,0,0,0)"}));
  EXPECT_EQ(delta[1].substr(84, 6), " 08005");
}

// The Chng window holds its lines across chunk boundaries; lines of identical chunks before the first
// change and after the last count as not shown. Each case: the file's size, the changed lines, listing.
TEST(ListingBodyTest, ChngContextCarriesAcrossChunks) {
  const auto shown = [](int first, int last) { return joinLines(numbered("= line ", first, last)); };
  const auto change = [](int at) {
    return "I new " + std::to_string(at) + "\nD old " + std::to_string(at) + "\n";
  };
  using Case = std::tuple<int, std::vector<int>, std::string>;
  for (const auto& [size, changes, expected] :
       {// 19 unchanged lines between two changes in two chunks show as six, "Not Shown" 7, and six.
        Case{8020,
             {7990, 8010},
             "~7983\n" + shown(7984, 7989) + change(7990) + shown(7991, 7996) + "~7\n" + shown(8004, 8009) +
                 change(8010) + shown(8011, 8016) + "~4\n"},
        Case{17000,
             {16500},
             "~16493\n" + shown(16494, 16499) + change(16500) + shown(16501, 16506) + "~494\n"},
        Case{17000, {10}, "~3\n" + shown(4, 9) + change(10) + shown(11, 16) + "~16984\n"}}) {
    SCOPED_TRACE(changes.front());
    Lines newLines = numbered("line ", 1, size), oldLines = newLines;
    for (int at : changes) {
      newLines[static_cast<std::size_t>(at - 1)] = "new " + std::to_string(at);
      oldLines[static_cast<std::size_t>(at - 1)] = "old " + std::to_string(at);
    }
    EXPECT_EQ(joinLines(tokens(ListingRun("Chng").listing(newLines, oldLines))), expected);
  }
}

// Matches carried at the end of a pair belong to it: a file of exactly 7999 lines ends with an empty
// chunk, and an identical pair of several chunks carries them all; neither may reach the next pair.
TEST(ListingBodyTest, DeltaMatchesCarriedAtTheEndOfAPairStayWithIt) {
  ListingRun r("Delta");
  r.app.NewFileList = r.app.OldFileList = {};
  Lines changedNew = numbered("line ", 1, 7999), changedOld = changedNew;
  changedNew[2] = "new";
  changedOld[2] = "old";
  r.addPair("a.txt", joinLines(changedNew), joinLines(changedOld));
  r.addPair("b.txt", joinLines(numbered("same ", 1, 8500)), joinLines(numbered("same ", 1, 8500)));
  r.addPair("c.txt", "c1\nnew\nc3\n", "c1\nold\nc3\n");
  r.run();
  Lines headers;
  for (const std::string& line : r.app.reportLines.lines())
    if (line.find("Mat/Ins/Del/Rfm=") != std::string::npos) headers.push_back(token(line));
  EXPECT_EQ(headers, (Lines{"#(2,1,1,0)", "#(7996,0,0,0)", "#(1,1,1,0)", "#(1,0,0,0)"}));
}

// The New file shrinks between the compare and the listing: its missing lines list as blanks.
TEST(ListingBodyTest, AFileThatChangedBeforeTheListingIsListedAsItNowReads) {
  ListingRun r("Long");
  r.host.onProcessEvents = [&r] {
    if (!r.host.statusTexts.empty() && r.host.statusTexts.back().starts_with("Generating Report"))
      r.fs.find("new/a.txt")->content = "A longer line\n";
  };
  EXPECT_EQ(tokens(r.listing(Lines{"a", "b", "c"}, Lines{"a", "x", "c"})),
            (Lines{"RN A longer line", "I ", "D x", "RN "}));
}

TEST(ListingBodyTest, AeqfPairIsListedFromTheNewFileOnly) {
  ListingRun r("Long", "Dsem Aeqf");
  const std::string text = "a\n; c\nb\n";
  EXPECT_EQ(r.listing(text, std::string(text.size(), '?'), /*oldStamp=*/1),
            (Lines{" ", row("    ", "a", " 00001              00001   2    "),
                   row("    ", "", " 00002              00002"),  // cut by Dsem
                   row("    ", "b", " 00003              00003")}));
  const PairState& p = r.app.pair;
  EXPECT_EQ(std::tuple(p.NewLinesProcessed, p.OldLinesProcessed, p.NewDpCount, p.OldDpCount, p.MatchCount),
            std::tuple(3, 3, 1, 1, 2));
}

}  // namespace
}  // namespace kelvarine
