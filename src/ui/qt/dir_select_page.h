#pragma once

#include <QWidget>

#include "engine/host.h"
#include "ui/assistant_pages.h"
#include "ui/qt/gui_session.h"

class QCheckBox;
class QFileSystemModel;
class QLabel;
class QPushButton;
class QTreeView;

namespace kelvarine {

class NameHistoryCombo;

// The Dir Select page: a directory tree whose selected directory the "To Main" buttons (or a drag
// onto them or onto the page's directory fields) hand to the main New or Old name.
class DirSelectPage : public QWidget {
  Q_OBJECT

 public:
  DirSelectPage(GuiSession& session, Host& host, QWidget* parent = nullptr);

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
  void moveTreeTo(const std::string& directory);
  void showState();
  void toMain(NameSide side);
  void fieldChanged(NameSide side);

  GuiSession& session_;
  Host& host_;
  PageMemory* memory_ = nullptr;
  DirSelectState state_;
  bool moving_ = false;   // the tree is moved by the page, not by the user
  QString scrollTarget_;  // kept in view while the directories above it are still being read

  QFileSystemModel* model_;
  QTreeView* tree_;
  QLabel* selected_;
  NameHistoryCombo* newField_;
  NameHistoryCombo* oldField_;
  QPushButton* toNew_;
  QPushButton* toOld_;
  QCheckBox* noWarn_;
};

}  // namespace kelvarine
