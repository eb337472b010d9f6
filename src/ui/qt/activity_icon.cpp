#include "ui/qt/activity_icon.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace kelvarine {

ActivityIcon::ActivityIcon(std::function<void()> onClick, QWidget* parent)
    : QWidget(parent), onClick_(std::move(onClick)) {
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void ActivityIcon::show(bool active, int phase) {
  if (active == active_ && phase == phase_) return;
  active_ = active;
  phase_ = phase;
  setToolTip(active ? QStringLiteral("Running: click to halt") : QString());
  update();
}

QSize ActivityIcon::sizeHint() const {
  const int side = fontMetrics().height() * 3 / 2;
  return {side, side};
}

void ActivityIcon::paintEvent(QPaintEvent*) {
  if (!active_) return;
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const int side = std::min(width(), height()) - 2;
  const QRectF box((width() - side) / 2.0, (height() - side) / 2.0, side, side);
  painter.setPen(QPen(palette().color(QPalette::Mid), 1));
  painter.setBrush(palette().color(QPalette::Base));
  painter.drawEllipse(box);
  painter.setPen(Qt::NoPen);
  painter.setBrush(palette().color(QPalette::Highlight));
  painter.drawPie(box, (phase_ == 0 ? 0 : 180) * 16, 90 * 16);
  painter.setBrush(palette().color(QPalette::Mid));
  painter.drawPie(box, (phase_ == 0 ? 180 : 0) * 16, 90 * 16);
}

void ActivityIcon::mousePressEvent(QMouseEvent* event) {
  if (active_ && event->button() == Qt::LeftButton && onClick_) onClick_();
}

}  // namespace kelvarine
