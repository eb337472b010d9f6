#pragma once

#include <QString>
#include <QWidget>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "engine/host.h"
#include "ui/assistant_pages.h"
#include "ui/name_history.h"
#include "ui/qt/gui_session.h"

class QAbstractItemView;
class QCheckBox;
class QFileSystemModel;
class QLabel;
class QPushButton;
class QTreeView;

namespace kelvarine {

class NameHistoryCombo;

// Paths travel between Qt and the logic in the file system's own encoding.
QString toQtPath(const std::string& path);
std::string fromQtPath(const QString& path);

// A model of the directories below the file-system root, for navigation trees.
QFileSystemModel* makeDirectoryModel(QObject* parent);
// A directory tree for navigation: one column, scrolling sideways over long names.
QTreeView* makeDirectoryTree(QFileSystemModel* model, QWidget* parent);

// What the Dir Select and File Select pages share: the main names remembered on entry, Return and
// Cancel, the New and Old name fields with the drops of a name onto them, and views kept on the
// shown directory while the file system is read in the background.
class AssistantPage : public QWidget {
  Q_OBJECT

 public:
  // Return's question; true when the window may go back to the Main Panel.
  bool tryReturn();

 signals:
  // Return (when the question allows it) or Cancel was pressed.
  void leaveRequested();
  // The page changed the main names or the compare type: the main panel shows them again.
  void mainPanelChanged();

 protected:
  using ReturnQuestion = bool (*)(PageServices&, PageMemory&);
  // `accepts` is the kind of name the page's fields and drops take; `question` is Return's.
  AssistantPage(GuiSession& session, Host& host, HistoryAccepts accepts, ReturnQuestion question,
                QWidget* parent);

  PageServices services();
  // A name field over `field`: its edits call fieldChanged(side), names dropped on it dropped(side).
  NameHistoryCombo* makeNameField(NameHistoryField& field, const QString& name, NameSide side);
  // `target` takes drops of the page's kind of name for `side`.
  void acceptDrops(QWidget* target, NameSide side);
  QLabel* makeSelectedLabel(const QString& name);
  // Return and Cancel, named `prefix` + "ButReturn" and `prefix` + "ButCancel".
  std::pair<QPushButton*, QPushButton*> makeLeaveButtons(const QString& prefix);
  // The page's "No Warn" box; toggling it sets `setting`.
  QCheckBox* makeNoWarnBox(const QString& text, const QString& name, bool& setting);
  // The person used the page (picked, typed, dropped or handed over a name): leaving it keeps the
  // names it shows.
  void markUsed();
  // While scrollTarget_ is set, rows read into the views' models scroll them back to their current
  // rows; the user's press or scroll clears it.
  void keepInView(std::initializer_list<QAbstractItemView*> views);

  virtual void fieldChanged(NameSide side) = 0;
  // A name of the page's kind was dropped on a target of `side`.
  virtual void dropped(const QString& path, NameSide side) = 0;
  bool eventFilter(QObject* watched, QEvent* event) override;

  GuiSession& session_;
  Host& host_;
  PageMemory* memory_ = nullptr;
  QString scrollTarget_;  // kept in view while the directories above it are still being read

 private:
  HistoryAccepts accepts_;
  ReturnQuestion question_;
  std::vector<std::pair<QObject*, NameSide>> dropTargets_;
};

}  // namespace kelvarine
