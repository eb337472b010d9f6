#include "engine/binary_compare.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "support/memory_file_system.h"
#include "support/recording_host.h"
#include "support/recording_report.h"

namespace kelvarine {
namespace {

// One binary pair, the last of `pairCount`, set up by hand as the pair setup leaves it.
struct BinaryRun {
  BinaryRun(const std::string& newContent, const std::string& oldContent, int pairCount = 2)
      : newFile(fs.add("dir/A.BIN", newContent)), oldFile(fs.add("old/a.bin", oldContent)) {
    app.PairCount = pairCount;
    app.CurrentPairIndex = pairCount - 1;
    for (auto [in, name] : {std::pair{&ctx->newInput, "dir/A.BIN"}, std::pair{&ctx->oldInput, "old/a.bin"}}) {
      in->FileName = name;
      in->Stream = fs.openForReading(in->FileName);
      in->FileSize = in->Stream->size();
    }
    ctx->newInput.FileSizeKept = ctx->newInput.FileSize;
    app.pair.Binary = true;
  }

  MemoryFileSystem fs;
  RecordingHost host;
  AppState app;
  RecordingReport report;
  std::unique_ptr<CompareContext> ctx = std::make_unique<CompareContext>(app, host, fs, report);
  std::shared_ptr<MemoryFileSystem::File> newFile, oldFile;
};

TEST(BinaryCompareTest, ComparesBlockByBlockUpToTheFirstDifference) {
  const char* const at131072 = "Binary Read \"a.bin\" File-Pair(1) File-Offset(131072)";
  const struct {
    const char* name;
    std::string newContent, oldContent;
    bool differ;
    std::int64_t bytesRead;  // of either file
    const char* status;
  } cases[] = {
      {"TwoEmptyFiles", "", "", false, 0, nullptr},
      {"DifferentSizes", "abc", "abcd", true, 0, nullptr},
      // Six full blocks and one of 1696 bytes; the eighth read, of nothing, is at offset 131072.
      {"Identical100000", std::string(100000, 'x'), std::string(100000, 'x'), false, 100000, at131072},
      {"LastByte", std::string(199999, 'z') + "a", std::string(199999, 'z') + "b", true, 200000, at131072},
      {"FirstByte", "a" + std::string(99999, 'q'), "b" + std::string(99999, 'q'), true, 16384, nullptr},
      {"ExactlyOneBlock", std::string(16384, 'k'), std::string(16384, 'k'), false, 16384, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    BinaryRun r(c.newContent, c.oldContent);
    CompareBinaryPair(*r.ctx);
    EXPECT_EQ(r.app.pair.FilesDiffer, c.differ);
    EXPECT_EQ(r.app.pair.ReturnCode, c.differ ? 1 : 0);
    EXPECT_TRUE(r.app.pair.AllRead);
    EXPECT_EQ(r.app.pair.NewBinBytes, static_cast<std::int64_t>(c.newContent.size()));
    EXPECT_EQ(r.app.pair.OldBinBytes, static_cast<std::int64_t>(c.oldContent.size()));
    EXPECT_EQ(r.newFile->bytesRead, c.bytesRead);
    EXPECT_EQ(r.oldFile->bytesRead, c.bytesRead);
    EXPECT_EQ(r.host.statusTexts, c.status ? std::vector<std::string>{c.status} : std::vector<std::string>{});
    EXPECT_TRUE(r.host.progressPositions.empty());  // small files in a set of two: no progress
  }
}

TEST(BinaryCompareTest, ProgressFollowsTheBytesReadAndStopsAt100) {
  const struct {
    std::size_t size, grownBy;
    int pairs;
    std::size_t positions;
    int first;
    std::size_t statusTexts;
  } cases[] = {
      {40000, 0, 1, 3, 40, 0},      // a single pair shows progress whatever its size
      {500000, 0, 3, 31, 3, 4},     // a file above 400000 bytes shows it in any set
      {20000, 30000, 1, 4, 81, 0},  // both files grew after they were opened
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.size);
    BinaryRun r(std::string(c.size, 'p'), std::string(c.size, 'p'), c.pairs);
    r.newFile->content += std::string(c.grownBy, 'p');
    r.oldFile->content += std::string(c.grownBy, 'p');
    CompareBinaryPair(*r.ctx);
    EXPECT_FALSE(r.app.pair.FilesDiffer);
    EXPECT_EQ(r.newFile->bytesRead, static_cast<std::int64_t>(c.size + c.grownBy));
    const std::vector<int>& p = r.host.progressPositions;
    ASSERT_EQ(p.size(), c.positions);
    EXPECT_EQ(p.front(), c.first);
    EXPECT_EQ(p.back(), 100);
    EXPECT_LE(*std::max_element(p.begin(), p.end()), 100);
    EXPECT_EQ(r.host.eventsStartingWith("percent: ").back(), "percent: 100%");
    EXPECT_EQ(r.host.statusTexts.size(), c.statusTexts);
  }
}

TEST(BinaryCompareTest, HaltEndsTheLoopAfterTheCurrentBlock) {
  BinaryRun r(std::string(100000, 'h'), std::string(100000, 'h'));
  r.host.onProcessEvents = [&r] { r.app.StopRequested = true; };
  CompareBinaryPair(*r.ctx);
  EXPECT_FALSE(r.app.pair.FilesDiffer);
  EXPECT_EQ(r.newFile->bytesRead, 16384);
  EXPECT_EQ(r.oldFile->bytesRead, 16384);
}

TEST(BinaryCompareTest, OneSideChangingWhileReadMakesThePairDiffer) {
  // The New file grows, is cut inside the second block, or is emptied after it was opened.
  for (const auto& [keep, extra] : {std::pair<std::size_t, std::size_t>{40000, 5000}, {17000, 0}, {0, 0}}) {
    BinaryRun r(std::string(40000, 's'), std::string(40000, 's'), 1);
    r.newFile->content.resize(keep);
    r.newFile->content += std::string(extra, 's');
    CompareBinaryPair(*r.ctx);
    EXPECT_TRUE(r.app.pair.FilesDiffer) << keep;
    EXPECT_EQ(r.app.pair.ReturnCode, 1);
  }
}

}  // namespace
}  // namespace kelvarine
