#include "ui/compare_flows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/compare_choices.h"
#include "engine/run_status.h"
#include "support/memory_file_system.h"
#include "support/recording_host.h"
#include "support/recording_report.h"
#include "ui/like_name_selection.h"
#include "ui/two_list_selection.h"

namespace kelvarine {
namespace {

const std::string kItem1 = kCompareTypes[0];
const std::string kItem2 = kCompareTypes[1];
const std::string kItem3 = kCompareTypes[2];
const std::string kItem4 = kCompareTypes[3];

// Selection windows that are closed again at once, as Return does.
class ReturningWindows : public SelectionWindows {
 public:
  void showLikeNameSelection(LikeNameSelection&) override { ++shown; }
  void showTwoListSelection(TwoListSelection&) override { ++shown; }
  int shown = 0;
};

// The main window's side of a run, recorded among the host's events as "window: ...".
class RecordingWindow : public RunWindow {
 public:
  explicit RecordingWindow(RecordingHost& host) : host_(host) {}
  void setRunning(bool running) override {
    host_.events.push_back(running ? "window: running" : "window: idle");
  }
  void showReport() override { host_.events.push_back("window: report"); }
  void focus(FocusTarget target) override {
    static const char* const kNames[] = {"New", "Old", "Exit", "Status"};
    host_.events.push_back(std::string("window: focus ") + kNames[static_cast<int>(target)]);
  }

 private:
  RecordingHost& host_;
};

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
  LikeNameSelection likeNames;
  TwoListSelection twoLists;
  ReturningWindows windows;
  SelectionServices selection{likeNames, twoLists, windows};
  MainPanelState panel;
  RecordingWindow window{host};
  FlowServices flow{app, host, fs, report, &selection, &panel, &window};
};

TEST_F(CompareFlowsTest, RefusalsAndStopsShowAtMostOneMessageAndRunNothing) {
  fs.add("new/a.txt", "x\n");
  fs.add("old/a.txt", "x\n");
  fs.add("lonely/b.txt", "x\n");
  const std::string needsFile = "The specified Compare type \"" + kItem1 +
                                "\" requires a File Name not a Path Name. Use the Select FileSelect Tab to "
                                "select a valid File Name or change compare type.";
  const auto needsDir = [](const std::string& type) {
    return "The specified Compare type \"" + type +
           "\" requires a directory path name not a file name. Use the Select DirSelect Tab to select a "
           "valid "
           "Dir Name or change compare type.";
  };
  fs.add("empty/.keep/x", "");  // a directory without files
  struct Case {
    std::string type, newText, oldText, message;  // no message: nothing shown
    std::string focus;                            // the field focused after the message, if any
    FlowOutcome outcome = FlowOutcome::Refused;
    bool namesEntered = false;  // the names passed validation and went into the histories
  };
  const std::string noPairs =
      "No paired (same name) new/old filenames are found.\rSelect another directory pair.";
  const std::vector<Case> cases = {
      {"2. all like-name files from input dirs", "new", "old",
       "Invalid \"Compare Type\". Reselect again from the \"Compare Type\" ComboBox.", ""},
      {kItem1, "new", "old/a.txt", needsFile, ""},
      {kItem1, "new/b.txt", "old", needsFile, ""},  // a directory wins over a missing name
      {kItem1, "new/b.txt", "old/a.txt", "Invalid New Input File Name \"new/b.txt\" specified.", "New"},
      {kItem1, "new/a.txt", "old/b.txt", "Invalid Old Input File Name \"old/b.txt\" specified.", "Old"},
      {kItem2, "new/a.txt", "old", needsDir(kItem2), "New"},
      {kItem2, "nowhere", "old", "Invalid New Input File Directory Name specified.", "New"},
      {kItem2, "new", "nowhere", "Invalid Old Input File Directory Name specified.", "Old"},
      {kItem2, "nowhere", "old/a.txt", "Invalid New Input File Directory Name specified.", "New"},
      {kItem2, "new", "lonely", noPairs, "", FlowOutcome::NoPairs, true},
      {"", "new/a.txt", "old/a.txt", "", "", FlowOutcome::Stopped},  // before asking about two files
      {kItem4, "new", "old/a.txt", needsDir(kItem4), "Old"},
      {kItem4, "nowhere", "old", "Invalid New Input File Directory specified.", "New"},
      {kItem4, "new", "nowhere", "Invalid Old Input File Directory specified.", "Old"},
      {kItem4, "empty", "old",
       "New Input File Directory has no files to compare. \r Respecify the New Directory Name.", "",
       FlowOutcome::Refused, true},
      {kItem4, "new", "empty",
       "Old Input File Directory has no files to compare. \r Respecify the Old Directory Name.", "",
       FlowOutcome::Refused, true},
      // the window opens and is closed by Return
      {kItem3, "new", "old", "", "", FlowOutcome::Stopped, true},
      {kItem4, "new", "old", "", "", FlowOutcome::Stopped, true},
  };
  app.reportLines.add("earlier report");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type + " | " + c.newText + " | " + c.oldText);
    host.events.clear();
    panel = MainPanelState{};
    app.NewFileList = app.OldFileList = {"stale"};
    EXPECT_EQ(start(c.type, c.newText, c.oldText).outcome, c.outcome);
    std::vector<std::string> events;
    if (!c.message.empty()) events.push_back("message: " + c.message);
    if (!c.focus.empty()) events.push_back("window: focus " + c.focus);
    EXPECT_EQ(host.events, events);
    EXPECT_EQ(panel.MnCbNewDirNm.history,
              c.namesEntered ? std::vector<std::string>{c.newText} : std::vector<std::string>{});
    EXPECT_EQ(panel.MnCbOldDirNm.history,
              c.namesEntered ? std::vector<std::string>{c.oldText} : std::vector<std::string>{});
    EXPECT_TRUE(app.NewFileList.empty() && app.OldFileList.empty());
    EXPECT_EQ(app.reportLines.lines(), std::vector<std::string>{"earlier report"});
    EXPECT_EQ(app.newNameText + " | " + app.oldNameText, c.newText + " | " + c.oldText);
  }
  EXPECT_TRUE(report.calls.empty());
  EXPECT_EQ(windows.shown, 2);

  flow.selection = nullptr;  // a front end without selection windows
  EXPECT_EQ(start(kItem3, "new", "old").outcome, FlowOutcome::NotAvailable);
  EXPECT_EQ(start(kItem4, "new", "old").outcome, FlowOutcome::NotAvailable);
}

TEST_F(CompareFlowsTest, TwoFilesWithAnotherTypeAskFirstAndKeepTheirNamesAsTyped) {
  fs.add("New.TXT", "a\n");
  fs.add("/abs/Old.txt", "b\n");
  const std::string question =
      "Compare type \"" + kItem3 +
      "\" is not valid with two full file names. Do you want the \"Compare type\" to be "
      "changed to: \"" +
      kItem1 + "\" -- Yes (Continue with File Compare of two files) or No (Stop the Compare)?";

  app.reportLines.add("earlier report");
  EXPECT_EQ(start(kItem3, "New.TXT", "/abs/Old.txt").outcome, FlowOutcome::Stopped);
  EXPECT_EQ(host.events, std::vector<std::string>{"question: " + question});
  EXPECT_EQ(app.choices.compareType, kItem3);
  EXPECT_EQ(app.reportLines.size(), 1u);

  host.answerYes = true;
  EXPECT_EQ(start(kItem3, "New.TXT", "/abs/Old.txt").status, shown(kRunDifferent));
  EXPECT_EQ(app.choices.compareType, kItem1);
  EXPECT_EQ(app.NewDirName, "");
  EXPECT_EQ(app.OldDirName, "/abs/");
  EXPECT_EQ(app.NewFileList, std::vector<std::string>{"New.TXT"});
  EXPECT_EQ(app.OldFileList, std::vector<std::string>{"Old.txt"});
}

TEST_F(CompareFlowsTest, LikeNamesPairExactlyThenIgnoringCaseInNameOrderAsOnDisk) {
  // "a.txt" pairs exactly, so its case twin "A.TXT" has no partner; "b.txt" pairs "B.TXT" by case.
  addDirectories({"b.txt", "Zeta", "A.TXT", "only_new", "a.txt", "_first"}, {"a.txt", "B.TXT", "only_old"});
  bool flagDuringRun = false;
  report.onCall = [&](CompareContext& c) { flagDuringRun = c.app.RunAllLikeNamed; };
  EXPECT_EQ(start(kItem2, "new/", "old").outcome, FlowOutcome::Ran);
  EXPECT_EQ(app.NewFileList, (std::vector<std::string>{"a.txt", "b.txt"}));
  EXPECT_EQ(app.OldFileList, (std::vector<std::string>{"a.txt", "B.TXT"}));
  EXPECT_EQ(app.NewDirNames,
            (std::vector<std::string>{"_first", "A.TXT", "a.txt", "b.txt", "only_new", "Zeta"}));
  EXPECT_EQ(app.OldDirNames, (std::vector<std::string>{"a.txt", "B.TXT", "only_old"}));
  EXPECT_EQ(app.UnpairedNewCount, 4);
  EXPECT_EQ(app.UnpairedOldCount, 1);
  EXPECT_TRUE(flagDuringRun);
  EXPECT_FALSE(app.RunAllLikeNamed);
}

TEST_F(CompareFlowsTest, PairingShowsProgressEverySixtyOldNames) {
  std::vector<std::string> oldNames;
  for (int i = 0; i < 130; ++i)
    oldNames.push_back("f" + std::to_string(1000 + i));
  addDirectories({"f1000"}, oldNames);
  app.UnpairedNewCount = 7;
  start(kItem2, "new", "old");
  EXPECT_EQ(host.eventsStartingWith("status: Proc"),
            (std::vector<std::string>{"status: Proc Directories - Old Dir Num = 59 of (130).",
                                      "status: Proc Directories - Old Dir Num = 119 of (130)."}));
  EXPECT_EQ(app.UnpairedNewCount, 0);
  EXPECT_EQ(app.UnpairedOldCount, 129);
}

TEST_F(CompareFlowsTest, RunStartsCleanAndShowsTheStatus) {
  fs.add("n/a", "1\n2\n");
  fs.add("o/a", "1\n3\n");
  app.reportLines.add("old report");
  app.oldSideLines.add("old side");
  app.StopRequested = app.RunFailed = true;
  const std::string status = start(kItem1, "n/a", "o/a").status;
  EXPECT_EQ(status, shown(kRunDifferent));
  EXPECT_EQ(host.statusTexts.front(), "Executing Compare Section.");
  EXPECT_EQ(host.statusTexts.back(), status);
  EXPECT_EQ(app.reportLines.lines(), std::vector<std::string>{kRunDifferent});
  EXPECT_TRUE(app.oldSideLines.empty());
  EXPECT_FALSE(app.StopRequested || app.RunFailed);

  // The run lets pending input through once the flags are cleared: a halt raised then still counts.
  host.onProcessEvents = [&] { app.StopRequested = true; };
  report.calls.clear();
  EXPECT_EQ(start(kItem1, "n/a", "o/a").status, shown(kRunHalted));
  EXPECT_TRUE(report.calls.empty());
}

TEST_F(CompareFlowsTest, RunHoldsTheWindowThenShowsTheReportOrFocusesTheStatusPanel) {
  fs.add("n/A.txt", "1\n");
  fs.add("o/a.txt", "2\n");
  struct Case {
    const char* name;
    bool bypass, halt;
    std::vector<std::string> end;  // window events after the controls are enabled again
  };
  const std::vector<Case> cases = {
      {"shown", false, false, {"window: report", "window: focus Exit"}},
      {"bypassed", true, false, {"window: focus Status"}},
      {"halted before the first pair", false, true, {"window: focus Status"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    host.events.clear();
    panel.MnCkViewResults = c.bypass;
    host.onProcessEvents = [&] { app.StopRequested = c.halt; };
    const std::string status = start(kItem1, "n/A.txt", "o/a.txt").status;
    std::vector<std::string> expected = {"status: Executing Compare Section.", "window: running",
                                         "status: " + status, "window: idle"};
    expected.insert(expected.end(), c.end.begin(), c.end.end());
    std::vector<std::string> ordered;  // the window's events and the status texts of the flow itself
    for (const std::string& e : host.events)
      if (e.starts_with("window: ") || e == expected[0] || e == expected[2]) ordered.push_back(e);
    EXPECT_EQ(ordered, expected);
  }
  // The names entered at each Start and run stand once in each history, spelled as typed.
  EXPECT_EQ(panel.MnCbNewDirNm.history, std::vector<std::string>{"n/A.txt"});
  EXPECT_EQ(panel.MnCbOldDirNm.history, std::vector<std::string>{"o/a.txt"});
}

}  // namespace
}  // namespace kelvarine
