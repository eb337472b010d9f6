#pragma once

#include <QImage>
#include <QWidget>
#include <cstdint>

#include "ui/change_map.h"

namespace kelvarine {

// The change map beside a viewer's vertical scroll bar: the whole report scaled to the strip's height,
// a mark in the row colour for each change (New-side changes in the left half, Old-side ones in the
// right), the rows the list shows outlined. A click or a drag asks for the row under the mouse. The
// marks are painted once into an image for each report and height; a scroll only moves the outline.
class ChangeMapStrip : public QWidget {
  Q_OBJECT

 public:
  explicit ChangeMapStrip(QWidget* parent = nullptr);

  // The report's changes (null: none); kept by the caller while shown.
  void setChanges(const ReportChanges* changes);
  // The rows the list shows: `count` rows from `top`.
  void setVisibleRows(std::int64_t top, std::int64_t count);

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 signals:
  void rowRequested(qint64 row);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  // The strip's height in device pixels: the map's resolution.
  int pixelRows() const;
  void requestRowAt(double y);
  // Paints the marks into image_ at `rows` device pixel rows.
  void paintMarks(int rows, qreal ratio);

  const ReportChanges* changes_ = nullptr;
  QImage image_;  // the marks at the current size; null until painted
  std::int64_t top_ = 0, count_ = 0;
};

}  // namespace kelvarine
