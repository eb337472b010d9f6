#pragma once

#include <QDialog>
#include <cstdint>
#include <functional>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;

namespace kelvarine {

class ReportViewerModel;

// The viewers' non-modal find dialog: a text, the direction (Down preset), "Find Next". Searches go
// to the viewer model, which shows "Text Not Found" through the host; a hit is announced by rowFound,
// on which the viewer selects the row (in both lists of a two-list viewer) and scrolls to it.
class FindDialog : public QDialog {
  Q_OBJECT

 public:
  // `model` may be null, or change with setModel when the viewer opens another report.
  FindDialog(ReportViewerModel* model, QWidget* viewer);

  void setModel(ReportViewerModel* model) { model_ = model; }

  // Where the viewer's current row is read from before each search, when the viewer does not keep the
  // model's selection up to date itself (-1: no row selected).
  void setCurrentRowSource(std::function<std::int64_t()> currentRow) { currentRow_ = std::move(currentRow); }

  QLineEdit* textField() const { return text_; }
  QRadioButton* upButton() const { return up_; }
  QRadioButton* downButton() const { return down_; }
  QPushButton* findNextButton() const { return findNext_; }
  QCheckBox* wholeWordBox() const { return wholeWord_; }
  QCheckBox* matchCaseBox() const { return matchCase_; }

 public slots:
  // "Find...": selects row 0 when no row is selected, presets Down and shows the dialog (beside the
  // viewer when it was closed). Without a model neither this nor findNext does anything.
  void openFind();
  // One "Find Next" with the dialog's text and direction; with no text yet, opens the dialog instead.
  // An open dialog stays above the viewer afterwards, also after a message.
  void findNext();

 signals:
  void rowFound(qint64 row);

 private:
  void syncSelection();

  ReportViewerModel* model_;
  std::function<std::int64_t()> currentRow_;
  QLineEdit* text_;
  QRadioButton *up_, *down_;
  QCheckBox *wholeWord_, *matchCase_;
  QPushButton *findNext_, *cancel_;
};

// Ctrl+F opens the find dialog and F3 repeats Find Next, anywhere in the viewer window (F3 also in the
// dialog itself).
void installFindShortcuts(QWidget* viewer, FindDialog* dialog);

}  // namespace kelvarine
