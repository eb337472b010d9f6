#pragma once

#include <string>

#include "engine/app_state.h"
#include "engine/file_system.h"
#include "engine/host.h"
#include "engine/report_step.h"
#include "ui/main_panel_state.h"

namespace kelvarine {

class LikeNameSelection;
class TwoListSelection;

// Opens the selection windows of compare types 3 and 4, implemented by the front end (the GUI shows a
// window, the command line drives the model). Each call returns when the window is closed; a set
// started from the window runs within the call.
class SelectionWindows {
 public:
  virtual ~SelectionWindows() = default;
  virtual void showLikeNameSelection(LikeNameSelection& window) = 0;
  virtual void showTwoListSelection(TwoListSelection& window) = 0;
};

// The two selection windows, created once by the front end and kept between openings.
struct SelectionServices {
  LikeNameSelection& likeNames;
  TwoListSelection& twoLists;
  SelectionWindows& windows;
};

// Where the window puts the input focus after a run or a refusal.
enum class FocusTarget { NewName, OldName, ExitButton, StatusPanel };

// The main window's side of running a set; the command line has none.
class RunWindow {
 public:
  virtual ~RunWindow() = default;
  // A set starts / has ended: the controls that could start another run or change the pair lists are
  // disabled / enabled again, the Halt button shown / hidden, dropped files refused / accepted.
  virtual void setRunning(bool running) = 0;
  // A set has run: its report (whole, halted or failed) is the last report, which Re-Show Last Report
  // Panel shows again. Listing directories without a run that follows leaves the last report as it was.
  virtual void reportKept() = 0;
  // The set ended and its report is to be shown in a viewer.
  virtual void showReport() = 0;
  virtual void focus(FocusTarget target) = 0;
};

// What the compare-type flows work with: the application state, the surroundings and the report the
// compare run writes through; without selection windows compare types 3 and 4 are not available.
struct FlowServices {
  AppState& app;
  Host& host;
  FileSystem& files;
  ReportStep& report;
  SelectionServices* selection = nullptr;
  // The main panel's fields (name histories, "Bypass show of Report Panel") and the window; without
  // them no history is kept and no viewer is opened.
  MainPanelState* panel = nullptr;
  RunWindow* window = nullptr;
  // A message refusing a name that does not exist or cannot be used ends with the system's reason
  // (WithReason); the command line names the reason on a line of its own instead.
  bool nameReasons = false;
};

enum class FlowOutcome {
  Stopped,       // nothing ran and nothing was shown: empty compare type, or the question answered No
  Refused,       // a message refused the compare type or the names; nothing ran
  Ran,           // a compare set ran; the result holds the status it returned
  NotAvailable,  // compare types 3 and 4 without selection windows
  NoPairs,       // refused: the two directories have no like-named pair (app's unpaired counts say
                 // how many files each holds)
};

struct FlowResult {
  FlowOutcome outcome = FlowOutcome::Stopped;
  std::string status;  // when Ran: the run status as the compare run returned it (first 70 characters)
};

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

// Runs the filled file-pair list as one compare set: empties both report lists, enters both names in
// the main fields' histories, clears the halt and failure flags, calls the compare run with the window's
// controls disabled and shows the status it returns, which is returned. Then the window shows the
// report and focuses Exit, or focuses the status panel (ShouldShowReport).
std::string RunCompareSet(FlowServices& flow);

// Re-Show Last Report Panel: false, after the message, when the last set ran with Sbsl or Fscl and
// that preference is now unchecked (the button then stays disabled until the next run); otherwise the
// window shows the last report again and focuses Exit.
bool MnBtnRshowClick(FlowServices& flow);

// Whether a finished set's report goes to a viewer: the set captured its compare options, it was not
// halted, and "Bypass show of Report Panel" is unchecked (no panel: unchecked).
bool ShouldShowReport(const AppState& app, const MainPanelState* panel);

// The directory part of a name, up to and including its last "/" (empty when it has none), and the
// file name part after it.
std::string DirectoryPart(const std::string& path);
std::string FileNamePart(const std::string& path);

}  // namespace kelvarine
