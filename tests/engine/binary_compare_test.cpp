#include "engine/binary_compare.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <tuple>

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

TEST(BinaryCompareTest, ComparesBlockByBlockUpToTheFirstDifferenceShowingProgress) {
  const std::string p20000(20000, 'p'), p40000(40000, 'p'), p500000(500000, 'p');
  const struct {
    const char* name;
    std::string newContent, oldContent;
    bool differ;
    std::int64_t bytesRead;  // of the New file; the Old one is read as far as its extra bytes
    int pairs;               // the pair compared is the last of them
    std::size_t grownBy;     // both files grew after they were opened
    std::size_t statusTexts, positions;
    int first;          // progress position
    bool halt = false;  // asked at the first event pass
  } cases[] = {
      {"TwoEmptyFiles", "", "", false, 0, 2, 0, 0, 0, 0},
      {"DifferentSizes", "abc", "abcd", true, 3, 2, 0, 0, 0, 0},
      {"LastByte", std::string(199999, 'z') + "a", std::string(199999, 'z') + "b", true, 200000, 2, 0, 1, 0,
       0},
      {"FirstByte", "a" + std::string(99999, 'q'), "b" + std::string(99999, 'q'), true, 16384, 2, 0, 0, 0, 0},
      {"ExactlyOneBlock", std::string(16384, 'k'), std::string(16384, 'k'), false, 16384, 2, 0, 0, 0, 0},
      {"SinglePairShowsProgress", p40000, p40000, false, 40000, 1, 0, 0, 3, 40},
      {"Above400000InAnySet", p500000, p500000, false, 500000, 3, 0, 4, 31, 3},
      {"BothGrewTheBarStopsAt100", p20000, p20000, false, 50000, 1, 30000, 0, 4, 81},
      {"HaltAfterTheCurrentBlock", std::string(100000, 'h'), std::string(100000, 'h'), false, 16384, 2, 0, 0,
       0, 0, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    BinaryRun r(c.newContent, c.oldContent, c.pairs);
    r.newFile->content += std::string(c.grownBy, 'p');
    r.oldFile->content += std::string(c.grownBy, 'p');
    if (c.halt) r.host.onProcessEvents = [&r] { r.app.StopRequested = true; };
    CompareBinaryPair(*r.ctx);
    const PairState& p = r.app.pair;
    EXPECT_EQ(std::tuple(p.FilesDiffer, p.ReturnCode, p.AllRead),
              std::tuple(c.differ, c.differ ? 1 : 0, true));
    EXPECT_EQ(std::pair(p.NewBinBytes, p.OldBinBytes),
              std::pair(std::int64_t(c.newContent.size()), std::int64_t(c.oldContent.size())));
    EXPECT_EQ(std::pair(r.newFile->bytesRead.load(), r.oldFile->bytesRead.load()),
              std::pair(c.bytesRead, c.bytesRead + std::int64_t(c.oldContent.size() - c.newContent.size())));
    ASSERT_EQ(r.host.statusTexts.size(), c.statusTexts);
    if (c.statusTexts > 0) {
      EXPECT_EQ(r.host.statusTexts[0],
                "Binary Read \"A.BIN\" File-Pair(" + std::to_string(c.pairs - 1) + ") File-Offset(131072)");
    }
    const std::vector<int>& bar = r.host.progressPositions;
    ASSERT_EQ(bar.size(), c.positions);
    if (c.positions == 0) continue;
    EXPECT_EQ(bar.front(), c.first);
    EXPECT_EQ(*std::max_element(bar.begin(), bar.end()), 100);
    EXPECT_EQ(bar.back(), 100);
    EXPECT_EQ(r.host.eventsStartingWith("percent: ").back(), "percent: 100%");
  }
}

TEST(BinaryCompareTest, OneSideChangingWhileReadMakesThePairDiffer) {
  // The New file grows, is cut inside the second block, or is emptied after it was opened.
  for (const auto& [keep, extra] : {std::pair<std::size_t, std::size_t>{40000, 5000}, {17000, 0}, {0, 0}}) {
    BinaryRun r(std::string(40000, 's'), std::string(40000, 's'), 1);
    r.newFile->content.resize(keep);
    r.newFile->content += std::string(extra, 's');
    CompareBinaryPair(*r.ctx);
    EXPECT_EQ(std::pair(r.app.pair.FilesDiffer, r.app.pair.ReturnCode), std::pair(true, 1)) << keep;
  }
}

}  // namespace
}  // namespace kelvarine
