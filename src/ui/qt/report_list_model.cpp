#include "ui/qt/report_list_model.h"

#include <QBrush>
#include <QColor>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QListView>

#include "ui/qt/change_span_delegate.h"
#include "ui/qt/gui_host.h"
#include "ui/utf8_text.h"

namespace kelvarine {
namespace {

// A report line holds at most 132 characters; the row number adds up to 9 ("%4d  " of a seven-digit
// number) and a character of slack keeps the last one clear of the edge.
constexpr int kWidestRow = 132 + 9 + 1;

}  // namespace

void ReportListModel::setViewerModel(const ReportViewerModel* model) {
  beginResetModel();
  model_ = model;
  endResetModel();
}

void ReportListModel::setRowSize(QSize size) {
  if (size == rowSize_) return;
  // A layout change (not a reset) keeps the selection and makes the views measure the rows again.
  emit layoutAboutToBeChanged();
  rowSize_ = size;
  emit layoutChanged();
}

int ReportListModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid() || model_ == nullptr) return 0;
  return static_cast<int>(model_->rowCount(list_));
}

QVariant ReportListModel::data(const QModelIndex& index, int role) const {
  if (model_ == nullptr || !index.isValid()) return {};
  switch (role) {
    case Qt::DisplayRole:
      return DisplayText(model_->rowText(list_, index.row()));
    case Qt::ForegroundRole: {
      const RowColour colour = model_->rowColour(list_, index.row());
      if (colour == RowColour::Black) return {};
      return QBrush(QColor::fromRgb(static_cast<QRgb>(RowColourRgb(colour))));
    }
    case kChangedSpansRole:
      return changedSpans(index.row());
    case Qt::SizeHintRole:
      return rowSize_.isValid() ? QVariant(rowSize_) : QVariant();
    default:
      return {};
  }
}

QVariant ReportListModel::changedSpans(int row) const {
  const std::vector<TextSpan> spans = model_->changedSpans(list_, row);
  if (spans.empty()) return {};
  // Byte offsets become character positions of the display text: valid UTF-8 is shown decoded, any other
  // text a byte a character.
  const std::string text = model_->rowText(list_, row);
  const bool utf8 = IsValidUtf8(text);
  auto position = [&](int offset) {
    return utf8 ? static_cast<int>(QString::fromUtf8(text.data(), offset).size()) : offset;
  };
  QVariantList out;
  for (const TextSpan& span : spans)
    out.push_back(QPoint(position(span.begin), position(span.end)));
  return out;
}

QFont ViewerFont(int pointSize) {
  QFont font = QFontDatabase::families().contains(QStringLiteral("Courier New"))
                   ? QFont(QStringLiteral("Courier New"))
                   : QFontDatabase::systemFont(QFontDatabase::FixedFont);
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  font.setPointSize(pointSize > 0 ? pointSize : 8);
  return font;
}

void SetUpReportList(QListView& view, ReportListModel& model, const QFont& font) {
  view.setModel(&model);
  view.setUniformItemSizes(true);
  view.setLayoutMode(QListView::SinglePass);
  view.setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  view.setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  view.setSelectionMode(QAbstractItemView::SingleSelection);
  view.setEditTriggers(QAbstractItemView::NoEditTriggers);
  view.setTextElideMode(Qt::ElideNone);
  view.setWordWrap(false);
  view.setItemDelegate(new ChangeSpanDelegate(&view));
  ApplyListFont(view, model, font);
}

void ApplyListFont(QListView& view, ReportListModel& model, const QFont& font) {
  view.setFont(font);
  const QFontMetrics metrics(font);
  model.setRowSize(
      QSize(metrics.horizontalAdvance(QString(kWidestRow, QLatin1Char('M'))), metrics.lineSpacing() + 2));
}

}  // namespace kelvarine
