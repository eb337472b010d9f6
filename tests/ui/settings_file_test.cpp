#include "ui/settings_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "support/memory_file_system.h"
#include "support/recording_host.h"
#include "support/temp_directory.h"
#include "ui/ini_file.h"
#include "ui/like_name_selection.h"
#include "ui/two_list_selection.h"

namespace fs = std::filesystem;

namespace kelvarine {
namespace {

TEST(IniFileTest, EntriesOfEverySectionOfThatNameWithoutCommentsAndBlanks) {
  const IniFile ini(
      "\xEF\xBB\xBF[kelvarn]\r\n"
      "Top=1\r\n"
      "; a comment\r\n"
      "\r\n"
      "   Left = 2 \r\n"
      "odd line without equals\n"
      "[Other]\n"
      "Top=99\n"
      "  [ KELVARN ]  \n"
      "NewDirNm=/a=b\n"
      "[Kelvarn.bak]\n"
      "Top=3\n");
  EXPECT_EQ(ini.sectionEntries("Kelvarn"),
            (std::vector<std::string>{"Top=1", "Left = 2 ", "odd line without equals", "NewDirNm=/a=b"}));
  EXPECT_TRUE(ini.sectionEntries("Kelvar").empty());
}

// The replaced section keeps its place (its doubles go) and every other byte; a value is cut at a line
// end, which cannot be stored; an added section follows the file's line ends and the mark stays.
TEST(IniFileTest, ReplacedSectionKeepsItsPlaceAndEveryOtherByte) {
  const std::string k = "[Kelvarn]\r\nTop=5\r\nNewDirNm=/a\r\nEmpty=\r\n";
  for (const auto& [before, after] : std::vector<std::pair<std::string, std::string>>{
           {"; head\r\n[Other]\r\nA = 1\r\n\r\n"
            "[kelvarn]\r\nStale=2\r\n\r\n[Third]\r\n[Kelvarn]\r\nAgain=3\r\nx=y",
            "; head\r\n[Other]\r\nA = 1\r\n\r\n" + k + "\r\n[Third]\r\n"},
           {"[A]\r\nx=1\r\n", "[A]\r\nx=1\r\n" + k},
           {"[A]\nx=1", "[A]\nx=1\n[Kelvarn]\nTop=5\nNewDirNm=/a\nEmpty=\n"},  // the last line gets its end
           {"\xEF\xBB\xBF[Kelvarn]\nOld=1\n[A]\n",
            "\xEF\xBB\xBF[Kelvarn]\nTop=5\nNewDirNm=/a\nEmpty=\n[A]\n"},
       }) {
    IniFile ini(before);
    ini.replaceSection("Kelvarn", {{"Top", "5"}, {"NewDirNm", "/a\n[Evil]\nTop=9"}, {"Empty", ""}});
    EXPECT_EQ(ini.text(), after) << before;
  }
}

// Settings in a fresh directory of their own; history names exist in an in-memory file system.
class SettingsFileTest : public ::testing::Test, protected TempDirectory {
 protected:
  SettingsFileTest() {
    for (int i = 0; i < 12; ++i)
      files.add("/data/new" + std::to_string(i) + "/a.txt", "x");
    files.add("/data/one.txt", "x");
  }

  // A state in which every saved value differs from its default.
  void fillEverything() {
    panel.Top = -12;
    panel.Left = 340;
    panel.Width = 900;
    panel.Height = 610;
    panel.MnCbNewDirNm.text = "/data/new3";
    for (int i = 0; i < 12; ++i)
      panel.MnCbNewDirNm.history.push_back(i == 3 ? std::string("/data/NEW3")
                                                  : "/data/new" + std::to_string(i));
    panel.MnCbOldDirNm = {"/data/one.txt", {"/data/new0/a.txt", "/data/new3"}, ""};
    panel.FsTcNewFileNm.history = {"/data/one.txt", "/data/new1/a.txt"};
    panel.FsTcOldFileNm.history = {"/data/new2/a.txt"};
    panel.DsInDirN.history = {"/data/new4", "/data"};
    panel.DsInDirO.history = {"/data/new5"};
    panel.MnCkViewResults = panel.MnCkTurnOffHint = panel.FsCkNoWarnNoFileChg = true;
    panel.DsCkNoWarnNoDirChg = panel.NoRtfmShow = panel.SbsRp = true;
    panel.PFontSz = "10";
    panel.VLFontSz = "12";
    int n = 100;
    for (std::string* g : {&panel.VLTop1, &panel.VLTop2, &panel.VHTop2, &panel.VLHt1, &panel.VLHt2,
                           &panel.VHHt2, &panel.VLWide1, &panel.VLWide2, &panel.VHWide2, &panel.VLLeft1,
                           &panel.VLLeft2, &panel.VHLeft2, &panel.SpSplit, &panel.SpSplit2})
      *g = std::to_string(n++);
    panel.OutFn = "/tmp/report.html";
    panel.SvLList = "a.c;b.c;";
    panel.SvULList = "x.c;y.c;";
    app.choices.compareType = kCompareTypes[3];
    app.choices.listType = "Ovsum";
    app.choices.subcText = "\"#\"";
    app.choices.xtabText = "7";
    app.choices.dudcTag = "//";
    app.choices.dudcYesNo = "Yes";
    app.choices.ccolNew1 = "3:40";
    app.choices.ccolNew2 = "50:eol";
    app.choices.ccolOld1 = "1:20";
    app.choices.ccolOld2 = "30:31";
    app.optionsString = ApplyOptionsString(app.choices, "Dcpp Icas Xtab Sbsl");
  }

  MemoryFileSystem files;
  RecordingHost host;
  AppState app;
  MainPanelState panel;
  SettingsServices settings{panel, app, files, host};
};

TEST_F(SettingsFileTest, SaveThenLoadGivesTheSameChoices) {
  fillEverything();
  panel.MnCkOmitIniSv = true;  // read on load, never written
  const fs::path path = root / "Kelvarn.ini";
  ASSERT_TRUE(SaveSettings(settings, path)) << testing::PrintToString(host.messages);
  const std::string saved = readFile(path);
  EXPECT_TRUE(saved.starts_with("[Kelvarn]\nTop=-12\nLeft=340\nNewDirNm=/data/new3\nNFCombo0=/data/new0\n"));
  // Each main name is left out of its own history only, whatever its letter case there; the assistant
  // pages' histories are written whole.
  EXPECT_NE(saved.find("NFCombo10=/data/new11\nOldDirNm=/data/one.txt\nOFCombo0=/data/new0/a.txt\n"
                       "OFCombo1=/data/new3\nFSNFCombo0=/data/one.txt\n"),
            std::string::npos);
  EXPECT_NE(saved.find("SvULList=x.c;y.c;\nSvLList=a.c;b.c;\nOutFn=/tmp/report.html\nSbsRp=1\n"),
            std::string::npos);
  EXPECT_EQ(saved.find("OmitIniSv"), std::string::npos);

  MainPanelState expected = panel;
  expected.MnCkOmitIniSv = false;
  AppState loadedApp;
  MainPanelState loaded;
  SettingsServices into{loaded, loadedApp, files, host};
  ASSERT_TRUE(LoadSettings(into, path));
  EXPECT_EQ(loaded, expected);
  EXPECT_EQ(loadedApp.optionsString, "Dcpp Icas Xtab Sbsl");
  EXPECT_EQ(loadedApp.SavedLikeNameSelection, "a.c;b.c;");  // handed to the next window openings
  EXPECT_EQ(loadedApp.SavedPairSelection, "x.c;y.c;");
  EXPECT_EQ(loadedApp.choices.dpIndex, app.choices.dpIndex);
  EXPECT_EQ(loadedApp.choices.checked, app.choices.checked);
  EXPECT_EQ(host.statusTexts.back(), "Waiting for information to be set, verified, and completed.");

  // Saving what was loaded writes the same file: no choice is lost on the way.
  const fs::path again = root / "again.ini";
  ASSERT_TRUE(SaveSettings(into, again));
  EXPECT_EQ(readFile(again), saved);

  // Loading it once more changes nothing: no history lists a name twice.
  ASSERT_TRUE(LoadSettings(into, path));
  EXPECT_EQ(loaded, expected);
}

// Without the windows the panel's values are written (the save and load test).
TEST_F(SettingsFileTest, SavedSelectionsComeFromTheWindowsUnlessALoadedOneStillWaits) {
  LikeNameSelection likeNames;
  TwoListSelection twoLists;
  likeNames.selected().append("b.c");
  twoLists.pairs().append("n.c : o.c");
  settings.likeNames = &likeNames;
  settings.twoLists = &twoLists;
  panel.SvLList = panel.SvULList = "kept;";
  app.SavedLikeNameSelection = "x.c;";  // handed over by a load, not yet applied by its window
  ASSERT_TRUE(SaveSettings(settings, root / "Kelvarn.ini")) << testing::PrintToString(host.messages);
  EXPECT_NE(readFile(root / "Kelvarn.ini").find("SvULList=n.c : o.c;\nSvLList=x.c;\n"), std::string::npos);
}

TEST_F(SettingsFileTest, CraftedFileLoadsWhatItCan) {
  write("odd.ini",
        "[Other]\nTop=99\n"
        "[Kelvarn]\n"
        "Top=abc\n"
        "LEFT=12\n"
        "newdirnm=/Data/MixedCase\n"
        "NFCombo0=/missing/dir\n"
        "nfcombo7=/data/new1\n"
        "NFCombo\n"
        "FSNFCombo0=/DATA/ONE.TXT\n"
        "FSNFCombo1=/data/One.txt\n"
        "CompareType=9. Nothing\n"
        "ListType=Long\n"
        "ListType=Huge\n"
        "SubC=#\n"
        "XTab=6x\n"
        "XTab=9\n"
        "ViewResults=1abc\n"
        "TurnOffHint=yes\n"
        "OmitIniSv=1\n"
        "VLTop1=123456\n"
        "SpSplit2=77\n"
        "CmpSt1Col=7\n"
        "CmpOSt1Col=3:9\n"
        "OptsUsed=dcpp icas xtab Zzzz\n");
  panel.Top = 40;
  files.add("/DATA/ONE.TXT", "x");
  ASSERT_TRUE(LoadSettings(settings, root / "odd.ini"));
  EXPECT_EQ(
      std::tuple(panel.Top, panel.Left, panel.MnCkViewResults, panel.MnCkTurnOffHint, panel.MnCkOmitIniSv),
      std::tuple(40, 12, true, false, true));
  EXPECT_EQ(panel.MnCbNewDirNm.text, "/Data/MixedCase");
  EXPECT_EQ(panel.MnCbNewDirNm.history, std::vector<std::string>{"/data/new1"});
  EXPECT_EQ(panel.FsTcNewFileNm.history, std::vector<std::string>{"/DATA/ONE.TXT"});  // listed once
  EXPECT_EQ(std::tie(panel.VLTop1, panel.SpSplit, panel.SpSplit2), std::tuple("1234", "", "77"));
  const CompareChoices& c = app.choices;
  EXPECT_EQ(std::tie(c.compareType, c.listType, c.subcText, c.xtabText, c.ccolNew1, c.ccolOld1),
            std::tuple(kCompareTypes[1], "Long", "\"#\"", "6", "", "3:9"));
  EXPECT_EQ(app.optionsString, "Dcpp Icas Xtab");
  EXPECT_TRUE(c.isChecked(Pref::Icas) && c.isChecked(Pref::Xtab));
  EXPECT_EQ(kDpOptionNames[static_cast<std::size_t>(c.dpIndex)], std::string("Dcpp"));
}

TEST_F(SettingsFileTest, FailedSaveLeavesTheOldFileAndSaysSo) {
  const fs::path path = root / "Kelvarn.ini";
  const std::string old = "[Kelvarn]\nTop=1\n";
  write("Kelvarn.ini", old);
  fillEverything();

  // Files may not grow past 64 bytes while saving: the temporary file cannot be written whole.
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 64;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool ok = SaveSettings(settings, path);
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previousHandler);

  EXPECT_FALSE(ok);
  EXPECT_EQ(readFile(path), old);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_TRUE(host.messages[0].starts_with("Could not save the settings file \"" + path.string() + "\": "));
  EXPECT_EQ(std::distance(fs::directory_iterator(root), fs::directory_iterator()), 1);  // no temporary left
}

TEST_F(SettingsFileTest, SaveThroughALinkReplacesTheFileItNamesKeepingItsPermissions) {
  const fs::path real = root / "real.ini";
  write("real.ini", "[Other]\nx=1\n");
  fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write);
  fs::create_symlink(real, root / "Kelvarn.ini");
  ASSERT_TRUE(SaveSettings(settings, root / "Kelvarn.ini")) << testing::PrintToString(host.messages);
  EXPECT_TRUE(fs::is_symlink(root / "Kelvarn.ini"));
  EXPECT_TRUE(readFile(real).starts_with("[Other]\nx=1\n[Kelvarn]\nTop=0\n"));
  EXPECT_EQ(fs::status(real).permissions(), fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(SettingsFileTest, UserIniDialogsNeedTheIniExtensionAndLoadResetsFirst) {
  fs::path settingsPath = "/start.ini";
  write("user.txt", "[Kelvarn]\nTop=5\n");
  EXPECT_FALSE(LoadUserIni(settings, root / "user.txt", settingsPath));
  EXPECT_FALSE(SaveUserIni(settings, root / "user.txt", settingsPath));
  EXPECT_EQ(host.messages, std::vector<std::string>(2, "Must specify a file with an .ini extension"));
  EXPECT_EQ(panel.Top, 0);

  fillEverything();
  panel.MnCkOmitIniSv = true;
  write("user.ini", "[Kelvarn]\nTop=5\nCmpOSt2Col=2:3\n");
  ASSERT_TRUE(LoadUserIni(settings, root / "USER.INI", settingsPath));  // found ignoring letter case
  EXPECT_EQ(settingsPath, root / "user.ini");
  EXPECT_EQ(panel.Top, 5);
  EXPECT_FALSE(panel.MnCkViewResults || panel.MnCkTurnOffHint || panel.MnCkOmitIniSv);
  EXPECT_TRUE(panel.NoRtfmShow);  // not among the reset choices
  const CompareChoices& c = app.choices;
  const CompareChoices d;  // every choice back to its default, then the file's keys applied
  EXPECT_EQ(std::tie(c.checked, c.xtabText, c.subcText, c.ccolNew1, c.ccolOld1, c.ccolNew2),
            std::tie(d.checked, d.xtabText, d.subcText, d.ccolNew1, d.ccolOld1, d.ccolNew2));
  EXPECT_EQ(std::pair(c.ccolOld2, c.dpIndex), std::pair(std::string("2:3"), 0));
  EXPECT_EQ(app.optionsString, "None");

  write("saved.ini", "[Other]\nk=1\n");
  ASSERT_TRUE(SaveUserIni(settings, root / "Saved.INI", settingsPath));  // the existing file is written
  EXPECT_EQ(settingsPath, root / "saved.ini");
  EXPECT_TRUE(readFile(root / "saved.ini").starts_with("[Other]\nk=1\n[Kelvarn]\nTop=5\n"));
  EXPECT_FALSE(fs::exists(root / "Saved.INI"));
}

// The save at close, the load at the next start and the names given at start are run by the desktop
// program's tests.
// Names given at start choose the compare type as the command line does (items from 0).
TEST_F(SettingsFileTest, StartNamesChooseTheCompareType) {
  using Case = std::tuple<std::size_t, const char*, const char*, std::size_t>;
  for (const auto& [loaded, newName, oldName, after] :
       {Case{1, "/data/one.txt", "/data/new0/a.txt", 0}, Case{0, "/data/new1", "/data/new2", 1},
        Case{2, "/data/new1", "/data/new2", 2}, Case{1, "/data/one.txt", "/data/new1", 1}}) {
    app.choices.compareType = kCompareTypes[loaded];
    ApplyStartNames(settings, newName, oldName);
    EXPECT_EQ(app.choices.compareType, kCompareTypes[after]) << newName;
  }
}

TEST_F(SettingsFileTest, DefaultLocation) {
  const fs::path exeDir = root / "bin";
  EXPECT_EQ(DefaultSettingsPath(exeDir, "/xdg", "/home/u"), "/xdg/kelvarine/Kelvarn.ini");
  EXPECT_EQ(DefaultSettingsPath(exeDir, "relative", "/home/u"), "/home/u/.config/kelvarine/Kelvarn.ini");
  write("bin/Kelvarn.ini", "");
  EXPECT_EQ(DefaultSettingsPath(exeDir, "/xdg", "/home/u"), exeDir / "Kelvarn.ini");
}

}  // namespace
}  // namespace kelvarine
