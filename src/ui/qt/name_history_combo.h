#pragma once

#include <QComboBox>

#include "engine/file_system.h"
#include "ui/name_history.h"

namespace kelvarine {

// An editable name field with its history drop-down, over a NameHistoryField of the session: the text
// typed is the field's text; focus in, focus out and opening the drop-down apply the history rules.
class NameHistoryCombo : public QComboBox {
  Q_OBJECT

 public:
  NameHistoryCombo(NameHistoryField& field, FileSystem& files, HistoryAccepts accepts,
                   QWidget* parent = nullptr);

  // Shows the field's history and text again after the logic changed them.
  void refresh();
  NameHistoryField& field() { return field_; }

 signals:
  // The user changed the text (typed, picked from the drop-down or left the field).
  void nameChanged();

 protected:
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void showPopup() override;

 private:
  NameHistoryField& field_;
  FileSystem& files_;
  HistoryAccepts accepts_;
  bool refreshing_ = false;
};

}  // namespace kelvarine
