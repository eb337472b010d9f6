#include "ui/qt/change_span_delegate.h"

#include <QApplication>
#include <QBrush>
#include <QFontMetrics>
#include <QPainter>
#include <QStyle>
#include <QVector>


namespace kelvarine {

namespace {

constexpr int kTintAlpha = 64;  // of 255: the row colour, light enough to read its text on

}  // namespace

void ChangeSpanDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
  const QVariantList spans = index.data(kChangedSpansRole).toList();
  if (spans.isEmpty()) {
    QStyledItemDelegate::paint(painter, option, index);
    return;
  }
  QStyleOptionViewItem item(option);
  initStyleOption(&item, index);
  const QWidget* widget = option.widget;
  const QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
  // Where the style draws the text: its text rectangle less the focus frame's margin on the left.
  const int left = style->subElementRect(QStyle::SE_ItemViewItemText, &item, widget).left() +
                   style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
  const QFontMetrics metrics(item.font);
  QVector<QRect> marks;
  for (const QVariant& value : spans) {
    const QPoint span = value.toPoint();
    const int x0 = left + metrics.horizontalAdvance(item.text.left(span.x()));
    const int x1 = left + metrics.horizontalAdvance(item.text.left(span.y()));
    marks.push_back(QRect(x0, option.rect.top(), x1 - x0, option.rect.height()));
  }
  const bool selected = (option.state & QStyle::State_Selected) != 0;
  if (!selected) {
    const QVariant foreground = index.data(Qt::ForegroundRole);
    QColor tint = foreground.canConvert<QBrush>() ? foreground.value<QBrush>().color()
                                                  : item.palette.color(QPalette::Text);
    tint.setAlpha(kTintAlpha);
    for (const QRect& mark : marks)
      painter->fillRect(mark, tint);
  }
  QStyledItemDelegate::paint(painter, option, index);
  if (selected) {
    for (const QRect& mark : marks)
      painter->fillRect(QRect(mark.left(), mark.bottom() - 1, mark.width(), 2),
                        item.palette.color(QPalette::HighlightedText));
  }
}

}  // namespace kelvarine
