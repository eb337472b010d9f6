#include "engine/pair_text_compare.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <numeric>
#include <string>

#include "engine/compare_run.h"
#include "engine/run_status.h"
#include "support/memory_file_system.h"
#include "support/recording_host.h"
#include "support/recording_report.h"

namespace kelvarine {
namespace {

std::string numberedLines(int from, int to, const std::string& prefix = "line ") {
  std::string s;
  for (int i = from; i <= to; ++i)
    s += prefix + std::to_string(i) + "\n";
  return s;
}

std::vector<int> range(int from, int to) {
  std::vector<int> v(static_cast<std::size_t>(std::max(0, to - from + 1)));
  std::iota(v.begin(), v.end(), from);
  return v;
}

// Text pairs run through the whole compare set, with a report step that records each chunk.
struct TextRun {
  TextRun() {
    app.NewDirName = "New";
    app.OldDirName = "Old";
  }
  std::shared_ptr<MemoryFileSystem::File> addPair(const std::string& name, const std::string& newContent,
                                                  const std::string& oldContent) {
    fs.add("Old/" + name, oldContent, 2);
    app.NewFileList.push_back(name);
    app.OldFileList.push_back(name);
    return fs.add("New/" + name, newContent, 1);
  }
  std::string run() { return CompareSet(app, host, fs, report); }
  // The status texts of the chunk loop (the stages it calls show their own as well).
  std::vector<std::string> loopStatus() const {
    std::vector<std::string> v;
    for (const auto& t : host.statusTexts)
      if (t.rfind("Processing Data   ", 0) == 0 || t.rfind("Finding Matching Lines(", 0) == 0 ||
          t.rfind("Generating Report   ", 0) == 0)
        v.push_back(t);
    return v;
  }
  std::vector<std::size_t> chunkSizes(bool newSide) const {
    std::vector<std::size_t> v;
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

TEST_F(PairTextCompareTest, IdenticalFilesAreNotMatched) {
  addPair("Same.TXT", "a\nb\nc\n", "a\nb\nc\n");
  EXPECT_EQ(run(), kRunEqual);
  EXPECT_EQ(loopStatus(),
            std::vector<std::string>{"Generating Report   NFile = same.txt   OFile = same.txt"});
  ASSERT_EQ(report.calls.size(), 1u);
  EXPECT_TRUE(report.calls[0].allRead);
  EXPECT_FALSE(report.calls[0].filesDiffer);
  EXPECT_EQ(report.calls[0].newNumbers, range(1, 3));
}

TEST_F(PairTextCompareTest, DifferingFilesShowTheThreeStatusTextsAndAreMatched) {
  addPair("a.txt", "x\ny\nz\n", "x\nz\n");
  addPair("B.txt", "p\nq\nr\ns\n", "p\nr\n");
  run();
  EXPECT_EQ(loopStatus(), (std::vector<std::string>{
                              "Processing Data   NFile = a.txt   OFile = a.txt",
                              "Finding Matching Lines(0) - Start Line = 1 UpTo Line = 3 .",
                              "Generating Report   NFile = a.txt   OFile = a.txt",
                              "Processing Data   NFile = b.txt   OFile = b.txt",
                              "Finding Matching Lines(1) - Start Line = 1 UpTo Line = 4 .",
                              "Generating Report   NFile = b.txt   OFile = b.txt",
                          }));
  ASSERT_EQ(report.calls.size(), 2u);
  EXPECT_EQ(report.calls[0].newMatched, (std::vector<bool>{true, false, true}));
  EXPECT_EQ(report.calls[0].newLink[0], 1);
  EXPECT_EQ(report.calls[0].newLink[2], 2);
  EXPECT_EQ(report.calls[1].newMatched, (std::vector<bool>{true, false, true, false}));
}

TEST_F(PairTextCompareTest, DpOptionForcesMatchingExceptDcob) {
  struct Case {
    const char* dp;
    bool matched;
  };
  for (const Case& c : {Case{"Dsem", true}, Case{"Dcob", false}, Case{"Dblk", true}}) {
    TextRun t;
    const auto it = std::find_if(kDpOptionNames.begin(), kDpOptionNames.end(),
                                 [&](const char* n) { return std::string(n) == c.dp; });
    ASSERT_NE(it, kDpOptionNames.end());
    t.app.choices.dpIndex = static_cast<int>(it - kDpOptionNames.begin());
    t.addPair("a.txt", "a\nb\n", "a\nb\n");
    t.run();
    EXPECT_EQ(!t.host.eventsStartingWith("status: Processing Data").empty(), c.matched) << c.dp;
    EXPECT_EQ(t.report.calls.size(), 1u);
  }
}

TEST_F(PairTextCompareTest, LongNewFileAgainstShortOldOneIsReadInThreeChunks) {
  addPair("big.txt", numberedLines(1, 20000), numberedLines(1, 5, "other "));
  app.choices.setChecked(Pref::Fmvl, true);
  EXPECT_EQ(run(), kRunDifferent);
  ASSERT_EQ(report.calls.size(), 3u);
  EXPECT_EQ(chunkSizes(true), (std::vector<std::size_t>{7999, 7999, 4002}));
  EXPECT_EQ(chunkSizes(false), (std::vector<std::size_t>{5, 0, 0}));
  EXPECT_EQ(report.calls[0].newNumbers, range(1, 7999));
  EXPECT_EQ(report.calls[1].newNumbers, range(8000, 15998));
  EXPECT_EQ(report.calls[2].newNumbers, range(15999, 20000));
  EXPECT_EQ(report.calls[0].oldNumbers, range(1, 5));
  EXPECT_FALSE(report.calls[1].allRead);
  EXPECT_TRUE(report.calls[2].allRead);
  for (const auto& c : report.calls)
    for (bool m : c.newMatched)
      EXPECT_FALSE(m);
  EXPECT_TRUE(app.pair.MovedSubOptimal);
  EXPECT_EQ(
      host.eventsStartingWith("status: Finding Matching Lines(0) - Start Line = 8000 UpTo Line = 15998 .")
          .size(),
      1u);
  EXPECT_EQ(app.options.LongestNewLine, 10);  // "line 20000"
  EXPECT_EQ(app.options.LongestOldLine, 7);
}

TEST_F(PairTextCompareTest, SeveralChunksWithoutFmvlAreNotSubOptimal) {
  addPair("big.txt", numberedLines(1, 9000), numberedLines(1, 9000));
  EXPECT_EQ(run(), kRunEqual);
  EXPECT_EQ(chunkSizes(true), (std::vector<std::size_t>{7999, 1001}));
  EXPECT_EQ(report.calls[1].oldNumbers, range(8000, 9000));
  EXPECT_FALSE(app.pair.MovedSubOptimal);
  EXPECT_TRUE(host.eventsStartingWith("status: Processing").empty());
}

TEST_F(PairTextCompareTest, FilesChangingBetweenChunksAreComparedAsRead) {
  struct Case {
    const char* name;
    // Both files are rewritten after the first chunk (12000 equal lines each) was reported.
    int newLinesAfter;
    const char* newPrefix;  // same length as "line ", so the kept positions stay at line starts
    int oldLinesAfter;
    std::vector<std::size_t> newChunks, oldChunks;
  };
  const Case cases[] = {
      {"NewShrinks", 9000, "line ", 12000, {7999, 1001}, {7999, 4001}},
      {"NewShrinksBelowTheChunk", 100, "line ", 12000, {7999, 0}, {7999, 4001}},
      {"OldGrows", 12000, "LINE ", 20000, {7999, 4001, 0}, {7999, 7999, 4002}},
      {"BothEmptied", 0, "line ", 0, {7999, 0}, {7999, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TextRun t;
    auto newFile = t.addPair("a.txt", numberedLines(1, 12000), numberedLines(1, 12000));
    auto oldFile = t.fs.find("Old/a.txt");
    bool changed = false;
    t.report.onCall = [&](CompareContext&) {
      if (changed) return;
      changed = true;
      newFile->content = numberedLines(1, c.newLinesAfter, c.newPrefix);
      oldFile->content = numberedLines(1, c.oldLinesAfter);
    };
    t.run();
    EXPECT_EQ(t.chunkSizes(true), c.newChunks);
    EXPECT_EQ(t.chunkSizes(false), c.oldChunks);
    ASSERT_FALSE(t.report.calls.empty());
    EXPECT_TRUE(t.report.calls.back().allRead);
    if (t.report.calls.size() > 1 && !t.report.calls[1].oldNumbers.empty()) {
      EXPECT_EQ(t.report.calls[1].oldNumbers.front(), 8000);
    }
  }
}

TEST_F(PairTextCompareTest, ProgressOfASinglePairNeverPassesHundred) {
  addPair("tiny.txt", "a\nb", "a\nc");
  run();
  const auto& positions = host.progressPositions;
  ASSERT_FALSE(positions.empty());
  for (int p : positions)
    EXPECT_LE(p, 100);
  EXPECT_EQ(positions.back(), 100);
  EXPECT_EQ(host.eventsStartingWith("percent: ").back(), "percent: 100%");
}

TEST_F(PairTextCompareTest, BigNewFileAdvancesTheBarAfterEachChunkInAnySet) {
  const std::string line(99, 'w');
  std::string big;
  for (int i = 0; i < 20000; ++i)
    big += line + "\n";  // 2,000,000 bytes
  addPair("big.txt", big, big);
  addPair("small.txt", "a\n", "b\n");
  run();
  std::vector<int> fileBars;
  const auto& ev = host.events;
  for (std::size_t i = 0; i + 2 < ev.size(); ++i)
    if (ev[i].rfind("bar: ", 0) == 0 && ev[i + 2] == "title: File Progress")
      fileBars.push_back(std::stoi(ev[i].substr(5)));
  EXPECT_EQ(fileBars, (std::vector<int>{39, 79, 100}));  // (FilePos + 1) * 100 div 2000000
}

TEST_F(PairTextCompareTest, HaltStopsBeforeTheLoadedChunkIsReported) {
  addPair("a.txt", numberedLines(1, 3000), numberedLines(1, 3000, "x"));
  host.onProcessEvents = [this] {
    if (host.processEventsCalls >= 2) app.StopRequested = true;  // inside the chunk loader
  };
  EXPECT_EQ(run(), kRunHalted);
  EXPECT_TRUE(report.calls.empty());
}

TEST_F(PairTextCompareTest, FullReportStopsFurtherChunksButTheNextPairIsCompared) {
  addPair("a.txt", numberedLines(1, 20000), numberedLines(1, 20000));
  addPair("b.txt", "x\n", "y\n");
  report.onCall = [](CompareContext& c) {
    if (c.app.CurrentPairIndex == 0) {
      c.options().ReportNoteSet = true;
      c.options().ReportNote = "StringList Limit. Report Line = 1";
    }
  };
  run();
  ASSERT_EQ(report.calls.size(), 2u);
  EXPECT_EQ(report.calls[0].pair, 0);
  EXPECT_EQ(report.calls[1].pair, 1);  // a new text pair clears the note
  EXPECT_EQ(app.reportLines.back(), kRunDifferent);
}

TEST(PairTextCompareDirectTest, ReleasesChunkTextAndResumesBehindTheKeptLines) {
  MemoryFileSystem fs;
  RecordingHost host;
  AppState app;
  RecordingReport report;
  fs.add("n.txt", numberedLines(1, 9000));
  fs.add("o.txt", numberedLines(1, 9000, "o"));
  auto ctx = std::make_unique<CompareContext>(app, host, fs, report);
  app.PairCount = 2;
  for (auto [in, name] : {std::pair{&ctx->newInput, "n.txt"}, std::pair{&ctx->oldInput, "o.txt"}}) {
    in->FileName = name;
    in->Stream = fs.openForReading(name);
    in->FileSize = in->Stream->size();
    in->ReadBuf.assign(TextInput::kReadBlock, 0);
    in->LineBuf.assign(TextInput::kMaxLineLen, 0);
  }
  ctx->newInput.FileSizeKept = ctx->newInput.FileSize;
  std::vector<bool> textSeen;
  report.onCall = [&](CompareContext& c) { textSeen.push_back(c.newTable[1].Text != nullptr); };

  CompareTextPair(*ctx);

  EXPECT_EQ(textSeen, (std::vector<bool>{true, true}));
  for (int i = 1; i <= LineTable::kMaxLines; ++i) {
    ASSERT_EQ(ctx->newTable[i].Text, nullptr) << i;
    ASSERT_EQ(ctx->oldTable[i].Text, nullptr) << i;
  }
  EXPECT_EQ(ctx->newInput.LinesDone, 9000);
  EXPECT_EQ(ctx->oldInput.LinesDone, 9000);
  EXPECT_EQ(ctx->newInput.FilePos, ctx->newInput.FileSize);
  EXPECT_EQ(ctx->oldInput.FilePos, ctx->oldInput.FileSize);
  EXPECT_TRUE(app.pair.AllRead);
  EXPECT_TRUE(app.pair.FilesDiffer);
}

TEST(PairTextCompareDirectTest, StartClearsTheReportFlagsOfThePreviousPair) {
  MemoryFileSystem fs;
  RecordingHost host;
  AppState app;
  RecordingReport report;
  fs.add("n.txt", "a\n");
  fs.add("o.txt", "a\n");
  CompareContext ctx(app, host, fs, report);
  app.PairCount = 1;
  for (auto [in, name] : {std::pair{&ctx.newInput, "n.txt"}, std::pair{&ctx.oldInput, "o.txt"}}) {
    in->FileName = name;
    in->Stream = fs.openForReading(name);
    in->ReadBuf.assign(TextInput::kReadBlock, 0);
    in->LineBuf.assign(TextInput::kMaxLineLen, 0);
  }
  app.options.PairHeaderArmed = true;
  app.options.PairHeaderPending = true;
  app.options.ReportNoteSet = true;
  app.pair.AllRead = true;  // as the pair setup leaves it
  std::vector<bool> flags;
  report.onCall = [&](CompareContext& c) {
    flags = {c.options().PairHeaderArmed, c.options().PairHeaderPending, c.options().ReportNoteSet};
  };
  CompareTextPair(ctx);
  ASSERT_EQ(report.calls.size(), 1u);
  EXPECT_EQ(flags, (std::vector<bool>{false, false, false}));
}

}  // namespace
}  // namespace kelvarine
