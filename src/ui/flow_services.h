#pragma once

#include <string>

#include "engine/app_state.h"
#include "engine/file_system.h"
#include "engine/host.h"
#include "engine/report_step.h"
#include "engine/run_status.h"
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
  RunStatus status;  // when Ran: the run status as the compare run returned it (text: first 70 characters)
};

}  // namespace kelvarine
