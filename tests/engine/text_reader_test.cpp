#include "engine/text_reader.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "support/memory_set.h"

namespace kelvarine {
namespace {

using Lines = std::vector<std::string>;

// The content as an input whose reads hand out at most `step` bytes each, so that every line end,
// look-ahead and end-of-file character meets a block boundary somewhere.
TextInput makeInput(const std::string& content, std::int64_t step = TextInput::kReadBlock) {
  MemoryFileSystem files;
  files.add("/data/Dir/BIG.Txt", content)->readStep = step;
  TextInput input;
  input.FileName = "/data/Dir/BIG.Txt";
  input.Stream = files.openForReading(input.FileName);
  return input;
}

Lines readAll(TextInput& input, bool ieof) {
  Lines lines;
  while (ReadLine(input, ieof))
    lines.emplace_back(input.LineBuf.data(), input.LineLen);
  EXPECT_TRUE(input.AtEof);
  return lines;
}

TEST(ReadLineTest, SplitsLinesAndCountsBytesAtEveryBlockBoundary) {
  const std::string sub(1, '\x1a'), bytes("a\0b\x01\x7f\xff", 6);
  const std::string q(2048, 'q'), q904(904, 'q'), q2047(2047, 'q');
  Lines crLfAcrossBlocks(TextInput::kReadBlock, " ");  // CR ends the first 32768-byte block
  crLfAcrossBlocks.push_back("z");
  const struct {
    const char* name;
    std::string content;
    Lines lines;
    std::int64_t filePos, longest;
    bool ieof = false, prematureEof = false, split = false;
  } cases[] = {
      {"CrLfThenUnterminated", "a\r\nb", {"a", "b"}, 4, 1},
      {"CrOnly", "a\rb\r", {"a", "b"}, 4, 1},
      {"LfCrEndsTwoLines", "a\n\rb", {"a", " ", "b"}, 4, 1},
      {"Empty", "", {}, 0, 0},
      {"EmptyLinesAreOneBlank", "\n\r\n", {" ", " "}, 3, 0},
      {"CrLfThenEofChar", "a\r\n" + sub, {"a"}, 3, 1},
      {"EofCharAsLastByte", "abc" + sub, {"abc"}, 3, 3},
      {"EofCharWithDataIeofOff", "ab" + sub + "cd\r\nef", {"ab"}, 2, 2, false, true},
      {"EofCharWithDataIeofOn", "ab" + sub + "cd\r\nef", {"ab" + sub + "cd", "ef"}, 9, 5, true, true},
      {"KeptEofCharThenFinalOne", sub + sub, {sub}, 1, 1, true, true},
      {"TabIsOneBlank", "\tx\ty", {" x y"}, 4, 4},
      {"NulAndControlBytesKept", bytes, {bytes}, 6, 6},
      {"Line5000Split", q + q + q904 + "\r\nend", {q, q, q904, "end"}, 5005, 2048, false, false, true},
      {"Line2048ThenBlank", q2047 + "\t\r\nz", {q2047 + " ", " ", "z"}, 2051, 2048, false, false, true},
      {"CrLfAcrossBlocks", std::string(TextInput::kReadBlock - 1, '\n') + "\r\nz", crLfAcrossBlocks,
       TextInput::kReadBlock + 2, 1},
  };
  for (const auto& c : cases) {
    for (std::int64_t step : {TextInput::kReadBlock, 1, 2, 3}) {
      SCOPED_TRACE(std::string(c.name) + ", read step " + std::to_string(step));
      TextInput input = makeInput(c.content, step);
      EXPECT_EQ(readAll(input, c.ieof), c.lines);
      EXPECT_EQ(input.FilePos, c.filePos);
      EXPECT_EQ(input.PrematureEof, c.prematureEof);
      EXPECT_EQ(input.LongestLine, c.longest);
      EXPECT_EQ(input.LinesSplit, c.split);
      EXPECT_FALSE(ReadLine(input, c.ieof)) << "end of file is final until the input is reset";
    }
  }
}

// Lines mixing ordinary bytes with control bytes that end nothing and with TABs, at every offset of an
// eight-byte word, read as a plain byte-by-byte splitter reads them.
TEST(ReadLineTest, AgreesWithAPlainSplitterOnRandomLines) {
  std::mt19937 random(5);
  const char alphabet[] = {'a', 'b', ' ', '\x01', '\x05', '\x19', '\x1b', '\t', '\xff', '\0'};
  for (int round = 0; round < 300; ++round) {
    std::string content;
    Lines expected;
    for (int l = 0; l < 20; ++l) {
      std::string line;
      for (int i = static_cast<int>(random() % 40); i > 0; --i) {
        const char c = alphabet[random() % sizeof alphabet];
        content += c;
        line += c == '\t' ? ' ' : c;
      }
      content += random() % 2 ? "\n" : "\r\n";
      expected.push_back(line.empty() ? " " : line);
    }
    TextInput input = makeInput(content, round % 2 ? TextInput::kReadBlock : 7);
    ASSERT_EQ(readAll(input, false), expected) << "round " << round;
  }
}

TEST(ReadLineTest, ResetInputRereadsTheChunkOrContinuesAtTheEofChar) {
  TextInput input = makeInput("a\r\nbb\r\nccc\x1arest");
  ASSERT_TRUE(ReadLine(input, false));
  input.ChunkStart = input.FilePos;
  EXPECT_EQ(readAll(input, false), (Lines{"bb", "ccc"}));
  input.CarryCppComment = input.CarryBraceComment = true;  // comments open at the cut are read again
  ResetInput(input, false);
  EXPECT_FALSE(input.CarryCppComment || input.CarryBraceComment);
  EXPECT_EQ(readAll(input, false), (Lines{"bb", "ccc"}));
  ResetInput(input, true);  // the next chunk starts at the end-of-file character and meets it again
  EXPECT_FALSE(ReadLine(input, false));
  EXPECT_EQ(input.FilePos, 10);
}

class LoadChunkTest : public ::testing::Test, public MemorySet<> {
 protected:
  // Starts a fresh pair on the two contents.
  void open(const std::string& newContent, const std::string& oldContent) {
    app.pair = PairState{};
    context.newInput = makeInput(newContent);
    context.oldInput = makeInput(oldContent);
  }

  CompareContext context{app, host, fs, report};
};

TEST_F(LoadChunkTest, CutsTheCompareColumnsIntoTheFrontOfTextAfterTheRawCompare) {
  app.options.Ccol = true;
  // Columns s1:e1 and s2:e2 (a second range when s2 > 0), the line, its Text after the cut (compare
  // text first, the rest as read), CcolLen and whether the line is short (shorter than s1).
  for (const auto& [s1, e1, s2, e2, line, text, ccolLen, isShort] :
       {std::tuple{4, 0, 0, 0, "abc", " bc", 1, true},
        {4, 0, 0, 0, "abcd", "dbcd", 1, false},
        {2, 4, 0, 0, "abcdefgh", "bcddefgh", 3, false},
        {2, 4, 6, 0, "abcdefgh", "bcdfghgh", 6, false},
        {2, 4, 6, 7, "abcdefgh", "bcdfgfgh", 5, false},
        {2, 4, 9, 12, "abcdefgh", "bcddefgh", 3, false},  // 2nd range starts behind the line
        {2, 100, 0, 0, "abc", "bcc", 2, false},
        {10, 5, 0, 0, "abcdefghijkl", "abcdefghijkl", 0, false},  // empty range
        {1, 0, 3, 4, "abcdef", "abcdef", 6, false}}) {            // a 2nd range needs an explicit 1st end
    SCOPED_TRACE(std::string(line) + " " + std::to_string(s1) + ":" + std::to_string(e1));
    // Under a Dp option the key is made after the Dp filters; without one it comes with the line.
    for (const bool dp : {true, false}) {
      SCOPED_TRACE(dp ? "Dsem" : "no Dp option");
      app.options.DpActive = app.options.Dsem = dp;
      open(std::string(line) + "\n", "#" + std::string(line + 1) + "\n");  // equal compare text when s1 > 1
      for (TextInput* in : {&context.newInput, &context.oldInput})
        std::tie(in->CcolStart1, in->CcolEnd1, in->CcolTwoRanges, in->CcolStart2, in->CcolEnd2) =
            std::tuple(s1, e1, s2 > 0, s2, e2);
      LoadChunk(context);
      const LineRecord& r = context.newTable[1];
      EXPECT_TRUE(app.pair.FilesDiffer);  // the raw lines differ
      EXPECT_EQ(std::string(r.ReadText, static_cast<std::size_t>(r.Len)), line);
      if (dp) {
        EXPECT_EQ(std::string(r.Text, std::strlen(line)), text);
      } else {
        std::string key;  // the compare text without blanks, NUL-padded to an even length
        for (int i = 0; i < ccolLen; ++i)
          if (text[i] != ' ') key += text[i];
        if (key.empty() || key.size() % 2 != 0) key += '\0';
        EXPECT_EQ(std::string(r.Text, static_cast<std::size_t>(r.CmpLen)), key);
      }
      EXPECT_EQ(r.CcolLen, ccolLen);
      EXPECT_EQ(r.CcolShort && context.newInput.CcolShortSeen && app.pair.NewCcolShortLines == 1, isShort);
      EXPECT_EQ(context.newInput.MaxCmpLen, isShort ? 0 : ccolLen);
    }
  }
  app.options.DpActive = app.options.Dsem = false;
  // Under Dcob a Cobol comment line is a Dp line whose columns are never cut, so it is never short.
  app.options.Dcob = true;
  open("      *\n12345*\n", "x\n");
  context.newInput.CcolStart1 = 8;
  LoadChunk(context);
  EXPECT_EQ(std::pair(context.newTable[1].DpLine, context.newTable[1].CcolShort), std::pair(true, false));
  EXPECT_EQ(std::pair(context.newTable[2].DpLine, context.newTable[2].CcolShort), std::pair(false, true));
}

TEST_F(LoadChunkTest, ShowsProgressEvery1000NewLines) {
  const std::string lines = joinLines(numbered("", 1, 2500));
  open(lines, lines);
  LoadChunk(context);
  EXPECT_EQ(host.statusTexts,
            (Lines{"Reading \"BIG.Txt\" - Line = 1000 ", "Reading \"BIG.Txt\" - Line = 2000 "}));
  EXPECT_EQ(host.processEventsCalls, 4);  // New and Old side each at 1000 and 2000
}

TEST(IsTextFileTest, NineInvalidBytesInTheFirstLineMakeABinaryFile) {
  const std::string eight("\x01\x02\x03\x04\x05\x06\x07\x08", 8);
  for (const auto& [name, content, text] : {
           std::tuple<const char*, std::string, bool>{"eight", eight + "abc\r\n", true},
           {"nine", eight + "\x0e" + "abc\r\n", false},
           {"nine with NULs and 26", std::string(5, '\0') + "\x0b\x0c\x1a\x1f", false},
           {"valid controls", "\t\t\n\n\r\r\t\n\r\t\n\r", true},
           {"after the first CR LF", "abc\r\n" + eight + "\x0e", true},
           {"CR alone does not end the line", "a\rb" + eight + "\x0e", false},
           {"beyond 2048 bytes", std::string(2048, 'x') + eight + "\x0e", true},
           {"nine at the end of 2048 bytes", std::string(2039, 'x') + eight + "\x0e", false},
           {"empty", "", true},
           // Runs of printable bytes are passed over a word at a time.
           {"spread among printable runs",
            std::string(13, 'y') + "\xe9\x01\x02\x03\x04" + std::string(9, 'z') + "\x05\x06\x07\x08\x0e",
            false},
           {"CR LF after printable runs", std::string(14, 'y') + "\r\n" + eight + "\x0e", true},
       }) {
    SCOPED_TRACE(name);
    TextInput input = makeInput(content, 5);  // short reads: the probe keeps reading
    EXPECT_EQ(IsTextFile(input, CompareOptions{}), text);
    char first = 0;
    input.Stream->read(&first, 1);
    EXPECT_EQ(first, content.empty() ? '\0' : content[0]) << "the file is back at its start";
  }
  CompareOptions txal, abin;  // Abin wins over Txal
  txal.Txal = abin.Txal = abin.Abin = true;
  TextInput input = makeInput(std::string(20, '\x01'));
  EXPECT_TRUE(IsTextFile(input, txal));
  EXPECT_FALSE(IsTextFile(input, abin));
}

}  // namespace
}  // namespace kelvarine
