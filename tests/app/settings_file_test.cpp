#include "app/settings_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "support/memory_file_system.h"
#include "support/recording_host.h"
#include "ui/like_name_selection.h"
#include "ui/two_list_selection.h"

namespace fs = std::filesystem;

namespace kelvarine {
namespace {

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void writeFile(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// Settings in a fresh directory of their own; history names exist in an in-memory file system.
class SettingsFileTest : public ::testing::Test {
 protected:
  SettingsFileTest() {
    dir = fs::temp_directory_path() / ("kelvarine-settings-" + std::to_string(::getpid()) + "-" +
                                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
    for (int i = 0; i < 12; ++i)
      files.add("/data/new" + std::to_string(i) + "/a.txt", "x");
    files.add("/data/one.txt", "x");
  }
  ~SettingsFileTest() override { fs::remove_all(dir); }

  // A state in which every saved value differs from its default.
  void fillEverything() {
    panel.Top = -12;
    panel.Left = 340;
    panel.MnCbNewDirNm.text = "/data/new3";
    for (int i = 0; i < 12; ++i)
      panel.MnCbNewDirNm.history.push_back("/data/new" + std::to_string(i));
    panel.MnCbOldDirNm = {"/data/one.txt", {"/data/new0/a.txt"}, ""};
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

  fs::path dir;
  MemoryFileSystem files;
  RecordingHost host;
  AppState app;
  MainPanelState panel;
  SettingsServices settings{panel, app, files, host};
};

TEST_F(SettingsFileTest, SaveThenLoadGivesTheSameChoices) {
  fillEverything();
  panel.MnCkOmitIniSv = true;  // read on load, never written
  const fs::path path = dir / "Kelvarn.ini";
  ASSERT_TRUE(SaveSettings(settings, path)) << testing::PrintToString(host.messages);
  const std::string saved = readFile(path);
  EXPECT_TRUE(saved.starts_with("[Kelvarn]\nTop=-12\nLeft=340\nNewDirNm=/data/new3\nNFCombo0=/data/new0\n"));
  EXPECT_NE(saved.find("NFCombo10=/data/new11\nOldDirNm=/data/one.txt\nOFCombo0=/data/new0/a.txt\n"
                       "FSNFCombo0=/data/one.txt\n"),
            std::string::npos);  // the current name is left out of its history
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
  const fs::path again = dir / "again.ini";
  ASSERT_TRUE(SaveSettings(into, again));
  EXPECT_EQ(readFile(again), saved);

  // Loading it once more changes nothing: no history lists a name twice.
  ASSERT_TRUE(LoadSettings(into, path));
  EXPECT_EQ(loaded, expected);
}

TEST_F(SettingsFileTest, SavedSelectionsComeFromTheWindowsUnlessALoadedOneStillWaits) {
  LikeNameSelection likeNames;
  TwoListSelection twoLists;
  likeNames.selected().append("b.c");
  likeNames.selected().append("a.c");
  twoLists.pairs().append("n.c : o.c");
  struct Case {
    const char* name;
    std::string waitingNames, waitingPairs;  // handed over by a load, not yet applied by a window
    bool windows;
    std::string written;
  };
  for (const Case& c : std::vector<Case>{
           {"windows", "", "", true, "SvULList=n.c : o.c;\nSvLList=b.c;a.c;\n"},
           {"waiting", "x.c;", "p.c : q.c;", true, "SvULList=p.c : q.c;\nSvLList=x.c;\n"},
           {"no windows", "", "", false, "SvULList=kept;\nSvLList=kept too;\n"},
       }) {
    panel.SvULList = "kept;";
    panel.SvLList = "kept too;";
    app.SavedLikeNameSelection = c.waitingNames;
    app.SavedPairSelection = c.waitingPairs;
    settings.likeNames = c.windows ? &likeNames : nullptr;
    settings.twoLists = c.windows ? &twoLists : nullptr;
    ASSERT_TRUE(SaveSettings(settings, dir / "Kelvarn.ini")) << testing::PrintToString(host.messages);
    EXPECT_NE(readFile(dir / "Kelvarn.ini").find(c.written), std::string::npos) << c.name;
  }
}

TEST_F(SettingsFileTest, SaveTakesEachMainNameOutOfItsOwnHistory) {
  struct Row {
    std::string newText, oldText;
    std::vector<std::string> newHistory, oldHistory;  // before the save
    std::vector<std::string> newAfter, oldAfter;      // in the panel after the save
    std::string written;                              // the history lines of the file
  };
  panel.FsTcNewFileNm.history = {"/data/new1"};  // the assistant pages' histories are written whole
  for (const Row& row : std::vector<Row>{
           {"/data/new1",
            "/data/new5",
            {"/data/new0", "/data/NEW1", "/data/new5"},
            {"/data/new5", "/data/new1"},
            {"/data/new0", "/data/new5"},
            {"/data/new1"},
            "NFCombo0=/data/new0\nNFCombo1=/data/new5\nOldDirNm=/data/new5\nOFCombo0=/data/new1\n"
            "FSNFCombo0=/data/new1\n"},
           // A line end cannot be stored: a name is cut there, a history entry left out.
           {"/data/new9\n[Other]",
            "",
            {"/data/new0"},
            {"/data/new2\nx", "/data/new3"},
            {"/data/new0"},
            {"/data/new2\nx", "/data/new3"},
            "NewDirNm=/data/new9\nNFCombo0=/data/new0\nOldDirNm=\nOFCombo0=/data/new3\n"
            "FSNFCombo0=/data/new1\nCompareType="},
       }) {
    panel.MnCbNewDirNm = {row.newText, row.newHistory, ""};
    panel.MnCbOldDirNm = {row.oldText, row.oldHistory, ""};
    ASSERT_TRUE(SaveSettings(settings, dir / "Kelvarn.ini")) << testing::PrintToString(host.messages);
    EXPECT_EQ(panel.MnCbNewDirNm.history, row.newAfter) << row.newText;
    EXPECT_EQ(panel.MnCbOldDirNm.history, row.oldAfter) << row.newText;
    EXPECT_NE(readFile(dir / "Kelvarn.ini").find(row.written), std::string::npos) << row.newText;
  }
}

TEST_F(SettingsFileTest, CraftedFileLoadsWhatItCan) {
  writeFile(dir / "odd.ini",
            "[Other]\nTop=99\n"
            "[Kelvarn]\n"
            "garbage line\n"
            "Unknown=5\n"
            "Top=abc\n"
            "LEFT=12\n"
            "newdirnm=/Data/MixedCase\n"
            "NFCombo0=/missing/dir\n"
            "nfcombo7=/data/new1\n"
            "NFCombo\n"
            "FSNFCombo0=/DATA/ONE.TXT\n"
            "FSNFCombo1=/data/One.txt\n"
            "FSOFCombo0=/data/one.txt\n"
            "CompareType=9. Nothing\n"
            "ListType=Long\n"
            "ListType=Huge\n"
            "SubC=#\n"
            "XTab=6x\n"
            "XTab=9\n"
            "ViewResults=1abc\n"
            "TurnOffHint=yes\n"
            "OmitIniSv=1\n"
            "PFontSz=123\n"
            "VLTop1=123456\n"
            "SpSplit2=77\n"
            "CmpSt1Col=7\n"
            "CmpOSt1Col=3:9\n"
            "OptsUsed=dcpp icas xtab Zzzz\n"
            "OutFn=" +
                std::string(200, 'o'));
  panel.Top = 40;
  files.add("/DATA/ONE.TXT", "x");
  ASSERT_TRUE(LoadSettings(settings, dir / "odd.ini"));
  EXPECT_EQ(
      std::tuple(panel.Top, panel.Left, panel.MnCkViewResults, panel.MnCkTurnOffHint, panel.MnCkOmitIniSv),
      std::tuple(40, 12, true, false, true));
  EXPECT_EQ(panel.MnCbNewDirNm.text, "/Data/MixedCase");
  EXPECT_EQ(panel.MnCbNewDirNm.history, std::vector<std::string>{"/data/new1"});
  EXPECT_EQ(panel.FsTcNewFileNm.history, std::vector<std::string>{"/DATA/ONE.TXT"});  // listed once
  EXPECT_EQ(std::tie(panel.PFontSz, panel.VLTop1, panel.SpSplit, panel.SpSplit2),
            std::tuple("12", "1234", "", "77"));
  EXPECT_EQ(panel.OutFn, std::string(149, 'o'));
  const CompareChoices& c = app.choices;
  EXPECT_EQ(std::tie(c.compareType, c.listType, c.subcText, c.xtabText, c.ccolNew1, c.ccolOld1),
            std::tuple(kCompareTypes[1], "Long", "\"#\"", "6", "", "3:9"));
  EXPECT_EQ(app.optionsString, "Dcpp Icas Xtab");
  EXPECT_TRUE(c.isChecked(Pref::Icas) && c.isChecked(Pref::Xtab));
  EXPECT_EQ(kDpOptionNames[static_cast<std::size_t>(c.dpIndex)], std::string("Dcpp"));
}

TEST_F(SettingsFileTest, FailedSaveLeavesTheOldFileAndSaysSo) {
  const fs::path path = dir / "Kelvarn.ini";
  const std::string old = "[Kelvarn]\nTop=1\n";
  writeFile(path, old);
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
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);  // no temporary left

  // A target that cannot be made (its directory is a file) fails the same way.
  EXPECT_FALSE(SaveSettings(settings, path / "sub" / "Kelvarn.ini"));
  EXPECT_EQ(host.messages.size(), 2u);
  EXPECT_EQ(readFile(path), old);
}

TEST_F(SettingsFileTest, SaveThroughALinkReplacesTheFileItNamesKeepingItsPermissions) {
  const fs::path real = dir / "real.ini";
  writeFile(real, "[Other]\nx=1\n");
  fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write);
  fs::create_symlink(real, dir / "Kelvarn.ini");
  ASSERT_TRUE(SaveSettings(settings, dir / "Kelvarn.ini")) << testing::PrintToString(host.messages);
  EXPECT_TRUE(fs::is_symlink(dir / "Kelvarn.ini"));
  EXPECT_TRUE(readFile(real).starts_with("[Other]\nx=1\n[Kelvarn]\nTop=0\n"));
  EXPECT_EQ(fs::status(real).permissions(), fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(SettingsFileTest, UserIniDialogsNeedTheIniExtensionAndLoadResetsFirst) {
  fs::path settingsPath = "/start.ini";
  writeFile(dir / "user.txt", "[Kelvarn]\nTop=5\n");
  EXPECT_FALSE(LoadUserIni(settings, dir / "user.txt", settingsPath));
  EXPECT_FALSE(SaveUserIni(settings, dir / "user.txt", settingsPath));
  EXPECT_EQ(host.messages, std::vector<std::string>(2, "Must specify a file with an .ini extension"));
  EXPECT_EQ(settingsPath, "/start.ini");
  EXPECT_EQ(panel.Top, 0);

  fillEverything();
  panel.MnCkOmitIniSv = true;
  writeFile(dir / "user.ini", "[Kelvarn]\nTop=5\nCmpOSt2Col=2:3\n");
  ASSERT_TRUE(LoadUserIni(settings, dir / "USER.INI", settingsPath));  // found ignoring letter case
  EXPECT_EQ(settingsPath, dir / "user.ini");
  EXPECT_EQ(panel.Top, 5);
  EXPECT_FALSE(panel.MnCkViewResults || panel.MnCkTurnOffHint || panel.MnCkOmitIniSv);
  EXPECT_TRUE(panel.NoRtfmShow);  // not among the reset choices
  const CompareChoices& c = app.choices;
  const CompareChoices d;  // every choice back to its default, then the file's keys applied
  EXPECT_EQ(std::tie(c.checked, c.xtabText, c.subcText, c.ccolNew1, c.ccolOld1, c.ccolNew2),
            std::tie(d.checked, d.xtabText, d.subcText, d.ccolNew1, d.ccolOld1, d.ccolNew2));
  EXPECT_EQ(std::pair(c.ccolOld2, c.dpIndex), std::pair(std::string("2:3"), 0));
  EXPECT_EQ(app.optionsString, "None");

  writeFile(dir / "saved.ini", "[Other]\nk=1\n");
  ASSERT_TRUE(SaveUserIni(settings, dir / "Saved.INI", settingsPath));  // the existing file is written
  EXPECT_EQ(settingsPath, dir / "saved.ini");
  EXPECT_TRUE(readFile(dir / "saved.ini").starts_with("[Other]\nk=1\n[Kelvarn]\nTop=5\n"));
  EXPECT_FALSE(fs::exists(dir / "Saved.INI"));
}

TEST(SettingsFileExtensionTest, OnlyNamesEndingInIniQualify) {
  for (const std::string name : {"/a/user.ini", "/a/USER.Ini", "/a/.ini"})
    EXPECT_TRUE(HasIniExtension(name)) << name;
  for (const std::string name : {"/a/user.ini.txt", "/a.ini/user", "/a/userini", "/a/user.ini/"})
    EXPECT_FALSE(HasIniExtension(name)) << name;
}

TEST_F(SettingsFileTest, DefaultLocationAndTheSaveAtClose) {
  const fs::path exeDir = dir / "bin";
  fs::create_directories(exeDir);
  EXPECT_EQ(DefaultSettingsPath(exeDir, "/xdg", "/home/u"), "/xdg/kelvarine/Kelvarn.ini");
  EXPECT_EQ(DefaultSettingsPath(exeDir, "relative", "/home/u"), "/home/u/.config/kelvarine/Kelvarn.ini");
  EXPECT_EQ(DefaultSettingsPath(exeDir, nullptr, "/home/u"), "/home/u/.config/kelvarine/Kelvarn.ini");
  writeFile(exeDir / "Kelvarn.ini", "");
  EXPECT_EQ(DefaultSettingsPath(exeDir, "/xdg", "/home/u"), exeDir / "Kelvarn.ini");

  // No file at start: nothing loaded, built-in defaults, and the close writes the default file.
  const fs::path defaultPath = dir / "config" / "kelvarine" / "Kelvarn.ini";
  fs::path settingsPath;
  app.choices.compareType = kCompareTypes[0];
  EXPECT_FALSE(LoadSettingsAtStart(settings, defaultPath, settingsPath));
  EXPECT_EQ(app.choices.compareType, kCompareTypes[1]);
  EXPECT_TRUE(settingsPath.empty());
  panel.Top = 21;
  EXPECT_TRUE(SaveSettingsAtClose(settings, settingsPath, defaultPath));

  // Next start: the default file is loaded, then the command-line names replace the loaded ones.
  MainPanelState next;
  SettingsServices restart{next, app, files, host};
  ASSERT_TRUE(LoadSettingsAtStart(restart, defaultPath, settingsPath));
  EXPECT_EQ(settingsPath, defaultPath);
  EXPECT_EQ(next.Top, 21);
  ApplyStartNames(restart, "/DATA/One.TXT", "/Missing");
  EXPECT_EQ(next.MnCbNewDirNm.text, "/DATA/One.TXT");
  EXPECT_EQ(next.MnCbOldDirNm.text, "/Missing");
  EXPECT_TRUE(next.MnCbOldDirNm.history.empty());
}

}  // namespace
}  // namespace kelvarine
