#include "ui/compare_set_run.h"

#include "engine/compare_run.h"
#include "engine/run_status.h"
#include "ui/name_history.h"

namespace kelvarine {

void AddNamesToHistories(FlowServices& flow) {
  if (flow.panel == nullptr) return;
  AddToNameHistory(flow.panel->MnCbNewDirNm, flow.app.newNameText, flow.files,
                   HistoryAccepts::FilesOrDirectories);
  AddToNameHistory(flow.panel->MnCbOldDirNm, flow.app.oldNameText, flow.files,
                   HistoryAccepts::FilesOrDirectories);
}

bool ShouldShowReport(const AppState& app, const MainPanelState* panel) {
  return app.OptionsCaptured && !app.StopRequested && (panel == nullptr || !panel->MnCkViewResults);
}

RunStatus RunCompareSet(FlowServices& flow) {
  AppState& app = flow.app;
  app.reportLines.clear();
  app.oldSideLines.clear();
  app.facingRows.clear();
  AddNamesToHistories(flow);
  flow.host.setStatusText("Executing Compare Section.");
  if (flow.window != nullptr) flow.window->setRunning(true);
  app.StopRequested = false;
  app.RunFailed = false;
  flow.host.processEvents();
  RunStatus status;
  try {
    status = CompareSet(app, flow.host, flow.files, flow.report);
    flow.host.setStatusText(status.text);
  } catch (...) {
    // The compare run turns every failure into its status; should one still escape, the run counts
    // as failed and the status panel keeps what it shows.
    app.RunFailed = true;
    status = {RunStatusCode::Fault, std::string(kRunFault).substr(0, kStatusShown)};
  }
  flow.host.setActivityImages(false, false);
  if (flow.window != nullptr) {
    flow.window->reportKept();
    flow.window->setRunning(false);
    if (ShouldShowReport(app, flow.panel)) {
      flow.window->showReport();
      flow.window->focus(FocusTarget::ExitButton);
    } else {
      flow.window->focus(FocusTarget::StatusPanel);
    }
  }
  return status;
}

}  // namespace kelvarine
