#pragma once

#include <string>

#include "engine/app_state.h"
#include "engine/file_system.h"
#include "engine/host.h"
#include "ui/report_save.h"

namespace kelvarine {

// A second run of the last set's pairs, made to write their unified diff: its file-pair list, the
// names its directory compare found, the choices it captured its options from (without Sbsl and Fscl,
// which shape only the report) and the flow flags of its compare type. Its halt flag is its own.
AppState UnifiedDiffRerun(const AppState& lastRun);

// Saves what kelvarine-cli -u (-ru when the set took in subdirectories) writes for the pairs of
// `rerun` (made by UnifiedDiffRerun): they are compared again as they are on disk now, through the
// unified diff the command line writes, into `path` (an existing file whose name differs only in letter
// case is the target). As the report saves: refuses an input file of the run, writes a temporary
// file renamed over the target, and leaves the target as it was when the write fails or the run is
// halted (message either way). A run that ends with an ERROR status still saves what it wrote (the
// command line writes that too and says so on standard error) and shows the status.
SaveOutcome SaveUnifiedDiff(const std::string& path, AppState& rerun, Host& host, FileSystem& files);

}  // namespace kelvarine
