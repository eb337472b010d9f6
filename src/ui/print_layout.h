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
};

// What the viewer hands to printing besides the report lists of `app`.
struct PrintSource {
  bool dual = false;
  std::string caption;         // the viewer's caption, at the top of every page
  std::string fontSize = "8";  // the print font field, "6" to "12"
  bool noRefNumbers = false;   // Print No Ref# (dual viewer): listing rows without their row number
};

enum class PrintEnd { Complete, Halted };

// Prints the report after the print dialog was accepted: pages with the caption and page number, one
// row per line slot cut to the page width, the dual viewer's three parts each from a new page. Clears
// the halt flag (app.StopRequested) first, lets events run every 20 rows and stops at the flag; the
// document is ended in every case and a halt is reported with a message.
PrintEnd PrintReport(Canvas& canvas, AppState& app, Host& host, const PrintSource& source);

}  // namespace kelvarine
