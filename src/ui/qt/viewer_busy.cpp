#include "ui/qt/viewer_busy.h"

#include <QAbstractButton>
#include <QApplication>
#include <QWidget>

#include "engine/app_state.h"

namespace kelvarine {

void MessageHookHost::showMessage(const std::string& text) {
  beforeMessage_();
  host_.showMessage(text);
}

bool MessageHookHost::askYesNo(const std::string& question) {
  beforeMessage_();
  return host_.askYesNo(question);
}

ViewerBusyScope::ViewerBusyScope(const ViewerBusyControls& controls, AppState& app, Host& host)
    : halt_(controls.halt), focusAfter_(controls.focusAfter), host_(host, [this] { end(); }) {
  if (halt_ != nullptr) {
    haltClick_ = QObject::connect(halt_, &QAbstractButton::clicked, [&app] { app.StopRequested = true; });
    halt_->setEnabled(true);
    halt_->show();
  }
  for (QWidget* widget : controls.disabled) {
    if (widget == nullptr) continue;
    saved_.push_back({widget, widget->isEnabled()});
    widget->setEnabled(false);
  }
  QApplication::setOverrideCursor(Qt::WaitCursor);
}

ViewerBusyScope::~ViewerBusyScope() {
  end();
}

void ViewerBusyScope::end() {
  if (ended_) return;
  ended_ = true;
  for (const Saved& saved : saved_)
    if (saved.widget != nullptr) saved.widget->setEnabled(saved.enabled);
  if (halt_ != nullptr) {
    QObject::disconnect(haltClick_);
    halt_->hide();
  }
  QApplication::restoreOverrideCursor();
  if (focusAfter_ != nullptr) focusAfter_->setFocus(Qt::OtherFocusReason);
}

}  // namespace kelvarine
