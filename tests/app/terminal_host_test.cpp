#include "app/terminal_host.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

namespace kelvarine {
namespace {

// A host writing into a temporary file, read back by the test.
class TerminalHostTest : public ::testing::Test {
 public:
  ~TerminalHostTest() override { std::fclose(stream); }
  std::string written() {
    std::fflush(stream);
    std::rewind(stream);
    std::string text;
    for (int c; (c = std::fgetc(stream)) != EOF;)
      text += static_cast<char>(c);
    return text;
  }

  AppState app;
  std::FILE* stream = std::tmpfile();
};

TEST_F(TerminalHostTest, MessagesAndQuestionsGoToTheStream) {
  TerminalHost host(app, stream, {});
  host.showMessage("first.\rsecond. \r\nthird");
  EXPECT_FALSE(host.askYesNo("Go on?"));
  EXPECT_EQ(written(), "first.\nsecond. \nthird\nGo on?\nAnswered No (give --yes to answer Yes).\n");

  TerminalHost yes(app, stream, {.showProgress = false, .answerYes = true});
  EXPECT_TRUE(yes.askYesNo("Go on?"));
}

TEST_F(TerminalHostTest, HaltRequestReachesTheRunAtProcessEvents) {
  TerminalHost host(app, stream, {});
  host.processEvents();
  EXPECT_FALSE(app.StopRequested);
  host.requestHalt();
  EXPECT_FALSE(app.StopRequested);
  host.processEvents();
  EXPECT_TRUE(app.StopRequested);
  EXPECT_TRUE(host.haltRequested());
}

TEST_F(TerminalHostTest, ProgressShowsPairAndFilePercentageOnlyWhenAsked) {
  app.PairCount = 3;
  {
    TerminalHost quiet(app, stream, {});
    quiet.setProgressVisible(true);
    quiet.setProgressPosition(10);
    quiet.setProgressVisible(false);
  }
  EXPECT_EQ(written(), "");

  TerminalHost host(app, stream, {.showProgress = true, .answerYes = false});
  host.setProgressVisible(true);
  host.setPercentText("0%");
  host.setProgressTitle("Dir.Progress");
  app.CurrentPairIndex = 1;
  host.setProgressPosition(33);
  host.setProgressPosition(50);
  host.setPercentText("50%");
  host.setProgressTitle("File Progress");
  host.writeLine("a message");
  host.setProgressVisible(false);
  EXPECT_EQ(written(),
            "\rpair 1 of 3\033[K\rpair 2 of 3\033[K\rpair 2 of 3  file 50%\033[K\r\033[Ka message\n");
}

TEST_F(TerminalHostTest, DatesUseTheLocaleShortDateAndLongTime) {
  setenv("TZ", "UTC", 1);
  tzset();
  TerminalHost host(app, stream, {});
  EXPECT_EQ(host.formatDateTime(0), "01/01/70 00:00:00");
  EXPECT_EQ(host.formatDateTime(std::int64_t{86'400} * 1'000'000'000 + 999'999'999), "01/02/70 00:00:00");
  EXPECT_EQ(host.formatDateTime(-1), "12/31/69 23:59:59");
}

}  // namespace
}  // namespace kelvarine
