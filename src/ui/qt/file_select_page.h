#pragma once

#include <QPoint>
#include <QWidget>

#include "engine/host.h"
#include "ui/assistant_pages.h"
#include "ui/qt/gui_session.h"

class QCheckBox;
class QComboBox;
class QFileSystemModel;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class QTreeView;

namespace kelvarine {

class FileListFilter;
class NameHistoryCombo;

// The File Select page: a drive choice, a directory tree and a filtered file list whose selected
// file the "To Main" buttons (or a drag of the selected-file label onto the page's file fields)
// hand to the main New or Old name.
class FileSelectPage : public QWidget {
  Q_OBJECT

 public:
  FileSelectPage(GuiSession& session, Host& host, QWidget* parent = nullptr);

  // The page is entered; `memory` holds the main names remembered by the page change and must
  // outlive the page's use of it.
  void enter(PageMemory& memory);
  // Return's question; true when the window may go back to the Main Panel.
  bool tryReturn();

 signals:
  // Return (when the question allows it) or Cancel was pressed.
  void leaveRequested();
  // The page changed the main names or the compare type: the main panel shows them again.
  void mainPanelChanged();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  PageServices services();
  void showList();
  void showState();
  void moveToDirectory(const std::string& directory);
  void toMain(NameSide side);
  void fieldChanged(NameSide side);
  bool labelEvent(QEvent* event);

  GuiSession& session_;
  Host& host_;
  PageMemory* memory_ = nullptr;
  FileSelectState state_;
  bool moving_ = false;   // the list and tree are moved by the page, not by the user
  QPoint pressedAt_;      // where a drag of the selected-file label may start
  QString scrollTarget_;  // kept in view in the tree while the directories above it are being read

  QFileSystemModel* dirModel_;
  QFileSystemModel* fileModel_;
  FileListFilter* files_;
  QComboBox* drive_;
  QLineEdit* filter_;
  QTreeView* dirTree_;
  QListView* list_;
  QLabel* selected_;
  NameHistoryCombo* newField_;
  NameHistoryCombo* oldField_;
  QCheckBox* noWarn_;
};

}  // namespace kelvarine
