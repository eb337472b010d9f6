#include "engine/text_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "support/memory_file_system.h"
#include "support/recording_host.h"
#include "support/recording_report.h"

namespace kelvarine {
namespace {

using Lines = std::vector<std::string>;

// A file that hands out at most `step` bytes per read, so that every line end, look-ahead and
// end-of-file character meets a block boundary somewhere.
class TrickleFile : public InputFile {
 public:
  TrickleFile(std::string content, std::int64_t step) : content_(std::move(content)), step_(step) {}
  std::int64_t size() const override { return static_cast<std::int64_t>(content_.size()); }
  FileStamp stamp() const override { return 1; }
  std::int64_t read(char* buffer, std::int64_t count) override {
    const std::int64_t n = std::min({count, step_, std::max<std::int64_t>(0, size() - pos_)});
    std::memcpy(buffer, content_.data() + pos_, static_cast<std::size_t>(n));
    pos_ += n;
    return n;
  }
  void seek(std::int64_t offset) override { pos_ = offset; }

 private:
  std::string content_;
  std::int64_t step_;
  std::int64_t pos_ = 0;
};

TextInput makeInput(const std::string& content, std::int64_t step = TextInput::kReadBlock,
                    const std::string& name = "/data/f.txt") {
  TextInput input;
  input.FileName = name;
  input.Stream = std::make_unique<TrickleFile>(content, step);
  return input;
}

Lines readAll(TextInput& input, bool ieof) {
  Lines lines;
  while (ReadLine(input, ieof))
    lines.emplace_back(input.LineBuf.data(), input.LineLen);
  EXPECT_TRUE(input.AtEof);
  return lines;
}

struct SplitCase {
  const char* name;
  std::string content;
  bool ieof;
  Lines lines;
  std::int64_t filePos;
  bool prematureEof, split;
  int longest;
};

const std::string kSub(1, '\x1a');
const std::string kBytes("a\0b\x01\x7f\xff", 6);
const std::string kQ(2048, 'q'), kQ904(904, 'q'), kQ2047(2047, 'q');

const SplitCase kSplitCases[] = {
    {"CrLfThenUnterminated", "a\r\nb", false, {"a", "b"}, 4, false, false, 1},
    {"CrOnly", "a\rb\r", false, {"a", "b"}, 4, false, false, 1},
    {"LfOnly", "a\nbc\n", false, {"a", "bc"}, 5, false, false, 2},
    {"LfCrEndsTwoLines", "a\n\rb", false, {"a", " ", "b"}, 4, false, false, 1},
    {"Empty", "", false, {}, 0, false, false, 0},
    {"EmptyLinesAreOneBlank", "\n\r\n", false, {" ", " "}, 3, false, false, 0},
    {"CrLfThenEofChar", "a\r\n" + kSub, false, {"a"}, 3, false, false, 1},
    {"EofCharAsLastByte", "abc" + kSub, false, {"abc"}, 3, false, false, 3},
    {"EofCharWithDataIeofOff", "ab" + kSub + "cd\r\nef", false, {"ab"}, 2, true, false, 2},
    {"EofCharWithDataIeofOn", "ab" + kSub + "cd\r\nef", true, {"ab" + kSub + "cd", "ef"}, 9, true, false, 5},
    {"KeptEofCharThenFinalOne", kSub + kSub, true, {kSub}, 1, true, false, 1},
    {"TabIsOneBlank", "\tx\ty", false, {" x y"}, 4, false, false, 4},
    {"NulAndControlBytesKept", kBytes, false, {kBytes}, 6, false, false, 6},
    {"Line5000Split", kQ + kQ + kQ904 + "\r\nend", false, {kQ, kQ, kQ904, "end"}, 5005, false, true, 2048},
    {"Line2048ThenBlank", kQ2047 + "\t\r\nz", false, {kQ2047 + " ", " ", "z"}, 2051, false, true, 2048},
};

class ReadLineSplitTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(ReadLineSplitTest, SplitsLinesAndCountsBytes) {
  const SplitCase& c = GetParam();
  for (std::int64_t step : {TextInput::kReadBlock, 1, 2, 3}) {  // block boundaries everywhere
    SCOPED_TRACE("read step " + std::to_string(step));
    TextInput input = makeInput(c.content, step);
    EXPECT_EQ(readAll(input, c.ieof), c.lines);
    EXPECT_EQ(input.FilePos, c.filePos);
    EXPECT_EQ(input.PrematureEof, c.prematureEof);
    EXPECT_EQ(input.LongestLine, c.longest);
    EXPECT_EQ(input.LinesSplit, c.split);
    EXPECT_FALSE(ReadLine(input, c.ieof)) << "end of file is final until the input is reset";
  }
}

INSTANTIATE_TEST_SUITE_P(Reader, ReadLineSplitTest, ::testing::ValuesIn(kSplitCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ReadLineTest, CrLfAcrossABlockBoundaryEndsOneLine) {
  // CR is the last byte of the first 32768-byte block, LF the first of the next.
  TextInput input = makeInput(std::string(TextInput::kReadBlock - 1, '\n') + "\r\nz");
  const Lines lines = readAll(input, false);
  ASSERT_EQ(lines.size(), TextInput::kReadBlock + 1u);
  EXPECT_EQ(lines.back(), "z");
  EXPECT_EQ(input.FilePos, TextInput::kReadBlock + 2);
}

TEST(ReadLineTest, ResetInputRereadsTheChunkOrContinuesAtTheEofChar) {
  TextInput input = makeInput("a\r\nbb\r\nccc" + kSub + "rest");
  ASSERT_TRUE(ReadLine(input, false));
  input.ChunkStart = input.FilePos;
  EXPECT_EQ(readAll(input, false), (Lines{"bb", "ccc"}));
  input.CarryCppString = input.CarryCppComment = input.CarryParenComment = input.CarryHtmlComment =
      input.CarryBraceComment = true;
  ResetInput(input, false);
  EXPECT_FALSE(input.CarryCppString || input.CarryCppComment || input.CarryParenComment ||
               input.CarryHtmlComment || input.CarryBraceComment);
  EXPECT_EQ(readAll(input, false), (Lines{"bb", "ccc"}));
  ResetInput(input, true);  // the next chunk starts at the end-of-file character and meets it again
  EXPECT_FALSE(ReadLine(input, false));
  EXPECT_EQ(input.FilePos, 10);
}

struct ColumnCase {
  int s1, e1, s2, e2;  // a second range is in use when s2 > 0
  const char* line;
  const char* text;  // Text after the cut: compare text first, the rest as read
  int ccolLen;
  bool isShort;
};

const ColumnCase kColumnCases[] = {
    {4, 0, 0, 0, "abc", " bc", 1, true},
    {4, 0, 0, 0, "abcd", "dbcd", 1, false},
    {2, 4, 0, 0, "abcdefgh", "bcddefgh", 3, false},
    {2, 4, 6, 0, "abcdefgh", "bcdfghgh", 6, false},
    {2, 4, 6, 7, "abcdefgh", "bcdfgfgh", 5, false},
    {2, 4, 9, 12, "abcdefgh", "bcddefgh", 3, false},  // 2nd range starts behind the line
    {2, 100, 0, 0, "abc", "bcc", 2, false},
    {10, 5, 0, 0, "abcdefghijkl", "abcdefghijkl", 0, false},  // empty range
    {1, 0, 3, 4, "abcdef", "abcdef", 6, false},               // a 2nd range needs an explicit 1st end
};

TEST(BuildCompareColumnsTest, CutsTheColumnsIntoTheFrontOfText) {
  for (const ColumnCase& c : kColumnCases) {
    SCOPED_TRACE(std::string(c.line) + " " + std::to_string(c.s1) + ":" + std::to_string(c.e1));
    TextInput input = makeInput(std::string(c.line) + "\n");
    std::tie(input.CcolStart1, input.CcolEnd1, input.CcolTwoRanges, input.CcolStart2, input.CcolEnd2) =
        std::tuple(c.s1, c.e1, c.s2 > 0, c.s2, c.e2);
    ASSERT_TRUE(ReadLine(input, false));
    LineTable table;
    table.setText(1, input.LineBuf.data(), input.LineLen);
    std::int32_t shortLines = 0;
    BuildCompareColumns(table[1], input, shortLines);
    EXPECT_EQ(std::string(table[1].Text, static_cast<std::size_t>(input.LineLen)), c.text);
    EXPECT_EQ(table[1].CcolLen, c.ccolLen);
    EXPECT_EQ(table[1].CcolShort, c.isShort);
    EXPECT_EQ(input.CcolShortSeen, c.isShort);
    EXPECT_EQ(input.MaxCmpLen, c.isShort ? 0 : c.ccolLen);
  }
}

std::string numberedLines(int count) {
  std::string s;
  for (int i = 1; i <= count; ++i)
    s += std::to_string(i) + "\r\n";
  return s;
}

class LoadChunkTest : public ::testing::Test {
 protected:
  // Starts a fresh pair on the two contents.
  void open(const std::string& newContent, const std::string& oldContent) {
    app.pair = PairState{};
    context.newInput = makeInput(newContent, TextInput::kReadBlock, "/New/Dir/BIG.Txt");
    context.oldInput = makeInput(oldContent, TextInput::kReadBlock, "/old/big.txt");
  }
  // Loads a chunk, then resumes behind its last line as the pair's chunk loop does.
  void nextChunk() {
    LoadChunk(context);
    for (auto [input, table] :
         {std::pair{&context.newInput, &context.newTable}, std::pair{&context.oldInput, &context.oldTable}})
      if (input->Count > 0) input->FilePos = (*table)[input->Count].EndPos;
  }

  AppState app;
  RecordingHost host;
  MemoryFileSystem fs;
  RecordingReport report;
  CompareContext context{app, host, fs, report};
};

TEST_F(LoadChunkTest, LongFilesAreReadInChunksOf7999LinesBehindLinkedSentinels) {
  open(numberedLines(20000), numberedLines(5));
  const struct {
    int newLines, oldLines, firstNew;
  } chunks[] = {{7999, 5, 1}, {7999, 0, 8000}, {4002, 0, 15999}};
  for (const auto& e : chunks) {
    SCOPED_TRACE("chunk from line " + std::to_string(e.firstNew));
    nextChunk();
    EXPECT_EQ(app.pair.NewLines, e.newLines);
    EXPECT_EQ(app.pair.OldLines, e.oldLines);
    EXPECT_EQ(app.pair.AllRead, e.newLines == 4002);
    EXPECT_EQ(std::string(context.newTable[1].Text, static_cast<std::size_t>(context.newTable[1].Len)),
              std::to_string(e.firstNew));
    EXPECT_TRUE(context.newTable[e.newLines + 1].Anchor);
    EXPECT_EQ(context.newTable[e.newLines + 1].Link, e.oldLines + 1);
    EXPECT_EQ(context.oldTable[e.oldLines + 1].Link, e.newLines + 1);
    EXPECT_EQ(context.newTable[e.newLines + 2].Text, nullptr) << "records of the previous chunk are cleared";
  }
}

TEST_F(LoadChunkTest, FilesDifferFollowsTheRawLinesAndTheCounts) {
  const struct {
    const char *newContent, *oldContent;
    bool differ;
  } cases[] = {
      {"a\nb\nc\n", "a\nb\nc\n", false}, {"a\nb\nc\n", "a\nB\nc\n", true}, {"a\nb\n", "a\r\nb\r", false},
      {"a\nb\nc\n", "a\nb\n", true},     {"a\nb \n", "a\nb\n", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.newContent) + "|" + c.oldContent);
    open(c.newContent, c.oldContent);
    nextChunk();
    EXPECT_EQ(app.pair.FilesDiffer, c.differ);
  }
}

TEST_F(LoadChunkTest, ColumnsAreCutAfterTheRawCompareAndNotForDcobLines) {
  open("xxxxxxxabc\n      *\n12345*\n      /\n", "yyyyyyyabc\n      *\n12345*\n      /\n");
  app.options.Dcob = app.options.Ccol = true;
  context.newInput.CcolStart1 = context.oldInput.CcolStart1 = 8;
  nextChunk();
  EXPECT_TRUE(app.pair.FilesDiffer);  // equal compare columns, different lines
  EXPECT_EQ(std::string(context.newTable[1].Text, 3), "abc");
  const bool cobolComment[] = {false, true, false, false}, isShort[] = {false, false, true, true};
  for (int i = 1; i <= 4; ++i) {
    EXPECT_EQ(context.newTable[i].DpLine, cobolComment[i - 1]) << "line " << i;
    EXPECT_EQ(context.newTable[i].CcolShort, isShort[i - 1]) << "line " << i;
  }
  EXPECT_EQ(app.pair.NewCcolShortLines, 2);
  EXPECT_EQ(app.pair.OldCcolShortLines, 2);
}

TEST_F(LoadChunkTest, ShowsProgressEvery1000NewLines) {
  open(numberedLines(2500), numberedLines(2500));
  nextChunk();
  EXPECT_EQ(host.statusTexts, (std::vector<std::string>{"Reading \"big.txt\" - Line = 1000 ",
                                                        "Reading \"big.txt\" - Line = 2000 "}));
  EXPECT_EQ(host.processEventsCalls, 4);  // New and Old side each at 1000 and 2000
}

TEST_F(LoadChunkTest, HaltStopsAfterTheCurrentLineAndLeavesTheChunkOpen) {
  open(numberedLines(5000), numberedLines(5000));
  host.onProcessEvents = [this] { app.StopRequested = true; };
  nextChunk();
  EXPECT_EQ(context.newInput.Count, 1000);  // what the pair cleanup has to release
  EXPECT_EQ(context.oldInput.Count, 1000);
  EXPECT_EQ(app.pair.NewLines, 0);
  EXPECT_FALSE(context.newTable[1001].Anchor);
}

TEST(IsTextFileTest, NineInvalidBytesInTheFirstLineMakeABinaryFile) {
  const std::string eight("\x01\x02\x03\x04\x05\x06\x07\x08", 8);
  const struct {
    const char* name;
    std::string content;
    bool text;
  } cases[] = {
      {"eight", eight + "abc\r\n", true},
      {"nine", eight + "\x0e" + "abc\r\n", false},
      {"nine with NULs and 26", std::string(5, '\0') + "\x0b\x0c\x1a\x1f", false},
      {"valid controls", "\t\t\n\n\r\r\t\n\r\t\n\r", true},
      {"starts with CR LF", "\r\n" + eight + eight, true},
      {"after the first CR LF", "abc\r\n" + eight + "\x0e", true},
      {"CR alone does not end the line", "a\rb" + eight + "\x0e", false},
      {"beyond 2048 bytes", std::string(2048, 'x') + eight + "\x0e", true},
      {"nine at the end of 2048 bytes", std::string(2039, 'x') + eight + "\x0e", false},
      {"empty", "", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TextInput input = makeInput(c.content, 5);  // short reads: the probe keeps reading
    EXPECT_EQ(IsTextFile(input, CompareOptions{}), c.text);
    char first = 0;
    input.Stream->read(&first, 1);
    EXPECT_EQ(first, c.content.empty() ? '\0' : c.content[0]) << "the file is back at its start";
  }
}

TEST(IsTextFileTest, AbinWinsOverTxal) {
  CompareOptions options;
  options.Txal = true;
  TextInput input = makeInput(std::string(20, '\x01'));
  EXPECT_TRUE(IsTextFile(input, options));
  options.Abin = true;
  EXPECT_FALSE(IsTextFile(input, options));
}

}  // namespace
}  // namespace kelvarine
