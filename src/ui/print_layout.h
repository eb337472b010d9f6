#pragma once

#include <string>

#include "engine/app_state.h"
#include "engine/host.h"
#include "ui/report_save.h"

namespace kelvarine {

enum class TextStyle { Normal, Bold };

// A printer page as the pagination sees it, in device units. The GUI's printer implements it.
class Canvas {
 public:
  virtual ~Canvas() = default;
  virtual void beginDocument() = 0;
  virtual void endDocument() = 0;
  // Ends the current page and starts the next one.
  virtual void newPage() = 0;
  virtual void setFont(const std::string& face, int size) = 0;
  virtual int pageWidth() = 0;
  virtual int pageHeight() = 0;
  virtual int textWidth(const std::string& text, TextStyle style) = 0;
  virtual int textHeight(const std::string& text, TextStyle style) = 0;
  virtual void drawText(int x, int y, const std::string& text, PrintColour colour, TextStyle style) = 0;
  // Marks `width` units of the line at (x, y) as changed, before its text is drawn: a light tint of the
  // row's `colour` behind it.
  virtual void markText(int x, int y, int width, PrintColour colour) = 0;
};

// What the viewer hands to printing besides the report lists of `app`.
struct PrintSource {
  bool dual = false;
  std::string caption;         // the viewer's caption, at the top of every page
  std::string fontSize = "8";  // the print font field, "6" to "12"
  bool noRefNumbers = false;   // Print No Ref# (dual viewer): listing rows without their row number
  int maxPages = 0;            // stop quietly after this many pages (a preview); 0: every page
};

// The print font size that keeps every printed row whole on the page: the chosen size when the widest
// row (with its row number, left margin and leading blank) fits the page width at it, else the largest
// smaller size that does. `turned` is the same with the page turned sideways (its height as width),
// 0 when the page is already wider than high.
struct PrintFit {
  int chosen = 8, size = 8, turned = 0;
  bool reduced() const { return size < chosen; }
};
PrintFit FitPrintFont(Canvas& canvas, const AppState& app, const PrintSource& source);
// What the print preview says when the chosen size had to be reduced (empty when it fits).
std::string PrintFitNote(const PrintFit& fit);

// PageLimit: stopped quietly at PrintSource::maxPages with rows left.
enum class PrintEnd { Complete, Halted, PageLimit };

// Prints the report after the print dialog was accepted: pages with the caption and page number, one
// row per line slot at the size FitPrintFont chooses, the dual viewer's three parts each from a new
// page. Clears the halt flag (app.StopRequested) first, lets events run every 20 rows and stops at the
// flag; the document is ended in every case and a halt is reported with a message.
PrintEnd PrintReport(Canvas& canvas, AppState& app, Host& host, const PrintSource& source);

}  // namespace kelvarine
