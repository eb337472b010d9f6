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

// A first line with `count` control bytes that the probe counts (TAB, LF and CR are not among
// them), followed by text.
std::string controlLine(int count) {
  std::string s;
  for (char c = 1; static_cast<int>(s.size()) < count; ++c) {
    if (c != '\t' && c != '\n' && c != '\r') s += c;
  }
  return s + "abc\r\nmore\r\n";
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
  // Row k's condition set together with the conditions of all rows below it: row k's text wins.
  const std::vector<std::pair<std::function<void(AppState&)>, std::string>> rows = {
      {[](AppState& a) { a.RunFailed = true; }, kRunFault},
      {[](AppState& a) { a.StopRequested = true; }, kRunHalted},
      {[](AppState& a) { a.options.InputOpenError = true; }, kRunOpenError},
      {[](AppState& a) { a.options.InputTooLarge = true; }, kRunTooLarge},
      {[](AppState& a) { a.pair.StopSet = true; }, kRunCcolError},
      {[](AppState& a) {
         a.options.ReportNoteSet = true;
         a.options.ReportNote = "StringList Limit. Report Line = 10";
       },
       "StringList Limit. Report Line = 10."},
      {[](AppState& a) { a.options.TotDeletes = 1; }, kRunDifferent},
      {[](AppState&) {}, kRunNothing},  // all totals 0
      {[](AppState& a) {
         a.options.Icas = true;
         a.options.Ccol = true;
       },
       kRunFilteredEqual},
      {[](AppState&) {}, kRunEqual},
  };
  for (std::size_t k = 0; k < rows.size(); ++k) {
    AppState app;
    for (std::size_t j = rows.size(); j-- > k;)
      rows[j].first(app);
    if (k > 7) app.options.TotOldBinBytes = 1;  // something was compared
    EXPECT_EQ(ChooseRunStatus(app), rows[k].second) << "row " << k + 1;
  }
}

TEST(RunStatusTest, DifferencesAlsoFromHighestCodeAndTextsKeepTheirTrailingBlank) {
  AppState app;
  app.options.HighestCode = 1;
  EXPECT_EQ(ChooseRunStatus(app), "INFORM: The processed files have differences.");
  app.options.HighestCode = 0;
  EXPECT_EQ(ChooseRunStatus(app), "INFORM: Nothing compared possibly due to filtering or empty files. ");
  app.options.TotNewBinBytes = 5;
  EXPECT_EQ(ChooseRunStatus(app), "INFORM: The processed files compare as equivalent files. ");
  for (auto set :
       {+[](CompareOptions& o) { o.DpActive = true; }, +[](CompareOptions& o) { o.Rovr = true; }}) {
    AppState filtered;
    filtered.options.TotNewBinBytes = 5;
    set(filtered.options);
    EXPECT_EQ(ChooseRunStatus(filtered),
              "INFORM: The processed files compare as filtered equivalent files. ");
  }
  app.StopRequested = true;
  EXPECT_EQ(ChooseRunStatus(app), "INFORM: The User requested a premature program stop. ");
}

TEST(RunStatusTest, ReportNoteIsCutToHundredCharactersBeforeTheStop) {
  AppState app;
  app.options.ReportNoteSet = true;
  app.options.ReportNote = std::string(120, 'x');
  EXPECT_EQ(ChooseRunStatus(app), std::string(100, 'x') + ".");
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
  const std::string shown = run();
  EXPECT_EQ(shown, c.status.substr(0, 70));
  ASSERT_FALSE(app.reportLines.empty());
  EXPECT_EQ(app.reportLines.back(), c.status);
  EXPECT_EQ(static_cast<int>(report.calls.size()), c.reportCalls);
  // The progress display is shown with "0%" first and hidden last, whatever happened.
  ASSERT_GE(host.events.size(), 2u);
  EXPECT_EQ(host.events[0], "progress: shown");
  EXPECT_EQ(host.events[1], "percent: 0%");
  EXPECT_EQ(host.events.back(), "progress: hidden");
}

const StatusCase kStatusCases[] = {
    {"EmptySet", [](CompareRunTest&) {}, kRunNothing, 0},
    {"TwoEmptyFiles", [](CompareRunTest& t) { t.addPair("a.txt", "", ""); }, kRunNothing, 1},
    {"IdenticalWithIcas",
     [](CompareRunTest& t) {
       t.check(Pref::Icas);
       t.addPair("a.txt", "x\ny\n", "x\ny\n");
     },
     kRunFilteredEqual, 1},
    {"Identical", [](CompareRunTest& t) { t.addPair("a.txt", "x\ny\n", "x\ny\n"); }, kRunEqual, 1},
    {"Differing", [](CompareRunTest& t) { t.addPair("a.txt", "x\ny\nz\n", "x\nz\n"); }, kRunDifferent, 1},
    {"BinaryDiffering",
     [](CompareRunTest& t) {
       t.check(Pref::Abin);
       t.addPair("a.bin", "abcd", "abce");
     },
     kRunDifferent, 1},
    {"InvalidCcol",
     [](CompareRunTest& t) {
       t.check(Pref::Ccol);
       t.app.choices.ccolNew1 = "abc";
       t.addPair("a.txt", "x\n", "y\n");
       t.addPair("b.txt", "x\n", "y\n");
     },
     kRunCcolError, 0},
    {"SubcTooShort",
     [](CompareRunTest& t) {
       t.check(Pref::Subc);
       t.app.choices.subcText = "";
       t.addPair("a.txt", "x\n", "y\n");
     },
     kRunFault, 0},
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
       t.addPair("b.bin", "abcd", "abcd");
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
    {"TooLarge",
     [](CompareRunTest& t) {
       t.addPair("a.txt", "x\n", "x\n");
       t.fs.find("old/a.txt")->reportedSize = std::int64_t{1} << 31;
     },
     kRunTooLarge, 0},
    {"OpenErrorOutranksTooLargeAndDifferences",
     [](CompareRunTest& t) {
       t.addPair("a.txt", "x\n", "y\n");
       t.addPair("b.txt", "x\n", "x\n");
       t.fs.find("new/b.txt")->reportedSize = std::int64_t{3} << 31;
       t.app.NewFileList.push_back("c.txt");
       t.app.OldFileList.push_back("c.txt");
       t.fs.add("new/c.txt", "x\n");
     },
     kRunOpenError, 1},
    // Odd inputs: each ends with the status a user expects, never a crash or a hang.
    {"NoFinalLineEndAgainstOne", [](CompareRunTest& t) { t.addPair("a.txt", "a\nb", "a\nb\n"); }, kRunEqual, 1},
    {"CrOnlyAgainstLfOnly", [](CompareRunTest& t) { t.addPair("a.txt", "a\rb\r", "a\nb\n"); }, kRunEqual, 1},
    {"LfCrEndsTwoLines", [](CompareRunTest& t) { t.addPair("a.txt", "a\n\rb", "a\r\n\r\nb"); }, kRunEqual, 1},
    {"NulAndControlBytesDiffer",
     [](CompareRunTest& t) { t.addPair("a.txt", std::string("a\0b\x01\n", 5), std::string("a\0c\x01\n", 5)); },
     kRunDifferent, 1},
    {"LinesOf2048And5000",
     [](CompareRunTest& t) {
       const std::string body = std::string(2048, 'x') + "\r\n" + std::string(5000, 'y') + "\r\n";
       t.addPair("a.txt", body, body);
     },
     kRunEqual, 1},
    {"EofCharacterAtTheEnd", [](CompareRunTest& t) { t.addPair("a.txt", "a\r\n\x1a", "a\r\n"); }, kRunEqual, 1},
    {"EofCharacterBeforeMoreText",
     [](CompareRunTest& t) { t.addPair("a.txt", "a\r\n\x1azzz\r\n", "a\r\n"); },
     kRunEqual, 1},
    {"EofCharacterKeptWithIeof",
     [](CompareRunTest& t) {
       t.check(Pref::Ieof);
       t.addPair("a.txt", "a\r\n\x1azzz\r\n", "a\r\n");
     },
     kRunDifferent, 1},
    {"LongNewFileAgainstFiveLines",
     [](CompareRunTest& t) { t.addPair("a.txt", numberedLines(20000), numberedLines(5)); },
     kRunDifferent, 3},
};

INSTANTIATE_TEST_SUITE_P(Sets, CompareRunStatusTest, ::testing::ValuesIn(kStatusCases),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- Pair setup --------------------------------------------------------------------------------------

TEST_F(CompareRunTest, SecondOfThreePairsMissingIsReportedAndTheThirdStillCompared) {
  addPair("a.txt", "x\n", "y\n");
  app.NewFileList.push_back("b.txt");
  app.OldFileList.push_back("b.txt");
  fs.add("new/b.txt", "x\n");
  addPair("c.txt", "same\n", "same\n");

  EXPECT_EQ(run(), kRunOpenError);
  EXPECT_EQ(host.messages,
            std::vector<std::string>{"Error while trying to open valid Old Input File \"old/b.txt\""});
  ASSERT_EQ(report.calls.size(), 2u);
  EXPECT_EQ(report.calls[0].pair, 0);
  EXPECT_EQ(report.calls[1].pair, 2);
  EXPECT_TRUE(report.calls[1].allRead);
  // Each pair moves the bar to its own position.
  EXPECT_EQ(host.eventsStartingWith("title: Dir.Progress").size(), 3u);
  auto bars = host.eventsStartingWith("bar: ");
  EXPECT_NE(std::find(bars.begin(), bars.end(), "bar: 33"), bars.end());
  EXPECT_NE(std::find(bars.begin(), bars.end(), "bar: 66"), bars.end());
}

TEST_F(CompareRunTest, OpenAndSizeMessagesNameTheFullPath) {
  app.NewFileList = {"gone.txt", "big.txt"};
  app.OldFileList = {"gone.txt", "big.txt"};
  fs.add("new/big.txt", "x\n")->reportedSize = std::int64_t{1} << 31;
  fs.add("old/big.txt", "x\n");
  run();
  EXPECT_EQ(host.messages, (std::vector<std::string>{
                               "Error while trying to open valid New Input File \"new/gone.txt\"",
                               "Error - New Input File \"new/big.txt\" GT 2GB can not be processed."}));
  EXPECT_EQ(fs.find("new/big.txt")->bytesRead, 0);
  EXPECT_EQ(fs.find("old/big.txt")->opens, 0);  // the Old file of a refused New file is not opened
  EXPECT_TRUE(app.options.InputOpenError);
  EXPECT_TRUE(app.options.InputTooLarge);
}

TEST_F(CompareRunTest, OldTooLargeMessageAndSizeJustBelowTheLimitIsAccepted) {
  addPair("a.bin", "ab", "ab");
  fs.find("old/a.bin")->reportedSize = std::int64_t{1} << 31;
  addPair("b.txt", "x\n", "x\n");
  fs.find("new/b.txt")->reportedSize = (std::int64_t{1} << 31) - 1;
  fs.find("old/b.txt")->reportedSize = (std::int64_t{1} << 31) - 1;
  run();
  EXPECT_EQ(host.messages,
            std::vector<std::string>{"Error - Old Input File \"old/a.bin\" GT 2GB can not be processed."});
  ASSERT_EQ(report.calls.size(), 1u);
  EXPECT_EQ(report.calls[0].pair, 1);
}

TEST_F(CompareRunTest, DirectoryJoinAddsOneSeparatorAndNoneToAnEmptyDirectory) {
  app.NewDirName = "";
  app.OldDirName = "old/";
  app.NewFileList = {"a.txt"};
  app.OldFileList = {"a.txt"};
  fs.add("a.txt", "x\n");
  fs.add("old/a.txt", "x\n");
  std::string newName, oldName;
  report.onCall = [&](CompareContext& c) {
    newName = c.newInput.FileName;
    oldName = c.oldInput.FileName;
  };
  EXPECT_EQ(run(), kRunEqual);
  EXPECT_EQ(newName, "a.txt");
  EXPECT_EQ(oldName, "old/a.txt");
}

TEST_F(CompareRunTest, OnlyTheNewFileDecidesTextOrBinary) {
  addPair("a.dat", "text\n", controlLine(20));       // New text, Old binary: text
  addPair("b.dat", controlLine(8), controlLine(8));  // eight control bytes: text
  addPair("c.dat", controlLine(9), controlLine(9));  // nine: binary
  addPair("d.dat", "\r\n" + controlLine(20), "x");   // CR LF ends the first line at once
  run();
  ASSERT_EQ(report.calls.size(), 4u);
  EXPECT_FALSE(report.calls[0].binary);
  EXPECT_FALSE(report.calls[1].binary);
  EXPECT_TRUE(report.calls[2].binary);
  EXPECT_FALSE(report.calls[3].binary);
}

TEST_F(CompareRunTest, TxfoSkipsBinaryPairsAndReportsOnlyALastOne) {
  check(Pref::Txfo);
  addPair("a.bin", controlLine(9), controlLine(9) + "x");
  addPair("b.txt", "x\n", "x\n");
  addPair("c.bin", controlLine(10), controlLine(10));
  run();
  EXPECT_EQ(app.options.TxfoSkipped, 2);
  ASSERT_EQ(report.calls.size(), 2u);
  EXPECT_EQ(report.calls[0].pair, 1);
  EXPECT_EQ(report.calls[1].pair, 2);
  EXPECT_TRUE(report.calls[1].binary);
  EXPECT_EQ(fs.find("old/c.bin")->bytesRead, 0);
  EXPECT_EQ(fs.find("new/c.bin")->bytesRead, static_cast<std::int64_t>(controlLine(10).size()));  // probe
}

TEST_F(CompareRunTest, AeqfEqualTextPairIsReportedWithoutReading) {
  check(Pref::Aeqf);
  const std::string big = numberedLines(2000);
  addPair("a.txt", big, numberedLines(2000, "LINE "), 7, 7);  // same size and stamp, other content
  std::vector<bool> tdl;
  report.onCall = [&](CompareContext& c) { tdl.push_back(c.currentStats().TdlEqual); };
  run();
  ASSERT_EQ(report.calls.size(), 1u);
  EXPECT_TRUE(report.calls[0].aeqfEqual);
  EXPECT_TRUE(report.calls[0].allRead);
  EXPECT_EQ(tdl, std::vector<bool>{true});
  EXPECT_EQ(app.options.AeqfEqualPairs, 1);
  EXPECT_EQ(fs.find("old/a.txt")->bytesRead, 0);
  EXPECT_LE(fs.find("new/a.txt")->bytesRead, 2048);  // only the first-line probe
  EXPECT_TRUE(host.eventsStartingWith("status: Processing").empty());
}

TEST_F(CompareRunTest, AeqfNeedsEqualStampsAndSizes) {
  check(Pref::Aeqf);
  check(Pref::Txal);
  addPair("a.txt", "abc\n", "abd\n", 1, 2);   // stamps differ: compared
  addPair("b.txt", "abc\n", "abcd\n", 3, 3);  // sizes differ: compared
  addPair("c.txt", "abc\n", "abd\n", 4, 4);   // taken as equal
  run();
  ASSERT_EQ(report.calls.size(), 3u);
  EXPECT_FALSE(report.calls[0].aeqfEqual);
  EXPECT_TRUE(report.calls[0].filesDiffer);
  EXPECT_FALSE(report.calls[1].aeqfEqual);
  EXPECT_TRUE(report.calls[2].aeqfEqual);
  EXPECT_EQ(fs.find("new/c.txt")->bytesRead, 0);  // Txal: not even probed
  EXPECT_EQ(app.options.AeqfEqualPairs, 1);
}

TEST_F(CompareRunTest, AeqfWithEqualSizesButOtherStampsStillComparesBinaryBytes) {
  check(Pref::Aeqf);
  check(Pref::Abin);
  const std::string a(50000, 'a');
  std::string b = a;
  b.back() = 'b';
  addPair("x.bin", a, b, 10, 11);
  addPair("y.bin", a, b, 12, 12);  // equal stamps: taken as equal unread
  run();
  ASSERT_EQ(report.calls.size(), 2u);
  EXPECT_TRUE(report.calls[0].filesDiffer);
  EXPECT_EQ(report.calls[0].returnCode, 1);
  EXPECT_EQ(fs.find("old/x.bin")->bytesRead, 50000);
  EXPECT_FALSE(report.calls[1].filesDiffer);
  EXPECT_EQ(fs.find("old/y.bin")->bytesRead, 0);
  EXPECT_EQ(fs.find("new/y.bin")->bytesRead, 0);
}

TEST_F(CompareRunTest, BinaryPairShowsTheFirstActivityImageAndIsReported) {
  check(Pref::Abin);
  addPair("a.bin", "abc", "abc");
  addPair("b.bin", "abc", "ab");
  run();
  EXPECT_EQ(host.eventsStartingWith("images: ").size(), 2u);
  EXPECT_EQ(host.eventsStartingWith("images: ")[0], "images: 10");
  ASSERT_EQ(report.calls.size(), 2u);
  EXPECT_EQ(report.calls[0].newBinBytes, 3);
  EXPECT_EQ(report.calls[1].oldBinBytes, 2);
  EXPECT_TRUE(report.calls[1].filesDiffer);
  EXPECT_EQ(app.reportLines.back(), kRunDifferent);
}

TEST_F(CompareRunTest, InvalidCcolOpensNoFile) {
  check(Pref::Ccol);
  app.choices.ccolOld1 = "0:5";
  addPair("a.txt", "x\n", "y\n");
  EXPECT_EQ(run(), kRunCcolError);
  EXPECT_EQ(fs.find("new/a.txt")->opens, 0);
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(CompareRunTest, CcolBoundsSurviveIntoLaterPairs) {
  check(Pref::Ccol);
  app.choices.ccolNew1 = "3:eol";
  app.choices.ccolOld1 = "3:eol";
  addPair("a.txt", "aaXY\n", "bbXY\n");
  addPair("b.txt", "ccXY\n", "ddXY\n");
  std::vector<int> starts;
  report.onCall = [&](CompareContext& c) { starts.push_back(c.newInput.CcolStart1); };
  EXPECT_EQ(run(), kRunFilteredEqual);
  EXPECT_EQ(starts, (std::vector<int>{3, 3}));
}

TEST_F(CompareRunTest, HaltBetweenPairsEndsTheSet) {
  addPair("a.txt", "x\n", "y\n");
  addPair("b.txt", "x\n", "y\n");
  report.onCall = [&](CompareContext&) { app.StopRequested = true; };
  EXPECT_EQ(run(), kRunHalted);
  EXPECT_EQ(report.calls.size(), 1u);
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

TEST_F(CompareRunTest, StatusLineIsAppendedEvenWhenTheListIsFull) {
  addPair("a.txt", "x\n", "x\n");
  app.reportLines.setCapacity(0);
  EXPECT_EQ(run(), kRunEqual);
  EXPECT_EQ(app.reportLines.size(), 1u);
}

}  // namespace
}  // namespace kelvarine
