#pragma once

#include <QComboBox>
#include <QListWidget>
#include <QString>
#include <functional>

#include "ui/pick_list.h"

class QDialog;
class QHBoxLayout;
class QLabel;
class QPushButton;

namespace kelvarine {

// A push button that Enter elsewhere in a selection window never presses: Enter belongs to the
// lists and the filter fields.
QPushButton* makeSelectionButton(const QString& caption, const QString& name, QWidget* parent);
QLabel* makeNamedLabel(const QString& text, const QString& name, QWidget* parent);

// A selection window's last row: Start Compare and Return (which rejects the window), named
// `prefix` + "ButStart" and `prefix` + "ButReturn"; the caller connects Start.
struct StartReturnRow {
  QHBoxLayout* layout;
  QPushButton* start;
};
StartReturnRow makeStartReturnRow(QDialog* window, const QString& prefix);
// Start Compare: with nothing selected `startCompare` refuses with its message and the window stays;
// otherwise the window makes way for the run and its report viewer, and closes once they are done.
void startFromWindow(QDialog& window, bool nothingSelected, const std::function<void()>& startCompare);

// A list box over a PickList: shows its entries and highlights, hands the user's highlights back,
// scrolls sideways over long names, and turns Enter and Delete into signals instead of letting the
// dialog see them.
class PickListWidget : public QListWidget {
  Q_OBJECT

 public:
  PickListWidget(QAbstractItemView::SelectionMode mode, QWidget* parent = nullptr);

  // Replaces the rows by the list's entries with its highlights; the current row stays where it was
  // (or the last row), without highlighting anything.
  void showList(const PickList& list);
  // Copies the highlighted rows into the list's marks; the rows are the list's entries.
  void copyHighlights(PickList& list) const;
  // The row texts, top to bottom.
  QStringList texts() const;

 signals:
  void enterPressed();
  void deletePressed();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
};

// An editable filter field with its drop-down entries, over a FilterField. A text counts as entered
// when Enter is pressed in it, an entry is picked from the drop-down, or the field is left with a
// text that was not entered yet.
class FilterCombo : public QComboBox {
  Q_OBJECT

 public:
  explicit FilterCombo(QWidget* parent = nullptr);

  // Shows the field's entries and text.
  void showFilter(const FilterField& field);
  // Enters a text typed but not entered yet, as leaving the field would.
  void commit();

 signals:
  void filterEntered(const QString& text);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void enter(const QString& text);

  QString lastEntered_;
};

}  // namespace kelvarine
