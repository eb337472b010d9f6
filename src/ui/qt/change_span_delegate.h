#pragma once

#include <QStyledItemDelegate>

namespace kelvarine {

// The item data role of what changed inside a row: a QVariantList of QPoint(first, end) character
// positions of its display text; no data for a row without marks.
inline constexpr int kChangedSpansRole = Qt::UserRole + 1;

// Paints a report row as the view would, with what changed inside it (the model's changed-spans role)
// on a light tint of the row's own colour; on the selected row, whose background is the selection's, the
// spans are underlined instead.
class ChangeSpanDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

}  // namespace kelvarine
