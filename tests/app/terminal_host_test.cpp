#include "app/terminal_host.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <tuple>

#include "app/terminal_colour.h"

namespace kelvarine {
namespace {

// A host writes into `buffer` (it flushes every line and progress redraw).
class TerminalHostTest : public ::testing::Test {
 public:
  ~TerminalHostTest() override { std::fclose(stream); }

  AppState app;
  char buffer[256]{};
  std::FILE* stream = fmemopen(buffer, sizeof buffer, "w");
};

TEST_F(TerminalHostTest, MessagesQuestionsAndHaltRequests) {
  TerminalHost host(app, stream, {});
  host.showMessage("first.\rsecond. \r\nthird");
  EXPECT_FALSE(host.askYesNo("Go on?"));
  EXPECT_STREQ(buffer, "first.\nsecond. \nthird\nGo on?\nAnswered No (give --yes to answer Yes).\n");

  host.requestHalt();  // reaches the run only at the next processEvents()
  EXPECT_FALSE(app.StopRequested);
  host.processEvents();
  EXPECT_TRUE(app.StopRequested);
}

TEST_F(TerminalHostTest, ProgressShowsPairAndFilePercentageOnlyWhenAsked) {
  app.PairCount = 3;
  app.NewFileList = {"a.c", "sub/" + std::string(60, 'x') + ".c"};  // a long name keeps its end
  for (bool showProgress : {false, true}) {
    TerminalHost host(app, stream, {.showProgress = showProgress});
    app.CurrentPairIndex = 0;
    host.setProgressVisible(true);
    host.setPercentText("0%");  // a pair's start shows no percentage, and no redraw of the same text
    host.setProgressTitle("Dir.Progress");
    app.CurrentPairIndex = 1;
    host.setProgressPosition(50);
    host.setPercentText("50%");
    host.setProgressTitle("File Progress");
    host.writeLine("a message");
  }
  const std::string tail = "..." + std::string(43, 'x') + ".c";
  EXPECT_STREQ(buffer, ("a message\n\rpair 1 of 3 a.c\033[K\rpair 2 of 3 " + tail + "\033[K\rpair 2 of 3 " +
                        tail + "  file 50%\033[K\r\033[Ka message\n")
                           .c_str());
}

TEST_F(TerminalHostTest, DatesUseTheLocaleShortDateAndLongTime) {
  setenv("TZ", "UTC", 1);
  tzset();
  TerminalHost host(app, stream, {});
  EXPECT_EQ(host.formatDateTime(0), "01/01/70 00:00:00");
  EXPECT_EQ(host.formatDateTime(-1), "12/31/69 23:59:59");
}

// Output to a terminal with --color=auto (a pipe and --color=always are run by the scripts).
TEST(TerminalColourTest, AutoFollowsTheEnvironment) {
  using Case = std::tuple<const char*, const char*, bool>;  // TERM and NO_COLOR (null: unset), coloured
  for (const auto& [term, noColour, coloured] :
       {Case{"xterm", nullptr, true}, Case{nullptr, nullptr, false}, Case{"", nullptr, false},
        Case{"dumb", nullptr, false}, Case{"xterm", "", true}, Case{"xterm", "1", false}})
    EXPECT_EQ(ColourWanted(ColourWhen::Auto, true, term, noColour), coloured)
        << (term ? term : "unset") << " / " << (noColour ? noColour : "unset");
}

TEST(TerminalColourTest, ReportLinesByChangeCodeTitleAndStatus) {
  using Case = std::tuple<const char*, bool, ColourDepth, const char*>;  // line, Chng listing, depth, escape
  for (const auto& [line, listChng, depth, escape] :
       {Case{"RN- new", false, ColourDepth::TrueColour, "\033[38;2;0;128;128m"},
        Case{"   ************* x", true, ColourDepth::Basic, "\033[34m"},
        Case{"INFORM: Compare complete.", false, ColourDepth::Basic, "\033[1m"},
        Case{"    alpha", false, ColourDepth::TrueColour, ""},
        Case{"ERROR: User error.", false, ColourDepth::TrueColour, "\033[1;31m"}})
    EXPECT_EQ(ReportColouring(depth).escapeFor(line, listChng), escape)
        << line << (listChng ? " in Chng" : "");
}

}  // namespace
}  // namespace kelvarine
