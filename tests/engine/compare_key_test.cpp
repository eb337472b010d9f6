#include "engine/compare_key.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "engine/engine_fault.h"
#include "engine/line_table.h"

namespace kelvarine {
namespace {

// Stores `line` as record i and prepares its key; a `ccolLen` of -1 means no compare columns.
const LineRecord& keyed(LineTable& t, int i, const std::string& line, bool icas = false, int ccolLen = -1) {
  t.setText(i, line.data(), static_cast<int>(line.size()));
  t[i].Len = static_cast<int>(line.size());
  t[i].CcolLen = ccolLen;
  PrepareCompareKey(t[i], icas, ccolLen >= 0);
  return t[i];
}

// Lines long enough for the word-at-a-time squeeze, from all blanks to none, with and without Ccol:
// the key is the line without blanks, padded with a NUL to an even length (one NUL when empty).
TEST(CompareKeyTest, AgreesWithAPlainSqueezeOnRandomLines) {
  std::mt19937 random(3);
  for (int round = 0; round < 1000; ++round) {
    const int len = 1 + static_cast<int>(random() % 70);
    const unsigned blankPercent = (round % 5) * 25u;
    std::string line;
    for (int i = 0; i < len; ++i)
      line += random() % 100 < blankPercent ? ' ' : static_cast<char>(33 + random() % 223);
    const int ccolLen = round % 3 == 0 ? static_cast<int>(random() % (line.size() + 1)) : -1;
    std::string key;
    for (char c : line.substr(0, ccolLen < 0 ? line.size() : static_cast<std::size_t>(ccolLen)))
      if (c != ' ') key += c;
    if (key.size() % 2 != 0 || key.empty()) key += '\0';
    LineTable t;
    const LineRecord& r = keyed(t, 1, line, false, ccolLen);
    ASSERT_EQ(std::string(r.Text, static_cast<std::size_t>(r.CmpLen)), key) << line << " | " << ccolLen;
    unsigned sum = 0;  // the 16-bit little-endian words of the key, added up modulo 65536; never 0
    for (std::size_t i = 0; i < key.size(); i += 2)
      sum += static_cast<unsigned char>(key[i]) + 256u * static_cast<unsigned char>(key[i + 1]);
    EXPECT_EQ(r.Hash, sum % 65536 == 0 ? 65535 : sum % 65536);
  }
}

TEST(CompareKeyTest, SameCompareTextIgnoresBlanksAndWithIcasTheCaseOfLetters) {
  // "acbb" and "bbac" have equal hashes; the bytes of "\xff\xff\x01" sum to 0.
  using Row = std::tuple<const char*, const char*, bool, bool>;  // New, Old, Icas, same
  for (const auto& [a, b, icas, same] :
       {Row{"a b", "ab", false, true}, Row{"ab", "AB", false, false}, Row{"A b", "ab", true, true},
        Row{"x[Z@", "x{z`", true, false}, Row{"acbb", "bbac", false, false},
        Row{"\xff\xff\x01", "\xff\xff\x01", false, true}, Row{"   ", " ", false, true}}) {
    LineTable t;
    EXPECT_EQ(SameCompareText(keyed(t, 1, a, icas), keyed(t, 2, b, icas)), same) << a << "|" << b;
  }
}

TEST(LineTableTest, RecordsAreOneBasedAndTextLivesUntilClear) {
  LineTable t;
  EXPECT_THROW(t[0], EngineFault);
  EXPECT_THROW(t[LineTable::kRecords + 1], EngineFault);
  t.setText(LineTable::kRecords, "abc", 3);
  EXPECT_EQ(std::string(t[LineTable::kRecords].Text, 4), std::string("abc\0", 4));
  const std::string longLine(3000, 'x');
  t.setText(LineTable::kRecords, longLine.data(), 3000);  // a longer re-read line gets a new buffer
  EXPECT_EQ(std::string(t[LineTable::kRecords].Text, 3000), longLine);
  t.clear();
  EXPECT_EQ(t[LineTable::kRecords].Text, nullptr);
}

}  // namespace
}  // namespace kelvarine
