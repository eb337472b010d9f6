#include "engine/twin_index.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "engine/compare_key.h"
#include "engine/matcher_state.h"
#include "support/chunk_builder.h"

namespace kelvarine {
namespace {

struct Links {
  std::vector<int> link, nextTwin;
  std::vector<bool> unique;
  bool operator==(const Links&) const = default;
};

Links linksOf(const CompareContext& c) {
  Links out;
  for (int n = 1; n <= c.newInput.Count; ++n) {
    out.link.push_back(c.newTable[n].Link);
    out.unique.push_back(c.newTable[n].Unique);
  }
  for (int o = 1; o <= c.oldInput.Count; ++o) {
    out.link.push_back(c.oldTable[o].Link);
    out.nextTwin.push_back(c.oldTable[o].NextTwin);
  }
  return out;
}

// The twin lists as the equality rule defines them, by walking every Old line of the same bucket:
// what the index must reproduce.
void referenceTwinLists(CompareContext& c, bool movedSearch) {
  const int oldEnd = c.oldInput.Count + 1;
  std::vector<int> heads(8193, 0);
  for (int i = c.oldInput.Count; i >= 1; --i) {
    LineRecord& line = c.oldTable[i];
    if (line.DpLine) continue;
    int& head = heads[static_cast<std::size_t>(HashBucket(line.Hash))];
    line.Link = head == 0 ? oldEnd : head;
    line.NextTwin = 0;
    head = i;
  }
  const auto same = [&](const LineRecord& n, const LineRecord& o) {
    return SameCompareText(n, o) && (!movedSearch || n.CmpLen == o.CmpLen);
  };
  for (int j = 1; j <= c.newInput.Count; ++j) {
    LineRecord& line = c.newTable[j];
    if (line.DpLine || (movedSearch && line.Matched)) continue;
    if (movedSearch) line.Unique = false;
    int first = heads[static_cast<std::size_t>(HashBucket(line.Hash))];
    if (first == 0) first = oldEnd;
    while (first != oldEnd && !same(line, c.oldTable[first]))
      first = c.oldTable[first].Link;
    line.Link = first;
    line.Unique = first == oldEnd;
    if (first == oldEnd || c.oldTable[first].NextTwin != 0) continue;
    int last = first;
    for (int d = c.oldTable[first].Link; d != oldEnd; d = c.oldTable[d].Link) {
      if (same(line, c.oldTable[d])) {
        c.oldTable[last].NextTwin = d;
        last = d;
      }
    }
    c.oldTable[last].NextTwin = oldEnd;
  }
  for (int i = 1; i <= c.oldInput.Count; ++i)
    if (!c.oldTable[i].DpLine && c.oldTable[i].NextTwin == 0) c.oldTable[i].NextTwin = oldEnd;
}

// Lines from pieces that provoke every case: numbers that differ in their digits only (one bucket),
// blanks, a lone NUL (the compare text of a line of blanks, at another length), and tails whose
// 16-bit words sum to 0 (equal to the shorter line under the rule that compares the New length).
std::string randomLine(std::mt19937& rng, int rareOneIn) {
  static const std::vector<std::string> kCommon = {"12", "21", "30", "03", "ab", " ", "x", "9"};
  static const std::vector<std::string> kRare = {std::string("\0\0", 2), std::string("\x01\0\xff\xff", 4),
                                                 std::string("\0", 1), "   "};
  std::string line;
  const int pieces = 1 + static_cast<int>(rng() % 4);
  for (int k = 0; k < pieces; ++k) {
    line += rng() % static_cast<unsigned>(rareOneIn) == 0 ? kRare[rng() % kRare.size()]
                                                          : kCommon[rng() % kCommon.size()];
  }
  if (rng() % 40 == 0) line = "#dp" + line;
  return line;
}

TEST(TwinIndexTest, FindsTheSameTwinListsAsTheBucketChains) {
  std::mt19937 rng(20261207);
  for (int round = 0; round < 400; ++round) {
    // Few rare lines (the index is used, each a candidate for every line), or many (chains walked).
    const int rareOneIn = round % 3 == 0 ? 3 : 40;
    std::vector<std::string> newLines, oldLines;
    const int count = 20 + static_cast<int>(rng() % 300);
    for (int i = 0; i < count; ++i) {
      oldLines.push_back(randomLine(rng, rareOneIn));
      newLines.push_back(rng() % 3 == 0 ? randomLine(rng, rareOneIn) : oldLines.back());
    }
    for (const bool moved : {false, true}) {
      ChunkBuilder expected, actual;
      CompareContext& want = expected.build(newLines, oldLines);
      CompareContext& got = actual.build(newLines, oldLines);
      for (int n = 1; moved && n <= want.newInput.Count; n += 3)
        want.newTable[n].Matched = got.newTable[n].Matched = true;
      referenceTwinLists(want, moved);
      MatcherState(got).buildTwinLists(moved);
      ASSERT_EQ(linksOf(want), linksOf(got)) << "round " << round << (moved ? ", moved-line search" : "");
    }
  }
}

// A text is exact unless a proper prefix of an even length hashes like the whole (or it is a 0 byte
// hashing to 65535); texts of every length, some with a tail whose words sum to 0.
TEST(TwinIndexTest, ExactUnlessAShorterPrefixHashesAlike) {
  std::mt19937 rng(8);
  for (int round = 0; round < 20000; ++round) {
    std::string text;
    const int words = 1 + static_cast<int>(rng() % 40);
    for (int i = 0; i < words; ++i) {
      const unsigned value = rng() % 4 == 0 ? rng() % 4 : rng() % 65536;
      text += static_cast<char>(value & 0xFF);
      text += static_cast<char>(value >> 8);
    }
    if (round % 2 == 0) {  // two words summing to 0 behind a prefix: that prefix hashes like the whole
      const unsigned value = 1 + rng() % 65535;
      const unsigned rest = 65536 - value;
      text.insert(2 * (rng() % static_cast<unsigned>(words)),
                  {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8),
                   static_cast<char>(rest & 0xFF), static_cast<char>(rest >> 8)});
    }
    const int cmpLen = static_cast<int>(text.size());
    unsigned sum = 0;
    for (int i = 0; i < cmpLen; i += 2)
      sum += static_cast<unsigned char>(text[i]) + 256u * static_cast<unsigned char>(text[i + 1]);
    const auto hash = static_cast<std::uint16_t>(sum % 65536 == 0 ? 65535 : sum % 65536);
    bool exact = !(text[0] == 0 && hash == 65535);
    unsigned prefix = 0;
    for (int length = 2; length + 2 <= cmpLen; length += 2) {
      prefix +=
          static_cast<unsigned char>(text[length - 2]) + 256u * static_cast<unsigned char>(text[length - 1]);
      exact = exact && (prefix % 65536 == 0 ? 65535u : prefix % 65536) != hash;
    }
    text.append(8, '\0');  // the whole words the buffer holds
    ASSERT_EQ(TwinKeyExact(text.data(), cmpLen, hash), exact) << round;
  }
}

}  // namespace
}  // namespace kelvarine
