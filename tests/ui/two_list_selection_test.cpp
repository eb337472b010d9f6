#include "ui/two_list_selection.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "engine/compare_choices.h"
#include "support/memory_file_system.h"
#include "support/recording_host.h"
#include "support/recording_report.h"
#include "ui/like_name_selection.h"

namespace kelvarine {
namespace {

using Names = std::vector<std::string>;

constexpr const char* kIndividually =
    "message: The Compare files must be individually selected. \rSelect each separate component and then "
    "\rpress the \"Select New-Old Pair\" arrow";

class ScriptedWindows : public SelectionWindows {
 public:
  void showLikeNameSelection(LikeNameSelection&) override {}
  void showTwoListSelection(TwoListSelection& window) override {
    if (onTwoLists) onTwoLists(window);
  }
  std::function<void(TwoListSelection&)> onTwoLists;
};

class TwoListSelectionTest : public ::testing::Test {
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
  FlowResult startType4() {
    app.choices.compareType = kCompareTypes[3];
    return MnButStartClick(flow, "new", "old");
  }

  MemoryFileSystem fs;
  RecordingHost host;
  AppState app;
  RecordingReport report;
  LikeNameSelection likeNames;
  TwoListSelection window;
  ScriptedWindows windows;
  SelectionServices selection{likeNames, window, windows};
  FlowServices flow{app, host, fs, report, &selection};
};

TEST(SplitPairEntry, TakesTheBlanksAroundTheFirstSeparator) {
  const std::vector<std::pair<std::string, std::pair<std::string, std::string>>> cases = {
      {"a.txt : b.txt", {"a.txt", "b.txt"}},
      {"v1:2.c : old:1.c", {"v1:2.c", "old:1.c"}},  // names holding ":" split at " : "
      {"a.txt:b.txt", {"a.tx", ".txt"}},            // without blanks a character goes on either side
      {":x", {"", ""}},
      {"no separator", {"", ""}},
      {" : ", {"", ""}},
  };
  for (const auto& [entry, parts] : cases)
    EXPECT_EQ(SplitPairEntry(entry), parts) << entry;
}

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
  window.selectPair(host);
  expectPairs({}, kIndividually);
  window.highlightFile(PairSide::New, std::size_t{0});
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
  EXPECT_EQ(window.filter(PairSide::Old).entries().front(), "*.h");  // a new text goes on top
  EXPECT_EQ(window.filter(PairSide::New).text(), "*.*");
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
  const FlowResult result = startType4();
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
  EXPECT_EQ(startType4().outcome, FlowOutcome::Stopped);
  EXPECT_EQ(seen, (Names{"MAIN.c : main_old.c", "util.c : util.c"}));
  EXPECT_TRUE(app.SavedPairSelection.empty());
  EXPECT_EQ(window.directoryLabel(PairSide::New), "new");

  // The next opening keeps the list and resets the masks to "*.*".
  window.changeFilter(fs, PairSide::Old, "*.txt");
  EXPECT_EQ(startType4().outcome, FlowOutcome::Stopped);
  EXPECT_EQ(seen.size(), 2u);
  EXPECT_EQ(window.mask(PairSide::Old), "*.*");
  EXPECT_EQ(window.filter(PairSide::Old).text(), "*.txt");
  EXPECT_TRUE(report.calls.empty());
}

}  // namespace
}  // namespace kelvarine
