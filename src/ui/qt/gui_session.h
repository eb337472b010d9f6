#pragma once

#include <algorithm>
#include <filesystem>
#include <thread>

#include "engine/app_state.h"
#include "engine/file_system.h"
#include "report/report_generator.h"
#include "ui/like_name_selection.h"
#include "ui/main_panel_state.h"
#include "ui/two_list_selection.h"

namespace kelvarine {

// Everything the desktop program keeps for its lifetime: the application state, the main panel's
// remembered fields, the report of the runs, the two selection models and where the settings file is,
// over the file system that main() owns. Created by main() and passed by reference to the windows.
struct GuiSession {
  // Helper threads, one per core, read files and lines ahead; the run itself stays on the window's thread.
  explicit GuiSession(FileSystem& fileSystem) : files(fileSystem) {
    app.Jobs = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  }

  AppState app;
  MainPanelState panel;
  FileSystem& files;
  ReportGenerator report;
  LikeNameSelection likeNames;
  TwoListSelection twoLists;
  std::filesystem::path settingsPath;         // loaded or chosen settings file; empty: none yet
  std::filesystem::path defaultSettingsPath;  // where the save at close writes when none was chosen
  int wheelScrollLines = 3;                   // rows the viewers scroll per mouse-wheel step
};

}  // namespace kelvarine
