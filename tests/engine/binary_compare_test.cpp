#include "engine/binary_compare.h"

#include <gtest/gtest.h>

#include <map>
#include <stdexcept>
#include <string>

#include "support/memory_file_system.h"
#include "support/recording_host.h"
#include "support/recording_report.h"

namespace kelvarine {
namespace {

// Sets up one binary pair by hand, as the pair setup leaves it, and runs the byte compare on it.
class BinaryCompareTest : public ::testing::Test {
 protected:
  void open(const std::string& newContent, const std::string& oldContent, int pairCount = 2,
            const std::string& newName = "dir/A.BIN") {
    newFile = fs.add(newName, newContent);
    oldFile = fs.add("old/a.bin", oldContent);
    app.PairCount = pairCount;
    app.CurrentPairIndex = pairCount - 1;
    ctx.newInput.FileName = newName;
    ctx.oldInput.FileName = "old/a.bin";
    for (TextInput* in : {&ctx.newInput, &ctx.oldInput}) {
      in->Stream = fs.openForReading(in->FileName);
      in->FileSize = in->Stream->size();
      in->ReadBuf.assign(TextInput::kReadBlock, 0);
    }
    ctx.newInput.FileSizeKept = ctx.newInput.FileSize;
    app.pair.Binary = true;
    fs.onRead = [this](const std::string& path, std::int64_t) { ++reads[path]; };
  }

  MemoryFileSystem fs;
  RecordingHost host;
  AppState app;
  RecordingReport report;
  CompareContext ctx{app, host, fs, report};
  std::shared_ptr<MemoryFileSystem::File> newFile, oldFile;
  std::map<std::string, int> reads;
};

struct BinaryCase {
  const char* name;
  std::string newContent, oldContent;
  bool differ;
  std::int64_t newBytesRead, oldBytesRead;
  int newReads;
  std::vector<std::string> status;
};

std::string withLastByte(std::size_t size, char last) {
  std::string s(size, 'z');
  s.back() = last;
  return s;
}

const char* const kStatus131072 = "Binary Read \"a.bin\" File-Pair(1) File-Offset(131072)";

class BinaryCaseTest : public BinaryCompareTest, public ::testing::WithParamInterface<BinaryCase> {};

TEST_P(BinaryCaseTest, ComparesAsExpected) {
  const BinaryCase& c = GetParam();
  open(c.newContent, c.oldContent);
  CompareBinaryPair(ctx);
  EXPECT_EQ(app.pair.FilesDiffer, c.differ);
  EXPECT_EQ(app.pair.ReturnCode, c.differ ? 1 : 0);
  EXPECT_TRUE(app.pair.AllRead);
  EXPECT_EQ(app.pair.NewBinBytes, static_cast<std::int64_t>(c.newContent.size()));
  EXPECT_EQ(app.pair.OldBinBytes, static_cast<std::int64_t>(c.oldContent.size()));
  EXPECT_EQ(newFile->bytesRead, c.newBytesRead);
  EXPECT_EQ(oldFile->bytesRead, c.oldBytesRead);
  EXPECT_EQ(reads["dir/A.BIN"], c.newReads);
  EXPECT_EQ(host.statusTexts, c.status);
  EXPECT_TRUE(host.progressPositions.empty());  // two pairs, small files: no progress
}

const BinaryCase kBinaryCases[] = {
    {"TwoEmptyFiles", "", "", false, 0, 0, 0, {}},
    {"DifferentSizes", "abc", "abcd", true, 0, 0, 0, {}},
    // Six full blocks, one of 1696 bytes, and an eighth read of nothing (offset 131072).
    {"Identical100000",
     std::string(100000, 'x'),
     std::string(100000, 'x'),
     false,
     100000,
     100000,
     8,
     {kStatus131072}},
    {"LastByteOf200000",
     withLastByte(200000, 'a'),
     withLastByte(200000, 'b'),
     true,
     200000,
     200000,
     13,
     {kStatus131072}},
    {"FirstByte", "a" + std::string(99999, 'q'), "b" + std::string(99999, 'q'), true, 16384, 16384, 1, {}},
    {"ExactlyOneBlock", std::string(16384, 'k'), std::string(16384, 'k'), false, 16384, 16384, 2, {}},
};

INSTANTIATE_TEST_SUITE_P(Pairs, BinaryCaseTest, ::testing::ValuesIn(kBinaryCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(BinaryCompareTest, DifferentSizesDifferAtOnceEvenUnderAeqf) {
  open("abc", "abcd");
  app.options.Aeqf = true;
  CompareBinaryPair(ctx);
  EXPECT_TRUE(app.pair.FilesDiffer);
  EXPECT_EQ(newFile->bytesRead + oldFile->bytesRead, 0);
}

TEST_F(BinaryCompareTest, AeqfEqualPairIsTakenAsEqualUnread) {
  open("abcd", "abce");
  app.options.Aeqf = true;
  app.pair.AeqfEqual = true;
  CompareBinaryPair(ctx);
  EXPECT_FALSE(app.pair.FilesDiffer);
  EXPECT_EQ(app.pair.ReturnCode, 0);
  EXPECT_EQ(newFile->bytesRead + oldFile->bytesRead, 0);
  EXPECT_EQ(app.pair.NewBinBytes, 4);
}

TEST_F(BinaryCompareTest, SinglePairFollowsTheReadPosition) {
  open(std::string(40000, 'p'), std::string(40000, 'p'), 1);
  CompareBinaryPair(ctx);
  EXPECT_EQ(host.progressPositions, (std::vector<int>{40, 81, 100}));
  EXPECT_EQ(host.eventsStartingWith("percent: ").back(), "percent: 100%");
  EXPECT_EQ(host.eventsStartingWith("title: ").back(), "title: File Progress");
  EXPECT_EQ(host.statusTexts, std::vector<std::string>{});
}

TEST_F(BinaryCompareTest, LargeFileShowsProgressInAnySet) {
  open(std::string(500000, 'p'), std::string(500000, 'p'), 3);
  CompareBinaryPair(ctx);
  ASSERT_EQ(host.progressPositions.size(), 31u);  // 30 full blocks and one of 8480 bytes
  EXPECT_EQ(host.progressPositions.front(), 3);
  EXPECT_EQ(host.progressPositions.back(), 100);
  // Every eighth read, the last one (of nothing, at offset 524288) included.
  EXPECT_EQ(host.statusTexts.size(), 4u);
}

TEST_F(BinaryCompareTest, StatusNamesTheNewFileInLowerCaseWithoutDirectory) {
  open(std::string(140000, 'n'), std::string(140000, 'n'), 5, "Some/Dir/MiXed.Dat");
  CompareBinaryPair(ctx);
  EXPECT_EQ(host.statusTexts,
            std::vector<std::string>{"Binary Read \"mixed.dat\" File-Pair(4) File-Offset(131072)"});
}

TEST_F(BinaryCompareTest, HaltEndsTheLoopAfterTheCurrentBlock) {
  open(std::string(100000, 'h'), std::string(100000, 'h'));
  host.onProcessEvents = [this] { app.StopRequested = true; };
  CompareBinaryPair(ctx);
  EXPECT_FALSE(app.pair.FilesDiffer);
  EXPECT_EQ(newFile->bytesRead, 16384);
  EXPECT_EQ(oldFile->bytesRead, 16384);
}

TEST_F(BinaryCompareTest, ReadFailurePropagates) {
  open("abcd", "abcd");
  oldFile->failReads = true;
  EXPECT_THROW(CompareBinaryPair(ctx), std::runtime_error);
}

TEST_F(BinaryCompareTest, FileGrowingWhileReadIsComparedAsReadWithProgressCapped) {
  open(std::string(20000, 'g'), std::string(20000, 'g'), 1);
  newFile->content += std::string(30000, 'g');  // both grow the same after they were opened
  oldFile->content += std::string(30000, 'g');
  CompareBinaryPair(ctx);
  EXPECT_FALSE(app.pair.FilesDiffer);
  EXPECT_EQ(newFile->bytesRead, 50000);
  for (int p : host.progressPositions)
    EXPECT_LE(p, 100);
  EXPECT_EQ(host.progressPositions.back(), 100);
}

TEST_F(BinaryCompareTest, OneSideChangingWhileReadMakesThePairDiffer) {
  struct Change {
    std::string newExtra;
    std::size_t newKeep;
  };
  for (const Change& change : {Change{std::string(5000, 'g'), 40000}, Change{"", 17000}, Change{"", 0}}) {
    MemoryFileSystem local;
    RecordingHost h;
    AppState a;
    CompareContext c{a, h, local, report};
    auto nf = local.add("n", std::string(40000, 's'));
    auto of = local.add("o", std::string(40000, 's'));
    for (auto [in, name] : {std::pair{&c.newInput, "n"}, std::pair{&c.oldInput, "o"}}) {
      in->FileName = name;
      in->Stream = local.openForReading(name);
      in->FileSize = in->Stream->size();
      in->ReadBuf.assign(TextInput::kReadBlock, 0);
    }
    c.newInput.FileSizeKept = 40000;
    a.pair.Binary = true;
    a.PairCount = 1;
    nf->content.resize(change.newKeep);
    nf->content += change.newExtra;
    CompareBinaryPair(c);
    EXPECT_TRUE(a.pair.FilesDiffer) << change.newKeep;
    EXPECT_EQ(a.pair.ReturnCode, 1);
  }
}

}  // namespace
}  // namespace kelvarine
