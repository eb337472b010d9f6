#include "ui/qt/change_map_strip.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace kelvarine {
namespace {

constexpr int kStripWidth = 14;

QRgb opaque(RowColour colour) {
  return 0xFF000000u | RowColourRgb(colour);
}

}  // namespace

ChangeMapStrip::ChangeMapStrip(QWidget* parent) : QWidget(parent) {
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
  setCursor(Qt::PointingHandCursor);
  setToolTip(tr("Where the changes are: click or drag to go there"));
}

QSize ChangeMapStrip::sizeHint() const {
  return {kStripWidth, 100};
}

QSize ChangeMapStrip::minimumSizeHint() const {
  return {kStripWidth, 20};
}

void ChangeMapStrip::setChanges(const ReportChanges* changes) {
  changes_ = changes;
  image_ = QImage();
  update();
}

void ChangeMapStrip::setVisibleRows(std::int64_t top, std::int64_t count) {
  if (top == top_ && count == count_) return;
  top_ = top;
  count_ = count;
  update();
}

int ChangeMapStrip::pixelRows() const {
  return std::max(1, static_cast<int>(std::lround(height() * devicePixelRatioF())));
}

void ChangeMapStrip::resizeEvent(QResizeEvent* event) {
  image_ = QImage();
  QWidget::resizeEvent(event);
}

void ChangeMapStrip::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().color(QPalette::Base));
  if (changes_ != nullptr && changes_->rows > 0) {
    const int rows = pixelRows();
    const qreal ratio = devicePixelRatioF();
    if (image_.isNull()) paintMarks(rows, ratio);
    painter.drawImage(QPointF(0, 0), image_);
    // The rows in sight, outlined over the marks.
    const auto [first, last] = ChangeMapScale(changes_->rows, rows).band(top_, count_);
    const QRectF band(0.5, first / ratio + 0.5, width() - 1.0,
                      std::max((last - first + 1) / ratio - 1.0, 1.0));
    QColor fill = palette().color(QPalette::Highlight);
    fill.setAlpha(40);
    painter.fillRect(band, fill);
    painter.setPen(QPen(palette().color(QPalette::Text), 1));
    painter.drawRect(band);
  }
  // A frame sets the strip off from the list beside it.
  painter.setPen(palette().color(QPalette::Mid));
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void ChangeMapStrip::paintMarks(int rows, qreal ratio) {
  const int width = std::max(2, static_cast<int>(std::lround(this->width() * ratio)));
  image_ = QImage(width, rows, QImage::Format_ARGB32_Premultiplied);
  image_.fill(Qt::transparent);
  const std::vector<MapPixelRow> pixels = MapPixelRows(*changes_, rows);
  for (int y = 0; y < rows; ++y) {
    const MapPixelRow& pixel = pixels[static_cast<std::size_t>(y)];
    auto* line = reinterpret_cast<QRgb*>(image_.scanLine(y));
    if (pixel.newLane != RowColour::Black) std::fill(line, line + width / 2, opaque(pixel.newLane));
    if (pixel.oldLane != RowColour::Black) std::fill(line + width / 2, line + width, opaque(pixel.oldLane));
  }
  image_.setDevicePixelRatio(ratio);
}

void ChangeMapStrip::requestRowAt(double y) {
  if (changes_ == nullptr || changes_->rows == 0) return;
  const ChangeMapScale scale(changes_->rows, pixelRows());
  emit rowRequested(scale.rowAtY(static_cast<int>(y * devicePixelRatioF())));
}

void ChangeMapStrip::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) requestRowAt(event->position().y());
}

void ChangeMapStrip::mouseMoveEvent(QMouseEvent* event) {
  if (event->buttons() & Qt::LeftButton) requestRowAt(event->position().y());
}

}  // namespace kelvarine
