#pragma once

#include <QMetaObject>
#include <QPointer>
#include <functional>
#include <vector>

#include "engine/host.h"

class QAbstractButton;
class QWidget;

namespace kelvarine {

struct AppState;

// The controls of a viewer that a long print or RTF save touches: the hidden Halt button, the buttons
// disabled meanwhile (Return, Legend, To Top, To Btm, SaveAs, Find, Print, the change navigation
// arrows) and the control that gets the focus afterwards (Return). Any may be null.
struct ViewerBusyControls {
  QAbstractButton* halt = nullptr;
  std::vector<QWidget*> disabled;
  QWidget* focusAfter = nullptr;
};

// Passes everything on to another host, but runs `beforeMessage` before each message or question.
class MessageHookHost : public Host {
 public:
  MessageHookHost(Host& host, std::function<void()> beforeMessage)
      : host_(host), beforeMessage_(std::move(beforeMessage)) {}

  void setStatusText(const std::string& text) override { host_.setStatusText(text); }
  void setProgressVisible(bool visible) override { host_.setProgressVisible(visible); }
  void setProgressTitle(const std::string& title) override { host_.setProgressTitle(title); }
  void setProgressPosition(int position) override { host_.setProgressPosition(position); }
  void setPercentText(const std::string& text) override { host_.setPercentText(text); }
  void setActivityImages(bool first, bool second) override { host_.setActivityImages(first, second); }
  void toggleActivityImages() override { host_.toggleActivityImages(); }
  void processEvents() override { host_.processEvents(); }
  void showMessage(const std::string& text) override;
  bool askYesNo(const std::string& question) override;
  std::string formatDateTime(FileStamp stamp) override { return host_.formatDateTime(stamp); }

 private:
  Host& host_;
  std::function<void()> beforeMessage_;
};

// A viewer busy printing or saving: while it lives, Halt is shown and a click on it sets
// app.StopRequested, the other controls are disabled and the cursor is the hourglass. end() (or the
// destructor) hides Halt, gives the controls their former state back and focuses `focusAfter`, once.
// Work done meanwhile talks to host(): its first message ends the busy state, so that a termination
// or error message is shown over a viewer that is usable again.
class ViewerBusyScope {
 public:
  ViewerBusyScope(const ViewerBusyControls& controls, AppState& app, Host& host);
  ~ViewerBusyScope();
  ViewerBusyScope(const ViewerBusyScope&) = delete;
  ViewerBusyScope& operator=(const ViewerBusyScope&) = delete;

  void end();
  Host& host() { return host_; }

 private:
  struct Saved {
    QPointer<QWidget> widget;
    bool enabled;
  };
  QPointer<QAbstractButton> halt_;
  QMetaObject::Connection haltClick_;
  std::vector<Saved> saved_;
  QPointer<QWidget> focusAfter_;
  bool ended_ = false;
  MessageHookHost host_;
};

}  // namespace kelvarine
