#pragma once

#include <array>
#include <string>

#include "engine/app_state.h"
#include "engine/compare_choices.h"
#include "engine/file_system.h"
#include "engine/host.h"
#include "ui/main_panel_state.h"

namespace kelvarine {

// The seven pages of the main window, in tab order.
enum class Page { MainPanel, DirSelect, FileSelect, Preferences, DpOptions, About, OverView };

// What the main window remembers across page changes: the main name texts and the compare type at
// every change (for the assistants' Return warnings and Cancel) and the Preferences / Dp Options
// choices on entering those pages (for their Cancel).
struct PageMemory {
  Page current = Page::MainPanel;
  std::string savedNewName, savedOldName;
  std::array<bool, kPrefCount> savedChecked{};
  int savedDpIndex = -1;
  std::string savedDudcTag, savedDudcYesNo;
  // The compare type at the last page change, and whether the Dir Select or File Select page shown
  // now was used (a name handed over, typed or dropped, a directory or file picked, or Return):
  // leaving an unused assistant page puts back the names and the compare type it found, so that
  // passing over it changes nothing.
  std::string savedCompareType;
  bool assistantUsed = false;
};

// What the page logic works with. The main name fields' texts are panel.MnCbNewDirNm.text and
// panel.MnCbOldDirNm.text; the compare choices are app.choices with app.optionsString.
struct PageServices {
  AppState& app;
  MainPanelState& panel;
  FileSystem& files;
  Host& host;
  std::string startDirectory;  // where the assistants start when no name qualifies (the working directory)
};

}  // namespace kelvarine
