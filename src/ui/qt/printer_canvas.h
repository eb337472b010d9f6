#pragma once

#include <QFont>
#include <QPainter>

#include "ui/print_layout.h"

class QPrinter;

namespace kelvarine {

// The print pagination's canvas on a Qt printer (a real printer or a PDF file). Sizes are in the
// printer's device units; y is the top of the text line, as the pagination places rows by line height.
class PrinterCanvas : public Canvas {
 public:
  explicit PrinterCanvas(QPrinter& printer);

  // True once beginDocument could not open the printer (an output file that cannot be written, say);
  // drawing then does nothing.
  bool failed() const { return failed_; }

  void beginDocument() override;
  void endDocument() override;
  void newPage() override;
  void setFont(const std::string& face, int size) override;
  int pageWidth() override;
  int pageHeight() override;
  int textWidth(const std::string& text, TextStyle style) override;
  int textHeight(const std::string& text, TextStyle style) override;
  void drawText(int x, int y, const std::string& text, PrintColour colour, TextStyle style) override;
  void markText(int x, int y, int width, PrintColour colour) override;

 private:
  const QFont& font(TextStyle style) const { return style == TextStyle::Bold ? bold_ : normal_; }

  QPrinter& printer_;
  QPainter painter_;
  QFont normal_, bold_;
  bool failed_ = false;
};

// `face` when the font database has it, else the system's fixed-pitch font, at `pointSize`.
QFont FixedPitchFont(const QString& face, int pointSize);

}  // namespace kelvarine
