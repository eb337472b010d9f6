#pragma once

#include <QLabel>

namespace kelvarine {

// The column ruler over a viewer list: its text starts at the label's indent, moved left by the list's
// horizontal scroll offset, so that its columns stay over the rows' columns when the list is scrolled
// sideways.
class RulerLabel : public QLabel {
  Q_OBJECT

 public:
  using QLabel::QLabel;

  // The list's horizontal scroll position, in pixels.
  void setScrollOffset(int offset);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int offset_ = 0;
};

}  // namespace kelvarine
