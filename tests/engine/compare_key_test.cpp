#include "engine/compare_key.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kelvarine {
namespace {

// A table whose record i holds line i of `lines`, compare key prepared.
struct Keyed {
  LineTable table;
  explicit Keyed(const std::vector<std::string>& lines, bool icas = false) {
    int i = 0;
    for (const std::string& line : lines) {
      ++i;
      table.setText(i, line.data(), static_cast<int>(line.size()));
      table[i].Len = static_cast<int>(line.size());
      PrepareCompareKey(table[i], icas, false);
    }
  }
  const LineRecord& operator[](int i) const { return table[i]; }
  std::string key(int i) const {
    return std::string(table[i].Text, static_cast<std::size_t>(table[i].CmpLen));
  }
};

TEST(CompareKeyTest, KeysArePaddedToEvenLengthAndHashedAsLittleEndianWords) {
  struct Case {
    std::string line;
    std::string key;
    std::uint16_t hash;
  };
  const Case cases[] = {
      {"abcd", "abcd", 0x6261 + 0x6463},
      {"abc", std::string("abc\0", 4), 0x6261 + 0x0063},
      {" a b c ", std::string("abc\0", 4), 0x6261 + 0x0063},
      {"\t", std::string("\t\0", 2), 0x0009},
      {"   ", std::string(1, '\0'), 65535},                       // nothing left: CmpLen 1, hash never 0
      {"\xff\xff\x01", std::string("\xff\xff\x01\0", 4), 65535},  // words sum to 0
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    Keyed k({c.line});
    EXPECT_EQ(k.key(1), c.key);
    EXPECT_EQ(k[1].CmpLen, static_cast<int>(c.key.size()));
    EXPECT_EQ(k[1].Hash, c.hash);
    EXPECT_EQ(k[1].Len, static_cast<int>(c.line.size())) << "Len stays the length as read";
  }
  Keyed blank({"    "});
  EXPECT_EQ(blank[1].Text[1], '\0');  // two zero bytes behind an empty compare text
}

TEST(CompareKeyTest, BlanksAndFoldedCaseDoNotMatter) {
  Keyed plain({"a b", "ab", "AB", "ba", "acbb", "bbac"});
  EXPECT_TRUE(SameCompareText(plain[1], plain[2]));
  EXPECT_EQ(plain[1].Hash, plain[2].Hash);
  EXPECT_FALSE(SameCompareText(plain[2], plain[3]));
  EXPECT_FALSE(SameCompareText(plain[2], plain[4]));
  // Equal hashes (the same words in another order) still need equal bytes.
  ASSERT_EQ(plain[5].Hash, plain[6].Hash);
  EXPECT_FALSE(SameCompareText(plain[5], plain[6]));

  Keyed folded({"A b", "ab", "x[Z]"}, true);
  EXPECT_TRUE(SameCompareText(folded[1], folded[2]));
  EXPECT_EQ(folded.key(3), "x[z]");
}

TEST(CompareKeyTest, WithCompareColumnsOnlyTheColumnTextIsKeyed) {
  LineTable table;
  const std::string line = "a bXY Z";
  table.setText(1, line.data(), 7);
  table[1].Len = 7;
  table[1].CcolLen = 3;  // "a b"
  PrepareCompareKey(table[1], true, true);
  EXPECT_EQ(table[1].CmpLen, 2);
  EXPECT_EQ(std::string(table[1].Text, 7), "abbxy z") << "folding covers the whole line";

  table.setText(2, line.data(), 7);
  table[2].Len = 7;
  table[2].CcolLen = 0;  // an empty column range
  PrepareCompareKey(table[2], false, true);
  EXPECT_EQ(table[2].CmpLen, 1);
  EXPECT_EQ(table[2].Hash, 65535);
}

TEST(CompareKeyTest, LinesWithoutAKeyNeverMatch) {
  Keyed k({"same", "same"});
  ASSERT_TRUE(SameCompareText(k[1], k[2]));
  LineRecord dp = k[1];
  dp.DpLine = true;
  EXPECT_FALSE(SameCompareText(dp, k[2]));
  EXPECT_FALSE(SameCompareText(k[1], dp));
  LineRecord unhashed = k[2];
  unhashed.Hash = 0;
  EXPECT_FALSE(SameCompareText(unhashed, unhashed));
  LineRecord released = k[2];
  released.Text = nullptr;
  EXPECT_FALSE(SameCompareText(k[1], released));
  LineRecord small = k[2];
  small.TextCap = 2;  // the New key would reach past the Old buffer
  EXPECT_FALSE(SameCompareText(k[1], small));
}

}  // namespace
}  // namespace kelvarine
