#include "ui/qt/side_by_side_save_window.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

namespace kelvarine {

SideBySideSaveWindow::SideBySideSaveWindow(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Kelvarn Side-by-Side Save File Preference"));
  setModal(true);

  stacked_ = new QRadioButton(QStringLiteral("Save as Single Two Part Stacked Report"), this);
  sideBySide_ = new QRadioButton(QStringLiteral("Save as Single Side-by-Side Report"), this);
  stackedLength_ = new QLabel(this);
  sideBySideLength_ = new QLabel(this);
  useTitle_ = new QCheckBox(QStringLiteral("Title : Optional"), this);
  title_ = new QLineEdit(this);
  use_ = new QPushButton(QStringLiteral("Use"), this);
  cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
  stacked_->setObjectName(QStringLiteral("stacked"));
  sideBySide_->setObjectName(QStringLiteral("sideBySide"));
  useTitle_->setObjectName(QStringLiteral("useTitle"));
  title_->setObjectName(QStringLiteral("title"));
  use_->setDefault(true);

  auto* choices = new QGridLayout;
  choices->addWidget(stacked_, 0, 0);
  choices->addWidget(stackedLength_, 0, 1);
  choices->addWidget(sideBySide_, 1, 0);
  choices->addWidget(sideBySideLength_, 1, 1);
  auto* titleRow = new QHBoxLayout;
  titleRow->addWidget(useTitle_);
  titleRow->addWidget(title_, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(use_);
  buttons->addWidget(cancel_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(choices);
  layout->addLayout(titleRow);
  layout->addLayout(buttons);

  connect(use_, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

std::optional<DualTextChoice> SideBySideSaveWindow::choose(const DualTextWidths& widths, bool stacked) {
  stackedLength_->setText(
      QStringLiteral("Output save line length = %1").arg(std::max(widths.left, widths.right)));
  sideBySideLength_->setText(QStringLiteral("(Output save line length = %1)").arg(widths.total));
  (stacked ? stacked_ : sideBySide_)->setChecked(true);
  use_->setFocus(Qt::OtherFocusReason);
  if (exec() != QDialog::Accepted) return std::nullopt;
  DualTextChoice choice;
  choice.stacked = stacked_->isChecked();
  choice.useTitle = useTitle_->isChecked();
  choice.title = title_->text().toStdString();
  return choice;
}

}  // namespace kelvarine
