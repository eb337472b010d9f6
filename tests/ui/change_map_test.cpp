// The change map's scale and marks, the change counter, and the pair list of a viewer.
#include "ui/change_map.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "report/report_generator.h"
#include "support/memory_file_system.h"
#include "support/recording_host.h"
#include "ui/compare_flows.h"
#include "ui/pair_list.h"

namespace kelvarine {
namespace {

struct Scale {
  std::int64_t rows, height;
};

class ChangeMapScaleTest : public ::testing::TestWithParam<Scale> {};

// Every pixel row leads to a row that begins there (long reports) or covers it (short ones), clicks
// off the strip stay on the report, and a band is never empty and ends at the strip's foot.
TEST_P(ChangeMapScaleTest, PixelRowsAndRowsLeadToEachOther) {
  const std::int64_t rows = GetParam().rows;
  const int height = static_cast<int>(GetParam().height);
  const ChangeMapScale scale(rows, height);
  for (int y = 0; y < height; ++y) {
    const std::int64_t row = scale.rowAtY(y);
    ASSERT_TRUE(row >= 0 && row < rows && scale.yOfRow(row) <= y) << y;
    if (rows >= height)  // the first row that begins at y
      EXPECT_TRUE(scale.yOfRow(row) == y && (row == 0 || scale.yOfRow(row - 1) < y)) << y;
    else  // the row that covers y
      EXPECT_TRUE(row + 1 == rows || scale.yOfRow(row + 1) > y) << y;
  }
  EXPECT_EQ(scale.rowAtY(-7), 0);
  EXPECT_EQ(scale.rowAtY(height + 7), rows - 1);
  EXPECT_EQ(scale.band(rows - 1, 1).second, height - 1);
  EXPECT_EQ(scale.band(0, rows), std::make_pair(0, height - 1));
}

INSTANTIATE_TEST_SUITE_P(Reports, ChangeMapScaleTest,
                         ::testing::Values(Scale{1'000'000, 500}, Scale{20'000'001, 977}, Scale{10, 100},
                                           Scale{7, 7}, Scale{1, 40}),
                         [](const ::testing::TestParamInfo<Scale>& info) {
                           return std::to_string(info.param.rows) + "RowsOn" +
                                  std::to_string(info.param.height);
                         });

class ChangeMapTest : public ::testing::Test {
 protected:
  void fill(LineList& list, const std::vector<std::string>& lines) {
    for (const std::string& line : lines)
      list.add(line);
  }
  AppState app;
  RecordingHost host;
};

// A single viewer's report: marks by lane and colour (D and DM one run), the spans navigation stops
// at, the counter between and inside them, and marks merged where rows share a pixel row.
TEST_F(ChangeMapTest, SingleViewerMarksSpansAndCounter) {
  fill(app.reportLines, {"Kelvarn head", " ", "New File(1) = n", "    a", "I - x", "RN- y", "    b", "D - z",
                         "DM- w", "    c", "*     f"});
  const ReportViewerModel model(app, host, ViewerKind::Single);
  const ReportChanges changes = FindReportChanges(model);
  EXPECT_EQ(changes.marks, (std::vector<ChangeMark>{{4, 4, RowColour::Blue, MapLane::New},
                                                    {5, 5, RowColour::Teal, MapLane::New},
                                                    {7, 8, RowColour::Red, MapLane::Old},
                                                    {10, 10, RowColour::Red, MapLane::Both}}));
  EXPECT_EQ(changes.starts, (std::vector<std::int64_t>{4, 7, 10}));
  const std::map<std::int64_t, std::string> counter = {{3, "3 changes"},
                                                       {4, "Change 1 of 3"},
                                                       {6, "Change 1 of 3"},
                                                       {8, "Change 2 of 3"},
                                                       {10, "Change 3 of 3"}};
  for (const auto& [selected, text] : counter)
    EXPECT_EQ(ChangeCounterText(changes, selected), text);
  EXPECT_EQ(ChangeCounterText(ReportChanges{}, 0), "No changes");

  // Rows 4 and 5 share pixel row 1 (blue over teal), rows 7-8 pixel row 2, row 10 pixel row 3.
  EXPECT_EQ(MapPixelRows(changes, 4), (std::vector<MapPixelRow>{{},
                                                                {RowColour::Blue, RowColour::Black},
                                                                {RowColour::Black, RowColour::Red},
                                                                {RowColour::Red, RowColour::Red}}));
  // A short report: each row covers several pixel rows.
  EXPECT_EQ(MapPixelRows(changes, 22)[11], (MapPixelRow{RowColour::Teal, RowColour::Black}));
}

// A directory compare's pairs: counts and codes from the run, sections where the report lists a pair,
// the grouped summary last; the entry at a row is the section holding it.
TEST_F(ChangeMapTest, PairListOfADirectoryCompare) {
  MemoryFileSystem files;
  files.add("new/a.txt", "1\n2\nnew\n4\n");
  files.add("old/a.txt", "1\n2\nold\n4\n5\n");
  files.add("new/b.txt", "same\n");
  files.add("old/b.txt", "same\n");
  files.add("new/c.bin", std::string(16, '\1') + "x");
  files.add("old/c.bin", std::string(16, '\1') + "y");
  ReportGenerator report;
  FlowServices flow{app, host, files, report};
  app.choices.compareType = kCompareTypes[1];
  ASSERT_EQ(MnButStartClick(flow, "new", "old").outcome, FlowOutcome::Ran);

  const std::vector<PairListEntry> entries = ListReportPairs(app);
  ASSERT_EQ(entries.size(), 4u);
  const std::vector<std::string> texts = {"*   1. a.txt  (2 changes)", "    2. b.txt  (no changes)",
                                          "*   3. c.bin  (binary, differs)", "    Grouped summary"};
  // Unchanged and binary pairs have no section in a Chng listing.
  const std::vector<std::string> sections = {"New File(1) = ", "", "", "Kelvarn GROUPED"};
  for (std::size_t i = 0; i < entries.size(); ++i) {
    EXPECT_EQ(entries[i].text, texts[i]);
    const std::int64_t row = entries[i].sectionRow;
    EXPECT_EQ(row < 0 ? "" : app.reportLines[static_cast<std::size_t>(row)].substr(0, sections[i].size()),
              sections[i]);
  }

  EXPECT_EQ(PairEntryAt(entries, entries[0].sectionRow - 1), -1);
  EXPECT_EQ(PairEntryAt(entries, entries[0].sectionRow + 2), 0);
  EXPECT_EQ(PairEntryAt(entries, static_cast<std::int64_t>(app.reportLines.size()) - 1), 3);

  // Pairs of a set that stopped early, one not opened, and a free pairing's two names.
  app.PairStatisticsList.assign(2, PairStatistics{});
  app.PairStatisticsList[1].OpenError = true;
  app.OldFileList[0] = "a-old.txt";
  const std::vector<PairListEntry> stopped = ListReportPairs(app);
  EXPECT_EQ(stopped[0].text, "    1. a.txt : a-old.txt  (no changes)");
  EXPECT_EQ(stopped[1].text, "Err 2. b.txt  (not opened)");
  EXPECT_EQ(stopped[2].text, "    3. c.bin  (not compared)");
}

}  // namespace
}  // namespace kelvarine
