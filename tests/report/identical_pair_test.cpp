// Two files with the same bytes are compared without line records when the report needs none: the
// report, the status and what the host is shown must be what the full chunk loop gives.

#include "engine/identical_pair.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "engine/run_status.h"
#include "report/report_generator.h"
#include "support/memory_set.h"

namespace kelvarine {
namespace {

// The real report; with `fullPath` it claims to read the lines of equal chunks, which sends every pair
// through the chunk loop. Counts the chunks handed to it without line records.
template <bool fullPath>
class ObservedReport : public ReportGenerator {
 public:
  void GenerateReport(CompareContext& context) override {
    shortcuts += context.newInput.Count > 0 && context.newTable[1].Len == 0 ? 1 : 0;
    ReportGenerator::GenerateReport(context);
  }
  bool readsEqualChunkLines(const CompareOptions& options) const override {
    return fullPath || ReportGenerator::readsEqualChunkLines(options);
  }
  int shortcuts = 0;
};

struct OptionSet {
  const char* listing;
  std::vector<Pref> prefs;
  const char *ccolNew = "1:eol", *ccolNew2 = "", *ccolOld = "1:eol";
};

// Each text compared with a copy of itself (read as it goes, or held in memory), all in one set with a
// pair that differs only at its end after the first when there are several; the report lines, the
// status and the host's events. Halts at the `haltAt`th status text.
template <bool fullPath>
std::vector<std::string> compare(const std::vector<std::string>& texts, const OptionSet& o, bool inMemory,
                                 int* shortcuts = nullptr, std::size_t haltAt = 0) {
  MemorySet<ObservedReport<fullPath>> set;
  const std::string late = joinLines(numbered("line ", 1, 60000));  // of the same size, differing at its end
  set.app.choices.listType = o.listing;
  set.check(o.prefs);
  set.app.choices.ccolNew1 = o.ccolNew;
  set.app.choices.ccolNew2 = o.ccolNew2;
  set.app.choices.ccolOld1 = o.ccolOld;
  for (std::size_t i = 0; i < texts.size(); ++i) {
    const std::string name = "f" + std::to_string(i);
    set.addPair(name, texts[i], texts[i], 5, 6)->holdsBytes = inMemory;
    set.fs.find("old/" + name)->holdsBytes = inMemory;
    if (i == 0 && texts.size() > 1) set.addPair("g", late, late.substr(0, late.size() - 2) + "x\n");
  }
  if (haltAt > 0)
    set.host.onProcessEvents = [&] { set.app.StopRequested = set.host.statusTexts.size() >= haltAt; };
  const std::string status = set.run();
  std::vector<std::string> out = set.app.reportLines.lines();
  out.push_back(status);
  out.insert(out.end(), set.host.events.begin(), set.host.events.end());
  out.push_back(std::to_string(set.host.toggles));
  if (shortcuts != nullptr) *shortcuts = set.report.shortcuts;
  return out;
}

// Texts with every rule of reading in them: line ends of each kind, TABs, blank and empty lines, an
// end-of-file character inside and at the end, lines cut at 2048 characters, the chunk bound, more
// bytes than one read block, and short lines of random lengths.
std::vector<std::string> texts() {
  const auto lines = [](int count) { return joinLines(numbered("line ", 1, count)); };
  std::vector<std::string> out{
      "",
      "crlf\r\ncr\rlf cr\n\r\ttab\t\n   \n\n\nx\t y \nno final line end",
      "before\n\x1a after the end-of-file character\n",
      "ends with it\n\x1a",
      lines(7999),
      lines(15500) + "unterminated",
      lines(60000) + std::string(2048, 'y'),
      "aaaaa\nb\n\ncccccc\nd\n"};                        // the line of 6 lies inside the second 8-byte word
  const std::string a2047(2047, 'a'), a2048(2048, 'b');  // lines cut at 2048 characters
  out.push_back(a2047 + "\n" + a2048 + "\n" + std::string(5000, 'c') + "\nshort\n" + a2048 + "\r\n" + a2047);
  std::mt19937 random(7);
  for (int i = 0; i < 30; ++i) {
    std::string text;
    for (int line = 0, lines = static_cast<int>(random() % 40); line < lines; ++line)
      text += std::string(random() % (i % 2 == 0 ? 7 : 30), "ab \t"[random() % 4]) + "\n";
    out.push_back(text);
  }
  return out;
}

const OptionSet kOptionSets[] = {
    {"Chng", {}},
    {"Delta", {Pref::Fmvl, Pref::Rovr}},
    {"Ovsum", {Pref::Ieof, Pref::Fmvl}},
    {"Chng", {Pref::Icas, Pref::Ieof, Pref::Noss}},
    {"Chng", {Pref::Ccol}, "3:5", "8:eol", "2:eol"},
    {"Delta", {Pref::Ccol, Pref::Ieof}, "4:eol", "", "2050:eol"},
};

class IdenticalPairTest : public ::testing::TestWithParam<OptionSet> {};

TEST_P(IdenticalPairTest, GivesWhatTheChunkLoopGives) {
  for (const std::string& text : texts()) {
    for (bool inMemory : {false, true}) {
      int shortcuts = 0;
      EXPECT_EQ(compare<false>({text}, GetParam(), inMemory, &shortcuts),
                compare<true>({text}, GetParam(), inMemory))
          << text.substr(0, 40) << (inMemory ? " (in memory)" : "");
      EXPECT_EQ(shortcuts > 0, !text.empty());
    }
  }
  EXPECT_EQ(compare<false>(texts(), GetParam(), true), compare<true>(texts(), GetParam(), true));
  // A halt in the second chunk of a big pair ends it where the chunk loop ends it.
  const std::string big = joinLines(numbered("line ", 1, 20000));
  EXPECT_EQ(compare<false>({big}, GetParam(), false, nullptr, 10),
            compare<true>({big}, GetParam(), false, nullptr, 10));
}

INSTANTIATE_TEST_SUITE_P(OptionSets, IdenticalPairTest, ::testing::ValuesIn(kOptionSets));

}  // namespace
}  // namespace kelvarine
