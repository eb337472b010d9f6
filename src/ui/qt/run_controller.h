#pragma once

#include <QObject>
#include <functional>
#include <string>

#include "ui/compare_flows.h"
#include "ui/qt/gui_host.h"
#include "ui/qt/gui_session.h"

namespace kelvarine {

// Runs compare sets for the main window: the Start button's flows, Halt, Re-Show, and the window side
// of a run (controls disabled while it runs, the viewer opened at its end). A run happens inside
// start(): the engine pumps Qt's events through the host, so the window stays live and Halt works.
class RunController : public QObject, public RunWindow, private SelectionWindows {
  Q_OBJECT

 public:
  RunController(GuiSession& session, GuiHost& host, QObject* parent = nullptr);

  // The selection windows of compare types 3 and 4 and the report viewers' ShowReport; until they are
  // set, those compare types are not available and no viewer opens.
  void setSelectionWindows(SelectionWindows* windows);
  void setReportViewer(std::function<void()> showReport) { showReport_ = std::move(showReport); }

  FlowServices& flow() { return flow_; }
  bool running() const { return running_; }

  // The Start button, with the texts of the New and Old name fields.
  FlowResult start(const std::string& newText, const std::string& oldText);
  // The Halt button: the run stops at its next check.
  void halt();
  // Re-Show Last Report Panel; false when the preferences changed since the run (the button is then
  // to be disabled).
  bool reShow();

  void setRunning(bool running) override;
  void reportKept() override;
  void showReport() override;
  void focus(FocusTarget target) override;

 signals:
  void runningChanged(bool running);
  // A set has run: Re-Show Last Report Panel may show its report.
  void reportReady();
  void focusRequested(kelvarine::FocusTarget target);

 private:
  GuiSession& session_;
  GuiHost& host_;
  FlowServices flow_;
  SelectionServices selection_;
  void showLikeNameSelection(LikeNameSelection& window) override;
  void showTwoListSelection(TwoListSelection& window) override;

  SelectionWindows* windows_ = nullptr;
  std::function<void()> showReport_;
  bool running_ = false;
};

}  // namespace kelvarine
