#include "ui/qt/selection_controls.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <algorithm>

namespace kelvarine {

namespace {

bool isEnterKey(const QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  const int key = static_cast<const QKeyEvent*>(event)->key();
  return key == Qt::Key_Return || key == Qt::Key_Enter;
}

}  // namespace

QPushButton* makeSelectionButton(const QString& caption, const QString& name, QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(name);
  button->setAutoDefault(false);
  button->setDefault(false);
  return button;
}

QLabel* makeNamedLabel(const QString& text, const QString& name, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  return label;
}

StartReturnRow makeStartReturnRow(QDialog* window, const QString& prefix) {
  QPushButton* startButton = makeSelectionButton("Start &Compare", prefix + "ButStart", window);
  QPushButton* returnButton = makeSelectionButton("&Return", prefix + "ButReturn", window);
  auto* row = new QHBoxLayout;
  row->addStretch();
  row->addWidget(startButton);
  row->addWidget(returnButton);
  QObject::connect(returnButton, &QPushButton::clicked, window, &QDialog::reject);
  return {row, startButton};
}

void startFromWindow(QDialog& window, bool nothingSelected, const std::function<void()>& startCompare) {
  if (nothingSelected) {
    startCompare();  // refuses with its message; the window stays
    return;
  }
  window.hide();
  startCompare();
  window.done(QDialog::Accepted);
}

PickListWidget::PickListWidget(QAbstractItemView::SelectionMode mode, QWidget* parent) : QListWidget(parent) {
  setSelectionMode(mode);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  setTextElideMode(Qt::ElideNone);  // a long name scrolls sideways instead of being cut short
}

void PickListWidget::showList(const PickList& list) {
  const QSignalBlocker blocker(this);
  const int row = currentRow();
  clear();
  QStringList rows;
  rows.reserve(static_cast<qsizetype>(list.size()));
  for (const std::string& item : list.items())
    rows << QString::fromStdString(item);
  addItems(rows);
  for (std::size_t i = 0; i < list.size(); ++i)
    if (list.highlighted(i)) item(static_cast<int>(i))->setSelected(true);
  if (count() > 0 && row >= 0) setCurrentRow(std::min(row, count() - 1), QItemSelectionModel::NoUpdate);
}

void PickListWidget::copyHighlights(PickList& list) const {
  const std::size_t rows = std::min(list.size(), static_cast<std::size_t>(count()));
  list.clearHighlights();
  for (std::size_t i = 0; i < rows; ++i)
    list.setHighlighted(i, item(static_cast<int>(i))->isSelected());
}

QStringList PickListWidget::texts() const {
  QStringList rows;
  for (int i = 0; i < count(); ++i)
    rows << item(i)->text();
  return rows;
}

void PickListWidget::keyPressEvent(QKeyEvent* event) {
  if (isEnterKey(event)) {
    emit enterPressed();
  } else if (event->key() == Qt::Key_Delete) {
    emit deletePressed();
  } else {
    QListWidget::keyPressEvent(event);
    return;
  }
  event->accept();
}

FilterCombo::FilterCombo(QWidget* parent) : QComboBox(parent) {
  setEditable(true);
  setInsertPolicy(QComboBox::NoInsert);  // the filter field decides which texts become entries
  setCompleter(nullptr);                 // "*.h" must not complete itself to "*.html"
  setMinimumContentsLength(10);
  lineEdit()->installEventFilter(this);
  connect(this, &QComboBox::textActivated, this, &FilterCombo::enter);
  connect(lineEdit(), &QLineEdit::editingFinished, this, &FilterCombo::commit);
}

void FilterCombo::showFilter(const FilterField& field) {
  const QSignalBlocker blocker(this);
  clear();
  for (const std::string& entry : field.entries())
    addItem(QString::fromStdString(entry));
  lastEntered_ = QString::fromStdString(field.text());
  setEditText(lastEntered_);
}

void FilterCombo::commit() {
  if (currentText() != lastEntered_) enter(currentText());
}

bool FilterCombo::eventFilter(QObject* watched, QEvent* event) {
  // Enter in the field refilters and goes no further: the dialog must not take it for a button.
  if (watched == lineEdit() && isEnterKey(event)) {
    enter(currentText());
    return true;
  }
  return QComboBox::eventFilter(watched, event);
}

void FilterCombo::keyPressEvent(QKeyEvent* event) {
  if (isEnterKey(event)) {
    enter(currentText());
    event->accept();
    return;
  }
  QComboBox::keyPressEvent(event);
}

void FilterCombo::enter(const QString& text) {
  lastEntered_ = text;
  emit filterEntered(text);
}

}  // namespace kelvarine
