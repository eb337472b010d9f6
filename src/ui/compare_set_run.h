#pragma once

#include <string>

#include "engine/app_state.h"
#include "engine/run_status.h"
#include "ui/flow_services.h"
#include "ui/main_panel_state.h"

namespace kelvarine {

// Runs the filled file-pair list as one compare set: empties both report lists, enters both names in
// the main fields' histories, clears the halt and failure flags, calls the compare run with the window's
// controls disabled and shows the status text it returns; returns that status. Then the window shows the
// report and focuses Exit, or focuses the status panel (ShouldShowReport).
RunStatus RunCompareSet(FlowServices& flow);

// Whether a finished set's report goes to a viewer: the set captured its compare options, it was not
// halted, and "Bypass show of Report Panel" is unchecked (no panel: unchecked).
bool ShouldShowReport(const AppState& app, const MainPanelState* panel);

// Both name texts go to the front of the main name fields' histories (when there are fields).
void AddNamesToHistories(FlowServices& flow);

}  // namespace kelvarine
