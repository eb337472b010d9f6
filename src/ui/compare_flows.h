#pragma once

#include <string>

#include "engine/app_state.h"
#include "ui/compare_set_run.h"
#include "ui/flow_services.h"
#include "ui/main_panel_state.h"

namespace kelvarine {

// The Start button. Takes the texts of the New and Old name fields (kept as app.newNameText and
// app.oldNameText), empties the file-pair lists, checks the compare type app.choices.compareType
// against the names (asking whether to switch to compare type 1 when both name existing files; a Yes
// changes app.choices.compareType) and hands over to the flow of that type.
FlowResult MnButStartClick(FlowServices& flow, const std::string& newText, const std::string& oldText);

// Compare type 1: the two named files are the one pair. Expects NewDirName and OldDirName to hold the
// directory parts of the two names.
FlowResult StartFilePairCompare(FlowServices& flow);

enum class LikeNameMode { AllPairs, Select };

// Compare type 2 (AllPairs): the files of the two directories paired by name (PairNames: exact
// spelling first, then ignoring case), in name order, each name as it is on disk. Leaves the names
// found (app.NewDirNames, app.OldDirNames, in name order) and the unpaired counts for the report, and
// runs the set with RunAllLikeNamed set. Compare type 3 (Select): the like-named files go to the
// like-name window, which ShowLikeNameSelection then opens.
FlowResult StartLikeNameDirCompare(FlowServices& flow, LikeNameMode mode = LikeNameMode::AllPairs);

// Fills the like-name window (listing with its current mask, applying and consuming the saved
// selection, keeping selected names that are still common) and opens it with RunFromLikeNameList set.
// Ran when its Start ran a set; Stopped when it was closed by Return.
FlowResult ShowLikeNameSelection(FlowServices& flow);

// Compare type 4: validates both directories, fills the two-list window (applying and consuming the
// saved pair selection, dropping pairs whose files are gone) and opens it with RunFromTwoLists set.
FlowResult StartTwoListSelection(FlowServices& flow);

// Re-Show Last Report Panel: false, after the message, when the last set ran with Sbsl or Fscl and
// that preference is now unchecked (the button then stays disabled until the next run); otherwise the
// window shows the last report again and focuses Exit.
bool MnBtnRshowClick(FlowServices& flow);

// The directory part of a name, up to and including its last "/" (empty when it has none), and the
// file name part after it.
std::string DirectoryPart(const std::string& path);
std::string FileNamePart(const std::string& path);

}  // namespace kelvarine
