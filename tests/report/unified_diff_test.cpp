// The unified diff of small compare sets: hunks as diff -u writes them, filtered changes as context, and
// context carried across chunks. Moved and reformatted lines go through patch in the round-trip script.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "engine/compare_context.h"
#include "report/unified_diff.h"
#include "support/memory_set.h"

namespace kelvarine {
namespace {

// The diff step with its output kept as text ("\n" after each line).
struct CapturedDiff : ReportStep, DiffOutput {
  void line(DiffLineKind /*kind*/, std::string_view text) override { (this->text += text) += '\n'; }
  void GenerateReport(CompareContext& context) override {
    if (!diff) diff = std::make_unique<UnifiedDiff>(context.app, *this, options);
    diff->GenerateReport(context);
  }
  UnifiedDiffOptions options;
  std::unique_ptr<UnifiedDiff> diff;
  std::string text;
};

// `lines` with line `number` (1-based) replaced by `text`.
std::vector<std::string> with(std::vector<std::string> lines, int number, const std::string& text) {
  lines[static_cast<std::size_t>(number - 1)] = text;
  return lines;
}

struct DiffCase {
  std::string name;
  std::vector<std::string> newLines, oldLines;
  std::vector<Pref> prefs;
  int context;
  std::string hunks;  // the output after the two file header lines, lines separated by '|'
  int dpIndex = -1;   // the Dp option chosen
  friend void PrintTo(const DiffCase& c, std::ostream* os) { *os << c.name; }
};

class UnifiedDiffTest : public ::testing::TestWithParam<DiffCase> {};

TEST_P(UnifiedDiffTest, WritesTheHunks) {
  const DiffCase& c = GetParam();
  MemorySet<CapturedDiff> set;
  set.addPair("f", joinLines(c.newLines), joinLines(c.oldLines));
  set.check(c.prefs);
  set.app.choices.dpIndex = c.dpIndex;
  set.report.options.context = c.context;
  set.run();
  const std::size_t body = set.report.text.find("\n@@");
  EXPECT_EQ(body == std::string::npos ? "" : set.report.text.substr(body + 1), joinLines(split(c.hunks)));
}

DiffCase row(std::string name, std::vector<std::string> newLines, std::vector<std::string> oldLines,
             std::string hunks, std::vector<Pref> prefs = {}, int context = 3, int dpIndex = -1) {
  return {
      std::move(name), std::move(newLines), std::move(oldLines), std::move(prefs), context, std::move(hunks),
      dpIndex};
}

const std::vector<std::string> kFifteen = numbered("", 1, 15);
const std::vector<std::string> kChunks = numbered("", 1, 8010);

INSTANTIATE_TEST_SUITE_P(
    Cases, UnifiedDiffTest,
    ::testing::Values(
        row("HunksMergeWhenContextMeets", with(with(kFifteen, 3, "three"), 9, "nine"), kFifteen,
            "@@ -1,12 +1,12 @@| 1| 2|-3|+three| 4| 5| 6| 7| 8|-9|+nine| 10| 11| 12"),
        row("HunksSplitWhenContextIsLonger", with(with(kFifteen, 3, "three"), 11, "eleven"), kFifteen,
            "@@ -1,6 +1,6 @@| 1| 2|-3|+three| 4| 5| 6|@@ -8,7 +8,7 @@| 8| 9| 10|-11|+eleven| 12| 13| 14"),
        row("CaseFoldedChangeIsContext", split("alpha|beta|Gamma|new"), split("Alpha|beta|gamma"),
            "@@ -1,3 +1,4 @@| Alpha| beta| gamma|+new", {Pref::Icas}),
        row("ReformattedLineWithRovrIsContext", split("a|x  =  1|c|d"), split("a|x = 1|c"),
            "@@ -1,3 +1,4 @@| a| x = 1| c|+d", {Pref::Rovr}),
        row("UnchangedDpLinesAroundAChangeAreContext", split("int a;|// note|int c;|// end"),
            split("int a;|// note|int b;|// end"), "@@ -1,4 +1,4 @@| int a;| // note|-int b;|+int c;| // end",
            {}, 3, 6),
        row("ChangeAcrossAChunkBoundary", with(with(kChunks, 7999, "x7999"), 8000, "x8000"), kChunks,
            "@@ -7996,8 +7996,8 @@| 7996| 7997| 7998|-7999|-8000|+x7999|+x8000| 8001| 8002| 8003")),
    [](const ::testing::TestParamInfo<DiffCase>& info) { return info.param.name; });

// Lines 1..7 alternate context and changed lines; with at most two runs a hunk ends at a context line.
TEST(HunkBuilderTest, AHunkOfTooManyRunsEndsAtAContextLine) {
  std::vector<std::string> headers;
  HunkBuilder hunks(
      3, [&](const Hunk& hunk) { headers.push_back(HunkHeaderText(hunk)); }, 2);
  for (int line = 1; line <= 7; ++line)
    line % 2 == 1 ? hunks.contextLine(line, line + 1) : hunks.change(line, line + 1, 1, line, line + 1, 1);
  hunks.finish();
  EXPECT_EQ(headers, (std::vector<std::string>{"@@ -1,3 +1,3 @@", "@@ -4,4 +4,4 @@"}));
}

TEST(UnifiedDiffHeader, OldFirstWithNanosecondLocalTimes) {
  setenv("TZ", "UTC", 1);
  tzset();
  MemorySet<CapturedDiff> set;
  set.addPair("f", "b\n", "a\n", 1'700'000'000'000'000'007, 5);
  set.run();
  EXPECT_EQ(set.report.text,
            "--- old/f\t1970-01-01 00:00:00.000000005 +0000\n"
            "+++ new/f\t2023-11-14 22:13:20.000000007 +0000\n"
            "@@ -1 +1 @@\n-a\n+b\n");
}

}  // namespace
}  // namespace kelvarine
