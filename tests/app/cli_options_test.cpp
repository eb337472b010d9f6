#include "app/cli_options.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "engine/run_status.h"
#include "support/memory_file_system.h"

namespace kelvarine {
namespace {

CliParse parse(std::initializer_list<const char*> args) {
  std::vector<const char*> argv = {"kelvarine-cli"};
  argv.insert(argv.end(), args.begin(), args.end());
  return ParseCommandLine(static_cast<int>(argv.size()), argv.data());
}

TEST(CliOptionsTest, DefaultsAreThoseOfAFreshStart) {
  const CliParse p = parse({"New/A.TXT", "/Old/B.txt"});
  ASSERT_TRUE(p.run) << p.err;
  const CliOptions& o = p.options;
  EXPECT_EQ(o.newName, "New/A.TXT");  // used as given
  EXPECT_EQ(o.oldName, "/Old/B.txt");
  EXPECT_EQ(o.compareType, 0);
  EXPECT_EQ(o.optionsString, "None");
  EXPECT_EQ(o.choices.listType, "Chng");
  EXPECT_EQ(o.choices.subcText, "\".\"");
  EXPECT_EQ(o.choices.xtabText, "4");
  EXPECT_EQ(o.choices.ccolNew1, "1:eol");
  EXPECT_EQ(o.choices.ccolNew2, "");
  EXPECT_EQ(o.choices.ccolOld1, "1:eol");
  EXPECT_EQ(o.choices.ccolOld2, "");
  EXPECT_EQ(o.choices.dudcTag, "#");
  EXPECT_EQ(o.choices.dudcYesNo, "No");
  EXPECT_FALSE(o.quiet || o.noProgress || o.answerYes);
  EXPECT_TRUE(o.oldListFile.empty());
  for (bool checked : o.choices.checked)
    EXPECT_FALSE(checked);
}

TEST(CliOptionsTest, ValuesReachTheChoices) {
  const CliParse p = parse({"-l",         "ovSUM",      "-t",         "2",          "--subc",
                            "#x",         "--xtab",     "8",          "--ccol-new", "3:10,12:eol",
                            "--ccol-old", "2:EOL",      "--dudc-tag", ";;",         "--dudc-embedded",
                            "yes",        "--old-list", "old.txt",    "-q",         "--no-progress",
                            "--yes",      "n",          "o"});
  ASSERT_TRUE(p.run) << p.err;
  const CliOptions& o = p.options;
  EXPECT_EQ(o.choices.listType, "Ovsum");
  EXPECT_EQ(o.compareType, 2);
  EXPECT_EQ(o.choices.subcText, "\"#\"");
  EXPECT_EQ(o.choices.xtabText, "8");
  EXPECT_EQ(o.choices.ccolNew1, "3:10");
  EXPECT_EQ(o.choices.ccolNew2, "12:eol");
  EXPECT_EQ(o.choices.ccolOld1, "2:EOL");
  EXPECT_EQ(o.choices.ccolOld2, "");
  EXPECT_EQ(o.choices.dudcTag, ";;");
  EXPECT_EQ(o.choices.dudcYesNo, "Yes");
  EXPECT_EQ(o.oldListFile, "old.txt");
  EXPECT_TRUE(o.quiet && o.noProgress && o.answerYes);
}

TEST(CliOptionsTest, OptionsTextIsAppliedAndRebuilt) {
  struct Case {
    const char* text;
    const char* optionsString;
    int dpIndex;
  };
  const std::vector<Case> cases = {
      {"dcpp icas  FMVL", "Dcpp Icas Fmvl", 6},  // any case, any blanks; Dp name first
      {"Fmvl Icas", "Icas Fmvl", 0},             // keywords in panel order
      {"Abin Txal Sbsl Icas", "Icas Abin", 0},   // Abin unchecks what it overrides
      {"none", "None", 0},
      {"Dudc", "Dudc", 10},
  };
  for (const Case& c : cases) {
    const CliParse p = parse({"-o", c.text, "n", "o"});
    ASSERT_TRUE(p.run) << c.text << ": " << p.err;
    EXPECT_EQ(p.options.optionsString, c.optionsString) << c.text;
    EXPECT_EQ(p.options.choices.dpIndex, c.dpIndex) << c.text;
  }
  const CliParse abin = parse({"-o", "Abin Txal", "n", "o"});
  EXPECT_TRUE(abin.options.choices.isChecked(Pref::Abin));
  EXPECT_FALSE(abin.options.choices.isChecked(Pref::Txal));
}

TEST(CliOptionsTest, BadUsageExitsWithTwo) {
  struct Case {
    std::vector<const char*> args;
    const char* errorPart;
  };
  const std::vector<Case> cases = {
      {{"n"}, "NEW and OLD are both needed"},
      {{}, "NEW and OLD are both needed"},
      {{"n", "o", "extra"}, "extra"},
      {{"--bogus", "n", "o"}, "--bogus"},
      {{"-l", "Short", "n", "o"}, "Short"},
      {{"-t", "5", "n", "o"}, "--compare-type"},
      {{"-t", "3", "n", "o"}, "compare type 3 is not yet supported"},
      {{"-t", "4", "n", "o"}, "compare type 4 is not yet supported"},
      {{"--xtab", "0", "n", "o"}, "--xtab"},
      {{"--xtab", "x", "n", "o"}, "--xtab"},
      {{"--dudc-embedded", "maybe", "n", "o"}, "maybe"},
      {{"-o", "Icas Frob", "n", "o"}, "unknown option name \"Frob\""},
      {{"-o", "Icase", "n", "o"}, "unknown option name \"Icase\""},
      {{"-o", "Dcpp Dblk", "n", "o"}, "at most one Dp option"},
      {{"-o", "Icas None", "n", "o"}, "\"None\" stands alone"},
      {{"-o", " ", "n", "o"}, "no option names"},
      {{"--ccol-new", "5", "n", "o"}, "--ccol-new: expected"},
      {{"--ccol-old", "1:4,", "n", "o"}, "--ccol-old: expected"},
      {{"--ccol-new", "1:4,6:8,9:10", "n", "o"}, "--ccol-new: expected"},
      {{"--mask", "*.c", "n", "o"}, "--mask is not yet supported"},
      {{"--select", "a.c", "n", "o"}, "--select is not yet supported"},
      {{"--select-all", "n", "o"}, "--select-all is not yet supported"},
      {{"--pair", "a:b", "n", "o"}, "--pair is not yet supported"},
      {{"--settings", "k.ini"}, "--settings is not yet supported"},
      {{"--save", "r.html", "n", "o"}, "--save is not yet supported"},
  };
  for (const Case& c : cases) {
    std::vector<const char*> argv = {"kelvarine-cli"};
    argv.insert(argv.end(), c.args.begin(), c.args.end());
    const CliParse p = ParseCommandLine(static_cast<int>(argv.size()), argv.data());
    SCOPED_TRACE(c.errorPart);
    EXPECT_FALSE(p.run);
    EXPECT_EQ(p.exitCode, 2);
    EXPECT_NE(p.err.find(c.errorPart), std::string::npos) << p.err;
    EXPECT_TRUE(p.out.empty());
  }
}

TEST(CliOptionsTest, HelpListsEveryOptionWithItsDefault) {
  const CliParse p = parse({"--help"});
  EXPECT_FALSE(p.run);
  EXPECT_EQ(p.exitCode, 0);
  for (const char* part : {"--listing",
                           "(default Chng)",
                           "--compare-type",
                           "--options",
                           "(default None)",
                           "--subc",
                           "(default \".\")",
                           "--xtab",
                           "(default 4)",
                           "--ccol-new",
                           "--ccol-old",
                           "(default \"1:eol\")",
                           "--dudc-tag",
                           "(default \"#\")",
                           "--dudc-embedded",
                           "(default \"No\")",
                           "--mask",
                           "(default \"*.*\"",
                           "--select",
                           "--select-all",
                           "--pair",
                           "--settings",
                           "--save",
                           "--old-list",
                           "--quiet",
                           "--no-progress",
                           "--yes",
                           "--version",
                           "NEW",
                           "OLD"}) {
    EXPECT_NE(p.out.find(part), std::string::npos) << part;
  }
  const CliParse version = parse({"--version"});
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.out.rfind("kelvarine-cli ", 0), 0u) << version.out;
}

TEST(CliOptionsTest, DefaultCompareTypeFollowsTheNames) {
  MemoryFileSystem fs;
  fs.add("d1/f", "x");
  fs.add("d2/f", "x");
  EXPECT_EQ(DefaultCompareType(fs, "d1/f", "d2/f"), 1);
  EXPECT_EQ(DefaultCompareType(fs, "d1/f", "missing"), 1);
  EXPECT_EQ(DefaultCompareType(fs, "missing", "d2/f"), 1);
  EXPECT_EQ(DefaultCompareType(fs, "d1", "d2"), 2);
  EXPECT_EQ(DefaultCompareType(fs, "missing", "d2"), 2);
}

TEST(CliOptionsTest, ExitStatusFollowsTheRunStatus) {
  const auto shown = [](const std::string& s) { return s.substr(0, 70); };
  struct Case {
    std::string status;
    int exitStatus;
  };
  const std::vector<Case> cases = {
      {shown(kRunEqual), 0},
      {shown(kRunFilteredEqual), 0},
      {shown(kRunNothing), 0},
      {shown(kRunDifferent), 1},
      {shown(kRunFault), 2},
      {shown(kRunOpenError), 2},
      {shown(kRunTooLarge), 2},
      {shown(kRunCcolError), 2},
      {"StringList Limit. Report Line = 9.", 2},
      {shown(kRunHalted), 130},
      {"", 2},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ExitStatusForRun(c.status, false), c.exitStatus) << c.status;
  EXPECT_EQ(ExitStatusForRun(shown(kRunDifferent), true), 130);
}

}  // namespace
}  // namespace kelvarine
