#include "app/ini_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kelvarine {
namespace {

TEST(IniFileTest, TextComesBackUnchangedWhenNothingIsWritten) {
  for (const char* text : {"", "no section\n", "[A]\r\nx=1\r\n\r\n", "[A]\nx=1", "\xEF\xBB\xBF[A]\n;c\n  \n"})
    EXPECT_EQ(IniFile(text).text(), text);
}

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
  EXPECT_EQ(ini.sectionEntries("other"), std::vector<std::string>{"Top=99"});
  EXPECT_TRUE(ini.sectionEntries("Kelvar").empty());
}

TEST(IniFileTest, ReplacedSectionKeepsItsPlaceAndEveryOtherByte) {
  IniFile ini(
      "; head\r\n"
      "[Other]\r\n"
      "A = 1\r\n"
      "\r\n"
      "[kelvarn]\r\n"
      "Stale=2\r\n"
      "\r\n"
      "[Third]\r\n"
      "[Kelvarn]\r\n"
      "Again=3\r\n"
      "x=y");
  ini.replaceSection("Kelvarn", {{"Top", "5"}, {"NewDirNm", "/a\n[Evil]\nTop=9"}, {"Empty", ""}});
  EXPECT_EQ(ini.text(),
            "; head\r\n"
            "[Other]\r\n"
            "A = 1\r\n"
            "\r\n"
            "[Kelvarn]\r\n"
            "Top=5\r\n"
            "NewDirNm=/a\r\n"  // a line end cannot be stored: the value is cut there
            "Empty=\r\n"
            "\r\n"
            "[Third]\r\n");
}

TEST(IniFileTest, ReplacedSectionAtTheEndOrAtTheStart) {
  for (const auto& [before, after] : std::vector<std::pair<std::string, std::string>>{
           {"", "[Kelvarn]\nK=v\n"},
           {"[A]\nx=1", "[A]\nx=1\n[Kelvarn]\nK=v\n"},  // a last line without its line end gets one
           {"[A]\r\nx=1\r\n", "[A]\r\nx=1\r\n[Kelvarn]\r\nK=v\r\n"},
           {"\xEF\xBB\xBF[Kelvarn]\nOld=1\n[A]\n", "\xEF\xBB\xBF[Kelvarn]\nK=v\n[A]\n"},  // the mark stays
       }) {
    IniFile ini(before);
    ini.replaceSection("Kelvarn", {{"K", "v"}});
    EXPECT_EQ(ini.text(), after) << before;
  }
}

}  // namespace
}  // namespace kelvarine
