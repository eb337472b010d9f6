#include "ui/print_layout.h"

#include "ui/viewer_model.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace kelvarine {
namespace {

constexpr int kEventInterval = 20;
constexpr int kFirstSlot = 4;

int fontSizeOf(const std::string& text) {
  try {
    return std::stoi(text);
  } catch (const std::exception&) {
    return 8;
  }
}

// Lays out pages and rows on the canvas and counts rows for the event interval and the halt.
class Paginator {
 public:
  Paginator(Canvas& canvas, AppState& app, Host& host, const PrintSource& source)
      : canvas_(canvas), app_(app), host_(host), caption_(source.caption) {
    canvas_.setFont("Courier New", fontSizeOf(source.fontSize));
    const int boldWidth = std::max(1, canvas_.textWidth("X", TextStyle::Bold));
    maxChars_ = canvas_.pageWidth() / boldWidth;
    pageNumberX_ = (maxChars_ - (source.dual ? 8 : 9)) * boldWidth;
    width_ = canvas_.textWidth("X", TextStyle::Normal);
    height_ = std::max(1, canvas_.textHeight("X", TextStyle::Normal));
    maxLines_ = canvas_.pageHeight() / height_ - 4;
  }

  void startPage() {
    if (page_ > 0) canvas_.newPage();
    ++page_;
    char number[32];
    std::snprintf(number, sizeof number, "Page %3d", page_);
    canvas_.drawText(3 * width_, 2 * height_, caption_, PrintColour::Black, TextStyle::Bold);
    canvas_.drawText(pageNumberX_, 3 * height_, number, PrintColour::Black, TextStyle::Bold);
    slot_ = kFirstSlot;
  }

  void title(const std::string& text) {
    canvas_.drawText(3 * width_, 3 * height_, text, PrintColour::Black, TextStyle::Bold);
  }

  // Prints one row; false when printing must stop.
  bool row(const std::string& text, PrintColour colour) {
    if (slot_ >= maxLines_ && slot_ > kFirstSlot) startPage();
    canvas_.drawText(3 * width_, slot_ * height_, " " + text.substr(0, static_cast<std::size_t>(maxChars_)),
                     colour, TextStyle::Normal);
    ++slot_;
    if (++rows_ % kEventInterval == 0) host_.processEvents();
    return !app_.StopRequested;
  }

 private:
  Canvas& canvas_;
  AppState& app_;
  Host& host_;
  std::string caption_;
  int maxChars_ = 0, pageNumberX_ = 0, width_ = 0, height_ = 0, maxLines_ = 0;
  int page_ = 0, slot_ = kFirstSlot, rows_ = 0;
};

// Rows [begin, end) of a list; `noRef` drops the row number of numbered rows.
bool printRows(Paginator& pages, const AppState& app, const LineList& list, std::size_t begin,
               std::size_t end, bool noRef) {
  for (std::size_t i = begin; i < end; ++i) {
    std::string text = ViewerRowText(app, list, i);
    if (noRef && RowHasNumber(app, i)) text = " " + text.substr(std::min<std::size_t>(5, text.size()));
    if (!pages.row(text, PrintColourOf(list[i], app.options.ListChng))) return false;
  }
  return true;
}

}  // namespace

PrintEnd PrintReport(Canvas& canvas, AppState& app, Host& host, const PrintSource& source) {
  app.StopRequested = false;
  host.processEvents();
  canvas.beginDocument();
  Paginator pages(canvas, app, host, source);
  const LineList& left = app.reportLines;
  pages.startPage();
  bool complete = true;
  if (source.dual) {
    const std::size_t split =
        std::min(left.size(), static_cast<std::size_t>(std::max(app.ListingLineCount, 0)));
    pages.title(" Panel 1 - New Source Matches and New File Inserts");
    complete = printRows(pages, app, left, 0, split, source.noRefNumbers);
    if (complete) {
      pages.startPage();
      pages.title(" Panel 2 - Old Source Matches and Old File Deletes");
      complete = printRows(pages, app, app.oldSideLines, 0, app.oldSideLines.size(), source.noRefNumbers);
    }
    if (complete) {
      pages.startPage();
      complete = printRows(pages, app, left, split, left.size(), false);
    }
  } else {
    complete = printRows(pages, app, left, 0, left.size(), false);
  }
  host.processEvents();
  canvas.endDocument();
  if (!complete) {
    host.showMessage(" User requested early termination of Print operation.");
    return PrintEnd::Halted;
  }
  return PrintEnd::Complete;
}

}  // namespace kelvarine
