#include "ui/qt/name_history_combo.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QFocusEvent>

namespace kelvarine {

NameHistoryCombo::NameHistoryCombo(NameHistoryField& field, FileSystem& files, HistoryAccepts accepts,
                                   QWidget* parent)
    : QComboBox(parent), field_(field), files_(files), accepts_(accepts) {
  setEditable(true);
  setInsertPolicy(QComboBox::NoInsert);  // the history rules decide what is listed
  setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  setMinimumContentsLength(20);
  // Typing lists the history names that begin with the text, exactly as typed, to pick from; nothing
  // is filled in unasked (a longer name, completed inline, would be compared without being chosen).
  completer()->setCompletionMode(QCompleter::PopupCompletion);
  completer()->setCaseSensitivity(Qt::CaseSensitive);
  connect(this, &QComboBox::editTextChanged, this, [this](const QString& text) {
    if (refreshing_) return;
    field_.text = text.toStdString();
    emit nameChanged();
  });
  refresh();
}

void NameHistoryCombo::refresh() {
  refreshing_ = true;
  clear();
  for (const std::string& name : field_.history)
    addItem(QString::fromStdString(name));
  setEditText(QString::fromStdString(field_.text));
  refreshing_ = false;
}

void NameHistoryCombo::focusInEvent(QFocusEvent* event) {
  if (event->reason() != Qt::PopupFocusReason) NameFieldEnter(field_);  // back from a list, still typing
  QComboBox::focusInEvent(event);
}

void NameHistoryCombo::focusOutEvent(QFocusEvent* event) {
  QComboBox::focusOutEvent(event);
  // The drop-down or the completion list took the focus: the person is still in the field.
  if (event->reason() == Qt::PopupFocusReason || (view() != nullptr && view()->isVisible())) return;
  const std::string before = field_.text;
  NameFieldLeave(field_, files_, accepts_);
  refresh();
  if (field_.text != before) emit nameChanged();
}

void NameHistoryCombo::showPopup() {
  NameFieldDropDown(field_, files_, accepts_);
  refresh();
  QComboBox::showPopup();
}

}  // namespace kelvarine
