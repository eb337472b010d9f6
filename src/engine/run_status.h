#pragma once

#include <cstddef>
#include <string>

#include "engine/app_state.h"

namespace kelvarine {

// The run status texts, exactly as shown and appended to the report: these nine, and the report note
// followed by "." (RunStatusText).
extern const char* const kRunFault;
extern const char* const kRunHalted;
extern const char* const kRunOpenError;
extern const char* const kRunTooLarge;
extern const char* const kRunCcolError;
extern const char* const kRunDifferent;
extern const char* const kRunNothing;
extern const char* const kRunFilteredEqual;
extern const char* const kRunEqual;

// How much of its status a compare set returns, and the command line and the status panel show.
inline constexpr std::size_t kStatusShown = 70;

// Which status a run ended with: one per text above, and ReportNote for the report note.
enum class RunStatusCode {
  Equal,
  FilteredEqual,
  NothingCompared,
  Different,
  ReportNote,
  CcolError,
  TooLarge,
  OpenError,
  Halted,
  Fault,
};

// The status a compare set returns: its code, and its text as shown (at most kStatusShown characters).
struct RunStatus {
  RunStatusCode code = RunStatusCode::Fault;
  std::string text;
  bool operator==(const RunStatus&) const = default;
};

// Chooses the one status of a run by its fixed priority.
RunStatusCode ChooseRunStatus(const AppState& app);
// The whole status text of `code` (the report note, from `options`, followed by ".").
std::string RunStatusText(RunStatusCode code, const CompareOptions& options);
// The statuses whose text starts with "ERROR": the run could not compare what it was given.
bool IsRunError(RunStatusCode code);

// With StopWhenDecided: the pair being compared has a change counted already, so the set has
// differences whatever its remaining lines and pairs hold.
bool PairDifferenceDecided(const AppState& app);
// With StopWhenDecided: the pairs compared so far decide the set's status, which no later pair can make
// equivalent again: a difference was found, or an input could not be used.
bool SetStatusDecided(const AppState& app);

}  // namespace kelvarine
