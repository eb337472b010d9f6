#include "engine/line_matcher.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "engine/compare_key.h"
#include "engine/engine_fault.h"
#include "engine/line_table.h"
#include "engine/matcher_state.h"
#include "support/chunk_builder.h"
#include "support/memory_set.h"
#include "support/reference_moved_search.h"

namespace kelvarine {
namespace {

using Lines = std::vector<std::string>;

// The New side in short form: "M<partner>" matched, "V<partner>" moved, "-" unpaired, "dp" a Dp line;
// runs of consecutive partners as "M3..9", of unpaired lines as "-*4". A partner that does not pair
// back alike is named instead.
std::string newSide(const CompareContext& c) {
  for (int n = 1; n <= c.newInput.Count; ++n) {
    const LineRecord& r = c.newTable[n];
    if (!r.Matched && !r.Moved) continue;
    const LineRecord& o = c.oldTable[r.Link];
    if (o.Link != n || o.Matched != r.Matched || o.Moved != r.Moved)
      return "Old " + std::to_string(r.Link) + " does not pair back with New " + std::to_string(n);
  }
  std::string out;
  for (int n = 1; n <= c.newInput.Count;) {
    const LineRecord& r = c.newTable[n];
    const std::string kind = r.DpLine ? "dp" : r.Matched ? "M" : r.Moved ? "V" : "-";
    int end = n + 1;
    while (end <= c.newInput.Count && c.newTable[end].DpLine == r.DpLine &&
           c.newTable[end].Matched == r.Matched && c.newTable[end].Moved == r.Moved &&
           (kind == "-" || (kind != "dp" && c.newTable[end].Link == r.Link + end - n)))
      ++end;
    out += (out.empty() ? "" : " ") + kind;
    if (kind == "M" || kind == "V") out += std::to_string(r.Link);
    if (end - n > 1)
      out += kind == "-" ? "*" + std::to_string(end - n) : ".." + std::to_string(r.Link + end - n - 1);
    n = end;
  }
  return out;
}

struct MatchCase {
  const char* name;
  Lines newLines, oldLines;
  bool fmvl, icas;
  std::string newSide;
  friend void PrintTo(const MatchCase& c, std::ostream* os) { *os << c.name; }
};

Lines with(Lines lines, std::size_t at, const std::string& text) {
  lines[at] = text;
  return lines;
}
// Two-character lines whose byte sum is constant: every one hashes alike.
Lines oneBucket(int count, int skip) {
  Lines out;
  for (int i = 0; i < count; ++i)
    if (i != skip) out.push_back({static_cast<char>('A' + i % 26), static_cast<char>('z' - i % 26)});
  return out;
}

const Lines kHundred = numbered("line ", 1, 100),
            kMoved = concat({numbered("line ", 11, 100), numbered("line ", 1, 10)});

const MatchCase kMatchCases[] = {
    {"OneChangedLineBridged", with(kHundred, 49, "changed"), kHundred, false, false, "M1..49 - M51..100"},
    {"BlockMovedToTheEnd", kMoved, kHundred, false, false, "M11..100 -*10"},
    {"BlockMovedToTheEndFmvl", kMoved, kHundred, true, false, "M11..100 V1..10"},
    // "end" occurs three times in Old; the New "end" belongs after b1..b3.
    {"RepeatedLineWhereTheLongestRunGoes", split("b1|b2|b3|end|c1"), split("a1|end|x|end|b1|b2|b3|end|c1"),
     false, false, "M5..9"},
    {"BlanksAndCaseIgnored", split("int  a = 1;|RETURN X"), split("int a=1;|return x"), false, true, "M1..2"},
    {"SmallChunkPairsSingleLines", split("a|X|c|Y|e"), split("Z|c|W|e"), false, false, "-*2 M2 - M4"},
    {"DpLinesNeverPaired", split("a|#dp one|b|c|#dp two|d"), split("#dp one|a|b|#dp x|c|d"), false, false,
     "M2 dp M3 M5 dp M6"},
    {"EmptyOldSide", numbered("n", 1, 20), {}, false, false, "-*20"},
    {"OneBucket", oneBucket(60, 30), oneBucket(60, -1), false, false, "M1..30 M32..60"},
    {"SingleMovedLine",
     concat({numbered("line ", 1, 4), numbered("line ", 6, 25), {"line 5"}, numbered("line ", 26, 30)}),
     numbered("line ", 1, 30), true, false, "M1..4 M6..25 V5 M26..30"},
    {"OnlyOneOfTwoEqualNewLinesMoved", split("a|b|c|dup|dup"), split("dup|a|b|c"), true, false, "M2..4 V1 -"},
    // An ambiguous gap (no two equal pairs behind the first hit): the probe refuses it, the runs decide.
    {"AmbiguousGapNotBridgedOnItsFirstHit", split("x|p|a|b|c|d|e|f|g"), split("p|p|q|a|b|c|d|e|f|g"), false,
     false, "- M1 M4..10"},
    {"MovedLineChangedInBlanks", concat({numbered("line ", 2, 20), {"li ne 1"}}), numbered("line ", 1, 20),
     true, false, "M2..20 V1"},
};

class LineMatcherTest : public ::testing::TestWithParam<MatchCase> {};

TEST_P(LineMatcherTest, PairsAsExpected) {
  const MatchCase& m = GetParam();
  ChunkBuilder builder;
  builder.app.options.Fmvl = m.fmvl;
  builder.app.options.Icas = m.icas;
  CompareContext& c = builder.build(m.newLines, m.oldLines);
  MatchChunk(c);
  EXPECT_EQ(newSide(c), m.newSide);
}

INSTANTIATE_TEST_SUITE_P(Chunks, LineMatcherTest, ::testing::ValuesIn(kMatchCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(LineMatcherRunTest, IdenticalTablesAreOneRunAcceptedInTheFirstCycle) {
  ChunkBuilder builder;
  CompareContext& c = builder.build(kHundred, kHundred);
  MatchChunk(c);
  EXPECT_EQ(newSide(c), "M1..100");
  EXPECT_TRUE(c.newTable[1].Anchor);
  EXPECT_EQ(builder.host.statusTexts.back(),
            "Compare Lines Pass Count (1) Compare Cycles (101) New Counter, (101) Old Counter");
  // Dp lines do not break a run: one anchor only.
  CompareContext& dp = builder.build(split("a|#dp|b|c"), split("a|b|#dp|c"));
  MatchChunk(dp);
  EXPECT_TRUE(dp.newTable[1].Anchor && !dp.newTable[3].Anchor);
}

// The last 30 New lines have nothing in common with the Old table: a chunk that is not the pair's last
// ends after line 70, with the sentinel linked behind it; the last chunk is never cut.
TEST(LineMatcherRunTest, BigModeCutsANonFinalChunkAfterTheLastAcceptedRun) {
  const Lines oldLines = concat({numbered("line ", 1, 70), numbered("old tail ", 1, 30)});
  const Lines newLines = concat({numbered("line ", 1, 70), numbered("new tail ", 1, 30)});
  for (bool last : {false, true}) {
    ChunkBuilder builder;
    CompareContext& c = builder.build(newLines, oldLines, last);
    MatchChunk(c);
    EXPECT_EQ(std::pair(c.newInput.Count, c.oldInput.Count), last ? std::pair(100, 100) : std::pair(70, 70));
    if (last) continue;
    EXPECT_EQ(builder.app.pair.NewLines, 70);
    EXPECT_TRUE(c.newTable[71].Anchor);
    EXPECT_EQ(c.newTable[71].Link, 71);
    EXPECT_EQ(c.newTable[71].Text, nullptr);
  }
}

// The engine's moved-line search keeps the runs of earlier passes; it must pair exactly as the plain
// search that starts every pass afresh, also on inputs full of equal unpaired lines.
TEST(MovedLineSearchAgreementTest, PairsExactlyAsThePlainSearch) {
  for (unsigned seed = 1; seed <= 40; ++seed) {
    std::mt19937 rng(seed);
    const int size = 20 + static_cast<int>(rng() % 600);
    const int texts = 2 + static_cast<int>(rng() % 40);  // few texts: many equal lines
    std::vector<std::string> oldLines, newLines;
    for (int i = 0; i < size; ++i) {
      const int t = static_cast<int>(rng() % static_cast<unsigned>(texts));
      oldLines.push_back(t % 11 == 10 ? "#dp note" : "text " + std::to_string(t) + (t % 3 ? "" : "  "));
    }
    newLines = oldLines;
    for (std::size_t i = 0; i < newLines.size(); i += 1 + rng() % 7)
      std::swap(newLines[i], newLines[rng() % newLines.size()]);
    ChunkBuilder fast, plain;
    CompareContext& a = fast.build(newLines, oldLines);
    CompareContext& b = plain.build(newLines, oldLines);
    MatchChunk(a);  // the cycles alone (no Fmvl): both start from the same pairs
    MatchChunk(b);
    MatcherState fastState(a), plainState(b);
    FindMovedLines(fastState);
    ReferenceFindMovedLines(plainState);
    for (int n = 1; n <= a.newInput.Count; ++n) {
      ASSERT_EQ(a.newTable[n].Moved, b.newTable[n].Moved) << "seed " << seed << " New " << n;
      if (a.newTable[n].Moved) {
        ASSERT_EQ(a.newTable[n].Link, b.newTable[n].Link) << "seed " << seed;
      }
    }
    for (int o = 1; o <= a.oldInput.Count; ++o)
      ASSERT_EQ(a.oldTable[o].Moved, b.oldTable[o].Moved) << "seed " << seed;
  }
}

// Random edit scripts (inserts, deletes, changes, block moves) of lines with frequent duplicates and
// Dp lines: whatever the edits, pairs are symmetric, of equal compare text and in order when matched;
// in the last chunk, with Fmvl no two equal lines are left unpaired and plain edits of unique lines
// keep 90% matched.
TEST(MatcherPropertyTest, RandomEditScriptsKeepTheContract) {
  for (unsigned seed = 1; seed <= 120; ++seed) {
    std::mt19937 rng(seed);
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    const bool plain = seed % 3 == 0, fmvl = seed % 2 == 0, last = seed % 4 != 1;  // not last: may be cut
    const int size = seed % 10 == 0 ? 3000 : 10 + pick(300);
    Lines oldLines;
    for (int i = 0; i < size; ++i) {
      const int roll = plain ? 99 : pick(100);
      oldLines.push_back(roll < 8    ? "#dp " + std::to_string(roll)
                         : roll < 25 ? (roll % 2 ? "}" : "  x;")
                                     : "s" + std::to_string(i));
    }
    Lines newLines = oldLines;
    int touched = 0;
    for (int e = 0, edits = 1 + pick(size / 20 + 1); e < edits; ++e) {
      const int at = pick(static_cast<int>(newLines.size()) + 1), kind = pick(plain ? 3 : 4);
      const int len = std::min(1 + pick(12), static_cast<int>(newLines.size()) - at);
      const Lines block(newLines.begin() + at, newLines.begin() + at + len);
      if (kind > 0) {
        newLines.erase(newLines.begin() + at, newLines.begin() + at + len);
        touched += len;
      }
      if (kind == 0 || kind == 2)
        newLines.insert(newLines.begin() + at, std::to_string(e) + "e" + std::to_string(len));
      if (kind == 3)
        newLines.insert(newLines.begin() + pick(static_cast<int>(newLines.size()) + 1), block.begin(),
                        block.end());
    }
    ChunkBuilder builder;
    builder.app.options.Fmvl = fmvl;
    CompareContext& c = builder.build(newLines, oldLines, last);
    MatchChunk(c);
    SCOPED_TRACE("seed " + std::to_string(seed));
    ASSERT_EQ(newSide(c).find("does not pair back"), std::string::npos);
    int lastPartner = 0, matched = 0;
    for (int n = 1; n <= c.newInput.Count; ++n) {
      const LineRecord& r = c.newTable[n];
      if (!r.Matched && !r.Moved) continue;
      ASSERT_FALSE(r.DpLine || (r.Matched && r.Moved)) << "New " << n;
      ASSERT_TRUE(SameCompareText(r, c.oldTable[r.Link])) << "New " << n;
      if (r.Matched) {
        ASSERT_GT(r.Link, lastPartner) << "New " << n;
        lastPartner = r.Link;
        ++matched;
      }
    }
    for (int o = 1; o <= c.oldInput.Count; ++o) {
      if (c.oldTable[o].Matched || c.oldTable[o].Moved) {
        ASSERT_EQ(c.newTable[c.oldTable[o].Link].Link, o);
      }
    }
    if (plain && last) {
      EXPECT_GE(matched * 10, (size - touched) * 9);
    }
    for (int n = 1; fmvl && last && n <= c.newInput.Count; ++n)
      for (int o = 1; o <= c.oldInput.Count; ++o) {
        const LineRecord &nl = c.newTable[n], &ol = c.oldTable[o];
        ASSERT_TRUE(nl.DpLine || ol.DpLine || nl.Matched || nl.Moved || ol.Matched || ol.Moved ||
                    !SameCompareText(nl, ol))
            << "New " << n << " and Old " << o << " left unpaired";
      }
  }
}

// Stores `line` as record i and prepares its key; a `ccolLen` of -1 means no compare columns.
const LineRecord& keyed(LineTable& t, int i, const std::string& line, bool icas = false, int ccolLen = -1) {
  t.setText(i, line.data(), static_cast<int>(line.size()));
  t[i].Len = static_cast<int>(line.size());
  t[i].CcolLen = ccolLen;
  PrepareCompareKey(t[i], icas, ccolLen >= 0);
  return t[i];
}

// Lines long enough for the word-at-a-time squeeze, from all blanks to none, with and without Ccol:
// the key is the line without blanks, padded with a NUL to an even length (one NUL when empty). Made
// from the line without a copy, it leaves the whole buffer as the key squeezed in a zero-padded copy:
// a New text longer than an Old one is compared with the bytes behind the Old key.
TEST(CompareKeyTest, AgreesWithAPlainSqueezeOnRandomLines) {
  std::mt19937 random(3);
  for (int round = 0; round < 20000; ++round) {
    const int len = 1 + static_cast<int>(random() % 70);
    const unsigned blankPercent = random() % 101;
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
    ASSERT_EQ(r.Hash, sum % 65536 == 0 ? 65535 : sum % 65536);
    if (ccolLen >= 0) continue;
    const auto cap = static_cast<std::size_t>(PaddedTextBytes(len));
    std::string copy(cap, '?'), made(cap, '?');
    CopyZeroPadded(copy.data(), cap, line.data(), line.size());
    const CompareKey a = MakeCompareKey(copy.data(), len, len, false);
    const CompareKey b = MakeCompareKeyCopy(line.data(), len, made.data());
    ASSERT_EQ(made, copy) << '"' << line << '"';
    ASSERT_EQ(std::tuple(a.CmpLen, a.Hash, a.TwinKey, a.TwinExact),
              std::tuple(b.CmpLen, b.Hash, b.TwinKey, b.TwinExact));
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
  t.clear();
  EXPECT_EQ(t[LineTable::kRecords].Text, nullptr);
}

}  // namespace
}  // namespace kelvarine
