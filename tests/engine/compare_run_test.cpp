#include "engine/compare_run.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>

#include "engine/engine_fault.h"
#include "engine/run_status.h"
#include "support/memory_file_system.h"
#include "support/recording_host.h"
#include "support/recording_report.h"

namespace kelvarine {
namespace {

std::string numberedLines(int count, const std::string& prefix = "line ") {
  std::string s;
  for (int i = 1; i <= count; ++i)
    s += prefix + std::to_string(i) + "\n";
  return s;
}

class CompareRunTest : public ::testing::Test {
 public:
  CompareRunTest() {
    app.NewDirName = "new";
    app.OldDirName = "old";
  }
  void addPair(const std::string& name, const std::string& newContent, const std::string& oldContent,
               FileStamp newStamp = 1, FileStamp oldStamp = 1) {
    fs.add("new/" + name, newContent, newStamp);
    fs.add("old/" + name, oldContent, oldStamp);
    app.NewFileList.push_back(name);
    app.OldFileList.push_back(name);
  }
  void check(Pref p) { app.choices.setChecked(p, true); }
  std::string run() { return CompareSet(app, host, fs, report); }

  MemoryFileSystem fs;
  RecordingHost host;
  AppState app;
  RecordingReport report;
};

// ---- Run status ------------------------------------------------------------------------------------

TEST(RunStatusTest, EachRowWinsOverEveryLowerRow) {
  // Each condition of row k set together with all conditions of the rows below it: row k's text wins.
  using Set = void (*)(AppState&);
  const std::vector<std::pair<std::string, std::vector<Set>>> rows = {
      {kRunFault, {[](AppState& a) { a.RunFailed = true; }}},
      {kRunHalted, {[](AppState& a) { a.StopRequested = true; }}},
      {kRunOpenError, {[](AppState& a) { a.options.InputOpenError = true; }}},
      {kRunTooLarge, {[](AppState& a) { a.options.InputTooLarge = true; }}},
      {kRunCcolError, {[](AppState& a) { a.pair.StopSet = true; }}},
      {std::string(100, 'x') + ".",  // the note, cut to 100 characters
       {[](AppState& a) {
         a.options.ReportNoteSet = true;
         a.options.ReportNote = std::string(120, 'x');
       }}},
      {kRunDifferent,
       {[](AppState& a) { a.options.TotDeletes = 1; }, [](AppState& a) { a.options.TotInserts = 1; },
        [](AppState& a) { a.options.HighestCode = 1; }}},
      {kRunNothing, {[](AppState&) {}}},  // all totals 0
      {kRunFilteredEqual,
       {[](AppState& a) { a.options.Icas = true; }, [](AppState& a) { a.options.Ccol = true; },
        [](AppState& a) { a.options.DpActive = true; }, [](AppState& a) { a.options.Rovr = true; }}},
      {kRunEqual, {[](AppState&) {}}},
  };
  for (std::size_t k = 0; k < rows.size(); ++k) {
    for (std::size_t own = 0; own < rows[k].second.size(); ++own) {
      AppState app;
      rows[k].second[own](app);
      for (std::size_t j = k + 1; j < rows.size(); ++j)
        for (Set set : rows[j].second)
          set(app);
      if (k > 7) app.options.TotOldBinBytes = 1;  // something was compared
      EXPECT_EQ(ChooseRunStatus(app), rows[k].first) << "row " << k + 1 << " condition " << own + 1;
    }
  }
}

// ---- Whole sets: the status each kind of set ends with ----------------------------------------------

struct StatusCase {
  const char* name;
  std::function<void(CompareRunTest&)> setUp;
  std::string status;
  int reportCalls;
};

class CompareRunStatusTest : public CompareRunTest, public ::testing::WithParamInterface<StatusCase> {};

TEST_P(CompareRunStatusTest, EndsWithItsStatus) {
  const StatusCase& c = GetParam();
  c.setUp(*this);
  EXPECT_EQ(run(), c.status.substr(0, 70));
  ASSERT_FALSE(app.reportLines.empty());
  EXPECT_EQ(app.reportLines.back(), c.status);
  EXPECT_EQ(static_cast<int>(report.calls.size()), c.reportCalls);
  // The progress display is shown with "0%" first and hidden last, whatever happened.
  ASSERT_GE(host.events.size(), 2u);
  EXPECT_EQ(host.events[0], "progress: shown");
  EXPECT_EQ(host.events[1], "percent: 0%");
  EXPECT_EQ(host.events.back(), "progress: hidden");
}

// Sets up the one pair "a.txt" with the given preferences checked.
std::function<void(CompareRunTest&)> onePair(std::string newContent, std::string oldContent,
                                             std::vector<Pref> prefs = {}) {
  return [=](CompareRunTest& t) {
    for (Pref p : prefs)
      t.check(p);
    t.addPair("a.txt", newContent, oldContent);
  };
}

const std::string kLongLines = std::string(2048, 'x') + "\r\n" + std::string(5000, 'y') + "\r\n";

const StatusCase kStatusCases[] = {
    {"EmptySet", [](CompareRunTest&) {}, kRunNothing, 0},
    {"TwoEmptyFiles", onePair("", ""), kRunNothing, 1},
    {"IdenticalWithIcas", onePair("x\ny\n", "x\ny\n", {Pref::Icas}), kRunFilteredEqual, 1},
    {"Identical", onePair("x\ny\n", "x\ny\n"), kRunEqual, 1},
    {"Differing", onePair("x\ny\nz\n", "x\nz\n"), kRunDifferent, 1},
    {"BinaryDiffering", onePair("abcd", "abce", {Pref::Abin}), kRunDifferent, 1},
    {"StatusAppendedToAFullReportList",
     [](CompareRunTest& t) {
       t.addPair("a.txt", "x\n", "x\n");
       t.app.reportLines.setCapacity(0);
     },
     kRunEqual, 1},
    {"InvalidCcolOpensNoFile",
     [](CompareRunTest& t) {
       t.check(Pref::Ccol);
       t.app.choices.ccolOld1 = "0:5";
       // No file exists: opening one would end the set with the open error instead.
       t.app.NewFileList = t.app.OldFileList = {"a.txt", "b.txt"};
     },
     kRunCcolError, 0},
    {"CcolKeptForLaterPairs",
     [](CompareRunTest& t) {
       t.check(Pref::Ccol);
       t.app.choices.ccolNew1 = t.app.choices.ccolOld1 = "3:eol";
       t.addPair("a.txt", "aaXY\n", "bbXY\n");
       t.addPair("b.txt", "ccXY\n", "ddXY\n");
     },
     kRunFilteredEqual, 2},
    {"ReportStepThrows",
     [](CompareRunTest& t) {
       t.addPair("a.txt", "x\n", "y\n");
       t.addPair("b.txt", "x\n", "y\n");
       t.report.onCall = [](CompareContext&) { throw std::logic_error("report broke"); };
     },
     kRunFault, 1},
    {"ReadFailure",
     [](CompareRunTest& t) {
       t.check(Pref::Abin);
       t.addPair("a.bin", "abcd", "abcd");
       t.fs.find("old/a.bin")->failReads = true;
     },
     kRunFault, 0},
    {"OldListShorterThanNewList",
     [](CompareRunTest& t) {
       t.addPair("a.txt", "x\n", "x\n");
       t.app.NewFileList.push_back("b.txt");
       t.fs.add("new/b.txt", "x\n");
     },
     kRunFault, 1},
    {"LongReportNote",
     [](CompareRunTest& t) {
       t.addPair("a.txt", "x\n", "x\n");
       t.report.onCall = [](CompareContext& c) {
         c.options().ReportNoteSet = true;
         c.options().ReportNote = std::string(90, 'n');
       };
     },
     std::string(90, 'n') + ".", 1},
    {"HaltDuringBinaryCompare",
     [](CompareRunTest& t) {
       t.check(Pref::Abin);
       t.addPair("a.bin", std::string(100000, 'q'), std::string(100000, 'q'));
       t.addPair("b.bin", "ab", "ab");
       t.host.onProcessEvents = [&t] { t.app.StopRequested = true; };
     },
     kRunHalted, 0},
    {"HaltBetweenPairs",
     [](CompareRunTest& t) {
       t.addPair("a.txt", "x\n", "y\n");
       t.addPair("b.txt", "x\n", "y\n");
       t.report.onCall = [](CompareContext& c) { c.app.StopRequested = true; };
     },
     kRunHalted, 1},
    {"TooLarge",
     [](CompareRunTest& t) {
       t.addPair("a.txt", "x\n", "x\n");
       t.fs.find("old/a.txt")->reportedSize = std::int64_t{1} << 31;
     },
     kRunTooLarge, 0},
    // Odd inputs: each ends with the status a user expects, never a crash or a hang.
    {"NoFinalLineEndAgainstOne", onePair("a\nb", "a\nb\n"), kRunEqual, 1},
    {"CrOnlyAgainstLfOnly", onePair("a\rb\r", "a\nb\n"), kRunEqual, 1},
    {"LfCrEndsTwoLines", onePair("a\n\rb", "a\r\n\r\nb"), kRunEqual, 1},
    {"NulAndControlBytesDiffer", onePair(std::string("a\0b\x01\n", 5), std::string("a\0c\x01\n", 5)),
     kRunDifferent, 1},
    {"LinesOf2048And5000", onePair(kLongLines, kLongLines), kRunEqual, 1},
    {"EofCharacterAtTheEnd", onePair("a\r\n\x1a", "a\r\n"), kRunEqual, 1},
    {"EofCharacterBeforeMoreText", onePair("a\r\n\x1azzz\r\n", "a\r\n"), kRunEqual, 1},
    {"EofCharacterKeptWithIeof", onePair("a\r\n\x1azzz\r\n", "a\r\n", {Pref::Ieof}), kRunDifferent, 1},
    {"LongNewFileAgainstFiveLines", onePair(numberedLines(20000), numberedLines(5)), kRunDifferent, 3},
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
  EXPECT_EQ(run(), kRunOpenError);
  EXPECT_EQ(host.messages, (std::vector<std::string>{
                               "Error while trying to open valid New Input File \"gone.txt\"",
                               "Error - New Input File \"big.txt\" GT 2GB can not be processed.",
                               "Error while trying to open valid Old Input File \"old/b.txt\"",
                               "Error - Old Input File \"old/a.bin\" GT 2GB can not be processed.",
                           }));
  EXPECT_EQ(fs.find("big.txt")->bytesRead, 0);
  EXPECT_EQ(fs.find("old/big.txt")->opens, 0);  // the Old file of a refused New file is not opened
  ASSERT_EQ(report.calls.size(), 1u);
  EXPECT_EQ(report.calls[0].pair, 4);
  EXPECT_EQ(host.progressPositions, (std::vector<int>{0, 20, 40, 60, 80}));  // one step per pair
}

TEST_F(CompareRunTest, OnlyTheNewFileDecidesTextOrBinaryAndTxfoSkipsBinaryPairs) {
  check(Pref::Txfo);
  const std::string binary = std::string(9, '\x01') + "abc\r\n";
  addPair("a.dat", binary, "text\n");  // binary: skipped
  addPair("b.dat", "text\n", binary);  // text: compared
  addPair("c.dat", binary, binary);    // binary, but the last pair is reported
  EXPECT_EQ(run(), kRunDifferent);
  EXPECT_EQ(app.options.TxfoSkipped, 2);
  ASSERT_EQ(report.calls.size(), 2u);
  EXPECT_EQ(report.calls[0].pair, 1);
  EXPECT_FALSE(report.calls[0].binary);
  EXPECT_EQ(report.calls[1].pair, 2);
  EXPECT_TRUE(report.calls[1].binary);
  EXPECT_EQ(fs.find("old/c.dat")->bytesRead, 0);
}

TEST_F(CompareRunTest, AeqfTakesATextPairOfEqualStampAndSizeAsEqualUnread) {
  check(Pref::Aeqf);
  addPair("a.txt", numberedLines(2000), numberedLines(2000, "LINE "), 7, 7);  // other content
  addPair("b.txt", "abc\n", "abd\n", 1, 2);                                   // stamps differ
  addPair("c.txt", "abc\n", "abcd\n", 3, 3);                                  // sizes differ
  std::vector<bool> tdl;
  report.onCall = [&](CompareContext& c) { tdl.push_back(c.currentStats().TdlEqual); };
  EXPECT_EQ(run(), kRunDifferent);
  EXPECT_EQ(tdl, (std::vector<bool>{true, false, false}));
  ASSERT_EQ(report.calls.size(), 3u);
  EXPECT_TRUE(report.calls[0].aeqfEqual);
  EXPECT_TRUE(report.calls[1].filesDiffer);
  EXPECT_TRUE(report.calls[2].filesDiffer);
  EXPECT_EQ(app.options.AeqfEqualPairs, 1);
  EXPECT_EQ(fs.find("old/a.txt")->bytesRead, 0);
  EXPECT_LE(fs.find("new/a.txt")->bytesRead, 2048);  // only the first-line probe
}

TEST_F(CompareRunTest, AeqfBinaryPairWithEqualSizesButOtherStampsIsStillCompared) {
  check(Pref::Aeqf);
  check(Pref::Abin);
  const std::string a(50000, 'a');
  const std::string b = a.substr(1) + "b";
  addPair("x.bin", a, b, 10, 11);
  addPair("y.bin", a, b, 12, 12);  // equal stamps too: taken as equal unread
  EXPECT_EQ(run(), kRunDifferent);
  EXPECT_EQ(host.eventsStartingWith("images: "), std::vector<std::string>(2, "images: 10"));
  ASSERT_EQ(report.calls.size(), 2u);
  EXPECT_TRUE(report.calls[0].filesDiffer);
  EXPECT_EQ(report.calls[0].returnCode, 1);
  EXPECT_EQ(report.calls[0].oldBinBytes, 50000);
  EXPECT_EQ(fs.find("old/x.bin")->bytesRead, 50000);
  EXPECT_FALSE(report.calls[1].filesDiffer);
  EXPECT_EQ(fs.find("old/y.bin")->bytesRead + fs.find("new/y.bin")->bytesRead, 0);
}

TEST_F(CompareRunTest, ANewSetStartsFromFreshOptionsAndTotals) {
  addPair("a.txt", "x\n", "y\n");
  report.onCall = [](CompareContext&) { throw EngineFault("boom"); };
  EXPECT_EQ(run(), kRunFault);

  app.RunFailed = false;
  app.reportLines.clear();
  report.onCall = nullptr;
  fs.add("old/a.txt", "x\n");
  EXPECT_EQ(run(), kRunEqual);
  EXPECT_EQ(app.reportLines.size(), 1u);
  EXPECT_EQ(app.options.TotInserts, 0);
}

}  // namespace
}  // namespace kelvarine
