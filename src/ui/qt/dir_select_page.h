#pragma once

#include "ui/qt/assistant_page.h"

class QCheckBox;
class QFileSystemModel;
class QLabel;
class QTreeView;

namespace kelvarine {

class NameHistoryCombo;

// The Dir Select page: a directory tree whose selected directory the "To Main" buttons (or a drag
// onto them or onto the page's directory fields) hand to the main New or Old name.
class DirSelectPage : public AssistantPage {
  Q_OBJECT

 public:
  DirSelectPage(GuiSession& session, Host& host, QWidget* parent = nullptr);

  // The page is entered; `memory` holds the main names remembered by the page change and must
  // outlive the page's use of it.
  void enter(PageMemory& memory);

 private:
  void moveTreeTo(const std::string& directory);
  void showState();
  void toMain(NameSide side);
  void fieldChanged(NameSide side) override;
  void dropped(const QString& directory, NameSide side) override;

  DirSelectState state_;
  bool moving_ = false;  // the tree is moved by the page, not by the user

  QFileSystemModel* model_;
  QTreeView* tree_;
  QLabel* selected_;
  NameHistoryCombo* newField_;
  NameHistoryCombo* oldField_;
  QCheckBox* noWarn_;
};

}  // namespace kelvarine
