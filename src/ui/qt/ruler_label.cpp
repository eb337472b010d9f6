#include "ui/qt/ruler_label.h"

#include <QPainter>
#include <algorithm>

namespace kelvarine {

void RulerLabel::setScrollOffset(int offset) {
  if (offset == offset_) return;
  offset_ = offset;
  update();
}

void RulerLabel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setFont(font());
  painter.setPen(palette().color(foregroundRole()));
  const QRect area = contentsRect();
  const QFontMetrics metrics(font());
  const int baseline = area.top() + (area.height() - metrics.height()) / 2 + metrics.ascent();
  painter.drawText(QPoint(area.left() + std::max(indent(), 0) - offset_, baseline), text());
}

}  // namespace kelvarine
