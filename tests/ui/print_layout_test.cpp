// Print pagination on a recording canvas: pages, headers, line slots, the dual viewer's parts.
#include "ui/print_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/recording_host.h"

namespace kelvarine {
namespace {

using Lines = std::vector<std::string>;

// Fixed-pitch text: every character `charWidth` units wide (bold one wider), `lineHeight` high. Records
// every call as one line.
class RecordingCanvas : public Canvas {
 public:
  RecordingCanvas(int width, int height) : width_(width), height_(height) {}

  void beginDocument() override { calls.push_back("begin"); }
  void endDocument() override { calls.push_back("end"); }
  void newPage() override { calls.push_back("page"); }
  void setFont(const std::string& face, int size) override {
    calls.push_back("font " + face + " " + std::to_string(size));
  }
  int pageWidth() override { return width_; }
  int pageHeight() override { return height_; }
  int textWidth(const std::string& text, TextStyle style) override {
    return static_cast<int>(text.size()) * (style == TextStyle::Bold ? 8 : 7);
  }
  int textHeight(const std::string&, TextStyle) override { return 10; }
  void drawText(int x, int y, const std::string& text, PrintColour colour, TextStyle style) override {
    calls.push_back(std::to_string(x) + "," + std::to_string(y) + (style == TextStyle::Bold ? " B " : " ") +
                    std::string(PrintColourName(colour)) + " [" + text + "]");
  }

  Lines calls;

 private:
  int width_, height_;
};

std::string row(int x, int slot, const std::string& colour, const std::string& text) {
  return std::to_string(x) + "," + std::to_string(slot * 10) + " " + colour + " [ " + text + "]";
}

std::string number(int n) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%4d  ", n);
  return buffer;
}

class PrintLayoutTest : public ::testing::Test {
 public:
  // Page 800 wide: bold X = 8, so MaxChars = 100; 640 high: H = 10, MaxLines = 60.
  RecordingCanvas canvas{800, 640};
  RecordingHost host;
  AppState app;
  PrintSource source{false, "Caption", "10", false};
};

TEST_F(PrintLayoutTest, HundredRowsOnSixtyLinePagesBreakAfterRow56) {
  for (int i = 1; i <= 100; ++i)
    app.reportLines.add(i == 3   ? "I - inserted"
                        : i == 4 ? "D - deleted " + std::string(200, 'x')
                                 : "line " + std::to_string(i));
  EXPECT_EQ(PrintReport(canvas, app, host, source), PrintEnd::Complete);

  Lines expected = {"begin", "font Courier New 10"};
  auto header = [&](int page) {
    expected.push_back("21,20 B Black [Caption]");
    expected.push_back(std::to_string((100 - 9) * 8) + ",30 B Black [Page   " + std::to_string(page) + "]");
  };
  header(1);
  for (int i = 1; i <= 100; ++i) {
    if (i == 57) {
      expected.push_back("page");
      header(2);
    }
    const int slot = 4 + (i <= 56 ? i - 1 : i - 57);
    const std::string text = (number(i) + app.reportLines[static_cast<std::size_t>(i - 1)]).substr(0, 100);
    expected.push_back(row(21, slot, i == 3 ? "Blue" : i == 4 ? "Red" : "Black", text));
  }
  expected.push_back("end");
  EXPECT_EQ(canvas.calls, expected);
  EXPECT_EQ(host.processEventsCalls, 2 + 5);  // before and after, and after every 20th row
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(PrintLayoutTest, DualPrintsThreePartsAndDropsRowNumbersOnRequest) {
  for (const char* line : {"New File", "I - new", "same", "Summary", "LISTING-TYPE = Chng"})
    app.reportLines.add(line);
  for (const char* line : {"Old File", "D - old"})
    app.oldSideLines.add(line);
  app.SummaryToMainOnly = true;
  app.ListingLineCount = 3;
  source.dual = true;
  source.noRefNumbers = true;
  EXPECT_EQ(PrintReport(canvas, app, host, source), PrintEnd::Complete);
  const std::string pageNumber = std::to_string((100 - 8) * 8) + ",30 B Black [Page   ";
  const Lines expected = {"begin",
                          "font Courier New 10",
                          "21,20 B Black [Caption]",
                          pageNumber + "1]",
                          "21,30 B Black [ Panel 1 - New Source Matches and New File Inserts]",
                          row(21, 4, "Black", "  New File"),
                          row(21, 5, "Blue", "  I - new"),
                          row(21, 6, "Black", "  same"),
                          "page",
                          "21,20 B Black [Caption]",
                          pageNumber + "2]",
                          "21,30 B Black [ Panel 2 - Old Source Matches and Old File Deletes]",
                          row(21, 4, "Black", "  Old File"),
                          row(21, 5, "Red", "  D - old"),
                          "page",
                          "21,20 B Black [Caption]",
                          pageNumber + "3]",
                          row(21, 4, "Black", " Summary"),
                          row(21, 5, "Red", " LISTING-TYPE = Chng"),
                          "end"};
  EXPECT_EQ(canvas.calls, expected);

  source.noRefNumbers = false;
  canvas.calls.clear();
  PrintReport(canvas, app, host, source);
  EXPECT_EQ(canvas.calls[6], row(21, 5, "Blue", number(2) + "I - new"));
}

}  // namespace
}  // namespace kelvarine
