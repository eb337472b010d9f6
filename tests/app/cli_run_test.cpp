#include "app/cli_run.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "app/input_staging.h"
#include "app/posix_file_system.h"
#include "support/recording_host.h"
#include "support/temp_directory.h"

namespace kelvarine {
namespace {

// ---- Exit statuses ----------------------------------------------------------------------------------

struct ExitCase {
  const char* name;
  RunEnd end;
  int status;
};

class ExitStatusTest : public ::testing::TestWithParam<ExitCase> {};

TEST_P(ExitStatusTest, FollowsTheStatusCodeAndWhatHappenedAround) {
  EXPECT_EQ(ExitStatusForRun(GetParam().end), GetParam().status);
}

using C = RunStatusCode;
const ExitCase kExitCases[] = {
    {"Equal", {C::Equal}, 0},
    {"FilteredEqual", {C::FilteredEqual}, 0},
    {"NothingCompared", {C::NothingCompared}, 0},
    {"Different", {C::Different}, 1},
    {"ReportNote", {C::ReportNote}, 2},
    {"CcolError", {C::CcolError}, 2},
    {"TooLarge", {C::TooLarge}, 2},
    {"OpenError", {C::OpenError}, 2},
    {"Fault", {C::Fault}, 2},
    {"Halted", {C::Halted}, 130},
    // Ctrl-C after the status was chosen, and a halt that also lost output: still a halt.
    {"InterruptedAfterTheRun", {C::Equal, true}, 130},
    {"HaltedWithOutputLost", {C::Halted, false, false, false, true, true}, 130},
    // An equivalent run still differs as a diff, or by a file on one side only; an error stays one.
    {"DiffShowsADifference", {C::FilteredEqual, false, true}, 1},
    {"FileOnOneSide", {C::NothingCompared, false, false, true}, 1},
    {"FileOnOneSideOfAFailedRun", {C::OpenError, false, false, true}, 2},
    {"UnreadableDirectory", {C::Different, false, false, false, true}, 2},
    {"OutputLost", {C::Equal, false, false, false, false, true}, 2},
};

INSTANTIATE_TEST_SUITE_P(Ends, ExitStatusTest, ::testing::ValuesIn(kExitCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ExitStatusWithoutRunTest, OnlyDirectoriesWithoutPairsAreNotErrors) {
  EXPECT_EQ(ExitStatusWithoutRun(FlowOutcome::NoPairs, false, false, false), 0);
  EXPECT_EQ(ExitStatusWithoutRun(FlowOutcome::NoPairs, false, true, false), 1);
  EXPECT_EQ(ExitStatusWithoutRun(FlowOutcome::NoPairs, true, false, false), 2);  // a directory unreadable
  EXPECT_EQ(ExitStatusWithoutRun(FlowOutcome::Refused, false, true, false), 2);
  EXPECT_EQ(ExitStatusWithoutRun(FlowOutcome::Stopped, false, false, true), 130);
}

// ---- Choices that cannot go together ----------------------------------------------------------------

// --old-list without Sbsl is refused by the command-line tests.
TEST(CheckChoicesFitTest, ADiffTakesNeitherSbslNorFscl) {
  CliOptions options;
  options.unified = 0;
  for (Pref p : {Pref::Sbsl, Pref::Fscl}) {
    CompareChoices choices;
    choices.setChecked(p, true);
    std::string why;
    EXPECT_FALSE(CheckChoicesFit(options, choices, &why));
    EXPECT_EQ(why,
              "-u writes a diff, not a report: the Sbsl and Fscl options cannot go with it\nRun with "
              "--help for more information.");
  }
}

// ---- Settings file, compare type and names, on real files -------------------------------------------

class CliRunFilesTest : public ::testing::Test {
 protected:
  std::string path(const std::string& relative) const { return (dir.root / relative).string(); }

  TempDirectory dir;
  PosixFileSystem files;
  RecordingHost host;
  AppState app;
  CliOptions options;
  RunInputs inputs;
  std::string why;
};

TEST_F(CliRunFilesTest, SettingsThatCannotServeAreRefusedWithTheReason) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"[Kelvarn]\nNewDirNm=n\nOldDirNm=o\nListType=Fancy\n",
       "--settings: ListType \"Fancy\" is not a listing type (Chng, Delta, Long or Ovsum)\n"
       "Run with --help for more information."},
      {"[Kelvarn]\nNewDirNm=n\nOldDirNm=o\nCompareType=Five\n",
       "--settings: CompareType \"Five\" is not a compare type (1 to 4, or as stored: \"" +
           std::string(kCompareTypes[1]) + "\")\nRun with --help for more information."},
      {"[Kelvarn]\nNewDirNm=n\n",
       "NEW and OLD are given neither on the command line nor in the settings file"},
  };
  for (const auto& [text, reason] : cases) {
    options.settingsFile = dir.write("bad.ini", text);
    inputs = {};
    why.clear();
    EXPECT_FALSE(LoadSettingsFile(options, app, files, host, inputs, &why)) << text;
    EXPECT_EQ(why, reason);
  }
  // A file that cannot be read says so itself.
  options.settingsFile = path("missing.ini");
  why.clear();
  host.messages.clear();
  EXPECT_FALSE(LoadSettingsFile(options, app, files, host, inputs, &why));
  EXPECT_TRUE(why.empty());
  EXPECT_EQ(host.messages.size(), 1u);
}

// A type given is used as it is: a directory and a file are not paired then (nor is the type guessed).
TEST_F(CliRunFilesTest, AGivenCompareTypeTakesTheNamesAsTheyAre) {
  dir.write("new/a.txt", "x\n");
  dir.write("old/a.txt", "y\n");
  options.compareType = 4;
  inputs = {path("new"), path("old/a.txt"), {}};
  ASSERT_TRUE(ChooseCompareType(options, files, inputs, app.choices, &why));
  EXPECT_EQ(inputs.newName, path("new"));
  EXPECT_EQ(CompareTypeNumber(app.choices.compareType), 4);
}

TEST_F(CliRunFilesTest, StandardInputCannotBePairedWithADirectory) {
  std::filesystem::create_directory(dir.root / "new");
  CommandLineFileSystem commandLine;  // "-" names a file once staged; a plain file stands in here
  dir.write("-", "x\n");
  const std::filesystem::path started = std::filesystem::current_path();
  std::filesystem::current_path(dir.root);
  inputs = {"new", "-", {}};
  EXPECT_FALSE(ChooseCompareType(options, commandLine, inputs, app.choices, &why));
  std::filesystem::current_path(started);
  EXPECT_EQ(why, "cannot compare standard input (-) with a directory");
}

}  // namespace
}  // namespace kelvarine
