#pragma once

#include <QPointer>

#include "engine/host.h"
#include "ui/compare_flows.h"
#include "ui/qt/gui_session.h"
#include "ui/qt/like_name_window.h"
#include "ui/qt/two_list_window.h"

class QWidget;

namespace kelvarine {

// The selection windows of compare types 3 and 4 in the desktop program: both dialogs are made once,
// over `parent`, and each opening fills one from its model and runs it modally; refilters list the
// session's file system. Set on the run
// controller with setSelectionWindows(); `flow` is the controller's, so Start runs the set there.
class GuiSelectionWindows : public SelectionWindows {
 public:
  GuiSelectionWindows(GuiSession& session, Host& host, FlowServices& flow, QWidget* parent);
  ~GuiSelectionWindows() override;
  GuiSelectionWindows(const GuiSelectionWindows&) = delete;
  GuiSelectionWindows& operator=(const GuiSelectionWindows&) = delete;

  void showLikeNameSelection(LikeNameSelection& window) override;
  void showTwoListSelection(TwoListSelection& window) override;

  LikeNameWindow* likeNameWindow() const { return likeNames_; }
  TwoListWindow* twoListWindow() const { return twoLists_; }

 private:
  // Owned here; a parent that goes first takes them with it.
  QPointer<LikeNameWindow> likeNames_;
  QPointer<TwoListWindow> twoLists_;
};

}  // namespace kelvarine
