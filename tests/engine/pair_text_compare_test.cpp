#include "engine/pair_text_compare.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <random>
#include <string>

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
  ASSERT_EQ(report.calls.size(), 2u);
  EXPECT_EQ(report.calls[1].newMatched, (std::vector<bool>{true, false, true}));
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
  const auto matching = host.eventsStartingWith("status: Finding");
  ASSERT_EQ(matching.size(), 3u);
  EXPECT_EQ(matching[1], "status: Finding Matching Lines(0) - Start Line = 8000 UpTo Line = 15998 .");
}

// Chunks of a long pair of short repeated lines are cut by the matcher, and the lines cut off start
// the next chunk with the keys made when they were first read: every record must still hold what
// reading its line afresh gives.
class ChunkRecordsTest : public ::testing::TestWithParam<const char*>, public TextRun {};

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

TEST_P(ChunkRecordsTest, EveryLineOfEveryChunkHoldsItsOwnLengthPositionAndKey) {
  std::vector<std::string> oldLines, newLines;
  shortRepeatedLines(newLines, oldLines);
  addPair("a.txt", joinLines(newLines), joinLines(oldLines));
  ApplyOptionsString(app.choices, GetParam());
  const bool icas = std::string(GetParam()) == "Icas";
  int carried = 0, checked = 0;
  const auto endsOf = [](const std::vector<std::string>& lines) {  // file position behind each line
    std::vector<std::int64_t> ends;
    std::int64_t end = 0;
    for (const std::string& line : lines)
      ends.push_back(end += static_cast<std::int64_t>(line.size()) + 1);
    return ends;
  };
  const std::vector<std::int64_t> newEnds = endsOf(newLines), oldEnds = endsOf(oldLines);
  const auto check = [&](const TextInput& input, LineTable& table, const std::vector<std::string>& lines,
                         const std::vector<std::int64_t>& ends) {
    carried += input.KeysMade;
    for (int i = 1; i <= input.Count; ++i) {
      const int at = input.LineBase + i - 1;
      std::string key;
      for (char c : lines[static_cast<std::size_t>(at)])
        if (c != ' ') key += icas && c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
      if (key.size() % 2 != 0 || key.empty()) key += '\0';
      const LineRecord& r = table[i];
      ASSERT_EQ(r.Len, std::max<int>(1, static_cast<int>(lines[static_cast<std::size_t>(at)].size()))) << at;
      ASSERT_EQ(r.EndPos, ends[static_cast<std::size_t>(at)]) << at;
      ASSERT_EQ(r.CmpLen, key.empty() || key == std::string(1, '\0') ? 1 : static_cast<int>(key.size()))
          << at;
      ASSERT_EQ(std::memcmp(r.Text, key.data(), static_cast<std::size_t>(r.CmpLen)), 0) << at;
      ASSERT_EQ(r.Hash, CompareTextHash(key.data(), r.CmpLen)) << at;
      ++checked;
    }
  };
  report.onCall = [&](CompareContext& c) {
    check(c.newInput, c.newTable, newLines, newEnds);
    check(c.oldInput, c.oldTable, oldLines, oldEnds);
  };
  run();
  EXPECT_EQ(checked, static_cast<int>(newLines.size() + oldLines.size()));
  EXPECT_GT(carried, 0);  // the cut-off lines were carried, not read again
}

INSTANTIATE_TEST_SUITE_P(Options, ChunkRecordsTest, ::testing::Values("None", "Icas"),
                         [](const auto& info) { return std::string(info.param); });

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
      {"NewShrinksBelowTheChunk", 100, 12000, "line ", {7999, 0}, {7999, 4001}},
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
    EXPECT_FALSE(t.app.pair.MovedSubOptimal);  // only under Fmvl
  }
}

TEST_F(PairTextCompareTest, ProgressBarFollowsPairsAndTheChunksOfABigNewFile) {
  addPair("tiny.txt", "a\nb", "a\nc");
  run();
  EXPECT_EQ(host.progressPositions, (std::vector<int>{0, 100}));  // a single pair never passes 100
  EXPECT_EQ(host.eventsStartingWith("percent: ").back(), "percent: 100%");
  TextRun t;
  std::string big;
  for (int i = 0; i < 20000; ++i)
    big += std::string(99, 'w') + "\n";  // 2,000,000 bytes
  t.addPair("big.txt", big, big);
  t.addPair("small.txt", "a\n", "b\n");
  t.run();
  // The set's bar at each pair; for big.txt after each chunk too: (FilePos + 1) * 100 div size.
  EXPECT_EQ(t.host.progressPositions, (std::vector<int>{0, 39, 79, 100, 50}));
}

TEST_F(PairTextCompareTest, ANewPairClearsTheReportNoteAndHeaderFlags) {
  addPair("a.txt", numberedLines(20000), numberedLines(20000));
  addPair("b.txt", "x\n", "y\n");
  std::vector<bool> flags;
  report.onCall = [&](CompareContext& c) {
    CompareOptions& o = c.options();
    flags.insert(flags.end(), {o.PairHeaderArmed, o.PairHeaderPending, o.ReportNoteSet});
    o.PairHeaderArmed = o.PairHeaderPending = o.ReportNoteSet = true;  // a full report: no more chunks
    o.ReportNote = "StringList Limit. Report Line = 1";
  };
  EXPECT_EQ(run(), "StringList Limit. Report Line = 1.");
  ASSERT_EQ(report.calls.size(), 2u);
  EXPECT_EQ(report.calls[1].pair, 1);
  EXPECT_EQ(flags, std::vector<bool>(6, false));
}

}  // namespace
}  // namespace kelvarine
