#include "ui/qt/name_history_combo.h"

#include <QAbstractItemView>

namespace kelvarine {

NameHistoryCombo::NameHistoryCombo(NameHistoryField& field, FileSystem& files, HistoryAccepts accepts,
                                   QWidget* parent)
    : QComboBox(parent), field_(field), files_(files), accepts_(accepts) {
  setEditable(true);
  setInsertPolicy(QComboBox::NoInsert);  // the history rules decide what is listed
  setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  setMinimumContentsLength(20);
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
  NameFieldEnter(field_);
  QComboBox::focusInEvent(event);
}

void NameHistoryCombo::focusOutEvent(QFocusEvent* event) {
  QComboBox::focusOutEvent(event);
  if (view() != nullptr && view()->isVisible()) return;  // the drop-down took the focus
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
