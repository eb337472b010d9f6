#include "engine/compare_run.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <tuple>

#include "engine/line_list.h"
#include "engine/name_pairing.h"
#include "engine/run_status.h"
#include "support/memory_set.h"

namespace kelvarine {
namespace {

using T = MemorySet<>;
class CompareRunTest : public ::testing::Test, public T {};

// ---- Whole sets: the status each kind of set ends with ----------------------------------------------

struct StatusCase {
  const char* name;
  RunStatusCode code;
  std::string status;
  int reportCalls;
  std::function<void(T&)> setUp;
  friend void PrintTo(const StatusCase& c, std::ostream* os) { *os << c.name; }
};

class CompareRunStatusTest : public CompareRunTest, public ::testing::WithParamInterface<StatusCase> {};

TEST_P(CompareRunStatusTest, EndsWithItsStatus) {
  const StatusCase& c = GetParam();
  c.setUp(*this);
  EXPECT_EQ(runStatus(), (RunStatus{c.code, c.status.substr(0, 70)}));
  EXPECT_EQ(IsRunError(c.code), c.status.rfind("ERROR", 0) == 0);
  ASSERT_FALSE(app.reportLines.empty());
  EXPECT_EQ(app.reportLines.back(), c.status);
  EXPECT_EQ(static_cast<int>(report.calls.size()), c.reportCalls);
  // The progress display is shown with "0%" first and hidden last, whatever happened.
  ASSERT_GE(host.events.size(), 2u);
  EXPECT_EQ(host.events[0], "progress: shown");
  EXPECT_EQ(host.events[1], "percent: 0%");
  EXPECT_EQ(host.events.back(), "progress: hidden");
}

// The one pair "a.txt" with the given preferences checked, then `more` run.
std::function<void(T&)> onePair(
    std::string newContent, std::string oldContent, std::vector<Pref> prefs = {},
    void (*more)(T&) = [](T&) {}) {
  return [=](T& t) {
    t.check(prefs);
    t.addPair("a.txt", newContent, oldContent);
    more(t);
  };
}

// Two differing pairs with `onCall` run at each report step.
std::function<void(T&)> twoPairsReporting(std::function<void(CompareContext&)> onCall) {
  return [=](T& t) {
    t.addPair("a.txt", "x\n", "y\n");
    t.addPair("b.txt", "x\n", "y\n");
    t.report.onCall = onCall;
  };
}

const StatusCase kStatusCases[] = {
    {"EmptySet", RunStatusCode::NothingCompared, kRunNothing, 0, [](T&) {}},
    {"InvalidCcolOpensNoFile", RunStatusCode::CcolError, kRunCcolError, 0,
     [](T& t) {
       t.check({Pref::Ccol});
       t.app.choices.ccolOld1 = "0:5";
       // No file exists: opening one would end the set with the open error instead.
       t.app.NewFileList = t.app.OldFileList = {"a.txt", "b.txt"};
     }},
    {"CcolKeptForLaterPairs", RunStatusCode::FilteredEqual, kRunFilteredEqual, 2,
     [](T& t) {
       t.check({Pref::Ccol});
       t.app.choices.ccolNew1 = t.app.choices.ccolOld1 = "3:eol";
       t.addPair("a.txt", "aaXY\n", "bbXY\n");
       t.addPair("b.txt", "ccXY\n", "ddXY\n");
     }},
    {"ReportStepThrows", RunStatusCode::Fault, kRunFault, 1,
     twoPairsReporting([](CompareContext&) { throw std::logic_error("report broke"); })},
    {"HaltBetweenPairs", RunStatusCode::Halted, kRunHalted, 1,
     twoPairsReporting([](CompareContext& c) { c.app.StopRequested = true; })},
    {"ReadFailure", RunStatusCode::Fault, kRunFault, 0,
     onePair("abcd", "abcd", {Pref::Abin}, [](T& t) { t.fs.find("old/a.txt")->failReads = true; })},
    {"HaltDuringBinaryCompare", RunStatusCode::Halted, kRunHalted, 0,
     onePair(std::string(100000, 'q'), std::string(100000, 'q'), {Pref::Abin},
             [](T& t) {
               t.addPair("b.bin", "ab", "ab");  // not reached
               t.host.onProcessEvents = [&t] { t.app.StopRequested = true; };
             })},
    // A halt inside the chunk loader (at its second event pass) stops before the chunk is reported.
    {"HaltWhileReadingAChunk", RunStatusCode::Halted, kRunHalted, 0,
     onePair(joinLines(numbered("n", 1, 3000)), joinLines(numbered("o", 1, 3000)), {},
             [](T& t) {
               t.host.onProcessEvents = [&t] { t.app.StopRequested = t.host.processEventsCalls >= 2; };
             })},
    // The Ieof choice reaches the reader: the text behind the end-of-file character is compared.
    {"EofCharacterKeptWithIeof", RunStatusCode::Different, kRunDifferent, 1,
     onePair("a\r\n\x1azzz\r\n", "a\r\n", {Pref::Ieof})},
    {"FileOf2GbRefused", RunStatusCode::TooLarge, kRunTooLarge, 0,
     [](T& t) { t.addPair("a.txt", "x\n", "x\n")->reportedSize = std::int64_t{1} << 31; }},
    // Only the lines count, not how they end.
    {"LineEndsIgnored", RunStatusCode::Equal, kRunEqual, 1, onePair("a\nb\n", "a\r\nb\r")},
};

INSTANTIATE_TEST_SUITE_P(Sets, CompareRunStatusTest, ::testing::ValuesIn(kStatusCases),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- Pair setup --------------------------------------------------------------------------------------

TEST_F(CompareRunTest, OpenAndSizeErrorsShowTheirMessageAndTheSetGoesOn) {
  app.NewDirName = "";      // names are used as they are
  app.OldDirName = "old/";  // no second separator
  app.NewFileList = app.OldFileList = {"gone.txt", "big.txt", "b.txt", "a.bin", "c.txt"};
  for (const char* name : {"big.txt", "b.txt", "a.bin", "c.txt"})
    fs.add(name, "x\n");
  for (const char* name : {"gone.txt", "big.txt", "a.bin", "c.txt"})
    fs.add(std::string("old/") + name, "x\n");
  fs.find("big.txt")->reportedSize = std::int64_t{1} << 31;
  fs.find("old/a.bin")->reportedSize = std::int64_t{1} << 31;
  fs.find("old/c.txt")->reportedSize = (std::int64_t{1} << 31) - 1;  // just below the limit
  fs.problems["old/b.txt"] = "Permission denied";  // the file system's reason follows the message
  EXPECT_EQ(runStatus(), (RunStatus{RunStatusCode::OpenError, kRunOpenError}));  // before the size error
  EXPECT_EQ(host.messages, (std::vector<std::string>{
                               "Error while trying to open valid New Input File \"gone.txt\"",
                               "Error - New Input File \"big.txt\" GT 2GB can not be processed.",
                               "Error while trying to open valid Old Input File \"old/b.txt\"\r"
                               "old/b.txt: Permission denied",
                               "Error - Old Input File \"old/a.bin\" GT 2GB can not be processed.",
                           }));
  EXPECT_EQ(fs.find("big.txt")->bytesRead, 0);
  EXPECT_EQ(fs.find("old/big.txt")->opens, 0);  // the Old file of a refused New file is not opened
  ASSERT_EQ(report.calls.size(), 1u);
  EXPECT_EQ(report.calls[0].pair, 4);
  EXPECT_EQ(host.progressPositions, (std::vector<int>{0, 20, 40, 60, 80}));  // one step per pair
}

TEST_F(CompareRunTest, OnlyTheNewFileDecidesTextOrBinaryAndTxfoSkipsBinaryPairs) {
  check({Pref::Txfo});
  const std::string binary = std::string(9, '\x01') + "abc\r\n";
  addPair("a.dat", binary, "text\n");  // binary: skipped
  addPair("b.dat", "text\n", binary);  // text: compared
  addPair("c.dat", binary, binary);    // binary, but the last pair is reported
  EXPECT_EQ(run(), kRunDifferent);
  EXPECT_EQ(app.options.TxfoSkipped, 2);
  ASSERT_EQ(report.calls.size(), 2u);
  EXPECT_EQ(std::pair(report.calls[0].pair, report.calls[0].binary), std::pair(1, false));
  EXPECT_EQ(std::pair(report.calls[1].pair, report.calls[1].binary), std::pair(2, true));
  EXPECT_EQ(fs.find("old/c.dat")->bytesRead, 0);
}

TEST(CompareRunAeqfTest, OnlyEqualStampAndSizeMakeAPairEqualUnreadTextOrBinary) {
  const std::string a(50000, 'a'), b = a.substr(1) + "b";  // only the last byte differs
  for (bool abin : {false, true}) {
    SCOPED_TRACE(abin ? "Abin" : "text");
    T t;
    t.check({Pref::Aeqf});
    t.app.choices.setChecked(Pref::Abin, abin);
    t.addPair("a.txt", a, b, 7, 7);                  // taken as equal unread
    t.addPair("b.txt", a, b, 1, 2);                  // stamps differ: every byte compared
    t.addPair("c.txt", "abc\n", "abcd\n", 3, 3);     // sizes differ
    std::vector<std::tuple<bool, bool, bool>> seen;  // equal unread, differ, equal in the statistics
    t.report.onCall = [&](CompareContext& c) {
      seen.emplace_back(c.pair().AeqfEqual, c.pair().FilesDiffer, c.currentStats().TdlEqual);
    };
    EXPECT_EQ(t.run(), kRunDifferent);
    EXPECT_EQ(seen, (std::vector<std::tuple<bool, bool, bool>>{
                        {true, false, true}, {false, true, false}, {false, true, false}}));
    EXPECT_EQ(t.app.options.AeqfEqualPairs, 1);
    EXPECT_EQ(t.fs.find("old/a.txt")->bytesRead, 0);
    EXPECT_LE(t.fs.find("new/a.txt")->bytesRead, abin ? 0 : 2048);  // at most the first-line probe
    EXPECT_EQ(t.fs.find("old/b.txt")->bytesRead, static_cast<std::int64_t>(b.size()));
    EXPECT_EQ(t.host.eventsStartingWith("images: ").size(), abin ? 3u : 0u);
  }
}

// ---- Only the status wanted ---------------------------------------------------------------------------

// With StopWhenDecided a set ends at the first chunk with a change (b's first of three) or at an input
// that cannot be used, and goes on while every pair is equivalent; the unfinished pair counts as differing.
TEST(CompareRunStopWhenDecidedTest, EndsAtTheFirstChunkOrPairThatDecides) {
  for (bool stop : {false, true}) {
    for (bool openError : {false, true}) {
      T t;
      t.app.StopWhenDecided = stop;
      t.addPair("a.txt", "x\n", "x  \n");  // equivalent: trailing blanks do not count
      if (openError) t.app.NewFileList.push_back("gone.txt"), t.app.OldFileList.push_back("gone.txt");
      t.addPair("b.txt", joinLines(numbered("n", 1, 20000)), joinLines(numbered("o", 1, 20000)));
      t.addPair("c.txt", "x\n", "y\n");
      t.report.onCall = [](CompareContext& c) {  // unmatched New lines count as insertions
        for (int i = 1; i <= c.newInput.Count && c.pair().FilesDiffer; ++i)
          c.pair().InsertCount += c.newTable[i].Matched ? 0 : 1;
      };
      EXPECT_EQ(t.run(), openError ? kRunOpenError : kRunDifferent);
      EXPECT_EQ(t.report.calls.size(), !stop ? 5u : openError ? 1u : 2u);
      EXPECT_EQ(t.fs.find("new/c.txt")->opens == 0, stop);
      EXPECT_EQ(t.app.options.HighestCode, stop && !openError ? 1 : 0);
    }
  }
}

// ---- Name pairing and the report line list ---------------------------------------------------------

// Names separated by '|'; pairs as "new:old".
struct PairingCase {
  const char *name, *newNames, *oldNames, *pairs, *unpairedNew, *unpairedOld;
  friend void PrintTo(const PairingCase& c, std::ostream* out) { *out << c.name; }
};

class NamePairingTest : public ::testing::TestWithParam<PairingCase> {};

TEST_P(NamePairingTest, ExactSpellingFirstThenIgnoringCaseNoNameDropped) {
  const PairingCase& c = GetParam();
  const NamePairs result = PairNames(split(c.newNames), split(c.oldNames));
  std::vector<std::string> pairs;
  for (const auto& [newName, oldName] : result.pairs)
    pairs.push_back(newName + ":" + oldName);
  EXPECT_EQ(pairs, split(c.pairs));
  EXPECT_EQ(result.unpairedNew, split(c.unpairedNew));
  EXPECT_EQ(result.unpairedOld, split(c.unpairedOld));
}

const PairingCase kPairingCases[] = {
    {"CaseTwinsOnBothSidesPairExactly", "makefile|Makefile", "Makefile|makefile",
     "Makefile:Makefile|makefile:makefile", "", ""},
    {"TwinWithoutPartnerStaysUnpaired", "a|A", "a", "a:a", "A", ""},
    {"LeftoversPairInOrder", "x.C|X.c|x.c", "X.C|x.c", "X.c:X.C|x.c:x.c", "x.C", ""},
    {"NameOrderIgnoringCaseDuplicatesOnce", "c|b|A|b", "B|a|d|.hidden", "A:a|b:B", "c", ".hidden|d"},
    {"PathsInOrderNameByNameThoughDashAndDotSortBelowSlash", "a.x|a-b|a/c|A/b", "a-B|a/B", "A/b:a/B|a-b:a-B",
     "a/c|a.x", ""},
    {"EmptySide", "a", "", "", "a", ""}};

INSTANTIATE_TEST_SUITE_P(Names, NamePairingTest, ::testing::ValuesIn(kPairingCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(LineListTest, SpilledLinesGoOutInOrderExceptFromAPinOnAndStillCount) {
  LineList list(9000);
  std::vector<std::string> written;
  list.spillTo([&written](std::size_t, const std::string& line) { written.push_back(line); });
  for (int i = 0; i < 6000; ++i)
    ASSERT_TRUE(list.add(std::to_string(i)));
  EXPECT_FALSE(written.empty());
  EXPECT_LT(list.lines().size(), 5000u);
  EXPECT_THROW((void)list[0], std::out_of_range);  // a written line cannot be read back or changed
  list.pin(6000);
  for (int i = 6000; i < 9000; ++i)
    ASSERT_TRUE(list.add(std::to_string(i)));
  EXPECT_FALSE(list.add("one too many")) << "the capacity counts written lines";
  EXPECT_LE(written.size(), 6000u);  // nothing from the pin on
  list[6000] += " completed";
  list.unpin();
  list.addAlways("status");  // unpinned, the next line sends out every line held
  EXPECT_EQ(list.size(), 9001u);
  ASSERT_EQ(written.size(), 9001u);
  EXPECT_TRUE(list.lines().empty());
  for (int i = 0; i < 9000; ++i)
    ASSERT_EQ(written[static_cast<std::size_t>(i)], std::to_string(i) + (i == 6000 ? " completed" : ""));
  EXPECT_EQ(written.back(), "status");
  list.clear();
  written.clear();
  EXPECT_TRUE(list.add("a") && list.size() == 1u);  // the sink stays
  list.flush();
  EXPECT_EQ(written, std::vector<std::string>{"a"});
}

}  // namespace
}  // namespace kelvarine
