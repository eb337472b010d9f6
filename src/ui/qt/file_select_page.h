#pragma once

#include <QPoint>

#include "ui/qt/assistant_page.h"

class QCheckBox;
class QComboBox;
class QFileSystemModel;
class QLabel;
class QLineEdit;
class QListView;
class QTreeView;

namespace kelvarine {

class FileListFilter;
class NameHistoryCombo;

// The File Select page: a drive choice, a directory tree and a filtered file list whose selected
// file the "To Main" buttons (or a drag of the selected-file label onto the page's file fields)
// hand to the main New or Old name.
class FileSelectPage : public AssistantPage {
  Q_OBJECT

 public:
  FileSelectPage(GuiSession& session, Host& host, QWidget* parent = nullptr);

  // The page is entered; `memory` holds the main names remembered by the page change and must
  // outlive the page's use of it.
  void enter(PageMemory& memory);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void showList();
  void showState();
  void moveToDirectory(const std::string& directory);
  void toMain(NameSide side);
  void fieldChanged(NameSide side) override;
  void dropped(const QString& file, NameSide side) override;
  bool labelEvent(QEvent* event);

  FileSelectState state_;
  bool moving_ = false;  // the list and tree are moved by the page, not by the user
  QPoint pressedAt_;     // where a drag of the selected-file label may start

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
