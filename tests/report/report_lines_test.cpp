#include "report/report_lines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/compare_context.h"
#include "support/memory_file_system.h"
#include "support/recording_host.h"

namespace kelvarine {
namespace {

using Lines = std::vector<std::string>;

const std::string kRuler84 =
    "ID  ----+----1----+----2----+----3----+----4----+----5----+----6----+----7----+----8";

class NoReport : public ReportStep {
 public:
  void GenerateReport(CompareContext&) override {}
};

class ReportLinesTest : public ::testing::Test {
 public:
  ReportLinesTest() : context(app, host, files, report) {
    context.newInput.FileName = "new/a.txt";
    context.newInput.FileDate = 7;
    context.oldInput.FileName = "old/a.txt";
    context.oldInput.FileDate = 9;
    app.PairCount = 1;
  }

  const Lines& report_() const { return app.reportLines.lines(); }
  const Lines& oldSide() const { return app.oldSideLines.lines(); }
  CompareOptions& options() { return app.options; }

  AppState app;
  RecordingHost host;
  MemoryFileSystem files;
  NoReport report;
  CompareContext context;
};

// ---- Pair header -----------------------------------------------------------------------------------

TEST_F(ReportLinesTest, ArmingWritesNothingAndTheHeaderPrecedesTheNextLine) {
  ArmPairHeader(context);
  EXPECT_TRUE(report_().empty());
  EXPECT_TRUE(options().PairHeaderArmed);
  EXPECT_TRUE(options().PairHeaderPending);
  EXPECT_TRUE(app.pair.ChngGapPending);

  // The first header of the report gets no leading " ".
  AppendListingLine(context, "I - first");
  EXPECT_EQ(report_(), (Lines{"New File(1) = new/a.txt  stamp 7", "Old File(1) = old/a.txt  stamp 9",
                              kRuler84 + " N-REF# CHNG-TYPE   O-REF# LEN", "I - first"}));
  EXPECT_FALSE(options().PairHeaderPending);
  EXPECT_TRUE(options().PairHeaderArmed);

  // The next pair's header, triggered by a print line, follows a " " line and precedes that line.
  app.CurrentPairIndex = 1;
  context.newInput.FileName = "new/b.txt";
  context.newInput.FileDate = 11;
  ArmPairHeader(context);
  AppendPrintLine(context, "block");
  EXPECT_EQ(Lines(report_().begin() + 4, report_().end()),
            (Lines{" ", "New File(2) = new/b.txt  stamp 11", "Old File(2) = old/a.txt  stamp 9",
                   kRuler84 + " N-REF# CHNG-TYPE   O-REF# LEN", "block"}));
}

TEST_F(ReportLinesTest, RulerFollowsFsclAndTheLongestLine) {
  struct Row {
    bool fscl;
    int newLongest, oldLongest;
    std::string tail;
    std::size_t length;
  };
  const std::vector<Row> rows = {
      {false, 300, 10, " N-REF# CHNG-TYPE   O-REF# LEN", 114},
      // 20 characters: the "10" mark is cut after its "1", which stands over text column 100.
      {true, 100, 60, "----+----9----+----1", 104},
      {true, 60, 100, "----+----9----+----1", 104},
      {true, 200, 5, "----+----9----+----10---+----11---+----12---+---", 132},
      {true, 128, 0, "----+----9----+----10---+----11---+----12---+---", 132},
      {true, 81, 80, "-", 85},
      {true, 80, 80, "", 84},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::to_string(row.newLongest) + "/" + std::to_string(row.oldLongest));
    app.reportLines.clear();
    options().Fscl = row.fscl;
    context.newInput.LongestLine = row.newLongest;
    context.oldInput.LongestLine = row.oldLongest;
    ArmPairHeader(context);
    ArmPairHeader(context);
    ASSERT_EQ(report_().size(), 3u);
    EXPECT_EQ(report_()[2], kRuler84 + row.tail);
    EXPECT_EQ(report_()[2].size(), row.length);
  }
}

TEST_F(ReportLinesTest, LongHeaderLinesAreCutAt132) {
  context.newInput.FileName = "new/" + std::string(200, 'n');
  ArmPairHeader(context);
  ArmPairHeader(context);
  ASSERT_EQ(report_().size(), 3u);
  EXPECT_EQ(report_()[0], ("New File(1) = new/" + std::string(200, 'n')).substr(0, 132));
}

// ---- Side-by-side routing --------------------------------------------------------------------------

TEST_F(ReportLinesTest, SbslRoutesByIdCodeAndPadsBeforeMatchedMaterial) {
  struct Row {
    const char* name;
    bool lorl;
    Lines in, newSide, oldSide;
  };
  const std::vector<Row> rows = {
      {"inserts then match",
       false,
       {"I - a", "I - b", "    m"},
       {"I - a", "I - b", "    m"},
       {" ", " ", "    m"}},
      {"deletes then match",
       false,
       {"D - a", "DM- b", "    m"},
       {" ", " ", "    m"},
       {"D - a", "DM- b", "    m"}},
      {"mixed changes then match",
       false,
       {"I - a", "D - b", "IM- c", "    m"},
       {"I - a", "IM- c", "    m"},
       {"D - b", " ", "    m"}},
      {"reformat without Lorl",
       false,
       {"I - a", "RN- r", "    m"},
       {"I - a", "RN- r", "    m"},
       {" ", " ", "    m"}},
      {"reformat with Lorl", true, {"RN- r", "RO- s", "    m"}, {"RN- r", "    m"}, {"RO- s", "    m"}},
      {"unknown code goes nowhere", false, {"XX- a", "    m"}, {"    m"}, {"    m"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    app.reportLines.clear();
    app.oldSideLines.clear();
    options().Sbsl = true;
    options().Lorl = row.lorl;
    for (const std::string& line : row.in)
      AppendListingLine(context, line);
    EXPECT_EQ(report_(), row.newSide);
    EXPECT_EQ(oldSide(), row.oldSide);
  }
}

TEST_F(ReportLinesTest, SbslPrintLinesGoToBothListsUnlessSummaryToMainOnly) {
  options().Sbsl = true;
  AppendPrintLine(context, "both");
  app.SummaryToMainOnly = true;
  AppendPrintLine(context, "main");
  EXPECT_EQ(report_(), (Lines{"both", "main"}));
  EXPECT_EQ(oldSide(), (Lines{"both"}));

  // Padding makes the lists equal whichever is longer.
  PadReportLists(context);
  EXPECT_EQ(oldSide(), (Lines{"both", " "}));
}

TEST_F(ReportLinesTest, WithoutSbslEveryLineGoesToTheReportListOnly) {
  for (const char* line : {"D - a", "RO- b", "XX- c", "    d"})
    AppendListingLine(context, line);
  PadReportLists(context);
  EXPECT_EQ(report_(), (Lines{"D - a", "RO- b", "XX- c", "    d"}));
  EXPECT_TRUE(oldSide().empty());
}

// ---- Character clean-up ----------------------------------------------------------------------------

TEST_F(ReportLinesTest, ControlCharactersFromColumnFiveOnAreReplaced) {
  // Columns 1-4 keep their control characters; DEL and bytes above 127 are not control characters.
  const std::string front = "I\x01-\x02";
  const std::string kept = "\x7f\xc3\xa9 ";
  const std::string line = front + "a\x01z\x1f" + kept + std::string(1, '\0') + "b";
  AppendListingLine(context, line);
  options().Subc = true;
  options().SubcChar = '#';
  AppendListingLine(context, line);
  ASSERT_EQ(report_().size(), 2u);
  EXPECT_EQ(report_()[0], front + "a.z." + kept + ".b");
  EXPECT_EQ(report_()[1], front + "a#z#" + kept + "#b");
}

TEST_F(ReportLinesTest, ListingLinesAreCutAt132) {
  AppendListingLine(context, "    " + std::string(200, 'x'));
  EXPECT_EQ(report_()[0], "    " + std::string(128, 'x'));
}

// ---- Progress --------------------------------------------------------------------------------------

TEST_F(ReportLinesTest, ProgressEveryFiftyListingLinesOfTheSet) {
  app.PairCount = 5;
  app.CurrentPairIndex = 2;
  for (int i = 0; i < 49; ++i)
    AppendListingLine(context, "    x");
  EXPECT_TRUE(host.statusTexts.empty());
  // Print lines do not count.
  AppendPrintLine(context, "header");
  EXPECT_TRUE(host.statusTexts.empty());
  for (int i = 0; i < 51; ++i)
    AppendListingLine(context, "    x");
  EXPECT_EQ(host.statusTexts, (Lines{"Writing Report lines Output Line = 50    - Proc File(2) of (5).",
                                     "Writing Report lines Output Line = 100    - Proc File(2) of (5)."}));
  EXPECT_EQ(host.toggles, 2);
  EXPECT_EQ(host.processEventsCalls, 2);
  EXPECT_EQ(app.ListingLinesWritten, 100);
}

// ---- Overflow --------------------------------------------------------------------------------------

const std::string kOverflowMessage =
    "Results exceeded StingList maximum number of \" 5 \".\r\nOutput results prematurely suspended.";

TEST_F(ReportLinesTest, OverflowSetsTheNoteShowsTheMessageAndDropsLaterLines) {
  app.reportLines.setCapacity(5);
  ArmPairHeader(context);
  for (const char* line : {"I - 1", "I - 2", "I - 3", "I - 4"})
    AppendListingLine(context, line);
  AppendPrintLine(context, "summary");
  EXPECT_EQ(report_().size(), 5u);
  EXPECT_EQ(report_()[4], "I - 2");
  EXPECT_TRUE(options().ReportNoteSet);
  EXPECT_EQ(options().ReportNote, "StringList Limit. Report Line = 5");
  EXPECT_EQ(host.messages, (Lines{kOverflowMessage}));
  // Dropped listing lines still count for the progress display.
  EXPECT_EQ(app.ListingLinesWritten, 4);

  // The next text pair clears the note; its first line overflows again and the message is shown again.
  options().ReportNoteSet = false;
  app.CurrentPairIndex = 1;
  ArmPairHeader(context);
  AppendListingLine(context, "I - 5");
  EXPECT_EQ(report_().size(), 5u);
  EXPECT_EQ(host.messages, (Lines{kOverflowMessage, kOverflowMessage}));
  EXPECT_EQ(options().ReportNote, "StringList Limit. Report Line = 5");
}

TEST_F(ReportLinesTest, OldSideOverflowIsAnOverflowToo) {
  options().Sbsl = true;
  app.oldSideLines.setCapacity(2);
  for (const char* line : {"D - a", "D - b", "D - c", "I - d"})
    AppendListingLine(context, line);
  EXPECT_TRUE(options().ReportNoteSet);
  EXPECT_EQ(options().ReportNote, "StringList Limit. Report Line = 0");
  EXPECT_EQ(oldSide(), (Lines{"D - a", "D - b"}));
  EXPECT_TRUE(report_().empty());
  EXPECT_EQ(host.messages.size(), 1u);
}

}  // namespace
}  // namespace kelvarine
