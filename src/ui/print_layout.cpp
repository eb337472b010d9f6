#include "ui/print_layout.h"

#include "ui/viewer_model.h"

#include "report/facing_changes.h"
#include "report/report_line_kind.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace kelvarine {
namespace {

constexpr int kEventInterval = 20;
constexpr int kFirstSlot = 4;

constexpr int kLeftMargin = 3;  // rows and captions start 3 character widths from the left edge
constexpr const char* kPanel1 = " Panel 1 - New Source Matches and New File Inserts";
constexpr const char* kPanel2 = " Panel 2 - Old Source Matches and Old File Deletes";

int fontSizeOf(const std::string& text) {
  try {
    return std::stoi(text);
  } catch (const std::exception&) {
    return 8;
  }
}

std::size_t decimalDigits(std::size_t value) {
  std::size_t digits = 1;
  for (; value >= 10; value /= 10)
    ++digits;
  return digits;
}

// Row i of a list as printed, without the leading blank: the viewer's row text, or under Print No Ref#
// the row without its number (the first five characters replaced by one blank).
std::string printedRow(const AppState& app, const LineList& list, std::size_t i, bool noRef) {
  std::string text = ViewerRowText(app, list, i);
  if (noRef && RowHasNumber(app, i)) text = " " + text.substr(std::min<std::size_t>(5, text.size()));
  return text;
}

// The length of printedRow(app, list, i, noRef), worked out without making the text.
std::size_t printedRowLength(const AppState& app, const LineList& list, std::size_t i, bool noRef) {
  if (!RowHasNumber(app, i)) return 1 + list[i].size();
  const std::size_t numbered = std::max<std::size_t>(4, decimalDigits(i + 1)) + 2 + list[i].size();
  return noRef ? numbered - 4 : numbered;
}

// Rows [begin, end) of each part of the print: the single viewer's one list, or the dual viewer's
// listing rows of both lists (without numbers under Print No Ref#) and then its summary rows.
struct PrintPart {
  const LineList* list;
  std::size_t begin, end;
  bool noRef;
  const char* title;
};

std::vector<PrintPart> printParts(const AppState& app, const PrintSource& source) {
  const LineList& left = app.reportLines;
  if (!source.dual) return {{&left, 0, left.size(), false, nullptr}};
  const std::size_t split =
      std::min(left.size(), static_cast<std::size_t>(std::max(app.ListingLineCount, 0)));
  return {{&left, 0, split, source.noRefNumbers, kPanel1},
          {&app.oldSideLines, 0, app.oldSideLines.size(), source.noRefNumbers, kPanel2},
          {&left, split, left.size(), false, nullptr}};
}

// Character cells from the page's left edge to the end of the widest printed text: rows with their
// leading blank, the caption and the part titles, each after the left margin.
std::size_t widestPrintedText(const AppState& app, const PrintSource& source) {
  std::size_t widest = source.caption.size();
  for (const PrintPart& part : printParts(app, source)) {
    if (part.title != nullptr) widest = std::max(widest, std::char_traits<char>::length(part.title));
    for (std::size_t i = part.begin; i < part.end; ++i)
      widest = std::max(widest, 1 + printedRowLength(app, *part.list, i, part.noRef));
  }
  return kLeftMargin + widest;
}

// The largest size from `chosen` down whose `cells` character cells fit `width` (1 when none does).
int fittingSize(Canvas& canvas, int chosen, std::size_t cells, int width) {
  const std::string probe(cells, 'X');
  for (int size = chosen; size > 1; --size) {
    canvas.setFont("Courier New", size);
    if (std::max(canvas.textWidth(probe, TextStyle::Normal), canvas.textWidth(probe, TextStyle::Bold)) <=
        width)
      return size;
  }
  return 1;
}

// Lays out pages and rows on the canvas and counts rows for the event interval and the halt.
class Paginator {
 public:
  Paginator(Canvas& canvas, AppState& app, Host& host, const PrintSource& source, int fontSize)
      : canvas_(canvas), app_(app), host_(host), caption_(source.caption), maxPages_(source.maxPages) {
    canvas_.setFont("Courier New", fontSize);
    const int boldWidth = std::max(1, canvas_.textWidth("X", TextStyle::Bold));
    maxChars_ = canvas_.pageWidth() / boldWidth;
    pageNumberX_ = (maxChars_ - (source.dual ? 8 : 9)) * boldWidth;
    width_ = canvas_.textWidth("X", TextStyle::Normal);
    height_ = std::max(1, canvas_.textHeight("X", TextStyle::Normal));
    maxLines_ = canvas_.pageHeight() / height_ - 4;
  }

  // Starts the next page; false when a preview has all the pages it may show.
  bool startPage() {
    if (maxPages_ > 0 && page_ >= maxPages_) return false;
    if (page_ > 0) canvas_.newPage();
    ++page_;
    char number[32];
    std::snprintf(number, sizeof number, "Page %3d", page_);
    canvas_.drawText(kLeftMargin * width_, 2 * height_, caption_, PrintColour::Black, TextStyle::Bold);
    canvas_.drawText(pageNumberX_, 3 * height_, number, PrintColour::Black, TextStyle::Bold);
    slot_ = kFirstSlot;
    return true;
  }

  void title(const std::string& text) {
    canvas_.drawText(kLeftMargin * width_, 3 * height_, text, PrintColour::Black, TextStyle::Bold);
  }

  // Prints one row with what changed inside it (`marks`, spans of `text`); false when printing must stop.
  bool row(const std::string& text, PrintColour colour, const std::vector<TextSpan>& marks) {
    if (slot_ >= maxLines_ && slot_ > kFirstSlot && !startPage()) return false;
    const std::string shown = " " + text.substr(0, static_cast<std::size_t>(maxChars_));
    for (const TextSpan& mark : marks) {
      const auto begin = std::min(shown.size(), static_cast<std::size_t>(mark.begin) + 1);
      const auto end = std::min(shown.size(), static_cast<std::size_t>(mark.end) + 1);
      if (begin >= end) continue;
      canvas_.markText(kLeftMargin * width_ + canvas_.textWidth(shown.substr(0, begin), TextStyle::Normal),
                       slot_ * height_,
                       canvas_.textWidth(shown.substr(begin, end - begin), TextStyle::Normal), colour);
    }
    canvas_.drawText(kLeftMargin * width_, slot_ * height_, shown, colour, TextStyle::Normal);
    ++slot_;
    if (++rows_ % kEventInterval == 0) host_.processEvents();
    return !app_.StopRequested;
  }

 private:
  Canvas& canvas_;
  AppState& app_;
  Host& host_;
  std::string caption_;
  int maxPages_;
  int maxChars_ = 0, pageNumberX_ = 0, width_ = 0, height_ = 0, maxLines_ = 0;
  int page_ = 0, slot_ = kFirstSlot, rows_ = 0;
};

// Prints one part; false when printing must stop.
bool printPart(Paginator& pages, const AppState& app, const PrintPart& part) {
  for (std::size_t i = part.begin; i < part.end; ++i) {
    const LineList& list = *part.list;
    const std::string text = printedRow(app, list, i, part.noRef);
    if (!pages.row(text, PrintColourOf(ClassifyReportLine(list[i], app.options.ListChng)),
                   ShownChangeSpans(app, list, i, text)))
      return false;
  }
  return true;
}

}  // namespace

PrintFit FitPrintFont(Canvas& canvas, const AppState& app, const PrintSource& source) {
  PrintFit fit;
  fit.chosen = fontSizeOf(source.fontSize);
  if (fit.chosen < 1) fit.chosen = 8;
  const std::size_t cells = widestPrintedText(app, source);
  canvas.setFont("Courier New", fit.chosen);
  const int width = canvas.pageWidth(), height = canvas.pageHeight();
  fit.turned = height > width ? fittingSize(canvas, fit.chosen, cells, height) : 0;
  fit.size = fittingSize(canvas, fit.chosen, cells, width);
  return fit;
}

std::string PrintFitNote(const PrintFit& fit) {
  if (!fit.reduced()) return {};
  std::string note = "Print Sz " + std::to_string(fit.chosen) + " is too wide for the page: printed at Sz " +
                     std::to_string(fit.size);
  if (fit.turned > fit.size) note += " (Landscape: Sz " + std::to_string(fit.turned) + ")";
  return note;
}

PrintEnd PrintReport(Canvas& canvas, AppState& app, Host& host, const PrintSource& source) {
  app.StopRequested = false;
  host.processEvents();
  const PrintFit fit = FitPrintFont(canvas, app, source);
  canvas.beginDocument();
  Paginator pages(canvas, app, host, source, fit.size);
  bool complete = pages.startPage();
  bool first = true;
  for (const PrintPart& part : printParts(app, source)) {
    if (!complete) break;
    if (!first) complete = pages.startPage();
    first = false;
    if (complete && part.title != nullptr) pages.title(part.title);
    complete = complete && printPart(pages, app, part);
  }
  host.processEvents();
  canvas.endDocument();
  if (complete) return PrintEnd::Complete;
  if (!app.StopRequested) return PrintEnd::PageLimit;
  host.showMessage(" User requested early termination of Print operation.");
  return PrintEnd::Halted;
}

}  // namespace kelvarine
