#include "ui/assistant_pages.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "support/memory_file_system.h"
#include "support/recording_host.h"
#include "ui/main_panel_pages.h"
#include "ui/name_history.h"

namespace kelvarine {
namespace {

class AssistantPagesTest : public ::testing::Test {
 protected:
  AssistantPagesTest() {
    files.add("/work/New Dir/Zeta.TXT", "z");
    files.add("/work/New Dir/alpha.c", "a");
    files.add("/work/New Dir/Beta.txt", "b");
    files.add("/work/old/beta.txt", "b");
    files.add("/work/start.txt", "s");
    files.add("/top.txt", "t");
  }
  void setNames(const std::string& newName, const std::string& oldName) {
    panel.MnCbNewDirNm.text = newName;
    panel.MnCbOldDirNm.text = oldName;
  }
  // The main window's page change remembers the names before the page is entered.
  void remember() {
    memory.savedNewName = panel.MnCbNewDirNm.text;
    memory.savedOldName = panel.MnCbOldDirNm.text;
  }

  MemoryFileSystem files;
  RecordingHost host;
  AppState app;
  MainPanelState panel;
  PageMemory memory;
  PageServices services{app, panel, files, host, "/work"};
};

// Entering Dir Select cuts file names to their directory and picks the tree's directory, switching
// compare type 1 to 2; entering File Select makes the names full, picks the list's directory and the
// selected file (also the label), and switches any type to 1.
TEST_F(AssistantPagesTest, EnteringAPagePicksItsDirectoryAndCompareType) {
  struct Case {
    bool filePage;
    int typeBefore, typeAfter;
    std::string newName, oldName;
    std::string newAfter, oldAfter, directory, selected = "";  // the selected file: File Select only
  };
  for (const Case& c : std::vector<Case>{
           {false, 1, 2, "New Dir/Zeta.TXT", "/work/old/beta.txt", "/work/New Dir/", "/work/old/",
            "/work/New Dir/"},
           {false, 2, 2, "./New Dir/../start.txt", "", "/work/", "", "/work/"},
           {false, 3, 3, "/top.txt", "", "/", "", "/"},
           {false, 1, 2, "old", "/work/New Dir", "old", "/work/New Dir", "/work/New Dir"},  // relative: Old
           {false, 1, 2, "old", "/missing", "old", "/missing", "/work"},  // none: the start directory
           {true, 2, 1, "New Dir/Zeta.TXT", "old/beta.txt", "/work/New Dir/Zeta.TXT", "/work/old/beta.txt",
            "/work/New Dir", "/work/New Dir/Zeta.TXT"},
           {true, 4, 1, "/work/New Dir", "old/beta.txt", "/work/New Dir", "/work/old/beta.txt", "/work/old",
            "/work/old/beta.txt"},
           {true, 3, 1, "/top.txt", "", "/top.txt", "", "/", "/top.txt"},
           {true, 1, 1, "", "/missing", "", "/missing", "/work", "/work/start.txt"},
       }) {
    SCOPED_TRACE((c.filePage ? "File Select: " : "Dir Select: ") + c.newName);
    setNames(c.newName, c.oldName);
    app.choices.compareType = kCompareTypes[c.typeBefore - 1];
    if (c.filePage) {
      FileSelectState state;
      EnterFileSelect(services, state);
      EXPECT_EQ(std::tie(state.directory, state.selectedFile, state.label),
                std::tie(c.directory, c.selected, c.selected));
    } else {
      DirSelectState state;
      EXPECT_EQ(EnterDirSelect(services, state), c.directory);
    }
    EXPECT_EQ(panel.MnCbNewDirNm.text, c.newAfter);
    EXPECT_EQ(panel.MnCbOldDirNm.text, c.oldAfter);
    EXPECT_EQ(app.choices.compareType, kCompareTypes[c.typeAfter - 1]);
  }
}

TEST_F(AssistantPagesTest, DirSelectFieldAndToMainHandTheDirectoryOver) {
  panel.DsInDirN.text = "/work/old";  // left from the last visit: archived on entry
  setNames("/work/New Dir", "/work/old");
  remember();
  DirSelectState state;
  EnterDirSelect(services, state);
  EXPECT_EQ(panel.DsInDirN.history.size(), 1u);

  panel.DsInDirO.text = "/work/missing";
  EXPECT_EQ(DirSelectFieldChanged(services, state, NameSide::Old), std::nullopt);
  panel.DsInDirO.text = "New Dir";
  EXPECT_EQ(DirSelectFieldChanged(services, state, NameSide::Old), "/work/New Dir");
  EXPECT_EQ(panel.MnCbOldDirNm.text, "/work/New Dir");
  EXPECT_EQ(panel.DsInDirO.text, "New Dir");  // as typed

  // The hand-over itself and Cancel are driven through the Qt page.
  state.selectedDirectory = "/work/old";  // clicked in the tree
  ASSERT_TRUE(DirSelectToMain(services, state, NameSide::New));
  EXPECT_EQ(panel.MnCbNewDirNm.history, std::vector<std::string>{"/work/New Dir"});  // the replaced name
}

TEST_F(AssistantPagesTest, ReturnAsksWhenANameIsUnchanged) {
  struct Case {
    bool filePage, noWarn, newChanged, oldChanged, answerYes;
    std::string question;  // empty: none asked
    bool leaves;
  };
  const std::string both = " Names - \"/A/New\" and \"/b/Old\" remain the same as upon entry.  Exit anyway?";
  const std::string ending = " the same as upon entry.  Exit anyway?";
  for (const Case& c : std::vector<Case>{
           {false, false, false, false, false, "The New and Old Dir" + both, false},
           {false, false, false, true, false, "The New Dir Name \"/A/New\" remains" + ending, false},
           {false, false, true, false, false, "The Old Dir Name \"/b/Old\" remains" + ending, false},
           {false, false, true, true, false, "", true},
           {false, true, false, false, false, "", true},
           {true, false, false, false, false, "The New and Old File" + both, false},
           {true, false, false, true, true, "The New File Name \"/A/New\" remains" + ending, true},
       }) {
    SCOPED_TRACE(std::string(c.filePage ? "file page: " : "dir page: ") + c.question);
    setNames("/A/New", "/b/Old");
    remember();
    if (c.newChanged) panel.MnCbNewDirNm.text = "/x";
    if (c.oldChanged) panel.MnCbOldDirNm.text = "/y";
    (c.filePage ? panel.FsCkNoWarnNoFileChg : panel.DsCkNoWarnNoDirChg) = c.noWarn;
    host.answerYes = c.answerYes;
    host.events.clear();
    EXPECT_EQ(c.filePage ? FileSelectReturn(services, memory) : DirSelectReturn(services, memory), c.leaves);
    EXPECT_EQ(host.eventsStartingWith("question: "),
              c.question.empty() ? std::vector<std::string>{}
                                 : std::vector<std::string>{"question: " + c.question});
  }
}

// Passing over an assistant page (as Ctrl+Tab does) leaves names and compare type as they were;
// leaving by Return keeps what the page made of them.
TEST_F(AssistantPagesTest, AnAssistantPageLeftUnusedChangesNothing) {
  setNames("start.txt", "old/beta.txt");
  FileSelectState list;
  for (const bool byReturn : {false, true}) {
    app.choices.compareType = kCompareTypes[1];
    ChangePage(services, memory, Page::FileSelect);
    EnterFileSelect(services, list);
    EXPECT_TRUE(!byReturn || FileSelectReturn(services, memory));  // names made full: no question
    ChangePage(services, memory, Page::MainPanel);
    EXPECT_EQ(panel.MnCbNewDirNm.text, byReturn ? "/work/start.txt" : "start.txt");
    EXPECT_EQ(app.choices.compareType, kCompareTypes[byReturn ? 0 : 1]);
  }
}

TEST_F(AssistantPagesTest, PreferencesLeftForAnotherPage) {
  CompareChoices& choices = app.choices;
  choices.setChecked(Pref::Icas, true);
  ChangePage(services, memory, Page::Preferences);
  EXPECT_EQ(app.optionsString, "None");  // entering Preferences does not rebuild
  choices.setChecked(Pref::Sbsl, true);
  ChangePage(services, memory, Page::About);  // leaving for another page keeps the edits
  EXPECT_EQ(app.optionsString, "Icas Sbsl");

  // A checked box does not show until the page is left.
  ChangePage(services, memory, Page::Preferences);
  PreferencesReset(services);
  EXPECT_EQ(choices.checked, decltype(choices.checked){});
  EXPECT_EQ(app.optionsString, "Icas Sbsl");
  ChangePage(services, memory, Page::MainPanel);
  EXPECT_EQ(app.optionsString, "None");
}

TEST_F(AssistantPagesTest, DpOptionsCancelKeepsThreeCharactersOfTheYesNoText) {
  app.choices.dudcTag = "--";
  app.choices.dudcYesNo = "Yessir";
  ChangePage(services, memory, Page::DpOptions);
  app.choices.dudcTag = "rem";
  app.choices.dudcYesNo = "No";
  DpOptionsCancel(services, memory);
  EXPECT_EQ(app.choices.dudcTag, "--");
  EXPECT_EQ(app.choices.dudcYesNo, "Yes");
}

TEST(NameHistoryTest, NewestFirstAsSpelledWithoutCaseDuplicates) {
  MemoryFileSystem files;
  files.add("/Data/New/Alpha.TXT", "a");
  files.add("/data/new/alpha.txt", "a");  // a second file whose name differs only in letter case
  files.add("/data/old/beta.txt", "b");
  NameHistoryField field;
  struct Step {
    std::string name;
    HistoryAccepts accepts;
    bool changed;
    std::vector<std::string> history;  // after the step
  };
  const auto any = HistoryAccepts::FilesOrDirectories, dirs = HistoryAccepts::DirectoriesOnly;
  for (const Step& step : std::vector<Step>{
           {"/nowhere/x.txt", any, false, {}},
           {"", any, false, {}},
           {"/Data/New/Alpha.TXT", any, true, {"/Data/New/Alpha.TXT"}},
           {"/Data/New/Alpha.TXT", any, false, {"/Data/New/Alpha.TXT"}},  // already first
           {"/data/new/alpha.txt", any, true, {"/data/new/alpha.txt"}},   // the newer spelling replaces it
           {"/data/old", any, true, {"/data/old", "/data/new/alpha.txt"}},
           {"/Data/New/Alpha.TXT", any, true, {"/Data/New/Alpha.TXT", "/data/old"}},  // older copy moves up
           {"/data/old/beta.txt", dirs, false, {"/Data/New/Alpha.TXT", "/data/old"}},
           {"/Data/New", HistoryAccepts::FilesOnly, false, {"/Data/New/Alpha.TXT", "/data/old"}},
           {"/Data/New", dirs, true, {"/Data/New", "/Data/New/Alpha.TXT", "/data/old"}},
       }) {
    field.text = "typed";
    EXPECT_EQ(AddToNameHistory(field, step.name, files, step.accepts), step.changed) << step.name;
    EXPECT_EQ(field.history, step.history) << step.name;
    EXPECT_EQ(field.text, step.changed ? step.history.front() : "typed") << step.name;
  }
  field.text = "/data/old/beta.txt";
  NameFieldDropDown(field, files, HistoryAccepts::FilesOrDirectories);  // opening the list enters the text
  EXPECT_EQ(field.history.front(), "/data/old/beta.txt");
}

}  // namespace
}  // namespace kelvarine
