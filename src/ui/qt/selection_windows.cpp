#include "ui/qt/selection_windows.h"

namespace kelvarine {

GuiSelectionWindows::GuiSelectionWindows(GuiSession& session, Host& host, FlowServices& flow, QWidget* parent)
    : likeNames_(new LikeNameWindow(host, session.files, flow, parent)),
      twoLists_(new TwoListWindow(host, session.files, flow, parent)) {}

GuiSelectionWindows::~GuiSelectionWindows() {
  delete likeNames_.data();
  delete twoLists_.data();
}

void GuiSelectionWindows::showLikeNameSelection(LikeNameSelection& window) {
  if (likeNames_ != nullptr) likeNames_->openOver(window);
}

void GuiSelectionWindows::showTwoListSelection(TwoListSelection& window) {
  if (twoLists_ != nullptr) twoLists_->openOver(window);
}

}  // namespace kelvarine
