#pragma once

#include <string>

#include "engine/app_state.h"
#include "engine/file_system.h"
#include "engine/host.h"
#include "engine/report_step.h"
#include "engine/run_status.h"

namespace kelvarine {

// Runs one compare set over the app's file-pair list: options captured at the first pair, each pair
// set up, compared as text or binary (or skipped), reported and cleaned up. Appends the whole status
// text to the report line list and returns its code with the text's first 70 characters. Nothing
// escapes: any failure inside ends the run with the run-fault status.
RunStatus CompareSet(AppState& app, Host& host, FileSystem& files, ReportStep& report);

}  // namespace kelvarine
