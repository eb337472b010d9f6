#include "ui/viewer_model.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "engine/compare_run.h"
#include "report/report_generator.h"
#include "support/memory_file_system.h"
#include "support/recording_host.h"
#include "ui/window_placement.h"

namespace kelvarine {
namespace {

using Lines = std::vector<std::string>;

const std::string kForward =
    std::string(28, ' ') + "No more forward change sequences found" + std::string(26, ' ') + ".";
const std::string kBackward =
    std::string(28, ' ') + "No more backward change sequences found" + std::string(26, ' ') + ".";
const std::string kSingleSections =
    std::string(43, ' ') + "No more change sections found" + std::string(26, ' ') + ".";
const std::string kDualSections =
    std::string(37, ' ') + "No more change sections found" + std::string(26, ' ') + ".";

struct Pair {
  std::string name, newText, oldText;
  FileStamp newStamp = 100, oldStamp = 200;
};

// Runs a real compare set over in-memory files, leaving the report in `app`.
void runSet(AppState& app, const std::vector<Pair>& pairs, std::vector<Pref> prefs,
            std::function<void()> onEvents = {}) {
  MemoryFileSystem files;
  RecordingHost host;
  host.onProcessEvents = std::move(onEvents);
  ReportGenerator generator;
  app.NewDirName = "new";
  app.OldDirName = "old";
  for (const Pair& p : pairs) {
    files.add("new/" + p.name, p.newText, p.newStamp);
    files.add("old/" + p.name, p.oldText, p.oldStamp);
    app.NewFileList.push_back(p.name);
    app.OldFileList.push_back(p.name);
  }
  app.choices.listType = "Chng";
  for (Pref pref : prefs)
    app.choices.setChecked(pref, true);
  app.optionsString = RebuildOptionsString(app.choices);
  app.PairCount = static_cast<std::int32_t>(pairs.size());
  app.RunAllLikeNamed = pairs.size() > 1;
  app.choices.compareType = kCompareTypes[pairs.size() > 1 ? 1 : 0];
  app.NewDirNames = app.NewFileList;
  app.OldDirNames = app.OldFileList;
  app.newNameText = pairs.size() > 1 ? "new" : "new/" + pairs[0].name;
  app.oldNameText = pairs.size() > 1 ? "old" : "old/" + pairs[0].name;
  CompareSet(app, host, files, generator);
}

// Two changed pairs: a.txt has a replaced line (row 5) and an insert at its end (row 8); b.txt a
// replaced line (row 26). Pair headers at rows 0 and 22, grouped summary title at row 40.
const std::vector<Pair> kTwoPairs = {
    {"a.txt", "one\ntwo\nnew3\nfour\nfive\nins\n", "one\ntwo\nold3\nfour\nfive\n"},
    {"b.txt", "x\ny\n", "x\nz\n"}};

class ViewerModelTest : public ::testing::Test {
 public:
  ReportViewerModel model(ViewerKind kind) { return ReportViewerModel(app, host, kind); }
  // Hand-made lists for rules that need exact neighbours.
  void setLists(const Lines& left, const Lines& right, std::int32_t summaryStart) {
    for (const auto& l : left)
      app.reportLines.add(l);
    for (const auto& r : right)
      app.oldSideLines.add(r);
    app.SummaryStartLine = summaryStart;
  }
  AppState app;
  RecordingHost host;
};

TEST_F(ViewerModelTest, ShowReportPicksTheViewerAndFillsCaptionHeadersAndLabels) {
  runSet(app, kTwoPairs, {Pref::Sbsl, Pref::Aeqf});
  // Aeqf adds its count of equivalent pairs to the group summary the viewers show.
  EXPECT_EQ(app.reportLines[53],
            "      0 Total New/Old Paired Files Processed as Equal-Time-Date-Len Equivalent.");
  const std::string ruler = "---2----+----3----+----4----+----5----+----6----+----7----+----8";

  ViewerLayout dual = ShowReport(app, true, "06/12/2026 12:30");
  EXPECT_EQ(dual.kind, ViewerKind::Dual);
  EXPECT_EQ(dual.caption, "Kelvarine V1.8 - Dual Panel Display of Comparison Report  06/12/2026 12:30");
  EXPECT_EQ(dual.reportHeader, "Ref#  ID  New Src/Inserts " + ruler);
  EXPECT_EQ(dual.oldSideHeader, "Ref#  ID  New Src/Deletes " + ruler);
  EXPECT_EQ(dual.newLabel, "New Dir = new");
  EXPECT_EQ(dual.oldLabel, "Old  Dir = old");
  EXPECT_TRUE(dual.fileSectionEnabled);

  // The Sbsl box unchecked since the run: the single viewer over the report line list.
  ViewerLayout single = ShowReport(app, false, "s");
  EXPECT_EQ(single.kind, ViewerKind::Single);
  EXPECT_EQ(single.caption, "Kelvarine V1.8 - Single Panel Display of Comparison Report  s");
  EXPECT_TRUE(single.headerShown);
  EXPECT_EQ(single.reportHeader,
            "Ref#  ID  New Src/Inserts/Deletes -----3----+----4----+----5----+----6----+----7----+----8");

  auto horizontal = ShowHorizontalViewer(app, "s");
  ASSERT_TRUE(horizontal.has_value());
  EXPECT_EQ(horizontal->caption,
            "Kelvarine V1.8 -  Line Compare - Dual Panel Display of Comparison Report  s");
  EXPECT_EQ(horizontal->reportHeader,
            " Ref# ID  Matches/Inserts " + ruler + " N-REF# CHNG-TYPE   O-REF# LEN");
  EXPECT_EQ(horizontal->oldSideHeader,
            " Ref# ID  Matches/Deletes " + ruler + " N-REF# CHNG-TYPE   O-REF# LEN");
  EXPECT_EQ(horizontal->newLabel, "New File = new");
  EXPECT_EQ(horizontal->oldLabel, "Old  File = old");
}

TEST_F(ViewerModelTest, HeaderRulesForOvsumNoChangesAndTheRulerExtension) {
  app.reportLines.add("x");
  app.options.TotInserts = 1;
  app.options.ListOvsum = true;
  EXPECT_FALSE(ShowReport(app, false, "").headerShown);
  app.options.ListOvsum = false;
  app.options.TotInserts = 0;
  EXPECT_FALSE(ShowReport(app, false, "").headerShown);

  struct Case {
    bool fscl;
    std::int32_t longestNew, longestOld;
    std::string extension;
  };
  const std::string full = "----+----9----+----10---+----11---+----12---+----13---+----14---+----15";
  const std::vector<Case> cases = {
      {true, 100, 20, "----+----9----+----1"},
      {true, 3, 100, "----+----9----+----1"},
      {false, 100, 100, ""},
      {true, 80, 80, ""},
      {true, 81, 0, "-"},
      {true, 5000, 0, full.substr(0, 48)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.longestNew) + "/" + std::to_string(c.longestOld));
    app.options.Fscl = c.fscl;
    app.options.LongestNewLine = c.longestNew;
    app.options.LongestOldLine = c.longestOld;
    app.options.TotReformats = 1;
    EXPECT_EQ(ShowReport(app, false, "").reportHeader.substr(90), c.extension);
  }
  // The horizontal viewer puts the extension in place of the reference-column caption.
  app.options.Sbsl = true;
  app.options.Fscl = true;
  app.options.LongestNewLine = 100;
  app.oldSideLines.add("y");
  EXPECT_TRUE(ShowHorizontalViewer(app, "")->oldSideHeader.ends_with("+----8----+----9----+----1"));
}

// Halted inside its one pair, a run's listed changes never reached the set totals: the header shows.
TEST_F(ViewerModelTest, HaltedRunKeepsTheColumnHeader) {
  std::string newText, oldText;
  for (int i = 0; i < 20000; ++i) {
    oldText += "line " + std::to_string(i) + "\n";
    newText += "line " + std::to_string(i) + (i % 100 == 5 ? " changed\n" : "\n");
  }
  runSet(app, {{"big.txt", newText, oldText}}, {},
         [this] { app.StopRequested = app.StopRequested || app.reportLines.size() > 50; });
  ASSERT_TRUE(app.StopRequested && app.options.TotInserts == 0 && app.pair.InsertCount > 0);
  EXPECT_TRUE(ShowReport(app, false, "").headerShown);
}

TEST_F(ViewerModelTest, RowNumbersOfEachViewerAndOutOfRangeRows) {
  runSet(app, kTwoPairs, {Pref::Sbsl});
  ASSERT_EQ(app.ListingLineCount, 39);
  ReportViewerModel single = model(ViewerKind::Single);
  ReportViewerModel dual = model(ViewerKind::Dual);
  ReportViewerModel horizontal = model(ViewerKind::Horizontal);
  struct Case {
    ReportViewerModel* viewer;
    ViewerList list;
    std::int64_t row;
    std::string prefix;  // expected text before the stored line
  };
  const std::vector<Case> cases = {
      {&single, ViewerList::Report, 38, "  39  "},      {&single, ViewerList::Report, 39, " "},
      {&dual, ViewerList::OldSide, 5, "   6  "},        {&dual, ViewerList::Report, 62, " "},
      {&horizontal, ViewerList::Report, 2, " "},        {&horizontal, ViewerList::Report, 3, "   1  "},
      {&horizontal, ViewerList::OldSide, 38, "  36  "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.row);
    const LineList& lines = c.list == ViewerList::Report ? app.reportLines : app.oldSideLines;
    EXPECT_EQ(c.viewer->rowText(c.list, c.row), c.prefix + lines[static_cast<std::size_t>(c.row)]);
  }
  EXPECT_EQ(single.rowText(ViewerList::Report, -1),
            "*** Orpheus VCL Program Error  - Negative index\" -1\" to GetItem*** ");
  EXPECT_EQ(single.rowText(ViewerList::Report, 63),
            "*** Orpheus VCL Program Error  - Negative index\" 63\" to GetItem*** ");
  EXPECT_EQ(dual.rowText(ViewerList::Report, 63),
            "*** Orpheus VCL Program Error  - Invalid index\" 63\" to GetItem*** ");
  EXPECT_EQ(horizontal.rowText(ViewerList::OldSide, 39),
            "*** Orpheus VCL Program Error  - Improper index\" 39\" to GetItem*** ");
  EXPECT_EQ(single.rowColour(ViewerList::Report, -1), RowColour::Green);
  EXPECT_EQ(dual.bottomRow(ViewerList::Report), 62);
  EXPECT_EQ(dual.bottomRow(ViewerList::OldSide), 38);
  EXPECT_EQ(single.bottomRow(ViewerList::OldSide), -1);
}

// What a line is comes from its kind (report_line_kind_test); the lists differ in which side's change
// codes they colour and, stacked, in their own titles and length rules.
TEST_F(ViewerModelTest, EachListColoursItsOwnSideAndTitles) {
  using C = RowColour;
  struct Case {
    std::string line;
    C single, left, right, top, bottom;
  };
  const std::vector<Case> cases = {
      {"D - old line", C::Red, C::Black, C::Red, C::Black, C::Red},
      {"*    a.txt  3  4", C::Red, C::Black, C::Black, C::Black, C::Black},
      {"RN- a  b", C::Teal, C::Teal, C::Black, C::Teal, C::Black},
      {"RO- a b", C::Maroon, C::Black, C::Maroon, C::Black, C::Maroon},
      {"I -", C::Blue, C::Blue, C::Black, C::Black, C::Black},  // three characters: black when stacked
      {"ID  ----+----1", C::Blue, C::Blue, C::Blue, C::Purple, C::Purple},
      {"New Dir = new", C::Blue, C::Blue, C::Blue, C::Black, C::Black},
      {"   ************* changed", C::Blue, C::Blue, C::Blue, C::Black, C::Black},
      {"LISTING-TYPE = Chng", C::Red, C::Red, C::Red, C::Red, C::Red},
      {"Old File(", C::Red, C::Red, C::Red, C::Black, C::Black},  // shorter than 11 when stacked
  };
  app.options.ListChng = true;
  for (const Case& c : cases) {
    app.reportLines.add(c.line);
    app.oldSideLines.add(c.line);
  }
  const ReportViewerModel single = model(ViewerKind::Single);
  const ReportViewerModel dual = model(ViewerKind::Dual);
  const ReportViewerModel horizontal = model(ViewerKind::Horizontal);
  for (std::int64_t row = 0; row < std::ssize(cases); ++row) {
    const Case& c = cases[static_cast<std::size_t>(row)];
    EXPECT_EQ(
        (std::vector{single.rowColour(ViewerList::Report, row), dual.rowColour(ViewerList::Report, row),
                     dual.rowColour(ViewerList::OldSide, row), horizontal.rowColour(ViewerList::Report, row),
                     horizontal.rowColour(ViewerList::OldSide, row)}),
        (std::vector{c.single, c.left, c.right, c.top, c.bottom}))
        << c.line;
  }
  // The Chng banner is blue only for a Chng listing.
  app.options.ListChng = false;
  EXPECT_EQ(single.rowColour(ViewerList::Report, 7), RowColour::Black);
}

// Each step: the navigation, then the selected row and the message it gives ("" for none).
struct NavStep {
  bool forward;
  std::int64_t selected;
  std::string message;
};

void walk(ReportViewerModel& viewer, RecordingHost& host, std::int64_t start,
          const std::vector<NavStep>& steps) {
  viewer.select(start);
  for (std::size_t i = 0; i < steps.size(); ++i) {
    SCOPED_TRACE("step " + std::to_string(i));
    host.messages.clear();
    steps[i].forward ? viewer.nextChange() : viewer.previousChange();
    EXPECT_EQ(viewer.selected(), steps[i].selected);
    EXPECT_EQ(host.messages, steps[i].message.empty() ? Lines{} : Lines{steps[i].message});
  }
}

TEST_F(ViewerModelTest, ChangeNavigationOnARealReport) {
  runSet(app, kTwoPairs, {});
  EXPECT_FALSE(ShowHorizontalViewer(app, "s").has_value());  // the Old side is empty
  ReportViewerModel single = model(ViewerKind::Single);
  // Changes at rows 5-6, 9 and 27-28 (the walk down is driven through the Qt viewer); the upward walk
  // stops on the last row of each span.
  walk(single, host, -1, {{false, 28, ""}, {false, 9, ""}, {false, 6, ""}, {false, 6, kBackward}});
  walk(single, host, 7, {{false, 6, ""}});

  app = AppState();
  runSet(app, kTwoPairs, {Pref::Sbsl});
  ASSERT_EQ(app.SummaryStartLine, 28);
  for (ViewerKind kind : {ViewerKind::Dual, ViewerKind::Horizontal}) {
    ReportViewerModel viewer = model(kind);
    walk(viewer, host, -1, {{true, 5, ""}, {true, 8, ""}, {true, 26, ""}, {true, 26, kForward}});
    walk(viewer, host, -1, {{false, 26, ""}, {false, 8, ""}, {false, 5, ""}, {false, 5, kBackward}});
    walk(viewer, host, 2, {{true, 5, ""}});
  }
}

TEST_F(ViewerModelTest, SingleViewerSpanEdges) {
  // A span on rows 1-2 lies before the rows the upward walk examines; a span ends on the last row.
  setLists({"h", "I - a", "D - b", "    c", "I - d", "D - e", "    f", "RN- g", "RO- h", "    i", "*    j"},
           {}, 11);
  ReportViewerModel viewer = model(ViewerKind::Single);
  walk(viewer, host, 3, {{false, 3, kBackward}});
  walk(viewer, host, 5, {{false, 5, kBackward}});  // inside the span of rows 4-5: nothing above row 3
  // A hit on the last row is selected and still reports that nothing follows.
  walk(viewer, host, -1, {{true, 4, ""}, {true, 7, ""}, {true, 10, kForward}, {true, 10, kForward}});
  walk(viewer, host, -1, {{false, 8, ""}, {false, 5, ""}});
  // Rows 0 and 1 are skipped going down; row 2 counts as inside a span.
  walk(viewer, host, 0, {{true, 4, ""}});
}

TEST_F(ViewerModelTest, TwoListSpanStates) {
  struct Case {
    std::string name;
    Lines left, right;
    std::int64_t start;
    std::vector<NavStep> steps;
  };
  const std::vector<Case> cases = {
      {"insert facing a blank row, then deletes",
       {"h", "h", "h", "    a", "I - x", " ", " ", "    b", "I - z"},
       {"h", "h", "h", "    a", " ", "D - y", "D - w", "    b", " "},
       -1,
       {{true, 4, ""}, {true, 5, ""}, {true, 8, ""}, {true, 8, kForward}}},
      {"paired change runs as one span until a side ends",
       {"h", "h", "h", "I - a", "I - b", "I - c", "    d", " "},
       {"h", "h", "h", "D - a", "D - b", " ", "    d", "D - e"},
       -1,
       {{true, 3, ""}, {true, 7, ""}}},
      {"deletes then inserts: right-only span stops at the first insert",
       {"h", "h", "h", " ", " ", "I - a"},
       {"h", "h", "h", "D - x", "D - y", " "},
       3,
       {{true, 5, ""}, {false, 4, ""}}},
      {"left line shorter list: rows without a right line",
       {"h", "h", "h", "    a", "I - b", "I - c", "    d"},
       {"h", "h", "h", "    a"},
       -1,
       {{true, 4, ""}, {true, 4, kForward}, {false, 4, kBackward}}},
      {"star rows of the file table pass the TDL row between them",
       {"h", "h", "h", "*    a.txt", "TDL= 2", "*    c.txt"},
       {"h", "h", "h"},
       3,
       {{true, 5, ""}, {true, 5, kForward}, {false, 3, ""}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    app = AppState();
    setLists(c.left, c.right, static_cast<std::int32_t>(c.left.size()));
    ReportViewerModel viewer = model(ViewerKind::Dual);
    walk(viewer, host, c.start, c.steps);
  }
}

TEST_F(ViewerModelTest, FileSectionNavigationOfTheThreeViewers) {
  runSet(app, kTwoPairs, {Pref::Sbsl});
  ASSERT_EQ(app.GroupSummaryStart, 39);
  struct Case {
    ViewerKind kind;
    std::int64_t start, selected;
    std::string message;
  };
  const std::vector<Case> cases = {
      {ViewerKind::Single, -1, 22, ""},     {ViewerKind::Single, 22, 22, kSingleSections},
      {ViewerKind::Dual, -1, 22, ""},       {ViewerKind::Dual, 22, 22, kDualSections},
      {ViewerKind::Horizontal, 0, 22, ""},  {ViewerKind::Horizontal, 22, 40, ""},
      {ViewerKind::Horizontal, 40, 54, ""}, {ViewerKind::Horizontal, 54, 54, "No more summary section found"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(static_cast<int>(c.kind)) + " from " + std::to_string(c.start));
    host.messages.clear();
    ReportViewerModel viewer = model(c.kind);
    viewer.select(c.start);
    viewer.nextFileSection();
    EXPECT_EQ(viewer.selected(), c.selected);
    EXPECT_EQ(host.messages, c.message.empty() ? Lines{} : Lines{c.message});
  }
  // The single viewer examines the row at GroupSummaryStart itself; the dual viewer stops before it.
  app.GroupSummaryStart = 40;
  for (const auto& [kind, selected] : {std::pair{ViewerKind::Single, 40}, std::pair{ViewerKind::Dual, 22}}) {
    ReportViewerModel viewer = model(kind);
    viewer.select(22);
    viewer.nextFileSection();
    EXPECT_EQ(viewer.selected(), selected);
  }
}

TEST_F(ViewerModelTest, FindSearchesDisplayedRowTexts) {
  runSet(app, kTwoPairs, {Pref::Sbsl});
  struct Case {
    ViewerKind kind;
    std::int64_t start;
    std::string text;
    bool down;
    std::int64_t selected;
    bool found;
  };
  const std::vector<Case> cases = {
      {ViewerKind::Single, -1, "12", true, 11, true},  // through the row number only
      {ViewerKind::Horizontal, -1, "12", true, 14, true},
      {ViewerKind::Single, 26, "Insert(new)", false, 8, true},
      {ViewerKind::Single, 5, "OLD3", true, 5, false},  // the Old side is not searched
      {ViewerKind::Dual, 0, "OLD3", true, 5, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    host.messages.clear();
    ReportViewerModel viewer = model(c.kind);
    viewer.select(c.start);
    viewer.startFind();
    viewer.findNext(c.text, c.down);
    EXPECT_EQ(viewer.selected(), c.selected);
    EXPECT_EQ(host.messages, c.found ? Lines{} : Lines{"Text Not Found"});
  }
  // Past the end (or start) the search goes on from the other end, up to the selected row, and says so.
  host.messages.clear();
  ReportViewerModel dual = model(ViewerKind::Dual);
  dual.select(62);
  dual.findNext("old3", true);
  dual.findNext("old3", false);
  EXPECT_EQ(dual.selected(), 5);
  EXPECT_EQ(host.messages, (Lines{"Find passed the end of the report and went on from the top.",
                                  "Find passed the start of the report and went on from the bottom."}));
}

// Helper windows of 400 x 300 on a 1600 x 1000 screen under a 30-pixel panel: right of the viewer,
// left, below, past the viewer's other window, over a screen-filling viewer (below its other window).
TEST(WindowPlacementTest, BesideTheViewerClearOfItsOtherWindowsAndOnScreen) {
  for (auto [owner, taken, left, top] : {std::tuple{WindowRect{100, 100, 800, 600}, WindowRect{}, 908, 100},
                                         {{700, 100, 800, 600}, {}, 292, 100},
                                         {{100, 100, 1400, 500}, {}, 100, 608},
                                         {{500, 100, 600, 600}, {1108, 100, 400, 300}, 1108, 408},
                                         {{0, 30, 1600, 970}, {}, 1192, 62},
                                         {{0, 30, 1600, 970}, {1100, 62, 492, 300}, 1192, 370}}) {
    const WindowRect place = PlaceBeside(owner, 400, 300, {0, 30, 1600, 970}, {taken});
    EXPECT_EQ(std::pair(place.left, place.top), std::pair(left, top)) << owner.left;
  }
}

TEST_F(ViewerModelTest, EmptyReportOnlyGivesNotFoundMessages) {
  ReportViewerModel viewer = model(ViewerKind::Dual);
  viewer.nextChange();
  viewer.previousChange();
  viewer.nextFileSection();
  viewer.startFind();
  viewer.findNext("x", true);
  viewer.selectBottom();
  EXPECT_EQ(host.messages, (Lines{kForward, kBackward, kDualSections}));
  EXPECT_EQ(viewer.selected(), -1);
}

TEST_F(ViewerModelTest, ReShowRefusesWhenSbslOrFsclWasUnchecked) {
  struct Case {
    bool ranSbsl, ranFscl, sbslNow, fsclNow, allowed;
  };
  const std::vector<Case> cases = {{true, false, false, false, false},
                                   {false, true, true, false, false},
                                   {false, false, true, true, true}};
  for (const Case& c : cases) {
    host.messages.clear();
    app.options.Sbsl = c.ranSbsl;
    app.options.Fscl = c.ranFscl;
    app.choices.setChecked(Pref::Sbsl, c.sbslNow);
    app.choices.setChecked(Pref::Fscl, c.fsclNow);
    EXPECT_EQ(ReShowAllowed(app, host), c.allowed);
    EXPECT_EQ(host.messages,
              c.allowed
                  ? Lines{}
                  : Lines{"Previous report and current preferences have changed. Rerun compare with newest "
                          "preferences."});
  }
}

}  // namespace
}  // namespace kelvarine
