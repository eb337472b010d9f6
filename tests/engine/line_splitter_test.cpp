#include "engine/line_splitter.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "engine/text_reader.h"
#include "support/memory_file_system.h"

namespace kelvarine {
namespace {

// Random bytes that provoke every rule of the splitter: line ends of each kind, TABs, end-of-file
// characters, blanks, long lines around 2048 characters.
std::string randomContent(std::mt19937& rng) {
  static const std::vector<std::string> pieces = {
      "a", "bc", " ", "  ", "\t", "\r", "\n", "\r\n", "\n\r", "\x1a", std::string(1, '\0'), "xyz 12"};
  std::string out;
  const int count = static_cast<int>(rng() % 200);
  for (int i = 0; i < count; ++i) {
    if (rng() % 50 == 0) {
      out += std::string(2040 + rng() % 20, static_cast<char>('k' + rng() % 3));
    } else {
      out += pieces[rng() % pieces.size()];
    }
  }
  return out;
}

struct Split {
  std::string text;
  std::int64_t endPos;
  bool split;
  bool operator==(const Split&) const = default;
};

// The lines as ReadLine gives them, with the flags it leaves.
std::vector<Split> readLines(const std::string& content, bool ieof, TextInput& input) {
  MemoryFileSystem files;
  files.add("f", content)->readStep = 7;
  input.Stream = files.openForReading("f");
  std::vector<Split> out;
  while (true) {
    input.LinesSplit = false;
    if (!ReadLine(input, ieof)) break;
    out.push_back({std::string(input.LineBuf.data(), static_cast<std::size_t>(input.LineLen)), input.FilePos,
                   input.LinesSplit});
  }
  input.Stream.reset();
  return out;
}

// The splitter agrees with ReadLine on every line, on the end of the text and on what the end met,
// however the bytes are cut into batches.
TEST(SplitLinesTest, AgreesWithReadLine) {
  std::mt19937 rng(11);
  for (int round = 0; round < 400; ++round) {
    const std::string content = randomContent(rng);
    const bool ieof = round % 2 == 1;
    TextInput reference;
    const std::vector<Split> expected = readLines(content, ieof, reference);
    SCOPED_TRACE(round);

    std::vector<Split> got;
    bool premature = false;
    std::int64_t eofCharAt = -1;
    FeedBatch batch;
    std::int64_t start = 0;
    std::size_t read = 0;
    SplitOptions options;
    options.ieof = ieof;
    options.makeKeys = true;
    while (true) {
      // Batches of a few bytes each, as short reads give them.
      const std::size_t more = std::min<std::size_t>(1 + rng() % 40, content.size() - read);
      batch.Raw.insert(batch.Raw.end(), content.begin() + static_cast<std::ptrdiff_t>(read),
                       content.begin() + static_cast<std::ptrdiff_t>(read + more));
      read += more;
      batch.Start = start;
      const std::size_t used = SplitLines(batch, read == content.size(), options);
      for (const FeedLine& line : batch.Lines) {
        got.push_back({std::string(line.Record.ReadText, static_cast<std::size_t>(line.Record.Len)),
                       line.Record.EndPos, line.Split});
        premature = premature || line.PrematureEof;
        if (line.EofCharEnd) eofCharAt = line.Record.EndPos;
      }
      if (batch.Last) {
        premature = premature || batch.EndPrematureEof;
        if (batch.EndEofCharAt >= 0) eofCharAt = batch.EndEofCharAt;
        break;
      }
      batch.Raw.erase(batch.Raw.begin(), batch.Raw.begin() + static_cast<std::ptrdiff_t>(used));
      batch.Lines.clear();
      start = batch.LinesEnd;
    }
    ASSERT_EQ(got, expected);
    EXPECT_EQ(premature, reference.PrematureEof);
    EXPECT_EQ(eofCharAt, reference.EofCharAt);
  }
}

}  // namespace
}  // namespace kelvarine
