#include "report/facing_changes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "report/report_generator.h"
#include "support/marked_text.h"
#include "support/memory_set.h"

namespace kelvarine {
namespace {

// Every row of a report list that has changed spans: its ID code and listed text, spans in brackets.
std::vector<std::string> markedRows(const AppState& app, bool oldSideList) {
  const LineList& list = oldSideList ? app.oldSideLines : app.reportLines;
  std::vector<std::string> out;
  for (std::size_t row = 0; row < list.size(); ++row) {
    const std::vector<TextSpan> spans = FacingChangeSpans(app, oldSideList, static_cast<std::int64_t>(row));
    if (spans.empty()) continue;
    out.push_back(list[row].substr(0, 2) +
                  MarkedText(std::string(ListedText(list[row], app.options.Fscl)), spans, kListedTextColumn));
  }
  return out;
}

struct FacingCase {
  const char* name;
  const char* listType;
  std::vector<Pref> prefs;
  const char* newLines;  // '|' between lines
  const char* oldLines;
  std::vector<std::string> reportMarks, oldSideMarks;
};

class FacingChangesTest : public ::testing::TestWithParam<FacingCase>, public MemorySet<ReportGenerator> {};

TEST_P(FacingChangesTest, PairedChangeLinesShowWhatChangedInside) {
  const FacingCase& c = GetParam();
  app.choices.listType = c.listType;
  check(c.prefs);
  addPair("f", joinLines(split(c.newLines)), joinLines(split(c.oldLines)));
  run();
  EXPECT_EQ(markedRows(app, false), c.reportMarks);
  EXPECT_EQ(markedRows(app, true), c.oldSideMarks);
}

INSTANTIATE_TEST_SUITE_P(
    Listings, FacingChangesTest,
    ::testing::Values(
        // Runs of the same length alternate: each inserted line faces the deleted line after it.
        FacingCase{"LongEqualRuns",
                   "Long",
                   {},
                   "a|x = 1|y = 2|b",
                   "a|x = 3|y = 4|b",
                   {"I x = [1]", "D x = [3]", "I y = [2]", "D y = [4]"},
                   {}},
        // An insert run longer than the delete run after it: only the first lines face deleted ones. A line
        // with nothing in common with the line it faces is not marked.
        FacingCase{"ChngLongerInsertRun",
                   "Chng",
                   {},
                   "a|p q 1|alpha|extra|b",
                   "a|p q 2|omega|b",
                   {"I p q [1]", "D p q [2]"},
                   {}},
        FacingCase{"DeltaEqualRuns", "Delta", {}, "a|k: v1|b", "a|k: v2|b", {"I k: [v1]", "D k: [v2]"}, {}},
        // Side by side: the deleted line is on the Old-side list.
        FacingCase{
            "SideBySide", "Long", {Pref::Sbsl}, "a|k: v1|b", "a|k: v2|b", {"I k: [v1]"}, {"D k: [v2]"}},
        // A reformatted line faces its Old line only when that is listed.
        FacingCase{"ReformatWithOldLine",
                   "Long",
                   {Pref::Icas, Pref::Lorl},
                   "f|A BC d|l",
                   "f|abc d|l",
                   {"RN[A BC] d", "RO[abc] d"},
                   {}},
        FacingCase{"ReformatAlone", "Long", {Pref::Icas}, "f|A BC d|l", "f|abc d|l", {}, {}},
        // Moved lines were not replaced: they face nothing.
        FacingCase{"MovedLines", "Long", {Pref::Fmvl}, "m x|a|b|c", "a|b|c|m y", {}, {}}),
    [](const ::testing::TestParamInfo<FacingCase>& info) { return std::string(info.param.name); });

// The command line writes lines out in batches as they are made: the rows of a facing group stay in the
// list until the group is complete, so a sink can mark every one of them.
TEST(FacingChangesSpillTest, ASinkSeesBothRowsOfEveryFacingPair) {
  MemorySet<ReportGenerator> set;
  set.app.choices.listType = "Long";
  set.addPair("f", joinLines(numbered("line x", 1, 6000)), joinLines(numbered("line y", 1, 5000)));
  int marked = 0;
  set.app.reportLines.spillTo([&](std::size_t index, const std::string&) {
    if (!FacingChangeSpans(set.app, false, static_cast<std::int64_t>(index)).empty()) ++marked;
  });
  set.run();
  set.app.reportLines.flush();
  EXPECT_EQ(marked, 2 * 5000);
}

}  // namespace
}  // namespace kelvarine
