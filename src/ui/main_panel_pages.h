#pragma once

#include <string>
#include <vector>

#include "ui/page_state.h"

namespace kelvarine {

// A change of the main window's page: leaving Dir Select or File Select unused undoes what entering
// it did (as Cancel); both main names and the compare type are remembered; leaving Preferences
// rebuilds the options string; entering Preferences remembers the check boxes, entering Dp Options
// the Dp choices (for the pages' Cancel) and rebuilds the options string. `memory.current` becomes
// `to`.
void ChangePage(PageServices& services, PageMemory& memory, Page to);

// Rebuilds the options string shown on the main panel from the current choices.
void RebuildShownOptions(AppState& app);

// Cancel on Preferences: the check boxes as they were on entering the page, and the options string
// rebuilt from them.
void PreferencesCancel(PageServices& services, const PageMemory& memory);
// Reset on Preferences: every check box of the panel unchecked (the options string is left alone).
void PreferencesReset(PageServices& services);
// Cancel on Dp Options: the Dp option, the Dudc tag and its Yes/No text as they were on entering.
void DpOptionsCancel(PageServices& services, const PageMemory& memory);

// Files dropped on the main window, names kept as given: one file becomes the Old name when dropped at
// or below the top edge of the Old name field, else the New name; two or more set New and Old from the
// first two. No names: nothing changes.
void ApplyDroppedFiles(PageServices& services, const std::vector<std::string>& names,
                       bool atOrBelowOldFieldTop);

// The compare type for names given at start, chosen as the command line chooses it: two files are
// compared as compare type 1; two directories keep a directory type (type 1 becomes type 2). Any
// other pair of names leaves `current` as it is.
std::string CompareTypeForStartNames(FileSystem& files, const std::string& current,
                                     const std::string& newName, const std::string& oldName);

// What closing the window does on the current page: the Main Panel closes, the assistants run their
// Return check, every other page goes back to the Main Panel.
enum class CloseDecision { ShowMainPanel, RunAssistantReturn, Close };
CloseDecision CloseRequested(const PageMemory& memory);

}  // namespace kelvarine
