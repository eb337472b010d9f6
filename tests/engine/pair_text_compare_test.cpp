#include "engine/pair_text_compare.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/compare_run.h"
#include "engine/run_status.h"
#include "support/memory_file_system.h"
#include "support/recording_host.h"
#include "support/recording_report.h"

namespace kelvarine {
namespace {

std::string numberedLines(int count, const std::string& prefix = "line ") {
  std::string s;
  for (int i = 1; i <= count; ++i)
    s += prefix + std::to_string(i) + "\n";
  return s;
}

using Sizes = std::vector<std::size_t>;

// Text pairs run through the whole compare set, with a report step that records each chunk.
struct TextRun {
  std::shared_ptr<MemoryFileSystem::File> addPair(const std::string& name, const std::string& newContent,
                                                  const std::string& oldContent) {
    app.NewDirName = "New";
    app.OldDirName = "Old";
    fs.add("Old/" + name, oldContent, 2);
    app.NewFileList.push_back(name);
    app.OldFileList.push_back(name);
    return fs.add("New/" + name, newContent, 1);
  }
  std::string run() { return CompareSet(app, host, fs, report); }
  Sizes chunkSizes(bool newSide) const {
    Sizes v;
    for (const auto& c : report.calls)
      v.push_back(newSide ? c.newNumbers.size() : c.oldNumbers.size());
    return v;
  }

  MemoryFileSystem fs;
  RecordingHost host;
  AppState app;
  RecordingReport report;
};

class PairTextCompareTest : public ::testing::Test, public TextRun {};

TEST_F(PairTextCompareTest, OnlyDifferingFilesAreMatchedAndEachStepShowsItsStatus) {
  addPair("Same.TXT", "a\nb\nc\n", "a\nb\nc\n");
  addPair("Dir/B.txt", "x\ny\nz\n", "x\nz\n");
  EXPECT_EQ(run(), kRunDifferent);
  std::vector<std::string> shown;  // the texts of the chunk loop; the stages it calls show their own
  for (const std::string& text : host.statusTexts)
    if (text.find("   NFile = ") != std::string::npos || text.rfind("Finding Matching Lines(", 0) == 0)
      shown.push_back(text);
  EXPECT_EQ(shown, (std::vector<std::string>{
                       "Generating Report   NFile = same.txt   OFile = same.txt",
                       "Processing Data   NFile = b.txt   OFile = b.txt",
                       "Finding Matching Lines(1) - Start Line = 1 UpTo Line = 3 .",
                       "Generating Report   NFile = b.txt   OFile = b.txt",
                   }));
  ASSERT_EQ(report.calls.size(), 2u);
  EXPECT_EQ(report.calls[1].newMatched, (std::vector<bool>{true, false, true}));
}

TEST_F(PairTextCompareTest, DpOptionForcesMatchingExceptDcob) {
  for (const auto& [dp, matched] : {std::pair{"Dsem", true}, {"Dcob", false}, {"Dblk", true}}) {
    TextRun t;
    ApplyOptionsString(t.app.choices, dp);
    t.addPair("a.txt", "a\nb\n", "a\nb\n");
    t.run();
    EXPECT_EQ(!t.host.eventsStartingWith("status: Processing Data").empty(), matched) << dp;
  }
}

TEST_F(PairTextCompareTest, LongFilesAreComparedInChunks) {
  const char* const secondOf20000 =
      "status: Finding Matching Lines(0) - Start Line = 8000 UpTo Line = 15998 .";
  const struct {
    int newLines, oldLines;
    bool fmvl;
    Sizes newChunks, oldChunks;
    int longestNew, longestOld;
    std::string secondMatching;
  } cases[] = {
      {20000, 5, true, {7999, 7999, 4002}, {5, 0, 0}, 10, 7, secondOf20000},
      {9000, 9000, false, {7999, 1001}, {7999, 1001}, 9, 9, ""},  // equal: never matched
  };
  for (const auto& c : cases) {
    TextRun t;
    t.addPair("big.txt", numberedLines(c.newLines), numberedLines(c.oldLines, c.fmvl ? "other " : "line "));
    t.app.choices.setChecked(Pref::Fmvl, c.fmvl);
    int withText = 0;  // chunks whose text the report step still sees
    t.report.onCall = [&](CompareContext& ctx) { withText += ctx.newTable[1].Text != nullptr ? 1 : 0; };
    t.run();
    EXPECT_EQ(withText, static_cast<int>(c.newChunks.size()));
    EXPECT_EQ(t.chunkSizes(true), c.newChunks);
    EXPECT_EQ(t.chunkSizes(false), c.oldChunks);
    for (std::size_t i = 0; i < t.report.calls.size(); ++i)
      EXPECT_EQ(t.report.calls[i].allRead, i + 1 == t.report.calls.size());
    // Only chunks reported before the end under Fmvl may have missed moved lines.
    EXPECT_EQ(t.app.pair.MovedSubOptimal, c.fmvl);
    EXPECT_EQ(t.app.options.LongestNewLine, c.longestNew);
    EXPECT_EQ(t.app.options.LongestOldLine, c.longestOld);
    const auto matching = t.host.eventsStartingWith("status: Finding");
    EXPECT_EQ(matching.size(), c.secondMatching.empty() ? 0u : c.newChunks.size());
    EXPECT_EQ(matching.size() > 1 ? matching[1] : "", c.secondMatching);
  }
}

TEST_F(PairTextCompareTest, FilesChangingBetweenChunksAreComparedAsRead) {
  const struct {
    const char* name;
    // Both files are rewritten after the first chunk (12000 equal lines each) was reported.
    int newLinesAfter;
    const char* newPrefix;  // same length as "line ", so the kept positions stay at line starts
    int oldLinesAfter;
    Sizes newChunks, oldChunks;
  } cases[] = {
      {"NewShrinks", 9000, "line ", 12000, {7999, 1001}, {7999, 4001}},
      {"NewShrinksBelowTheChunk", 100, "line ", 12000, {7999, 0}, {7999, 4001}},
      {"OldGrows", 12000, "LINE ", 20000, {7999, 4001, 0}, {7999, 7999, 4002}},
      {"BothEmptied", 0, "line ", 0, {7999, 0}, {7999, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TextRun t;
    auto newFile = t.addPair("a.txt", numberedLines(12000), numberedLines(12000));
    auto oldFile = t.fs.find("Old/a.txt");
    t.report.onCall = [&](CompareContext&) {
      if (t.report.calls.size() > 1) return;
      newFile->content = numberedLines(c.newLinesAfter, c.newPrefix);
      oldFile->content = numberedLines(c.oldLinesAfter);
    };
    t.run();
    EXPECT_EQ(t.chunkSizes(true), c.newChunks);
    EXPECT_EQ(t.chunkSizes(false), c.oldChunks);
    ASSERT_GE(t.report.calls.size(), 2u);
    EXPECT_TRUE(t.report.calls.back().allRead);
    if (!t.report.calls[1].oldNumbers.empty()) {
      EXPECT_EQ(t.report.calls[1].oldNumbers.front(), 8000);
    }
  }
}

TEST_F(PairTextCompareTest, ProgressOfASinglePairNeverPassesHundred) {
  addPair("tiny.txt", "a\nb", "a\nc");
  run();
  EXPECT_EQ(host.progressPositions, (std::vector<int>{0, 100}));
  EXPECT_EQ(host.eventsStartingWith("percent: ").back(), "percent: 100%");
}

TEST_F(PairTextCompareTest, BigNewFileAdvancesTheBarAfterEachChunkInAnySet) {
  std::string big;
  for (int i = 0; i < 20000; ++i)
    big += std::string(99, 'w') + "\n";  // 2,000,000 bytes
  addPair("big.txt", big, big);
  addPair("small.txt", "a\n", "b\n");
  run();
  // The set's bar at each pair; for big.txt after each chunk too: (FilePos + 1) * 100 div size.
  EXPECT_EQ(host.progressPositions, (std::vector<int>{0, 39, 79, 100, 50}));
}

TEST_F(PairTextCompareTest, HaltStopsBeforeTheLoadedChunkIsReported) {
  addPair("a.txt", numberedLines(3000), numberedLines(3000, "x"));
  host.onProcessEvents = [this] {
    if (host.processEventsCalls >= 2) app.StopRequested = true;  // inside the chunk loader
  };
  EXPECT_EQ(run(), kRunHalted);
  EXPECT_TRUE(report.calls.empty());
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
