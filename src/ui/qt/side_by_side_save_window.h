#pragma once

#include <QDialog>
#include <optional>

#include "ui/report_save.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace kelvarine {

// The dual viewer's choice before a text save: one report with the two panels stacked, or the two
// panels side by side on one line, with an optional title line. The title stays from one save to the
// next.
class SideBySideSaveWindow : public QDialog {
  Q_OBJECT

 public:
  explicit SideBySideSaveWindow(QWidget* parent = nullptr);

  // Shows the window modally for a report of these line widths, the layout preset to `stacked`; the
  // user's choice, or nothing when Cancel (or Esc) closed it.
  std::optional<DualTextChoice> choose(const DualTextWidths& widths, bool stacked);

  QRadioButton* stackedButton() const { return stacked_; }
  QRadioButton* sideBySideButton() const { return sideBySide_; }
  QCheckBox* titleBox() const { return useTitle_; }
  QLineEdit* titleField() const { return title_; }
  QPushButton* useButton() const { return use_; }

 private:
  QRadioButton *stacked_, *sideBySide_;
  QLabel *stackedLength_, *sideBySideLength_;
  QCheckBox* useTitle_;
  QLineEdit* title_;
  QPushButton *use_, *cancel_;
};

}  // namespace kelvarine
