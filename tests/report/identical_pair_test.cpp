// Two files with the same bytes are compared without line records when the report needs none: the
// report, the status and everything the host is shown must be what the full chunk loop gives.

#include "engine/identical_pair.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/run_status.h"
#include "report/report_generator.h"
#include "support/memory_set.h"

namespace kelvarine {
namespace {

// The real report; with `fullPath` it claims to read the lines of equal chunks, which sends every pair
// through the chunk loop. Counts the chunks it was handed without line records.
template <bool fullPath>
class ObservedReport : public ReportGenerator {
 public:
  void GenerateReport(CompareContext& context) override {
    if (context.newInput.Count > 0 && context.newTable[1].Len == 0) ++chunksWithoutRecords;
    ReportGenerator::GenerateReport(context);
  }
  bool readsEqualChunkLines(const CompareOptions& options) const override {
    return fullPath || ReportGenerator::readsEqualChunkLines(options);
  }
  int chunksWithoutRecords = 0;
};

struct Outcome {
  std::vector<std::string> report;
  std::vector<std::string> events;
  int toggles = 0;
  int chunksWithoutRecords = 0;
};

struct OptionSet {
  const char* listing;
  std::vector<Pref> prefs;
  const char* ccolNew = "1:eol";
  const char* ccolOld = "1:eol";
  const char* ccolNew2 = "";
  const char* ccolOld2 = "";
};

// Compares each text with itself (the New file a distinct file of the same bytes, held in memory or
// read as it goes), the pairs of `texts` in one set, with a differing pair after the first when `mixed`.
template <bool fullPath>
Outcome compare(const std::vector<std::string>& texts, const OptionSet& o, bool inMemory, bool mixed) {
  MemorySet<ObservedReport<fullPath>> set;
  set.app.choices.listType = o.listing;
  set.check(o.prefs);
  set.app.choices.ccolNew1 = o.ccolNew;
  set.app.choices.ccolOld1 = o.ccolOld;
  set.app.choices.ccolNew2 = o.ccolNew2;
  set.app.choices.ccolOld2 = o.ccolOld2;
  for (std::size_t i = 0; i < texts.size(); ++i) {
    const std::string name = "f" + std::to_string(i) + ".txt";
    set.addPair(name, texts[i], texts[i], 5, 6)->holdsBytes = inMemory;
    set.fs.find("old/" + name)->holdsBytes = inMemory;
    if (mixed && i == 0) set.addPair("g.txt", "x\ny\n", "x\nz\n");
  }
  const std::string status = set.run();
  Outcome out{set.app.reportLines.lines(), set.host.events, set.host.toggles,
              set.report.chunksWithoutRecords};
  out.report.push_back(status);
  return out;
}

std::string repeatedLines(int count, const std::string& prefix) {
  std::string text;
  for (int i = 1; i <= count; ++i)
    text += prefix + std::to_string(i) + "\n";
  return text;
}

// Texts whose reading has every rule in it: line ends of each kind, TABs, blank and empty lines, an
// end-of-file character inside and at the end, lines cut at 2048 characters, the chunk bound, and
// more bytes than one read block.
std::vector<std::string> texts() {
  const std::string a2047(2047, 'a'), a2048(2048, 'b'), a5000(5000, 'c');
  return {
      "",
      "one\ntwo\n",
      "no final line end\nlast",
      "crlf\r\nlines\r\ncr\rlf cr\n\rend",
      "\ttab\t\n   \n\n\nx\t y \n",
      "before\n\x1a after the end-of-file character\nmore\n",
      "ends with it\n\x1a",
      a2047 + "\n" + a2048 + "\n" + a5000 + "\nshort\n" + a2048,
      a2048 + "\r\n" + a2047,
      repeatedLines(7999, "line "),
      repeatedLines(16000, "n") + "unterminated",
      repeatedLines(60000, "a somewhat longer line that fills the blocks ") + std::string(3000, 'z') + "\n",
      repeatedLines(9000, "x") + "\r\n",
  };
}

const OptionSet kOptionSets[] = {
    {"Chng", {}},
    {"Delta", {}},
    {"Ovsum", {}},
    {"Chng", {Pref::Fmvl, Pref::Icas}},
    {"Delta", {Pref::Fmvl, Pref::Rovr}},
    {"Chng", {Pref::Ieof, Pref::Noss}},
    {"Ovsum", {Pref::Ieof, Pref::Fmvl}},
    {"Chng", {Pref::Ccol}, "3:5", "2:eol", "8:eol"},
    {"Delta", {Pref::Ccol, Pref::Ieof}, "4:eol", "1:3", "", "2050:eol"},
    {"Chng", {Pref::Sbsl, Pref::Xtab, Pref::Lorl}},
};

class IdenticalPairTest : public ::testing::TestWithParam<OptionSet> {};

TEST_P(IdenticalPairTest, GivesWhatTheChunkLoopGives) {
  const OptionSet& o = GetParam();
  for (const std::string& text : texts()) {
    for (bool inMemory : {false, true}) {
      SCOPED_TRACE(text.substr(0, 40) + (inMemory ? " (in memory)" : ""));
      const Outcome shortcut = compare<false>({text}, o, inMemory, false);
      const Outcome full = compare<true>({text}, o, inMemory, false);
      EXPECT_EQ(shortcut.report, full.report);
      EXPECT_EQ(shortcut.events, full.events);
      EXPECT_EQ(shortcut.toggles, full.toggles);
      EXPECT_EQ(full.chunksWithoutRecords, 0);
      EXPECT_EQ(shortcut.chunksWithoutRecords > 0, !text.empty());
    }
  }
  // A set: every text twice over, with a pair that differs in between.
  const Outcome shortcut = compare<false>(texts(), o, true, true);
  const Outcome full = compare<true>(texts(), o, true, true);
  EXPECT_EQ(shortcut.report, full.report);
  EXPECT_EQ(shortcut.events, full.events);
}

INSTANTIATE_TEST_SUITE_P(OptionSets, IdenticalPairTest, ::testing::ValuesIn(kOptionSets),
                         [](const auto& info) { return std::to_string(info.index); });

// A halt while the lines of a big equal pair are counted ends the pair where the chunk loop ends it.
template <bool fullPath>
std::vector<std::string> haltedInTheSecondChunk(bool inMemory) {
  MemorySet<ObservedReport<fullPath>> set;
  set.addPair("a.txt", repeatedLines(20000, "l"), repeatedLines(20000, "l"))->holdsBytes = inMemory;
  set.fs.find("old/a.txt")->holdsBytes = inMemory;
  // Seven "Reading" texts and "Generating Report" in the first chunk, the second chunk's second text.
  set.host.onProcessEvents = [&set] { set.app.StopRequested = set.host.statusTexts.size() >= 10; };
  std::vector<std::string> out = set.app.reportLines.lines();
  out.push_back(set.run());
  out.push_back(std::to_string(set.app.pair.NewLinesProcessed));
  return out;
}

TEST(IdenticalPair, HaltWhileCountingEndsThePairAsTheChunkLoopDoes) {
  for (bool inMemory : {false, true}) {
    const std::vector<std::string> shortcut = haltedInTheSecondChunk<false>(inMemory);
    EXPECT_EQ(shortcut, haltedInTheSecondChunk<true>(inMemory));
    ASSERT_GE(shortcut.size(), 2u);
    EXPECT_EQ(shortcut[shortcut.size() - 2], std::string(kRunHalted).substr(0, 70));
    EXPECT_EQ(shortcut.back(), "7999");  // the first chunk was reported, not the second
  }
}

// Files of the same size that differ somewhere, however late, take the chunk loop.
TEST(IdenticalPair, SameSizeDifferentBytesAreNotTakenAsEqual) {
  std::string newText = repeatedLines(30000, "l");
  std::string oldText = newText;
  oldText[oldText.size() - 3] = 'x';
  for (bool inMemory : {false, true}) {
    MemorySet<ObservedReport<false>> set;
    set.addPair("a.txt", newText, oldText)->holdsBytes = inMemory;
    set.fs.find("old/a.txt")->holdsBytes = inMemory;
    EXPECT_EQ(set.run(), std::string(kRunDifferent));
    EXPECT_EQ(set.report.chunksWithoutRecords, 0);
  }
}

}  // namespace
}  // namespace kelvarine
