// The two selection windows of compare types 3 and 4, filled from real directories and run through
// the Start flow with a scripted user.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/compare_choices.h"
#include "support/memory_file_system.h"
#include "support/recording_host.h"
#include "support/recording_report.h"
#include "ui/like_name_selection.h"
#include "ui/two_list_selection.h"

namespace kelvarine {
namespace {

using Names = std::vector<std::string>;

// Windows whose opening runs a scripted user.
class ScriptedWindows : public SelectionWindows {
 public:
  void showLikeNameSelection(LikeNameSelection& window) override {
    if (onLikeNames) onLikeNames(window);
  }
  void showTwoListSelection(TwoListSelection& window) override {
    if (onTwoLists) onTwoLists(window);
  }
  std::function<void(LikeNameSelection&)> onLikeNames;
  std::function<void(TwoListSelection&)> onTwoLists;
};

class SelectionTest : public ::testing::Test {
 public:
  FlowResult start(int compareType, const std::string& oldDir = "old") {
    app.choices.compareType = kCompareTypes[compareType - 1];
    return MnButStartClick(flow, "new", oldDir);
  }

  MemoryFileSystem fs;
  RecordingHost host;
  AppState app;
  RecordingReport report;
  LikeNameSelection likeNames;
  TwoListSelection twoLists;
  ScriptedWindows windows;
  SelectionServices selection{likeNames, twoLists, windows};
  FlowServices flow{app, host, fs, report, &selection};
};

constexpr const char* kNothingHighlighted =
    "message: No filename highlighted.  Highlight a filename and repeat.";

class LikeNameSelectionTest : public SelectionTest {
 public:
  void addDirectories(const Names& newNames, const Names& oldNames) {
    for (const auto& name : newNames)
      fs.add("new/" + name, "same\n");
    for (const auto& name : oldNames)
      fs.add("old/" + name, "same\n");
  }
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
  const FlowResult result = start(3);
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
  EXPECT_EQ(start(3).outcome, FlowOutcome::Stopped);
  EXPECT_EQ(seenSelected, (Names{"a.txt", "c.txt"}));
  EXPECT_EQ(seenPaired, Names{"b.txt"});
  EXPECT_TRUE(app.SavedLikeNameSelection.empty());

  // Return, then the selection survives the next opening; a name no longer common drops out.
  fs.add("old2/a.txt", "same\n");
  fs.add("old2/B.TXT", "same\n");
  EXPECT_EQ(start(3, "old2").outcome, FlowOutcome::Stopped);
  EXPECT_EQ(seenSelected, Names{"a.txt"});
  EXPECT_EQ(seenPaired, Names{"b.txt"});
  EXPECT_TRUE(report.calls.empty());
}

constexpr const char* kIndividually =
    "message: The Compare files must be individually selected. \rSelect each separate component and then "
    "\rpress the \"Select New-Old Pair\" arrow";

class TwoListSelectionTest : public SelectionTest {
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
  pick("MAIN.C", "MAIN_OLD.C");  // the same pair again
  expectPairs({"Main.C : main_old.c", "Main.C : main_old.c"}, "");
  window.undoSelected(host);
  expectPairs({"Main.C : main_old.c", "Main.C : main_old.c"},
              "message: No file pairs have been selected to undo");
  pick("util.c", "util.c");
  expectPairs({"Main.C : main_old.c", "Main.C : main_old.c", "util.c : Util.c"}, "");
  window.pairs().setHighlighted(0, true);
  window.pairs().setHighlighted(2, true);
  window.undoSelected(host);
  expectPairs({"Main.C : main_old.c"}, "");
  // A filter on the Old side shows its mask in place of a highlighted name.
  window.highlightFile(PairSide::New, std::size_t{0});
  window.changeFilter(fs, PairSide::Old, "*.h");
  window.selectPair(host);
  expectPairs({"Main.C : main_old.c"}, kIndividually);
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
  const FlowResult result = start(4);
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
  EXPECT_EQ(start(4).outcome, FlowOutcome::Stopped);
  EXPECT_EQ(seen, (Names{"MAIN.c : main_old.c", "util.c : util.c"}));
  EXPECT_TRUE(app.SavedPairSelection.empty());
  EXPECT_EQ(window.directoryLabel(PairSide::New), "new");

  // The next opening keeps the list and resets the masks to "*.*".
  window.changeFilter(fs, PairSide::Old, "*.txt");
  EXPECT_EQ(start(4).outcome, FlowOutcome::Stopped);
  EXPECT_EQ(seen.size(), 2u);
  EXPECT_EQ(window.mask(PairSide::Old), "*.*");
  EXPECT_EQ(window.filter(PairSide::Old).text(), "*.txt");
  EXPECT_TRUE(report.calls.empty());
}

}  // namespace
}  // namespace kelvarine
