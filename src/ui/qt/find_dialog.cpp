#include "ui/qt/find_dialog.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QVBoxLayout>
#include <QWindow>

#include "ui/qt/place_beside.h"
#include "ui/viewer_model.h"

namespace kelvarine {

FindDialog::FindDialog(ReportViewerModel* model, QWidget* viewer) : QDialog(viewer), model_(model) {
  setWindowTitle(QStringLiteral("Find"));
  setModal(false);

  text_ = new QLineEdit(this);
  auto* label = new QLabel(QStringLiteral("Fi&nd what:"), this);
  label->setBuddy(text_);
  up_ = new QRadioButton(QStringLiteral("&Up"), this);
  down_ = new QRadioButton(QStringLiteral("&Down"), this);
  down_->setChecked(true);
  // The search looks at whole row texts ignoring letter case: whole words are not offered and the
  // letter case cannot be chosen.
  wholeWord_ = new QCheckBox(QStringLiteral("Match &whole word only"), this);
  wholeWord_->hide();
  matchCase_ = new QCheckBox(QStringLiteral("Match &case"), this);
  matchCase_->setEnabled(false);
  findNext_ = new QPushButton(QStringLiteral("&Find Next"), this);
  findNext_->setDefault(true);
  findNext_->setEnabled(false);
  cancel_ = new QPushButton(QStringLiteral("Cancel"), this);

  auto* textRow = new QHBoxLayout;
  textRow->addWidget(label);
  textRow->addWidget(text_, 1);
  auto* direction = new QGroupBox(QStringLiteral("Direction"), this);
  auto* directionLayout = new QHBoxLayout(direction);
  directionLayout->addWidget(up_);
  directionLayout->addWidget(down_);
  auto* options = new QVBoxLayout;
  options->addWidget(wholeWord_);
  options->addWidget(matchCase_);
  auto* optionRow = new QHBoxLayout;
  optionRow->addLayout(options);
  optionRow->addWidget(direction);
  auto* left = new QVBoxLayout;
  left->addLayout(textRow);
  left->addLayout(optionRow);
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(findNext_);
  buttons->addWidget(cancel_);
  buttons->addStretch(1);
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(left, 1);
  layout->addLayout(buttons);

  connect(text_, &QLineEdit::textChanged, this,
          [this](const QString& text) { findNext_->setEnabled(!text.isEmpty()); });
  connect(findNext_, &QPushButton::clicked, this, &FindDialog::findNext);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::close);
  auto* again = new QShortcut(QKeySequence(Qt::Key_F3), this);
  connect(again, &QShortcut::activated, this, &FindDialog::findNext);
}

void FindDialog::syncSelection() {
  if (currentRow_) model_->select(currentRow_());
}

void FindDialog::openFind() {
  if (model_ == nullptr) return;
  syncSelection();
  const std::int64_t before = model_->selected();
  model_->startFind();
  if (model_->selected() != before) emit rowFound(model_->selected());
  down_->setChecked(true);
  if (!isVisible() && parentWidget() != nullptr) MoveBesideOwner(*this, *parentWidget());
  show();
  raise();
  activateWindow();
  text_->setFocus(Qt::OtherFocusReason);
  text_->selectAll();
}

void FindDialog::findNext() {
  if (model_ == nullptr) return;
  if (text_->text().isEmpty()) {
    openFind();
    return;
  }
  syncSelection();
  const std::int64_t before = model_->selected();
  const bool wasActive = isActiveWindow();
  model_->findNext(text_->text().toStdString(), down_->isChecked());
  if (model_->selected() != before) emit rowFound(model_->selected());
  // A message box gives the activation back to the viewer when it closes: the dialog comes back on
  // top, and keeps the keyboard when it had it. (activateWindow() would do nothing here: a dialog
  // counts as active while the viewer it belongs to is.)
  if (isVisible()) {
    raise();
    if (wasActive && windowHandle() != nullptr) windowHandle()->requestActivate();
  }
}

void installFindShortcuts(QWidget* viewer, FindDialog* dialog) {
  auto* open = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_F), viewer);
  QObject::connect(open, &QShortcut::activated, dialog, &FindDialog::openFind);
  auto* again = new QShortcut(QKeySequence(Qt::Key_F3), viewer);
  QObject::connect(again, &QShortcut::activated, dialog, &FindDialog::findNext);
}

}  // namespace kelvarine
