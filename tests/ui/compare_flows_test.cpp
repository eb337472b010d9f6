#include "ui/compare_flows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/compare_choices.h"
#include "engine/run_status.h"
#include "support/memory_file_system.h"
#include "support/recording_host.h"
#include "support/recording_report.h"

namespace kelvarine {
namespace {

const std::string kItem1 = kCompareTypes[0];
const std::string kItem2 = kCompareTypes[1];
const std::string kItem3 = kCompareTypes[2];

std::string shown(const char* status) {
  return std::string(status).substr(0, 70);
}

class CompareFlowsTest : public ::testing::Test {
 public:
  FlowResult start(const std::string& compareType, const std::string& newText, const std::string& oldText) {
    app.choices.compareType = compareType;
    return MnButStartClick(flow, newText, oldText);
  }
  // A directory pair: every name gets the same content on both sides.
  void addDirectories(const std::vector<std::string>& newNames, const std::vector<std::string>& oldNames) {
    for (const auto& name : newNames)
      fs.add("new/" + name, "same\n");
    for (const auto& name : oldNames)
      fs.add("old/" + name, "same\n");
  }

  MemoryFileSystem fs;
  RecordingHost host;
  AppState app;
  RecordingReport report;
  FlowServices flow{app, host, fs, report};
};

// ---- Start and compare type 1 -------------------------------------------------------------------

TEST_F(CompareFlowsTest, RefusalsShowOneMessageAndRunNothing) {
  fs.add("new/a.txt", "x\n");
  fs.add("old/a.txt", "x\n");
  const std::string needsFile = "The specified Compare type \"" + kItem1 +
                                "\" requires a File Name not a Path Name. Use the Select FileSelect Tab to "
                                "select a valid File Name or change compare type.";
  const std::string needsDir = "The specified Compare type \"" + kItem2 +
                               "\" requires a directory path name not a file name. Use the Select DirSelect "
                               "Tab to select a valid Dir Name or change compare type.";
  struct Case {
    std::string type, newText, oldText, message;
  };
  const std::vector<Case> cases = {
      {"2. all like-name files from input dirs", "new", "old",
       "Invalid \"Compare Type\". Reselect again from the \"Compare Type\" ComboBox."},
      {kItem1, "new", "old/a.txt", needsFile},
      {kItem1, "new/a.txt", "old", needsFile},
      {kItem1, "new/b.txt", "old", needsFile},  // a directory wins over a missing name
      {kItem1, "new/b.txt", "old/a.txt", "Invalid New Input File Name \"new/b.txt\" specified."},
      {kItem1, "new/a.txt", "old/b.txt", "Invalid Old Input File Name \"old/b.txt\" specified."},
      {kItem2, "new/a.txt", "old", needsDir},
      {kItem2, "new", "old/a.txt", needsDir},
      {kItem2, "nowhere", "old", "Invalid New Input File Directory Name specified."},
      {kItem2, "new", "nowhere", "Invalid Old Input File Directory Name specified."},
      {kItem2, "nowhere", "old/a.txt", "Invalid New Input File Directory Name specified."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type + " | " + c.newText + " | " + c.oldText);
    host.events.clear();
    app.reportLines.clear();
    app.reportLines.add("earlier report");
    app.NewFileList = {"stale"};
    app.OldFileList = {"stale"};
    const FlowResult result = start(c.type, c.newText, c.oldText);
    EXPECT_EQ(result.outcome, FlowOutcome::Refused);
    EXPECT_EQ(host.events, std::vector<std::string>{"message: " + c.message});
    EXPECT_TRUE(app.NewFileList.empty());
    EXPECT_TRUE(app.OldFileList.empty());
    EXPECT_EQ(app.reportLines.lines(), std::vector<std::string>{"earlier report"});
    EXPECT_EQ(app.newNameText, c.newText);
    EXPECT_EQ(app.oldNameText, c.oldText);
  }
  EXPECT_TRUE(report.calls.empty());
}

TEST_F(CompareFlowsTest, EmptyCompareTypeStopsSilently) {
  fs.add("new/a.txt", "x\n");
  fs.add("old/a.txt", "x\n");
  app.NewFileList = {"stale"};
  EXPECT_EQ(start("", "new/a.txt", "old/a.txt").outcome, FlowOutcome::Stopped);
  EXPECT_TRUE(host.events.empty());
  EXPECT_TRUE(app.NewFileList.empty());
}

TEST_F(CompareFlowsTest, TwoFilesWithAnotherTypeAskFirst) {
  fs.add("new/sub/a.txt", "one\ntwo\n");
  fs.add("old/b.txt", "one\ntwo\n");
  const std::string question =
      "Compare type \"" + kItem3 +
      "\" is not valid with two full file names. Do you want the \"Compare type\" to be "
      "changed to: \"" +
      kItem1 + "\" -- Yes (Continue with File Compare of two files) or No (Stop the Compare)?";

  host.answerYes = false;
  app.reportLines.add("earlier report");
  EXPECT_EQ(start(kItem3, "new/sub/a.txt", "old/b.txt").outcome, FlowOutcome::Stopped);
  EXPECT_EQ(host.events, std::vector<std::string>{"question: " + question});
  EXPECT_EQ(app.choices.compareType, kItem3);
  EXPECT_TRUE(app.NewFileList.empty());
  EXPECT_EQ(app.reportLines.size(), 1u);
  EXPECT_TRUE(report.calls.empty());

  host.events.clear();
  host.answerYes = true;
  const FlowResult result = start(kItem3, "new/sub/a.txt", "old/b.txt");
  EXPECT_EQ(result.outcome, FlowOutcome::Ran);
  EXPECT_EQ(result.status, shown(kRunEqual));
  EXPECT_EQ(host.events.front(), "question: " + question);
  EXPECT_EQ(app.choices.compareType, kItem1);
  EXPECT_EQ(app.NewDirName, "new/sub/");
  EXPECT_EQ(app.OldDirName, "old/");
  EXPECT_EQ(app.NewFileList, std::vector<std::string>{"a.txt"});
  EXPECT_EQ(app.OldFileList, std::vector<std::string>{"b.txt"});
  EXPECT_EQ(report.calls.size(), 1u);
}

TEST_F(CompareFlowsTest, FilePairKeepsNamesAsTyped) {
  fs.add("New.TXT", "a\n");
  fs.add("/abs/Old.txt", "b\n");
  const FlowResult result = start(kItem1, "New.TXT", "/abs/Old.txt");
  EXPECT_EQ(result.outcome, FlowOutcome::Ran);
  EXPECT_EQ(result.status, shown(kRunDifferent));
  EXPECT_EQ(app.NewDirName, "");
  EXPECT_EQ(app.OldDirName, "/abs/");
  EXPECT_EQ(app.NewFileList, std::vector<std::string>{"New.TXT"});
  EXPECT_EQ(app.OldFileList, std::vector<std::string>{"Old.txt"});
  EXPECT_FALSE(app.RunAllLikeNamed);
  // The status line closes the report list; the type-2 name lists stay empty.
  EXPECT_EQ(app.reportLines.back(), kRunDifferent);
  EXPECT_TRUE(app.NewDirNames.empty());
}

TEST_F(CompareFlowsTest, SelectionTypesAreNotAvailableYet) {
  addDirectories({"a"}, {"a"});
  EXPECT_EQ(start(kItem3, "new", "old").outcome, FlowOutcome::NotAvailable);
  EXPECT_EQ(start(kCompareTypes[3], "new", "old").outcome, FlowOutcome::NotAvailable);
  EXPECT_TRUE(host.events.empty());
}

TEST(PathPartsTest, SplitAtTheLastSlash) {
  struct Case {
    std::string path, directory, name;
  };
  for (const Case& c : std::vector<Case>{
           {"a/b/c.txt", "a/b/", "c.txt"}, {"/c", "/", "c"}, {"c.txt", "", "c.txt"}, {"dir/", "dir/", ""}}) {
    EXPECT_EQ(DirectoryPart(c.path), c.directory) << c.path;
    EXPECT_EQ(FileNamePart(c.path), c.name) << c.path;
  }
}

// ---- Compare type 2 -----------------------------------------------------------------------------

TEST_F(CompareFlowsTest, LikeNamesPairInAscendingLowerCaseOrder) {
  // 5 New names and 3 Old names, 2 in common (one only by letter case); a case twin counts once.
  addDirectories({"b.txt", "Zeta", "A.TXT", "only_new", "a.txt", "_first"}, {"a.txt", "B.TXT", "only_old"});
  bool flagDuringRun = false;
  report.onCall = [&](CompareContext& c) { flagDuringRun = c.app.RunAllLikeNamed; };
  const FlowResult result = start(kItem2, "new", "old");

  EXPECT_EQ(result.outcome, FlowOutcome::Ran);
  EXPECT_EQ(app.NewFileList, (std::vector<std::string>{"a.txt", "b.txt"}));
  EXPECT_EQ(app.OldFileList, app.NewFileList);
  EXPECT_EQ(app.NewDirNames, (std::vector<std::string>{"_first", "a.txt", "b.txt", "only_new", "zeta"}));
  EXPECT_EQ(app.OldDirNames, (std::vector<std::string>{"a.txt", "b.txt", "only_old"}));
  EXPECT_EQ(app.UnpairedNewCount, 3);
  EXPECT_EQ(app.UnpairedOldCount, 1);
  EXPECT_EQ(app.NewDirName, "new");
  EXPECT_EQ(app.OldDirName, "old");
  EXPECT_TRUE(flagDuringRun);
  EXPECT_FALSE(app.RunAllLikeNamed);
}

TEST_F(CompareFlowsTest, EveryNameCommonLeavesNothingUnpaired) {
  addDirectories({"x.c", "y.c"}, {"y.c", "x.c"});
  app.UnpairedNewCount = app.UnpairedOldCount = 7;
  const FlowResult result = start(kItem2, "new/", "old/");
  EXPECT_EQ(result.status, shown(kRunEqual));
  EXPECT_EQ(app.UnpairedNewCount, 0);
  EXPECT_EQ(app.UnpairedOldCount, 0);
  EXPECT_EQ(report.calls.size(), 2u);
}

TEST_F(CompareFlowsTest, NoCommonNameRefusesTheSet) {
  addDirectories({"a", "b"}, {"c"});
  EXPECT_EQ(start(kItem2, "new", "old").outcome, FlowOutcome::Refused);
  EXPECT_EQ(host.messages,
            std::vector<std::string>{
                "No paired (same name) new/old filenames are found.\rSelect another directory pair."});
  EXPECT_FALSE(app.RunAllLikeNamed);
  EXPECT_TRUE(report.calls.empty());
}

TEST_F(CompareFlowsTest, PairingShowsProgressEverySixtyOldNames) {
  struct Case {
    int oldNames;
    std::vector<std::string> texts;
  };
  const std::vector<Case> cases = {
      {59, {}},
      {60, {"status: Proc Directories - Old Dir Num = 59 of (60)."}},
      {120,
       {"status: Proc Directories - Old Dir Num = 59 of (120).",
        "status: Proc Directories - Old Dir Num = 119 of (120)."}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.oldNames);
    fs = MemoryFileSystem();
    host = RecordingHost();
    std::vector<std::string> names;
    for (int i = 0; i < c.oldNames; ++i)
      names.push_back("f" + std::to_string(1000 + i));
    addDirectories({"f1000"}, names);
    start(kItem2, "new", "old");
    EXPECT_EQ(host.eventsStartingWith("status: Proc"), c.texts);
    EXPECT_EQ(app.UnpairedOldCount, c.oldNames - 1);
  }
}

// ---- Running a set ------------------------------------------------------------------------------

TEST_F(CompareFlowsTest, RunCompareSetStartsCleanAndShowsTheStatus) {
  fs.add("n/a", "1\n2\n");
  fs.add("o/a", "1\n3\n");
  app.reportLines.add("old report");
  app.oldSideLines.add("old side");
  app.StopRequested = true;
  app.RunFailed = true;
  app.NewDirName = "n";
  app.OldDirName = "o";
  app.NewFileList = {"a"};
  app.OldFileList = {"a"};

  const std::string status = RunCompareSet(flow);
  EXPECT_EQ(status, shown(kRunDifferent));
  EXPECT_EQ(host.statusTexts.front(), "Executing Compare Section.");
  EXPECT_EQ(host.statusTexts.back(), status);
  EXPECT_EQ(app.reportLines.lines(), std::vector<std::string>{kRunDifferent});
  EXPECT_TRUE(app.oldSideLines.empty());
  EXPECT_FALSE(app.StopRequested);
  EXPECT_FALSE(app.RunFailed);
}

TEST_F(CompareFlowsTest, HaltRaisedBeforeTheRunStopsIt) {
  // The run lets pending input through once the flags are cleared: a halt raised then still counts.
  fs.add("new/a", "x\n");
  fs.add("old/a", "x\n");
  host.onProcessEvents = [&] { app.StopRequested = true; };
  const FlowResult result = start(kItem1, "new/a", "old/a");
  EXPECT_EQ(result.status, shown(kRunHalted));
  EXPECT_TRUE(report.calls.empty());
}

}  // namespace
}  // namespace kelvarine
