// Start on the main panel for every compare type: refusals, pairing, the run and the window around it,
// directory trees, and the selection windows of types 3 and 4 driven by a scripted user.
#include "ui/compare_flows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "engine/compare_choices.h"
#include "engine/run_status.h"
#include "engine/std_file_system.h"
#include "support/memory_file_system.h"
#include "support/recording_host.h"
#include "support/recording_report.h"
#include "support/temp_directory.h"
#include "ui/file_tree.h"
#include "ui/like_name_selection.h"
#include "ui/two_list_selection.h"
#include "ui/wildcard_mask.h"

namespace kelvarine {
namespace {

using Names = std::vector<std::string>;

const std::string kItem1 = kCompareTypes[0];
const std::string kItem2 = kCompareTypes[1];
const std::string kItem3 = kCompareTypes[2];
const std::string kItem4 = kCompareTypes[3];

// Selection windows whose opening runs a scripted user; without a script they close at once, as Return
// does.
class ScriptedWindows : public SelectionWindows {
 public:
  void showLikeNameSelection(LikeNameSelection& window) override {
    ++shown;
    if (onLikeNames) onLikeNames(window);
  }
  void showTwoListSelection(TwoListSelection& window) override {
    ++shown;
    if (onTwoLists) onTwoLists(window);
  }
  std::function<void(LikeNameSelection&)> onLikeNames;
  std::function<void(TwoListSelection&)> onTwoLists;
  int shown = 0;
};

// A memory file system in which some directories cannot be read.
class LockedFileSystem : public MemoryFileSystem {
 public:
  bool listDirectory(const std::string& directory, DirectoryEntries& entries, std::string* why) override {
    if (!directory.ends_with("locked")) return MemoryFileSystem::listDirectory(directory, entries, why);
    entries = {};
    if (why != nullptr) *why = "Permission denied";
    return false;
  }
};

// The main window's side of a run, recorded among the host's events as "window: ...".
class RecordingWindow : public RunWindow {
 public:
  explicit RecordingWindow(RecordingHost& host) : host_(host) {}
  void setRunning(bool running) override {
    host_.events.push_back(running ? "window: running" : "window: idle");
  }
  void reportKept() override { host_.events.push_back("window: report kept"); }
  void showReport() override { host_.events.push_back("window: report"); }
  void focus(FocusTarget target) override {
    static const char* const kNames[] = {"New", "Old", "Exit", "Status"};
    host_.events.push_back(std::string("window: focus ") + kNames[static_cast<int>(target)]);
  }

 private:
  RecordingHost& host_;
};

class CompareFlowsTest : public ::testing::Test {
 public:
  FlowResult start(const std::string& compareType, const std::string& newText = "new",
                   const std::string& oldText = "old") {
    app.choices.compareType = compareType;
    return MnButStartClick(flow, newText, oldText);
  }
  // A directory pair: every name gets the same content on both sides.
  void addDirectories(const Names& newNames, const Names& oldNames) {
    for (const auto& name : newNames)
      fs.add("new/" + name, "same\n");
    for (const auto& name : oldNames)
      fs.add("old/" + name, "same\n");
  }

  LockedFileSystem fs;
  RecordingHost host;
  AppState app;
  RecordingReport report;
  LikeNameSelection likeNames;
  TwoListSelection twoLists;
  ScriptedWindows windows;
  SelectionServices selection{likeNames, twoLists, windows};
  MainPanelState panel;
  RecordingWindow runWindow{host};
  FlowServices flow{app, host, fs, report, &selection, &panel, &runWindow};
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
    Names events;
    if (!c.message.empty()) events.push_back("message: " + c.message);
    if (!c.focus.empty()) events.push_back("window: focus " + c.focus);
    EXPECT_EQ(host.events, events);
    EXPECT_EQ(panel.MnCbNewDirNm.history, c.namesEntered ? Names{c.newText} : Names{});
    EXPECT_EQ(panel.MnCbOldDirNm.history, c.namesEntered ? Names{c.oldText} : Names{});
    EXPECT_TRUE(app.NewFileList.empty() && app.OldFileList.empty());
    EXPECT_EQ(app.reportLines.lines(), Names{"earlier report"});
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
  EXPECT_EQ(host.events, Names{"question: " + question});
  EXPECT_EQ(app.choices.compareType, kItem3);
  EXPECT_EQ(app.reportLines.size(), 1u);

  // The run starts clean: report, Old side and halt of the last run gone; the status panel shows 70
  // characters.
  host.answerYes = true;
  app.oldSideLines.add("old side");
  app.StopRequested = app.RunFailed = true;
  EXPECT_EQ(start(kItem3, "New.TXT", "/abs/Old.txt").status.text, std::string(kRunDifferent).substr(0, 70));
  EXPECT_EQ(app.reportLines.lines(), Names{kRunDifferent});
  EXPECT_TRUE(app.oldSideLines.empty());
  EXPECT_FALSE(app.StopRequested || app.RunFailed);
  EXPECT_EQ(app.choices.compareType, kItem1);
  EXPECT_EQ(app.NewDirName, "");
  EXPECT_EQ(app.OldDirName, "/abs/");
  EXPECT_EQ(app.NewFileList, Names{"New.TXT"});
  EXPECT_EQ(app.OldFileList, Names{"Old.txt"});
}

TEST_F(CompareFlowsTest, PairingShowsProgressEverySixtyOldNames) {
  Names oldNames;
  for (int i = 0; i < 130; ++i)
    oldNames.push_back("f" + std::to_string(1000 + i));
  addDirectories({"f1000"}, oldNames);
  app.UnpairedNewCount = 7;
  start(kItem2, "new", "old");
  EXPECT_EQ(host.eventsStartingWith("status: Proc"),
            (Names{"status: Proc Directories - Old Dir Num = 59 of (130).",
                   "status: Proc Directories - Old Dir Num = 119 of (130)."}));
  EXPECT_EQ(std::pair(app.UnpairedNewCount, app.UnpairedOldCount), std::pair(0, 129));
}

TEST_F(CompareFlowsTest, RunHoldsTheWindowThenShowsTheReportOrFocusesTheStatusPanel) {
  fs.add("n/A.txt", "1\n");
  fs.add("o/a.txt", "2\n");
  struct Case {
    const char* name;
    bool bypass, halt;
    Names end;  // window events after the controls are enabled again
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
    const std::string status = start(kItem1, "n/A.txt", "o/a.txt").status.text;
    Names expected = {"status: Executing Compare Section.", "window: running", "status: " + status,
                      "window: report kept", "window: idle"};
    expected.insert(expected.end(), c.end.begin(), c.end.end());
    Names ordered;  // the window's events and the status texts of the flow itself
    for (const std::string& e : host.events)
      if (e.starts_with("window: ") || e == expected[0] || e == expected[2]) ordered.push_back(e);
    EXPECT_EQ(ordered, expected);
  }
  // The names entered at each Start and run stand once in each history, spelled as typed.
  EXPECT_EQ(panel.MnCbNewDirNm.history, Names{"n/A.txt"});
  EXPECT_EQ(panel.MnCbOldDirNm.history, Names{"o/a.txt"});
}

class FileTreeTest : public CompareFlowsTest {
 public:
  FlowResult startType2(const std::string& excludes = "") {
    app.choices.includeSubdirs = true;
    app.choices.excludeMasks = excludes;
    return start(kItem2);
  }
};

// Relative paths pair exactly, then ignoring case, at every depth; files under a directory of one side
// only are unpaired; excluded files and directories are left out with all they hold.
TEST_F(FileTreeTest, TreesPairByRelativePathDirectoryByDirectory) {
  for (const char* name : {"a.txt", "sub/Makefile", "sub/makefile", "sub/deep/c.txt", "sub-x.txt",
                           "only_new/z.txt", ".git/config", "obj/x.o", "main.o"})
    fs.add(std::string("new/") + name, "same\n");
  for (const char* name : {"A.TXT", "sub/Makefile", "sub/makefile", "SUB/deep/C.txt", "sub-x.txt",
                           "only_old/y.txt", ".git/HEAD", "main.o"})
    fs.add(std::string("old/") + name, "same\n");
  bool flagDuringRun = false;
  report.onCall = [&](CompareContext& c) { flagDuringRun = c.app.RunAllLikeNamed; };
  EXPECT_EQ(startType2(".git;*.o").outcome, FlowOutcome::Ran);
  EXPECT_TRUE(flagDuringRun);
  EXPECT_FALSE(app.RunAllLikeNamed);
  EXPECT_EQ(app.NewFileList, (Names{"a.txt", "sub/deep/c.txt", "sub/Makefile", "sub/makefile", "sub-x.txt"}));
  EXPECT_EQ(app.OldFileList, (Names{"A.TXT", "SUB/deep/C.txt", "sub/Makefile", "sub/makefile", "sub-x.txt"}));
  EXPECT_EQ(app.NewDirNames, (Names{"a.txt", "only_new/z.txt", "sub/deep/c.txt", "sub/Makefile",
                                    "sub/makefile", "sub-x.txt"}));
  EXPECT_EQ(std::pair(app.UnpairedNewCount, app.UnpairedOldCount), std::pair(1, 1));  // only_new/z.txt
  EXPECT_EQ(report.calls.size(), 5u);

  app.choices.includeSubdirs = false;  // off: the top directory only, as before
  app.choices.excludeMasks.clear();
  EXPECT_EQ(start(kItem2).outcome, FlowOutcome::Ran);
  EXPECT_EQ(app.NewFileList, (Names{"a.txt", "main.o", "sub-x.txt"}));
}

TEST_F(FileTreeTest, AnUnreadableDirectoryIsReportedOnceAndTheRestCompared) {
  fs.add("new/a.txt", "1\n");
  fs.add("old/a.txt", "2\n");
  fs.add("new/locked/b.txt", "1\n");
  EXPECT_EQ(startType2().outcome, FlowOutcome::Ran);
  EXPECT_EQ(host.messages, Names{"Directory not compared: new/locked: Permission denied"});
  EXPECT_EQ(app.UnreadableDirCount, 1);
  EXPECT_EQ(app.NewFileList, Names{"a.txt"});
}

TEST_F(FileTreeTest, HaltEndsTheListing) {
  for (int i = 0; i < 1200; ++i)
    fs.add("new/d" + std::to_string(i % 100) + "/f" + std::to_string(i), "x\n");
  fs.add("old/f", "x\n");
  host.onProcessEvents = [&] { app.StopRequested = true; };
  EXPECT_EQ(startType2().outcome, FlowOutcome::Stopped);
  EXPECT_TRUE(report.calls.empty());
  EXPECT_EQ(host.eventsStartingWith("status: Listing files: ").size(), 1u);
}

// On disk: links to directories are not followed (a loop cannot make the walk endless), links to
// files are files, special files and empty directories give nothing.
TEST(FileTreeOnDisk, LinksToDirectoriesAreNotFollowed) {
  TempDirectory dir;
  dir.write("top/a.txt", "a\n");
  dir.write("top/sub/b.txt", "b\n");
  std::filesystem::create_directories(dir.root / "top/empty");
  std::filesystem::create_directory_symlink(dir.root / "top", dir.root / "top/sub/loop");
  std::filesystem::create_symlink(dir.root / "top/a.txt", dir.root / "top/sub/link.txt");
  StdFileSystem files;
  Names found = ListTreeFiles(files, dir.path("top"), "*.*", {true, ""});
  std::sort(found.begin(), found.end());
  EXPECT_EQ(found, (Names{"a.txt", "sub/b.txt", "sub/link.txt"}));
}

TEST(WildcardMaskTest, MatchesAsTheOriginalPlatformDid) {
  using Row = std::tuple<const char*, Names, Names>;  // masks, yes, no
  for (const auto& [masks, matching, notMatching] : std::vector<Row>{
           {"*.*", {"readme", "a.b.c", ""}, {}},  // "*.*" takes names without a dot too
           {" *.cpp ; *.h ", {"Main.CPP", "a.h"}, {"main.cpp.bak", "cpp", "a.c"}},  // case, blanks ignored
           {"?.h", {"a.h"}, {"ab.h", ".h"}},
           {"*ab", {"aab"}, {}},  // needs a second try of the "*"
           {"a*b*c", {"abXbYc"}, {"abcab"}},
           {"abc.*", {"abc", "abc.txt"}, {"abcd"}},
           {"*.", {"makefile"}, {"make.txt"}},  // "*." takes the names without an extension
           {" ; ", {"anything"}, {}},           // no pattern at all: every name
           {"*.h;", {}, {"x.c"}},
       }) {
    for (bool want : {true, false})
      for (const std::string& name : want ? matching : notMatching)
        EXPECT_EQ(MatchesMask(name, masks), want) << name << " with " << masks;
  }
}

constexpr const char* kNothingHighlighted =
    "message: No filename highlighted.  Highlight a filename and repeat.";

class LikeNameSelectionTest : public CompareFlowsTest {
 public:
  // Fills the window as compare type 3 does before the user acts.
  void fill(const Names& newNames, const Names& oldNames) {
    addDirectories(newNames, oldNames);
    window.pointAt("new", "old");
    window.BuildLikeNameList(fs);
  }
  void highlight(PickList& list, const Names& names) {
    for (const auto& name : names)
      ASSERT_TRUE(list.highlight(name)) << name;
  }
  LikeNameSelection& window = likeNames;
};

TEST_F(LikeNameSelectionTest, ExtensionOrderPutsNamesWithoutExtensionFirstAndTiesByName) {
  const Names names = {"readme", "b.txt", "A.TXT", "x.tar.gz", "v1.0:beta", "m.c", ".profile", "m.C2"};
  const Names byName = {".profile", "A.TXT", "b.txt", "m.c", "m.C2", "readme", "v1.0:beta", "x.tar.gz"};
  const Names byExtension = {"readme", "v1.0:beta", "m.c", "m.C2", "x.tar.gz", ".profile", "A.TXT", "b.txt"};
  fill(names, names);
  EXPECT_EQ(window.paired().items(), byName);

  window.chooseSort(LikeNameSort::Extension);
  EXPECT_EQ(window.paired().items(), byExtension);

  // Names moved back while Extension is chosen join the extension order.
  highlight(window.paired(), {"a.txt", "readme"});
  window.selectHighlighted(host);
  window.selected().highlight("readme");
  window.unselectHighlighted(host);
  EXPECT_EQ(window.paired().items(),
            (Names{"readme", "v1.0:beta", "m.c", "m.C2", "x.tar.gz", ".profile", "b.txt"}));
  window.unselectAllSelected(host);
  EXPECT_EQ(window.paired().items(), byExtension);

  window.chooseSort(LikeNameSort::FileName);
  EXPECT_EQ(window.paired().items(), byName);
}

TEST_F(LikeNameSelectionTest, MovesKeepEachNameInOneListAndRefuseWhatCannotMove) {
  fill({"c", "a", "b", "d"}, {"a", "b", "c", "d"});
  // After each step: both lists, and the message shown (none when empty).
  const auto expectLists = [&](const Names& paired, const Names& selected, const std::string& message) {
    EXPECT_EQ(window.paired().items(), paired);
    EXPECT_EQ(window.selected().items(), selected);
    EXPECT_EQ(host.events, message.empty() ? Names{} : Names{message});
    host.events.clear();
  };
  const Names all = {"a", "b", "c", "d"};
  window.selectHighlighted(host);
  expectLists(all, {}, kNothingHighlighted);
  window.unselectAllSelected(host);
  expectLists(all, {}, "message: Nothing to Undo");
  highlight(window.paired(), {"c", "a"});
  window.selectHighlighted(host);
  expectLists({"b", "d"}, {"a", "c"}, "");
  highlight(window.selected(), {"c"});
  window.unselectHighlighted(host);
  expectLists({"b", "c", "d"}, {"a"}, "");
  window.selectAllPaired();
  expectLists({}, all, "");
  window.unselectAllSelected(host);
  expectLists(all, {}, "");
}

TEST_F(LikeNameSelectionTest, FilterKeepsOnlySelectedNamesThatItStillPairs) {
  fill({"u1.pas", "u2.pas", "notes.txt", "Main.CPP"}, {"u1.pas", "u2.pas", "notes.txt", "main.cpp"});
  highlight(window.paired(), {"u1.pas", "notes.txt", "main.cpp"});
  window.selectHighlighted(host);

  window.changeFilter(fs, "*.zzz");  // nothing common: the selection stays as it was
  EXPECT_TRUE(window.paired().empty());
  EXPECT_EQ(window.selected().items(), (Names{"Main.CPP", "notes.txt", "u1.pas"}));

  window.changeFilter(fs, "*.PAS");
  EXPECT_EQ(window.mask(), "*.PAS");
  EXPECT_EQ(window.paired().items(), Names{"u2.pas"});
  EXPECT_EQ(window.selected().items(), Names{"u1.pas"});

  window.changeFilter(fs, "");
  EXPECT_EQ(window.filter().text(), "*.*");
  EXPECT_EQ(window.paired().items(), (Names{"Main.CPP", "notes.txt", "u2.pas"}));
  // New texts go on top of the drop-down entries once; known ones, in any letter case, do not.
  EXPECT_EQ(window.filter().entries(),
            (Names{"*.zzz", "*.*", "*.txt", "*.pas", "*.ini", "*.cpp", "*.html", "*.htm"}));
  EXPECT_EQ(window.newPathLabel() + "|" + window.oldPathLabel(), "new|old");
}

TEST_F(LikeNameSelectionTest, StartRunsTheSelectedPairsInNameOrderWhileTheWindowIsOpen) {
  addDirectories({"c.txt", "a.txt", "b.txt"}, {"A.TXT", "b.txt", "c.txt"});
  bool flagDuringRun = false;
  report.onCall = [&](CompareContext& c) { flagDuringRun = c.app.RunFromLikeNameList; };
  windows.onLikeNames = [&](LikeNameSelection& w) {
    EXPECT_TRUE(app.RunFromLikeNameList);
    EXPECT_EQ(w.startCompare(flow).outcome, FlowOutcome::Refused);
    EXPECT_EQ(host.messages,
              Names{"No paired filenames have been selected.\rHighlight one or more Like Named Paired "
                    "File and repeat."});
    highlight(w.paired(), {"c.txt", "a.txt"});
    w.selectHighlighted(host);
    EXPECT_EQ(w.startCompare(flow).outcome, FlowOutcome::Ran);
  };
  const FlowResult result = start(kItem3);
  EXPECT_EQ(result.outcome, FlowOutcome::Ran);
  ASSERT_TRUE(window.lastStart().has_value());
  EXPECT_EQ(result.status, *window.lastStart());
  EXPECT_EQ(app.NewFileList, (Names{"a.txt", "c.txt"}));
  EXPECT_EQ(app.OldFileList, (Names{"A.TXT", "c.txt"}));
  EXPECT_EQ(report.calls.size(), 2u);
  EXPECT_TRUE(flagDuringRun);
  EXPECT_FALSE(app.RunFromLikeNameList);
  EXPECT_EQ(window.savedSelection(), "a.txt;c.txt;");
}

TEST_F(LikeNameSelectionTest, SavedSelectionAppliesAtTheFirstOpeningOnlyAndKeepsWhatStillPairs) {
  addDirectories({"a.txt", "b.txt", "c.txt", "gone_old"}, {"a.txt", "b.txt", "c.txt"});
  app.SavedLikeNameSelection = "C.TXT;gone_old;a.txt;tail";
  Names seenSelected, seenPaired;
  windows.onLikeNames = [&](LikeNameSelection& w) {
    seenSelected = w.selected().items();
    seenPaired = w.paired().items();
  };
  EXPECT_EQ(start(kItem3).outcome, FlowOutcome::Stopped);
  EXPECT_EQ(seenSelected, (Names{"a.txt", "c.txt"}));
  EXPECT_EQ(seenPaired, Names{"b.txt"});
  EXPECT_TRUE(app.SavedLikeNameSelection.empty());

  // Return, then the selection survives the next opening; a name no longer common drops out.
  fs.add("old2/a.txt", "same\n");
  fs.add("old2/B.TXT", "same\n");
  EXPECT_EQ(start(kItem3, "new", "old2").outcome, FlowOutcome::Stopped);
  EXPECT_EQ(seenSelected, Names{"a.txt"});
  EXPECT_EQ(seenPaired, Names{"b.txt"});
  EXPECT_TRUE(report.calls.empty());
}

constexpr const char* kIndividually =
    "message: The Compare files must be individually selected. \rSelect each separate component and then "
    "\rpress the \"Select New-Old Pair\" arrow";

class TwoListSelectionTest : public CompareFlowsTest {
 public:
  TwoListSelectionTest() {
    for (const char* name : {"Main.C", "util.c", "notes.txt"})
      fs.add(std::string("new/") + name, "new\n");
    for (const char* name : {"main_old.c", "Util.c", "readme"})
      fs.add(std::string("old/") + name, "old\n");
  }
  void pick(const std::string& newName, const std::string& oldName) {
    ASSERT_TRUE(window.highlightFile(PairSide::New, newName));
    ASSERT_TRUE(window.highlightFile(PairSide::Old, oldName));
    window.selectPair(host);
  }
  TwoListSelection& window = twoLists;
};

TEST_F(TwoListSelectionTest, PairsNeedOneHighlightedFileOnEachSide) {
  window.open(fs, "new", "old");
  EXPECT_EQ(window.files(PairSide::New).items(), (Names{"Main.C", "notes.txt", "util.c"}));
  EXPECT_EQ(window.highlightedName(PairSide::New), "*.*");

  // After each step: the pair list, and the message shown (none when empty).
  const auto expectPairs = [&](const Names& pairs, const std::string& message) {
    EXPECT_EQ(window.pairs().items(), pairs);
    EXPECT_EQ(host.events, message.empty() ? Names{} : Names{message});
    host.events.clear();
  };
  window.highlightFile(PairSide::New, std::size_t{0});  // nothing on the Old side
  window.selectPair(host);
  expectPairs({}, kIndividually);
  pick("main.c", "main_old.c");  // listed as on disk
  expectPairs({"Main.C : main_old.c"}, "");
  window.undoSelected(host);
  expectPairs({"Main.C : main_old.c"}, "message: No file pairs have been selected to undo");
  pick("util.c", "util.c");
  pick("MAIN.C", "MAIN_OLD.C");  // the same pair again
  window.pairs().setHighlighted(0, true);
  window.pairs().setHighlighted(2, true);
  window.undoSelected(host);
  expectPairs({"util.c : Util.c"}, "");
  // A filter on the Old side shows its mask in place of a highlighted name.
  window.highlightFile(PairSide::New, std::size_t{0});
  window.changeFilter(fs, PairSide::Old, "*.h");
  window.selectPair(host);
  expectPairs({"util.c : Util.c"}, kIndividually);
  EXPECT_EQ(window.highlightedName(PairSide::Old), "*.h");
}

TEST_F(TwoListSelectionTest, StartSkipsPairsWhoseFilesAreNoLongerListed) {
  windows.onTwoLists = [&](TwoListSelection& w) {
    EXPECT_TRUE(app.RunFromTwoLists);
    EXPECT_EQ(w.startCompare(flow).outcome, FlowOutcome::Refused);
    EXPECT_EQ(host.messages,
              Names{"No paired filenames have been selected.\rHighlight one or more Like Named "
                    "Paired Files,\r and \"Select New-Old Pair\" button to transfer components "
                    "to \"Selected List\"."});
    pick("util.c", "readme");
    pick("notes.txt", "util.c");
    pick("main.c", "util.c");
    w.changeFilter(fs, PairSide::New, "*.c");  // notes.txt leaves the New list; its pair stays
    EXPECT_EQ(w.pairs().countText(), "(3)");
    EXPECT_EQ(w.files(PairSide::New).countText(), "(2)");
    EXPECT_EQ(w.startCompare(flow).outcome, FlowOutcome::Ran);
  };
  const FlowResult result = start(kItem4);
  EXPECT_EQ(result.outcome, FlowOutcome::Ran);
  EXPECT_EQ(app.NewFileList, (Names{"util.c", "Main.C"}));
  EXPECT_EQ(app.OldFileList, (Names{"readme", "Util.c"}));
  EXPECT_FALSE(app.RunFromTwoLists);
  EXPECT_EQ(window.savedSelection(), "util.c : readme;notes.txt : Util.c;Main.C : Util.c;");
}

TEST_F(TwoListSelectionTest, SavedPairsApplyOnceAndOnlyWhileBothFilesExist) {
  app.SavedPairSelection = "MAIN.c : main_old.c;gone.c : util.c;util.c :xutil.c;tail";
  Names seen;
  windows.onTwoLists = [&](TwoListSelection& w) { seen = w.pairs().items(); };
  EXPECT_EQ(start(kItem4).outcome, FlowOutcome::Stopped);
  EXPECT_EQ(seen, (Names{"MAIN.c : main_old.c", "util.c : util.c"}));
  EXPECT_TRUE(app.SavedPairSelection.empty());
  EXPECT_EQ(window.directoryLabel(PairSide::New), "new");

  // The next opening keeps the list and resets the masks to "*.*".
  window.changeFilter(fs, PairSide::Old, "*.txt");
  EXPECT_EQ(start(kItem4).outcome, FlowOutcome::Stopped);
  EXPECT_EQ(seen.size(), 2u);
  EXPECT_EQ(window.mask(PairSide::Old), "*.*");
  EXPECT_EQ(window.filter(PairSide::Old).text(), "*.txt");
  EXPECT_TRUE(report.calls.empty());
}

}  // namespace
}  // namespace kelvarine
