#include "app/cli_options.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace kelvarine {
namespace {

// Parses `args`, the arguments separated by "|".
CliParse parse(std::string args) {
  std::vector<const char*> argv = {"kelvarine-cli", args.data()};
  for (std::size_t i = args.find('|'); i != std::string::npos; i = args.find('|', i)) {
    args[i++] = '\0';
    argv.push_back(args.data() + i);
  }
  return ParseCommandLine(static_cast<int>(argv.size()), argv.data());
}

// The text fields the command line fills, in a fixed order.
std::vector<std::string> texts(const CliOptions& o) {
  const CompareChoices& c = o.choices;
  return {o.newName,  o.oldName,  o.optionsString, c.listType, c.subcText,  c.xtabText,   c.ccolNew1,
          c.ccolNew2, c.ccolOld1, c.ccolOld2,      c.dudcTag,  c.dudcYesNo, o.oldListFile};
}

TEST(CliOptionsTest, DefaultsAreThoseOfAFreshStartAndValuesReachTheChoices) {
  const CliParse defaults = parse("New/A.TXT|/Old/B.txt");
  ASSERT_TRUE(defaults.run) << defaults.err;
  EXPECT_EQ(texts(defaults.options),
            (std::vector<std::string>{"New/A.TXT", "/Old/B.txt", "None", "Chng", "\".\"", "4", "1:eol", "",
                                      "1:eol", "", "#", "No", ""}));
  EXPECT_EQ(defaults.options.compareType, 0);
  EXPECT_FALSE(defaults.options.quiet || defaults.options.noProgress || defaults.options.answerYes);
  EXPECT_EQ(defaults.options.jobs, 0);  // the number of cores

  // Column values are checked only by a run with Ccol chosen.
  const CliParse p = parse(
      "-l|ovSUM|-t|2|--subc|#x|--xtab|8|--ccol-new|0:10,12:eol|--ccol-old|2:EOL|--dudc-tag|;;|"
      "--dudc-embedded|yes|--old-list|old.txt|-q|--no-progress|--yes|--jobs=3|n|o");
  ASSERT_TRUE(p.run) << p.err;
  EXPECT_EQ(texts(p.options), (std::vector<std::string>{"n", "o", "None", "Ovsum", "\"#\"", "8", "0:10",
                                                        "12:eol", "2:EOL", "", ";;", "Yes", "old.txt"}));
  EXPECT_EQ(p.options.compareType, 2);
  EXPECT_TRUE(p.options.quiet && p.options.noProgress && p.options.answerYes);
  EXPECT_EQ(p.options.jobs, 3);
}

// Each case: the arguments and a part of the error text they give.
TEST(CliOptionsTest, BadUsageExitsWithTwo) {
  const std::vector<std::pair<const char*, const char*>> cases = {
      {"n", "NEW and OLD are both needed"},
      {"-l|Short|n|o", "Short"},
      {"-t|5|n|o", "--compare-type"},
      {"--xtab|0|n|o", "--xtab"},
      {"--dudc-embedded|maybe|n|o", "maybe"},
      {"-o|Icas Icase|n|o",
       "unknown option name \"Icase\"; valid names: Dsem Drem Dblk Ddlc Ddl2 Dcpp Dvbc Dhtm Dcob Dudc Icas "
       "Rovr Fmvl Xdpl Xtab Lorl Noss Ieof Subc Sbsl Txal Abin Aeqf Fscl Chgo Inpn Txfo Ccol None\n"},
      {"-o|Dcpp Dblk|n|o", "at most one Dp option"},
      {"-o|Icas None|n|o", "\"None\" stands alone"},
      {"-o| |n|o", "no option names"},
      {"--ccol-new|5|n|o", "--ccol-new: expected"},
      {"--ccol-old|1:4,|n|o", "--ccol-old: expected"},
      {"--ccol-new|1:4,6:8,9:10|n|o", "--ccol-new: expected"},
      {"-t|2|--mask|*.c|n|o", "--mask needs compare type 3 or 4"},
      {"-t|3|--pair|a:b|n|o", "--pair needs compare type 4"},
      {"-t|4|--pair|ab|n|o", "--pair: expected NEW:OLD"},
      {"-u|--save|r.txt|n|o", "--save cannot go with it"},
      {"--unified=2|--old-list|l.txt|n|o", "--old-list cannot go with it"},
      {"--unified=-1|n|o", "--unified: expected a number"},
      {"--unified|5|n|o", "not expected: o"},  // a value only after "="
      {"-j|0|n|o", "--jobs"}};
  for (const auto& [args, errorPart] : cases) {
    const CliParse p = parse(args);
    EXPECT_TRUE(!p.run && p.exitCode == 2 && p.out.empty()) << args;
    EXPECT_NE(p.err.find(errorPart), std::string::npos) << args << ": " << p.err;
  }
}

}  // namespace
}  // namespace kelvarine
