#include "engine/text_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "engine/app_state.h"
#include "engine/compare_context.h"
#include "support/memory_file_system.h"
#include "support/recording_host.h"

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
    const std::int64_t left = std::max<std::int64_t>(0, size() - pos_);
    const std::int64_t n = std::min({count, step_, left});
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

TextInput makeInput(const std::string& content, std::int64_t step = TextInput::kReadBlock) {
  TextInput input;
  input.FileName = "/data/f.txt";
  input.Stream = std::make_unique<TrickleFile>(content, step);
  input.ReadBuf.resize(TextInput::kReadBlock);
  input.LineBuf.resize(TextInput::kMaxLineLen);
  return input;
}

Lines readAll(TextInput& input, bool ieof) {
  Lines lines;
  while (ReadLine(input, ieof))
    lines.emplace_back(input.LineBuf.data(), input.LineLen);
  EXPECT_TRUE(input.AtEof);
  return lines;
}

// Lines of ten bytes ("xxxxxxxx" CR LF) and one shorter line, together `bytes` long.
std::string padTo(int bytes) {
  std::string s;
  while (bytes - static_cast<int>(s.size()) >= 10)
    s += "xxxxxxxx\r\n";
  s.append(static_cast<std::size_t>(bytes) - s.size(), 'y');
  return s;
}

struct SplitCase {
  const char* name;
  std::string content;
  bool ieof;
  Lines lines;
  std::int64_t filePos;
  bool prematureEof;
  int longest;
};

const std::string kSub(1, '\x1a');

const SplitCase kSplitCases[] = {
    {"CrLfThenUnterminated", "a\r\nb", false, {"a", "b"}, 4, false, 1},
    {"CrOnly", "a\rb\r", false, {"a", "b"}, 4, false, 1},
    {"LfOnly", "a\nbc\n", false, {"a", "bc"}, 5, false, 2},
    {"LfCrEndsTwoLines", "a\n\rb", false, {"a", " ", "b"}, 4, false, 1},
    {"Mixed", "a\r\nb\nc\rd", false, {"a", "b", "c", "d"}, 8, false, 1},
    {"Empty", "", false, {}, 0, false, 0},
    {"EmptyLinesAreOneBlank", "\n\r\n", false, {" ", " "}, 3, false, 0},
    {"CrLfThenEofChar", "a\r\n" + kSub, false, {"a"}, 3, false, 1},
    {"EofCharAsLastByte", "abc" + kSub, false, {"abc"}, 3, false, 3},
    {"EofCharWithDataIeofOff", "ab" + kSub + "cd\r\nef", false, {"ab"}, 2, true, 2},
    {"EofCharOnItsOwnLineIeofOff", "a\r\n" + kSub + "xyz", false, {"a"}, 3, true, 1},
    {"EofCharWithDataIeofOn", "ab" + kSub + "cd\r\nef", true, {"ab" + kSub + "cd", "ef"}, 9, true, 5},
    {"KeptEofCharThenFinalOne", kSub + kSub, true, {kSub}, 1, true, 1},
    {"TabIsOneBlank", "\tx\ty", false, {" x y"}, 4, false, 4},
    {"NulAndControlBytesKept",
     std::string("a\0b\x01\x7f\xff", 6),
     false,
     {std::string("a\0b\x01\x7f\xff", 6)},
     6,
     false,
     6},
};

class ReadLineSplitTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(ReadLineSplitTest, SplitsLinesAndCountsBytes) {
  const SplitCase& c = GetParam();
  // Whole blocks and one-, two- and three-byte reads must give the same result.
  for (std::int64_t step :
       {std::int64_t{TextInput::kReadBlock}, std::int64_t{1}, std::int64_t{2}, std::int64_t{3}}) {
    SCOPED_TRACE("read step " + std::to_string(step));
    TextInput input = makeInput(c.content, step);
    EXPECT_EQ(readAll(input, c.ieof), c.lines);
    EXPECT_EQ(input.FilePos, c.filePos);
    EXPECT_EQ(input.PrematureEof, c.prematureEof);
    EXPECT_EQ(input.LongestLine, c.longest);
    EXPECT_FALSE(input.LinesSplit);
    EXPECT_FALSE(ReadLine(input, c.ieof)) << "end of file is final until the input is reset";
  }
}

INSTANTIATE_TEST_SUITE_P(Reader, ReadLineSplitTest, ::testing::ValuesIn(kSplitCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ReadLineTest, LongLinesAreSplitAt2048) {
  TextInput input = makeInput(std::string(5000, 'q') + "\r\nend");
  Lines lines = readAll(input, false);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0].size(), 2048u);
  EXPECT_EQ(lines[1].size(), 2048u);
  EXPECT_EQ(lines[2], std::string(904, 'q'));
  EXPECT_EQ(lines[3], "end");
  EXPECT_TRUE(input.LinesSplit);
  EXPECT_EQ(input.LongestLine, 2048);
  EXPECT_EQ(input.FilePos, 5005);
}

TEST(ReadLineTest, LineOfExactly2048IsFollowedByABlankLine) {
  TextInput input = makeInput(std::string(2047, 'q') + "\t\r\nz");
  std::vector<std::int64_t> positions;
  Lines lines;
  while (ReadLine(input, false)) {
    lines.emplace_back(input.LineBuf.data(), input.LineLen);
    positions.push_back(input.FilePos);
  }
  EXPECT_EQ(lines, (Lines{std::string(2047, 'q') + " ", " ", "z"}));
  EXPECT_EQ(positions, (std::vector<std::int64_t>{2048, 2050, 2051}));
  EXPECT_TRUE(input.LinesSplit);
}

TEST(ReadLineTest, CrLfAcrossABlockBoundaryEndsOneLine) {
  // CR is the last byte of the first 32768-byte block, LF the first of the next.
  std::string content = padTo(TextInput::kReadBlock - 1) + "\r\nz";
  TextInput input = makeInput(content);
  Lines lines = readAll(input, false);
  ASSERT_EQ(lines.size(), 3278u);
  EXPECT_EQ(lines[3276], std::string(7, 'y'));
  EXPECT_EQ(lines[3277], "z");
  EXPECT_EQ(input.FilePos, static_cast<std::int64_t>(content.size()));
}

TEST(ReadLineTest, AResumedReadMeetsTheEofCharAgain) {
  TextInput input = makeInput("one\r\ntwo" + kSub + "rest");
  EXPECT_EQ(readAll(input, false), (Lines{"one", "two"}));
  EXPECT_EQ(input.FilePos, 8);
  ResetInput(input, true);  // the next chunk starts at the end-of-file character
  EXPECT_FALSE(ReadLine(input, false));
  EXPECT_TRUE(input.AtEof);
  EXPECT_EQ(input.FilePos, 8);
}

TEST(ReadLineTest, ResetToTheChunkStartReadsTheSameLinesAgain) {
  TextInput input = makeInput("a\r\nbb\r\nccc\r\ndddd\r\n");
  ASSERT_TRUE(ReadLine(input, false));
  input.ChunkStart = input.FilePos;
  EXPECT_EQ(readAll(input, false), (Lines{"bb", "ccc", "dddd"}));
  input.CarryCppComment = true;
  ResetInput(input, false);
  EXPECT_EQ(input.FilePos, 3);
  EXPECT_FALSE(input.AtEof);
  EXPECT_FALSE(input.CarryCppComment);
  EXPECT_EQ(readAll(input, false), (Lines{"bb", "ccc", "dddd"}));
  EXPECT_EQ(input.FilePos, 18);
}

// ---- Compare columns ------------------------------------------------------------------------

struct ColumnCase {
  int s1, e1;
  bool two;
  int s2, e2;
  const char* line;
  const char* text;  // Text after the cut: compare text first, the rest as read
  int ccolLen;
  bool isShort;
};

const ColumnCase kColumnCases[] = {
    {5, 0, false, 0, 0, "abc", " bc", 1, true},
    {4, 0, false, 0, 0, "abc", " bc", 1, true},
    {4, 0, false, 0, 0, "abcd", "dbcd", 1, false},
    {5, 0, false, 0, 0, "abcdefgh", "efghefgh", 4, false},
    {2, 4, false, 0, 0, "abcdefgh", "bcddefgh", 3, false},
    {2, 4, true, 6, 0, "abcdefgh", "bcdfghgh", 6, false},
    {2, 4, true, 6, 7, "abcdefgh", "bcdfgfgh", 5, false},
    {2, 4, true, 9, 12, "abcdefgh", "bcddefgh", 3, false},  // 2nd range starts behind the line
    {2, 100, false, 0, 0, "abc", "bcc", 2, false},
    {10, 5, false, 0, 0, "abcdefghijkl", "abcdefghijkl", 0, false},  // empty range
    {1, 0, true, 3, 4, "abcdef", "abcdef", 6, false},                // a 2nd range needs an explicit 1st end
};

TEST(BuildCompareColumnsTest, CutsTheColumnsIntoTheFrontOfText) {
  for (const ColumnCase& c : kColumnCases) {
    SCOPED_TRACE(std::string(c.line) + " " + std::to_string(c.s1) + ":" + std::to_string(c.e1));
    TextInput input = makeInput(std::string(c.line) + "\n");
    input.CcolStart1 = c.s1;
    input.CcolEnd1 = c.e1;
    input.CcolTwoRanges = c.two;
    input.CcolStart2 = c.s2;
    input.CcolEnd2 = c.e2;
    ASSERT_TRUE(ReadLine(input, false));
    LineTable table;
    table.setText(1, input.LineBuf.data(), input.LineLen);
    std::int32_t shortLines = 0;
    BuildCompareColumns(table[1], input, shortLines);
    EXPECT_EQ(std::string(table[1].Text, static_cast<std::size_t>(input.LineLen)), c.text);
    EXPECT_EQ(table[1].CcolLen, c.ccolLen);
    EXPECT_EQ(table[1].CcolShort, c.isShort);
    EXPECT_EQ(input.CcolShortSeen, c.isShort);
    EXPECT_EQ(shortLines, c.isShort ? 1 : 0);
    EXPECT_EQ(input.MaxCmpLen, c.isShort ? 0 : c.ccolLen);
  }
}

// ---- Chunk loading -------------------------------------------------------------------------

class NoReport : public ReportStep {
 public:
  void GenerateReport(CompareContext&) override {}
};

std::string numberedLines(int count, const std::string& prefix) {
  std::string s;
  for (int i = 1; i <= count; ++i)
    s += prefix + std::to_string(i) + "\r\n";
  return s;
}

class LoadChunkTest : public ::testing::Test {
 protected:
  void open(const std::string& newContent, const std::string& oldContent) {
    fs.add("/New/Dir/BIG.Txt", newContent);
    fs.add("/old/big.txt", oldContent);
    setUp(context.newInput, "/New/Dir/BIG.Txt");
    setUp(context.oldInput, "/old/big.txt");
  }
  void setUp(TextInput& input, const std::string& path) {
    input.FileName = path;
    input.Stream = fs.openForReading(path);
    input.ReadBuf.resize(TextInput::kReadBlock);
    input.LineBuf.resize(TextInput::kMaxLineLen);
  }
  // One step of the pair's chunk loop: load, then continue behind the last line kept.
  void nextChunk() {
    for (TextInput* input : {&context.newInput, &context.oldInput})
      input->LineBase = input->LinesDone;
    LoadChunk(context);
    continueBehind(context.newInput, context.newTable);
    continueBehind(context.oldInput, context.oldTable);
  }
  static void continueBehind(TextInput& input, LineTable& table) {
    input.LinesDone += input.Count;
    if (input.Count > 0) input.FilePos = table[input.Count].EndPos;
  }
  std::string text(const LineTable& table, int i) {
    return std::string(table[i].Text, static_cast<std::size_t>(table[i].Len));
  }

  AppState app;
  RecordingHost host;
  MemoryFileSystem fs;
  NoReport report;
  CompareContext context{app, host, fs, report};
};

TEST_F(LoadChunkTest, LongFilesAreReadInChunksOf7999Lines) {
  struct Expect {
    int longLines, shortLines, firstLong;
    bool allRead;
  };
  const Expect chunks[] = {{7999, 5, 1, false}, {7999, 0, 8000, false}, {4002, 0, 15999, true}};
  for (bool newIsLong : {true, false}) {
    SCOPED_TRACE(newIsLong ? "New file long" : "Old file long");
    app.pair = PairState{};
    context.newInput = TextInput{};
    context.oldInput = TextInput{};
    const std::string longFile = numberedLines(20000, "n");
    if (newIsLong)
      open(longFile, numberedLines(5, "o"));
    else
      open(numberedLines(5, "o"), longFile);
    TextInput& longInput = newIsLong ? context.newInput : context.oldInput;
    LineTable& longTable = newIsLong ? context.newTable : context.oldTable;
    LineTable& shortTable = newIsLong ? context.oldTable : context.newTable;
    for (const Expect& e : chunks) {
      SCOPED_TRACE("chunk from line " + std::to_string(e.firstLong));
      nextChunk();
      EXPECT_EQ(newIsLong ? app.pair.NewLines : app.pair.OldLines, e.longLines);
      EXPECT_EQ(newIsLong ? app.pair.OldLines : app.pair.NewLines, e.shortLines);
      EXPECT_EQ(app.pair.AllRead, e.allRead);
      EXPECT_FALSE(app.pair.Reading);
      EXPECT_TRUE(app.pair.FilesDiffer);
      EXPECT_EQ(text(longTable, 1), "n" + std::to_string(e.firstLong));
      EXPECT_EQ(longInput.LineBase, e.firstLong - 1);
      const LineRecord& sentinel = longTable[e.longLines + 1];
      EXPECT_TRUE(sentinel.Anchor);
      EXPECT_EQ(sentinel.Link, e.shortLines + 1);
      EXPECT_EQ(sentinel.Text, nullptr);
      EXPECT_EQ(shortTable[e.shortLines + 1].Link, e.longLines + 1);
      EXPECT_EQ(longTable[e.longLines + 2].Text, nullptr) << "records of the previous chunk are cleared";
    }
    EXPECT_EQ(longInput.LinesDone, 20000);
    // EndPos is the position behind each line's terminator.
    EXPECT_EQ(longTable[4002].EndPos, static_cast<std::int64_t>(longFile.size()));
    EXPECT_EQ(longTable[1].EndPos, static_cast<std::int64_t>(numberedLines(15999, "n").size()));
  }
}

TEST_F(LoadChunkTest, FilesDifferFollowsTheRawLinesAndTheCounts) {
  const std::string base = numberedLines(3000, "line ");
  std::string changed = base;
  changed[changed.find("line 2500")] = 'L';
  struct Case {
    const char* name;
    std::string newContent, oldContent;
    bool differ;
  };
  const Case cases[] = {
      {"equal", base, base, false},
      {"one line changed", base, changed, true},
      {"same lines, other terminators", "a\nb\n", "a\r\nb\r", false},
      {"one line more", base + "x\n", base, true},
      {"trailing blank", "a\nb \n", "a\nb\n", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    app.pair = PairState{};
    context.newInput = TextInput{};
    context.oldInput = TextInput{};
    open(c.newContent, c.oldContent);
    nextChunk();
    EXPECT_EQ(app.pair.FilesDiffer, c.differ);
    EXPECT_TRUE(app.pair.AllRead);
  }
}

TEST_F(LoadChunkTest, RawLinesAreComparedBeforeTheColumnCut) {
  app.options.Ccol = true;
  for (TextInput* input : {&context.newInput, &context.oldInput}) {
    input->CcolStart1 = 3;
    input->CcolEnd1 = 0;
  }
  open("xxabc\nab\nxyz\n", "yyabc\nab\nxyz\n");  // equal compare columns, different lines
  nextChunk();
  EXPECT_TRUE(app.pair.FilesDiffer);
  EXPECT_EQ(std::string(context.newTable[1].Text, 3), "abc");
  EXPECT_TRUE(context.newTable[2].CcolShort);
  EXPECT_EQ(app.pair.NewCcolShortLines, 1);
  EXPECT_EQ(app.pair.OldCcolShortLines, 1);
  EXPECT_EQ(context.newInput.MaxCmpLen, 3);
}

TEST_F(LoadChunkTest, DcobMarksColumnSevenStarLines) {
  app.options.Dcob = true;
  app.options.DpActive = true;
  app.options.Ccol = true;
  context.newInput.CcolStart1 = 20;
  open("000100* comment\n12345*\n      *\n000200 MOVE A TO B.\n      /\n", "");
  nextChunk();
  const bool expected[] = {true, false, true, false, false};
  for (int i = 1; i <= 5; ++i) {
    EXPECT_EQ(context.newTable[i].DpLine, expected[i - 1]) << "line " << i;
    // A Cobol comment line gets no compare columns; every other line does.
    EXPECT_EQ(context.newTable[i].CcolShort, !expected[i - 1]) << "line " << i;
  }
}

TEST_F(LoadChunkTest, ShowsProgressEvery1000NewLines) {
  open(numberedLines(2500, "n"), numberedLines(2500, "n"));
  nextChunk();
  EXPECT_EQ(host.statusTexts, (std::vector<std::string>{"Reading \"big.txt\" - Line = 1000 ",
                                                        "Reading \"big.txt\" - Line = 2000 "}));
  EXPECT_EQ(host.processEventsCalls, 4);  // New and Old side each at 1000 and 2000
  EXPECT_FALSE(app.pair.FilesDiffer);
}

TEST_F(LoadChunkTest, HaltStopsAfterTheCurrentLineAndLeavesTheChunkOpen) {
  open(numberedLines(5000, "n"), numberedLines(5000, "n"));
  host.onProcessEvents = [this] { app.StopRequested = true; };
  nextChunk();
  EXPECT_EQ(context.newInput.Count, 1000);  // what the pair cleanup has to release
  EXPECT_EQ(context.oldInput.Count, 1000);
  EXPECT_EQ(app.pair.NewLines, 0);
  EXPECT_FALSE(context.newTable[1001].Anchor);
  EXPECT_FALSE(app.pair.AllRead);
}

// ---- First-line test -----------------------------------------------------------------------

TEST(IsTextFileTest, NineInvalidBytesInTheFirstLineMakeABinaryFile) {
  struct Case {
    const char* name;
    std::string content;
    bool text;
  };
  const std::string eight("\x01\x02\x03\x04\x05\x06\x07\x08", 8);
  const Case cases[] = {
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
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TextInput input = makeInput(c.content, 5);  // short reads: the probe keeps reading
    EXPECT_EQ(IsTextFile(input, CompareOptions{}), c.text);
    if (!c.content.empty()) {
      char first = 0;
      ASSERT_EQ(input.Stream->read(&first, 1), 1) << "the file is back at its start";
      EXPECT_EQ(first, c.content[0]);
    }
  }
}

TEST(IsTextFileTest, AbinAndTxalDecideWithoutReading) {
  const std::string junk(20, '\x01');
  CompareOptions options;
  options.Txal = true;
  TextInput input = makeInput(junk);
  EXPECT_TRUE(IsTextFile(input, options));
  options.Abin = true;
  EXPECT_FALSE(IsTextFile(input, options));
  options = CompareOptions{};
  EXPECT_FALSE(IsTextFile(input, options));
}

}  // namespace
}  // namespace kelvarine
