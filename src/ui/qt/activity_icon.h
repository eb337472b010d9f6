#pragma once

#include <QWidget>
#include <functional>

namespace kelvarine {

// The running animation: a ring with one highlighted quarter, the two images of a run highlighting
// opposite quarters, so that showing them in turn turns the ring. It keeps its place in the layout
// when idle (it paints nothing then), so a run's turns repaint only this widget. A click on it while it
// runs calls `onClick` (the main panel halts the run).
class ActivityIcon : public QWidget {
 public:
  ActivityIcon(std::function<void()> onClick, QWidget* parent);

  // Shows image `phase` (0 or 1), or nothing when not `active`.
  void show(bool active, int phase);
  bool active() const { return active_; }
  int phase() const { return phase_; }

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  std::function<void()> onClick_;
  bool active_ = false;
  int phase_ = 0;
};

}  // namespace kelvarine
