#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/cli_options.h"
#include "app/input_staging.h"
#include "engine/app_state.h"
#include "engine/file_system.h"
#include "engine/host.h"
#include "engine/run_status.h"
#include "ui/flow_services.h"

// The steps of one kelvarine-cli run before and after the compare itself. A step that can refuse the
// run returns false with the reason in `why`, which the caller names after "kelvarine-cli: ".

namespace kelvarine {

// kelvarine-cli's exit statuses, as diff's.
inline constexpr int kExitEquivalent = 0;
inline constexpr int kExitDifferent = 1;
inline constexpr int kExitError = 2;  // an ERROR status, a refused run, bad usage
inline constexpr int kExitHalted = 130;

// NEW and OLD as the run uses them, and the compare type a settings file gave (empty: none).
struct RunInputs {
  std::string newName, oldName;
  std::string loadedCompareType;
};

// The app's choices, options string and number of jobs as the command line gives them.
void SetUpRun(const CliOptions& options, AppState& app);

// --settings: the file's choices as "Load User Ini" reads them, then the flags given over them; the
// file's New and Old names and compare type serve when the command line gives none. A file that
// cannot be loaded was named through `host` already (then `why` is left empty).
bool LoadSettingsFile(const CliOptions& options, AppState& app, FileSystem& files, Host& host,
                      RunInputs& inputs, std::string* why);

// Reads a stream named as NEW or OLD into its private copy, before anything looks at what the names
// name; `halted` ends a wait for a writer. On Failed, `why` is "NAME: reason".
CommandLineFileSystem::Staging StageInputs(CommandLineFileSystem& files, const RunInputs& inputs,
                                           const std::function<bool()>& halted, std::string* why);

// Sets the compare type: as given, else as the settings file gave it, else by what NEW and OLD name
// (a directory and a file compare the directory's like-named file).
bool ChooseCompareType(const CliOptions& options, FileSystem& files, RunInputs& inputs,
                       CompareChoices& choices, std::string* why);

// Refuses choices that cannot go together: --old-list without Sbsl, -u with Sbsl or Fscl.
bool CheckChoicesFit(const CliOptions& options, const CompareChoices& choices, std::string* why);

// 1..4 for the compare type's stored text (4 for any text that is none of the first three).
int CompareTypeNumber(const std::string& compareType);

// Whether the run may stop as soon as its exit status is decided: -q, and nothing needs the whole run
// (a diff, whose differences are not the report's, a saved report or an Old-side list).
bool StopsWhenDecided(const CliOptions& options);

// The names among NEW and OLD that cannot be used, each as "NAME: reason", for those that are not a
// regular file (a file that cannot be read is named by the run's own message); true when either
// name cannot be used at all.
bool FindUnusableNames(FileSystem& files, const RunInputs& inputs, std::vector<std::string>& named);

// The exit status when no compare set ran: two directories without a like-named pair are equivalent
// only when neither holds a file (unless a name was unusable); anything else is an error, or a halt.
int ExitStatusWithoutRun(FlowOutcome outcome, bool unusableName, bool anyFile, bool halted);

// How a compare set that ran ended.
struct RunEnd {
  RunStatusCode status = RunStatusCode::Fault;
  bool halted = false;               // Ctrl-C
  bool diffDiffers = false;          // -u: the diff shows a difference (line ends and TABs count)
  bool fileOnOneSide = false;        // a directory compare (type 2) found a file without a partner
  bool unreadableDirectory = false;  // a directory of a tree could not be read
  bool outputFailed = false;         // the report, Old-side list, diff or saved report was not written
};

// The exit status of a run that compared: 0 for the equivalence and nothing-compared statuses, 1 for
// differences (and, as diff -r, a file on one side only), 130 when halted, 2 for everything else.
int ExitStatusForRun(const RunEnd& end);

}  // namespace kelvarine
