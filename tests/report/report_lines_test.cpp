#include "report/report_lines.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <string>
#include <vector>

#include "engine/compare_context.h"
#include "report/report_format.h"
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
  const Lines& oldSide() const { return app.oldSideLines.lines(); }
  CompareOptions& options() { return app.options; }

  CompareContext context{app, host, fs, report};
};

// Arming writes nothing; the next print line writes the header first. Header lines are cut at 132.
TEST_F(ReportLinesTest, HeaderIsWrittenBeforeTheNextLineAndItsRulerFollowsFsclAndTheLongestLine) {
  struct Row {
    bool fscl;
    int newLongest, oldLongest;
    std::string tail;
  };
  const std::vector<Row> rows = {
      {false, 300, 10, " N-REF# CHNG-TYPE   O-REF# LEN"},
      {true, 100, 60, "----+----9----+----1"},  // the "10" mark is cut after its "1", over column 100
      {true, 60, 100, "----+----9----+----1"},
      {true, 200, 5, "----+----9----+----10---+----11---+----12---+---"},  // 132 wide
      {true, 81, 80, "-"},
      {true, 10, 20, ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::to_string(row.newLongest) + "/" + std::to_string(row.oldLongest));
    app.reportLines.clear();
    options().Fscl = row.fscl;
    context.newInput.LongestLine = row.newLongest;
    context.oldInput.LongestLine = row.oldLongest;
    ArmPairHeader(context);
    EXPECT_TRUE(report_().empty());
    EXPECT_TRUE(options().PairHeaderArmed && options().PairHeaderPending && app.pair.ChngGapPending);
    AppendPrintLine(context, "block");
    ASSERT_EQ(report_().size(), 4u);
    EXPECT_EQ(report_()[0], ("New File(1) = new/" + std::string(200, 'n')).substr(0, 132));
    EXPECT_EQ(report_()[2], kRuler84 + row.tail);
    EXPECT_EQ(report_()[3], "block");
  }
}

// Lines in (">" marks a print line), then the report list and the Old-side list after padding;
// lines separated by '|'.
TEST_F(ReportLinesTest, SbslRoutesByIdCodeAndPadsBeforeMatchedMaterial) {
  struct Row {
    bool sbsl, lorl, summaryToMainOnly;
    std::string in, newSide, oldSide;
  };
  const std::vector<Row> rows = {
      {true, false, false, "D - a|DM- b|    m", " | |    m", "D - a|DM- b|    m"},
      {true, false, false, "I - a|D - b|IM- c|    m", "I - a|IM- c|    m", "D - b| |    m"},
      {true, false, false, "I - a|RN- r|D - b", "I - a|RN- r| ", " | |D - b"},  // reformat without Lorl
      {true, false, false, "XX- a|    m", "    m", "    m"},                    // unknown codes go nowhere
      {false, true, false, "D - a|RO- b|XX- c|    d", "D - a|RO- b|XX- c|    d", ""},  // without Sbsl
      {true, false, false, ">both|D - a", "both| ", "both|D - a"},
      {true, false, true, ">main", "main", " "},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.in);
    app.reportLines.clear();
    app.oldSideLines.clear();
    options().Sbsl = row.sbsl;
    options().Lorl = row.lorl;
    app.SummaryToMainOnly = row.summaryToMainOnly;
    for (const std::string& line : split(row.in))
      line[0] == '>' ? AppendPrintLine(context, line.substr(1)) : AppendListingLine(context, line);
    PadReportLists(context);
    EXPECT_EQ(report_(), split(row.newSide));
    EXPECT_EQ(oldSide(), split(row.oldSide));
  }
}

TEST_F(ReportLinesTest, ControlCharactersFromColumnFiveOnAreReplacedAndLinesCutAt132) {
  // Columns 1-4 keep their control characters; DEL and bytes above 127 are not control characters.
  const std::string front = "I\x01-\x02";
  const std::string kept = "\x7f\xc3\xa9 ";
  const std::string line = front + "a\x01z\x1f" + kept + std::string(1, '\0') + "b";
  AppendListingLine(context, line);
  options().Subc = true;
  options().SubcChar = '#';
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

// The first overflow of a set (kept lines, note, message, status) is checked by the whole-report tests.
TEST_F(ReportLinesTest, LinesAfterAnOverflowAreDroppedUntilTheNextTextPairClearsTheNote) {
  app.reportLines.setCapacity(2);
  for (const char* line : {"I - 1", "I - 2", "I - 3", "I - 4"})
    AppendListingLine(context, line);
  EXPECT_EQ(app.ListingLinesWritten, 4);  // dropped listing lines still count for the progress
  EXPECT_EQ(host.messages.size(), 1u);
  options().ReportNoteSet = false;
  AppendListingLine(context, "I - 5");  // overflows, and tells, again
  EXPECT_EQ(report_(), (Lines{"I - 1", "I - 2"}));
  EXPECT_EQ(host.messages.size(), 2u);
  EXPECT_TRUE(options().ReportNoteSet);
}

TEST_F(ReportLinesTest, OldSideOverflowIsAnOverflowToo) {
  options().Sbsl = true;
  app.oldSideLines.setCapacity(2);
  for (const char* line : {"D - a", "D - b", "D - c", "I - d"})
    AppendListingLine(context, line);
  EXPECT_EQ(options().ReportNote, "StringList Limit. Report Line = 0");
  EXPECT_EQ(oldSide(), (Lines{"D - a", "D - b"}));
  EXPECT_TRUE(report_().empty());
  EXPECT_EQ(host.messages.size(), 1u);
}

// The fast reference writer must agree with printf's "%.5d" everywhere, including past five digits and
// below zero (a corrupted count must still show as printf would show it).
TEST(AppendReferenceTest, AgreesWithPrintf) {
  for (int value : {0, 1, 42, 9999, 10000, 99999, 100000, 1234567, -1, -99999, -123456, INT_MAX, INT_MIN}) {
    char expected[32];
    std::snprintf(expected, sizeof expected, "%.5d", value);
    std::string out = "x";
    AppendReference(out, value);
    EXPECT_EQ(out, std::string("x") + expected) << value;
  }
}

}  // namespace
}  // namespace kelvarine
