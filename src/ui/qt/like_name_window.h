#pragma once

#include <QDialog>

#include "ui/compare_flows.h"
#include "ui/like_name_selection.h"

class QLabel;
class QPushButton;
class QRadioButton;

namespace kelvarine {

class FilterCombo;
class PickListWidget;

// The like-name selection window of compare type 3: a modal dialog over a LikeNameSelection. The
// user moves names between the paired and the selected list, refilters and re-sorts; Start Compare
// hides the window, runs the set (the report viewer opens within) and closes it.
class LikeNameWindow : public QDialog {
  Q_OBJECT

 public:
  // Messages go through `host`, refilters list `files`, Start runs the set through `flow`.
  LikeNameWindow(Host& host, FileSystem& files, FlowServices& flow, QWidget* parent = nullptr);

  // Shows the model's state and runs the dialog until Start Compare has run or the window is closed.
  int openOver(LikeNameSelection& model);

 private:
  // Copies the user's highlights of both lists into the model.
  void takeHighlights();
  // Shows every list, label and field of the model.
  void showModel();
  // Takes the highlights, runs `act` on the model and shows the result.
  template <typename Act>
  void act(Act act);
  void start();

  Host& host_;
  FileSystem& files_;
  FlowServices& flow_;
  LikeNameSelection* model_ = nullptr;

  QLabel* newPath_;
  QLabel* oldPath_;
  PickListWidget* paired_;
  PickListWidget* selected_;
  QLabel* pairedCount_;
  QLabel* selectedCount_;
  FilterCombo* filter_;
  QRadioButton* byName_;
  QRadioButton* byExtension_;
};

}  // namespace kelvarine
