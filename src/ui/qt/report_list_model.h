#pragma once

#include <QAbstractListModel>
#include <QFont>
#include <QSize>

#include "ui/viewer_model.h"

class QListView;

namespace kelvarine {

// One list of a report viewer as a Qt item model: the row count, text and colour of each row are asked
// of the viewer model when the view paints it, so nothing is copied and a report of any length opens
// at once. Black rows have no foreground brush: the view's own text colour. Whatever else a row is
// drawn with (marks within its text, say) belongs in the same place: a query of the viewer model per
// row, handed to the view as one more role of data() for an item delegate to paint (kChangedSpansRole).
class ReportListModel : public QAbstractListModel {
  Q_OBJECT

 public:
  ReportListModel(ViewerList list, QObject* parent = nullptr) : QAbstractListModel(parent), list_(list) {}

  // Shows the rows of `model` (null: none) from now on; views reset.
  void setViewerModel(const ReportViewerModel* model);
  // The size every row reports, so that a view with uniform item sizes lays the list out from one row
  // and its width holds the longest row.
  void setRowSize(QSize size);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

 private:
  ViewerList list_;
  QVariant changedSpans(int row) const;

  const ReportViewerModel* model_ = nullptr;
  QSize rowSize_;
};

// The viewer lists' font: "Courier New" when it is installed, else the system's fixed-pitch font, at
// `pointSize`.
QFont ViewerFont(int pointSize);

// Makes `view` a report list: uniform rows one item per scroll step, one selected row, `font`, and the
// row size of `model` taken from the font (the widest row is the longest report line with its number).
void SetUpReportList(QListView& view, ReportListModel& model, const QFont& font);
void ApplyListFont(QListView& view, ReportListModel& model, const QFont& font);

}  // namespace kelvarine
