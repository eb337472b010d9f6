#include "engine/pair_text_compare.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <tuple>

#include "engine/compare_key.h"
#include "engine/compare_run.h"
#include "engine/run_status.h"
#include "support/memory_set.h"

namespace kelvarine {
namespace {

std::string numberedLines(int count, const std::string& prefix = "line ") {
  return joinLines(numbered(prefix, 1, count));
}

using Sizes = std::vector<std::size_t>;

// The lines of each reported chunk, New and Old.
std::pair<Sizes, Sizes> chunks(const RecordingReport& report) {
  std::pair<Sizes, Sizes> v;
  for (const auto& c : report.calls) {
    v.first.push_back(c.newNumbers.size());
    v.second.push_back(c.oldNumbers.size());
  }
  return v;
}

using TextRun = MemorySet<>;
class PairTextCompareTest : public ::testing::Test, public TextRun {};

// Dp options make even identical files go through matching, except Dcob.
TEST_F(PairTextCompareTest, OnlyDifferingFilesAreMatchedAndEachStepShowsItsStatus) {
  ApplyOptionsString(app.choices, "Dcob");
  addPair("Same.TXT", "a\nb\nc\n", "a\nb\nc\n");
  addPair("Dir/B.txt", "x\ny\nz\n", "x\nz\n");
  EXPECT_EQ(run(), kRunDifferent);
  std::vector<std::string> shown;  // the texts of the chunk loop; the stages it calls show their own
  for (const std::string& text : host.statusTexts)
    if (text.find("   NFile = ") != std::string::npos || text.rfind("Finding Matching Lines(", 0) == 0)
      shown.push_back(text);
  EXPECT_EQ(shown, (std::vector<std::string>{
                       "Generating Report   NFile = Same.TXT   OFile = Same.TXT",
                       "Processing Data   NFile = B.txt   OFile = B.txt",
                       "Finding Matching Lines(1) - Start Line = 1 UpTo Line = 3 .",
                       "Generating Report   NFile = B.txt   OFile = B.txt",
                   }));
  EXPECT_EQ(report.calls.size(), 2u);
}

TEST_F(PairTextCompareTest, LongFilesAreComparedInChunks) {
  addPair("big.txt", numberedLines(20000), numberedLines(5, "other "));
  app.choices.setChecked(Pref::Fmvl, true);
  std::vector<std::string> firstKeys;  // of each chunk's first New line: blanks squeezed out, NUL-padded
  report.onCall = [&](CompareContext& ctx) {
    const LineRecord& first = ctx.newTable[1];
    firstKeys.push_back(std::string(first.Text, static_cast<std::size_t>(first.CmpLen)).c_str());
  };
  run();
  EXPECT_EQ(firstKeys, (std::vector<std::string>{"line1", "line8000", "line15999"}));
  EXPECT_EQ(chunks(report), std::pair(Sizes{7999, 7999, 4002}, Sizes{5, 0, 0}));
  for (std::size_t i = 0; i < report.calls.size(); ++i)
    EXPECT_EQ(report.calls[i].allRead, i + 1 == report.calls.size());
  EXPECT_TRUE(app.pair.MovedSubOptimal);  // chunks reported before the end may have missed moved lines
  EXPECT_EQ(std::pair(app.options.LongestNewLine, app.options.LongestOldLine), std::pair(10, 7));
  // The bar after each chunk: (FilePos + 1) * 100 div size; a single pair ends at 100.
  EXPECT_EQ(host.progressPositions, (std::vector<int>{0, 37, 78, 100}));
  const auto matching = host.eventsStartingWith("status: Finding");
  ASSERT_EQ(matching.size(), 3u);
  EXPECT_EQ(matching[1], "status: Finding Matching Lines(0) - Start Line = 8000 UpTo Line = 15998 .");
}

// 20,000 short lines drawn from a few texts, and a copy with every 50th line changed and 20 lines
// inserted every 3,000: the shape on which the matcher cuts chunks short.
void shortRepeatedLines(std::vector<std::string>& newLines, std::vector<std::string>& oldLines) {
  const std::vector<std::string> pool = {"  Return X;",  "}", "", "  i++;", "  If (a) {", "    B = c;",
                                         "  Call(x, y);"};
  std::minstd_rand random(7);
  for (int i = 0; i < 20000; ++i) {
    oldLines.push_back(pool[random() % pool.size()]);
    newLines.push_back(i % 50 == 0 ? "  k = " + std::to_string(i) + ";" : oldLines.back());
    if (i % 3000 == 2999)
      for (const std::string& line : numbered("  Add ", 1, 20))
        newLines.push_back(line + ";");
  }
}

// The lines the matcher cuts off one chunk start the next with the keys made when they were first
// read: every record must still hold what reading its line afresh gives.
TEST_F(PairTextCompareTest, EveryLineOfEveryChunkHoldsItsOwnLengthPositionAndKey) {
  std::vector<std::string> oldLines, newLines;
  shortRepeatedLines(newLines, oldLines);
  addPair("a.txt", joinLines(newLines), joinLines(oldLines));
  check({Pref::Icas});
  int carried = 0, checked = 0;
  LineTable fresh;
  const auto verify = [&](const TextInput& input, LineTable& table, const std::vector<std::string>& lines) {
    carried += input.KeysMade;
    std::int64_t end = 0;  // the file position behind each line
    for (int k = 0; k < input.LineBase; ++k)
      end += static_cast<std::int64_t>(lines[static_cast<std::size_t>(k)].size()) + 1;
    for (int i = 1; i <= input.Count; ++i) {
      const std::string& line = lines[static_cast<std::size_t>(input.LineBase + i - 1)];
      const std::string stored = line.empty() ? " " : line;  // as the reader stores it
      fresh.setText(1, stored.data(), static_cast<int>(stored.size()));
      fresh[1].Len = static_cast<int>(stored.size());
      PrepareCompareKey(fresh[1], true, false);
      const LineRecord& r = table[i];
      end += static_cast<std::int64_t>(line.size()) + 1;
      ASSERT_EQ(std::tuple(r.Len, r.EndPos, r.CmpLen, r.Hash),
                std::tuple(fresh[1].Len, end, fresh[1].CmpLen, fresh[1].Hash))
          << input.LineBase + i;
      ASSERT_EQ(std::memcmp(r.Text, fresh[1].Text, static_cast<std::size_t>(r.CmpLen)), 0)
          << input.LineBase + i;
      ++checked;
    }
  };
  report.onCall = [&](CompareContext& c) {
    verify(c.newInput, c.newTable, newLines);
    verify(c.oldInput, c.oldTable, oldLines);
  };
  run();
  EXPECT_EQ(checked, static_cast<int>(newLines.size() + oldLines.size()));
  EXPECT_GT(carried, 0);  // the cut-off lines were carried, not read again
}

// A line the matcher cuts off one chunk comes again with the next: it is still one line shorter than
// the first compare column, however often it is read.
TEST_F(PairTextCompareTest, CcolShortLinesAreCountedOnceEach) {
  std::vector<std::string> oldLines, newLines;
  shortRepeatedLines(newLines, oldLines);
  addPair("a.txt", joinLines(newLines), joinLines(oldLines));
  app.choices.setChecked(Pref::Ccol, true);
  app.choices.ccolNew1 = app.choices.ccolOld1 = "3:eol";
  std::pair<std::int32_t, std::int32_t> counted;
  report.onCall = [&](CompareContext& c) {
    counted = {c.pair().NewCcolShortLines, c.pair().OldCcolShortLines};
  };
  run();
  const auto shortLines = [](const std::vector<std::string>& lines) {
    return static_cast<std::int32_t>(
        std::count_if(lines.begin(), lines.end(), [](const std::string& line) { return line.size() < 3; }));
  };
  ASSERT_GT(report.calls.size(), 3u);
  EXPECT_EQ(counted, std::pair(shortLines(newLines), shortLines(oldLines)));
}

TEST_F(PairTextCompareTest, FilesChangingBetweenChunksAreComparedAsRead) {
  // Both files are rewritten after the first chunk (12000 equal lines each) was reported.
  const struct {
    const char* name;
    int newLinesAfter, oldLinesAfter;
    const char* newPrefix;  // same length as "line ", so the kept positions stay at line starts
    Sizes newChunks, oldChunks;
  } cases[] = {
      {"NewShrinks", 9000, 12000, "line ", {7999, 1001}, {7999, 4001}},
      {"OldGrows", 12000, 20000, "LINE ", {7999, 4001, 0}, {7999, 7999, 4002}},
      {"BothEmptied", 0, 0, "line ", {7999, 0}, {7999, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TextRun t;
    auto newFile = t.addPair("a.txt", numberedLines(12000), numberedLines(12000));
    auto oldFile = t.fs.find("old/a.txt");
    t.report.onCall = [&](CompareContext&) {
      if (t.report.calls.size() > 1) return;
      newFile->content = numberedLines(c.newLinesAfter, c.newPrefix);
      oldFile->content = numberedLines(c.oldLinesAfter);
    };
    t.run();
    ASSERT_EQ(chunks(t.report), std::pair(c.newChunks, c.oldChunks));
    EXPECT_TRUE(t.report.calls.back().allRead);
    EXPECT_TRUE(t.report.calls[1].oldNumbers.empty() || t.report.calls[1].oldNumbers.front() == 8000);
  }
}

}  // namespace
}  // namespace kelvarine
