#pragma once

#include <QDialog>

#include "ui/compare_flows.h"
#include "ui/two_list_selection.h"

class QLabel;
class QLineEdit;

namespace kelvarine {

class FilterCombo;
class PickListWidget;

// The two-list selection window of compare type 4: a modal dialog over a TwoListSelection. The user
// highlights one New and one Old file and adds the pair, removes pairs, refilters either side; Start
// Compare hides the window, runs the set (the report viewer opens within) and closes it.
class TwoListWindow : public QDialog {
  Q_OBJECT

 public:
  // Messages go through `host`, refilters list `files`, Start runs the set through `flow`.
  TwoListWindow(Host& host, FileSystem& files, FlowServices& flow, QWidget* parent = nullptr);

  // Shows the model's state and runs the dialog until Start Compare has run or the window is closed.
  int openOver(TwoListSelection& model);

 private:
  struct SideControls {
    PickListWidget* files;
    QLineEdit* highlighted;
    FilterCombo* filter;
    QLabel* directory;
    QLabel* count;
  };
  SideControls makeSide(PairSide side);
  SideControls& controls(PairSide side) { return side == PairSide::New ? new_ : old_; }
  // The file highlighted in a side's list becomes the model's, and its name the side's field.
  void takeFileHighlight(PairSide side);
  void showSide(PairSide side);
  void showModel();
  void selectPair();
  void undoSelected();
  void start();

  Host& host_;
  FileSystem& files_;
  FlowServices& flow_;
  TwoListSelection* model_ = nullptr;

  SideControls new_, old_;
  PickListWidget* pairs_;
  QLabel* pairCount_;
};

}  // namespace kelvarine
