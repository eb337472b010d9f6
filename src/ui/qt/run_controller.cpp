#include "ui/qt/run_controller.h"

namespace kelvarine {

RunController::RunController(GuiSession& session, GuiHost& host, QObject* parent)
    : QObject(parent),
      session_(session),
      host_(host),
      flow_{session.app, host, session.files, session.report},
      selection_{session.likeNames, session.twoLists, *this} {
  flow_.panel = &session.panel;
  flow_.window = this;
  flow_.nameReasons = true;
}

void RunController::setSelectionWindows(SelectionWindows* windows) {
  windows_ = windows;
  flow_.selection = windows == nullptr ? nullptr : &selection_;
}

void RunController::showLikeNameSelection(LikeNameSelection& window) {
  if (windows_ != nullptr) windows_->showLikeNameSelection(window);
}

void RunController::showTwoListSelection(TwoListSelection& window) {
  if (windows_ != nullptr) windows_->showTwoListSelection(window);
}

FlowResult RunController::start(const std::string& newText, const std::string& oldText) {
  if (running_) return {};
  FlowResult result = MnButStartClick(flow_, newText, oldText);
  host_.showNow();  // the last status, without waiting for the next show
  return result;
}

void RunController::halt() {
  session_.app.StopRequested = true;
}

bool RunController::reShow() {
  if (running_) return true;
  return MnBtnRshowClick(flow_);
}

void RunController::setRunning(bool running) {
  if (running_ == running) return;
  running_ = running;
  if (!running) host_.showNow();
  emit runningChanged(running);
}

void RunController::reportKept() {
  emit reportReady();
}

void RunController::showReport() {
  if (showReport_) showReport_();
}

void RunController::focus(FocusTarget target) {
  emit focusRequested(target);
}

}  // namespace kelvarine
