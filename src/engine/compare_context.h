#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/app_state.h"
#include "engine/file_system.h"
#include "engine/host.h"
#include "engine/line_table.h"
#include "engine/pair_state.h"
#include "engine/report_step.h"
#include "engine/text_input.h"
#include "engine/twin_index.h"

namespace kelvarine {

// What the stages of one compare set work on: the application state, the surroundings, the two
// text inputs and line tables of the current pair, and the pair statistics list.
struct CompareContext {
  CompareContext(AppState& appState, Host& hostRef, FileSystem& fileSystem, ReportStep& reportStep)
      : app(appState), host(hostRef), files(fileSystem), report(reportStep) {}

  AppState& app;
  Host& host;
  FileSystem& files;
  ReportStep& report;

  TextInput newInput, oldInput;
  LineTable newTable, oldTable;
  std::vector<PairStatistics> stats;               // one entry per pair set up so far
  std::string blankLine = std::string(2048, ' ');  // recognises blank lines in the Dp filters
  // The line matcher's bucket heads, kept from chunk to chunk and all 0 (empty) between uses, so
  // that a small chunk costs its own lines and not a clear of the whole table.
  std::vector<std::int32_t> bucketHeads;
  TwinIndex twinIndex;  // the matcher's index of Old lines by compare text, rebuilt for each chunk

  CompareOptions& options() { return app.options; }
  PairState& pair() { return app.pair; }
  PairStatistics& currentStats() { return stats.back(); }

  // The Dp-skipping steps over the current chunk's tables.
  LineSteps newSteps() const { return {newTable, newInput.Count, app.options.DpActive}; }
  LineSteps oldSteps() const { return {oldTable, oldInput.Count, app.options.DpActive}; }
};

}  // namespace kelvarine
