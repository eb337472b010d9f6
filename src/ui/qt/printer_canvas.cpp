#include "ui/qt/printer_canvas.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QPrinter>

#include "ui/qt/gui_host.h"

namespace kelvarine {

QFont FixedPitchFont(const QString& face, int pointSize) {
  QFont font =
      QFontDatabase::hasFamily(face) ? QFont(face) : QFontDatabase::systemFont(QFontDatabase::FixedFont);
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  font.setPointSize(pointSize > 0 ? pointSize : 8);
  return font;
}

PrinterCanvas::PrinterCanvas(QPrinter& printer) : printer_(printer) {
  setFont("Courier New", 8);
}

void PrinterCanvas::beginDocument() {
  if (!painter_.isActive()) failed_ = !painter_.begin(&printer_);
}

void PrinterCanvas::endDocument() {
  if (painter_.isActive()) painter_.end();
}

void PrinterCanvas::newPage() {
  if (painter_.isActive()) printer_.newPage();
}

void PrinterCanvas::setFont(const std::string& face, int size) {
  normal_ = FixedPitchFont(QString::fromStdString(face), size);
  bold_ = normal_;
  bold_.setBold(true);
}

int PrinterCanvas::pageWidth() {
  return printer_.width();
}

int PrinterCanvas::pageHeight() {
  return printer_.height();
}

int PrinterCanvas::textWidth(const std::string& text, TextStyle style) {
  return QFontMetrics(font(style), &printer_).horizontalAdvance(DisplayText(text));
}

int PrinterCanvas::textHeight(const std::string&, TextStyle style) {
  return QFontMetrics(font(style), &printer_).height();
}

void PrinterCanvas::drawText(int x, int y, const std::string& text, PrintColour colour, TextStyle style) {
  if (!painter_.isActive()) return;
  painter_.setFont(font(style));
  painter_.setPen(QColor::fromRgb(static_cast<QRgb>(PrintColourRgb(colour))));
  painter_.drawText(x, y + QFontMetrics(font(style), &printer_).ascent(), DisplayText(text));
}

void PrinterCanvas::markText(int x, int y, int width, PrintColour colour) {
  if (!painter_.isActive()) return;
  const int height = QFontMetrics(font(TextStyle::Normal), &printer_).height();
  painter_.fillRect(x, y, width, height, QColor::fromRgb(static_cast<QRgb>(ChangeMarkRgb(colour))));
}

}  // namespace kelvarine
