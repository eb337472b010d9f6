#include "ui/qt/screen_fit.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QWidget>
#include <algorithm>

namespace kelvarine {
namespace {

class ContentScrollArea : public QScrollArea {
 public:
  using QScrollArea::QScrollArea;

  // QScrollArea's own hint stops at 36 by 24 lines, however large the content. Room for a vertical
  // scroll bar is asked too: a window cut short in height then needs no horizontal one.
  QSize sizeHint() const override {
    if (widget() == nullptr) return QScrollArea::sizeHint();
    const int frame = 2 * frameWidth();
    return widget()->sizeHint() + QSize(frame + verticalScrollBar()->sizeHint().width(), frame);
  }
};

class RowScrollArea : public QScrollArea {
 public:
  using QScrollArea::QScrollArea;

  QSize sizeHint() const override {
    return widget() == nullptr ? QScrollArea::sizeHint() : widget()->sizeHint();
  }
  // Any width; always the row's height and room for the scroll bar it may need.
  QSize minimumSizeHint() const override {
    if (widget() == nullptr) return QScrollArea::minimumSizeHint();
    return {0, widget()->minimumSizeHint().height() + horizontalScrollBar()->sizeHint().height()};
  }
};

// The frame the window system puts around the window; before it is shown, room for a title bar and
// borders.
QMargins frameOf(const QWidget* window) {
  if (window->isVisible()) {
    const QRect frame = window->frameGeometry(), inner = window->geometry();
    return {inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
            frame.bottom() - inner.bottom()};
  }
  const int border = 4;
  return {border, window->fontMetrics().height() * 2, border, border};
}

}  // namespace

QScrollArea* makeScrollable(QWidget* content, QWidget* parent) {
  auto* area = new ContentScrollArea(parent);
  area->setObjectName(content->objectName() + "Scroll");
  area->setFrameShape(QFrame::NoFrame);
  area->setWidgetResizable(true);
  area->setWidget(content);
  return area;
}

QScrollArea* makeSideScrollable(QWidget* content, QWidget* parent) {
  auto* area = new RowScrollArea(parent);
  area->setObjectName(content->objectName() + "Scroll");
  area->setFrameShape(QFrame::NoFrame);
  area->setWidgetResizable(true);
  area->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  area->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
  area->setWidget(content);
  return area;
}

QRect availableArea(const QWidget* window) {
  const QScreen* screen = QGuiApplication::screenAt(window->frameGeometry().center());
  if (screen == nullptr) screen = window->screen();
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  return screen == nullptr ? QRect() : screen->availableGeometry();
}

void fitToScreen(QWidget* window) {
  const QRect area = availableArea(window);
  if (area.isEmpty()) return;
  const QMargins frame = frameOf(window);
  const QSize wanted = window->testAttribute(Qt::WA_Resized) ? window->size() : window->sizeHint();
  const QSize size = wanted.boundedTo(area.size().shrunkBy(frame)).expandedTo(window->minimumSize());
  if (size != window->size() || !window->testAttribute(Qt::WA_Resized)) window->resize(size);
  const QSize outer = size.grownBy(frame);
  const QPoint at = window->pos();
  const QPoint inside(
      std::clamp(at.x(), area.left(), std::max(area.left(), area.right() + 1 - outer.width())),
      std::clamp(at.y(), area.top(), std::max(area.top(), area.bottom() + 1 - outer.height())));
  if (inside != at) window->move(inside);
}

bool ScreenFitter::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Show && !event->spontaneous() && watched->isWidgetType()) {
    auto* widget = static_cast<QWidget*>(watched);
    const Qt::WindowType type = widget->windowType();
    if (widget->isWindow() && (type == Qt::Window || type == Qt::Dialog)) fitToScreen(widget);
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace kelvarine
