// Properties of the matcher over many seeded random edit scripts: whatever the edits, the line tables
// it leaves keep its contract (see CheckMatcherInvariants), and plain edits of unique lines keep most
// of the untouched lines matched.
#include <gtest/gtest.h>

#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "engine/compare_key.h"
#include "engine/line_matcher.h"
#include "support/chunk_builder.h"
#include "support/reference_moved_search.h"

namespace kelvarine {
namespace {

struct EditScript {
  std::vector<std::string> oldLines, newLines;
  int untouched = 0;  // Old lines that the edits left alone (upper bound of a perfect match)
};

// Old lines come from a small vocabulary with frequent duplicates ("}", blank-ish lines) and Dp lines
// when asked; New lines are Old after random inserts, deletes, changes and block moves.
EditScript makeScript(std::mt19937& rng, int size, bool duplicates, bool dpLines, bool moves) {
  auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  EditScript s;
  for (int i = 0; i < size; ++i) {
    int roll = pick(100);
    if (dpLines && roll < 8)
      s.oldLines.push_back("#dp comment " + std::to_string(pick(5)));
    else if (duplicates && roll < 25)
      s.oldLines.push_back(roll % 2 ? "}" : "  return;");
    else
      s.oldLines.push_back("statement " + std::to_string(i) + " of " + std::to_string(pick(1000)));
  }
  std::vector<bool> touched(s.oldLines.size(), false);
  std::vector<std::pair<std::string, int>> work;  // line and its Old index (0: new text)
  for (std::size_t i = 0; i < s.oldLines.size(); ++i)
    work.emplace_back(s.oldLines[i], static_cast<int>(i) + 1);
  const int edits = 1 + pick(std::max(2, size / 20));
  for (int e = 0; e < edits && !work.empty(); ++e) {
    const int at = pick(static_cast<int>(work.size()));
    const int len = 1 + pick(std::min<int>(12, static_cast<int>(work.size()) - at));
    const int kind = pick(moves ? 4 : 3);  // insert, delete, change or move a block
    const auto first = work.begin() + at, last = first + len;
    const std::vector<std::pair<std::string, int>> block(first, last);
    std::vector<std::pair<std::string, int>> fresh;
    for (int k = 0; k < len; ++k)
      fresh.emplace_back("edit " + std::to_string(e) + "." + std::to_string(k), 0);
    if (kind > 0) {
      for (const auto& [line, index] : block)
        if (index) touched[static_cast<std::size_t>(index) - 1] = true;
      work.erase(first, last);
    }
    if (kind == 0 || kind == 2) work.insert(work.begin() + at, fresh.begin(), fresh.end());
    if (kind == 3)
      work.insert(work.begin() + pick(static_cast<int>(work.size()) + 1), block.begin(), block.end());
  }
  for (const auto& w : work)
    s.newLines.push_back(w.first);
  for (std::size_t i = 0; i < touched.size(); ++i)
    if (!touched[i] && s.oldLines[i].rfind("#dp", 0) != 0) ++s.untouched;
  return s;
}

struct PropertyCase {
  const char* name;
  int size;
  bool duplicates, dpLines, moves, fmvl;
  friend void PrintTo(const PropertyCase& c, std::ostream* os) { *os << c.name; }
};

class MatcherPropertyTest : public ::testing::TestWithParam<PropertyCase> {};

TEST_P(MatcherPropertyTest, EverySeedKeepsTheContract) {
  const PropertyCase& pc = GetParam();
  for (unsigned seed = 1; seed <= 60; ++seed) {
    std::mt19937 rng(seed * 7919u + static_cast<unsigned>(pc.size));
    EditScript s = makeScript(rng, pc.size, pc.duplicates, pc.dpLines, pc.moves);
    for (bool lastChunk : {true, false}) {
      ChunkBuilder builder;
      builder.app.options.Fmvl = pc.fmvl;
      CompareContext& c = builder.build(s.newLines, s.oldLines, lastChunk);
      MatchChunk(c);
      ASSERT_EQ(CheckMatcherInvariants(c), "") << "seed " << seed << (lastChunk ? " last" : " cut");
      ASSERT_LE(c.newInput.Count, static_cast<int>(s.newLines.size()));
      if (lastChunk) {
        ASSERT_EQ(c.newInput.Count, static_cast<int>(s.newLines.size()));
        ASSERT_EQ(c.oldInput.Count, static_cast<int>(s.oldLines.size()));
      }
      if (lastChunk && !pc.duplicates && !pc.moves) {
        int matched = 0;
        for (int n = 1; n <= c.newInput.Count; ++n)
          matched += c.newTable[n].Matched ? 1 : 0;
        EXPECT_GE(matched * 10, s.untouched * 9) << "seed " << seed;
      }
      if (pc.fmvl && lastChunk) {
        // Every unpaired New line with an unpaired equal Old line of the same length found a partner.
        for (int n = 1; n <= c.newInput.Count; ++n) {
          const LineRecord& nl = c.newTable[n];
          if (nl.DpLine || nl.Matched || nl.Moved) continue;
          for (int o = 1; o <= c.oldInput.Count; ++o) {
            const LineRecord& ol = c.oldTable[o];
            if (ol.DpLine || ol.Matched || ol.Moved) continue;
            ASSERT_FALSE(nl.CmpLen == ol.CmpLen && SameCompareText(nl, ol))
                << "seed " << seed << ": New " << n << " and Old " << o << " left unpaired";
          }
        }
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(EditScripts, MatcherPropertyTest,
                         ::testing::Values(PropertyCase{"SmallDuplicates", 14, true, true, true, true},
                                           PropertyCase{"Medium", 200, false, false, false, false},
                                           PropertyCase{"MediumMoves", 200, false, false, true, true},
                                           PropertyCase{"MediumDuplicatesDp", 300, true, true, true, false},
                                           PropertyCase{"LargeChunk", 3000, true, true, true, true}),
                         [](const ::testing::TestParamInfo<PropertyCase>& info) {
                           return std::string(info.param.name);
                         });

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

}  // namespace
}  // namespace kelvarine
