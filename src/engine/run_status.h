#pragma once

#include <string>

#include "engine/app_state.h"

namespace kelvarine {

// The run status texts, exactly as shown and appended to the report: these nine, and the report note
// followed by "." (ChooseRunStatus).
extern const char* const kRunFault;
extern const char* const kRunHalted;
extern const char* const kRunOpenError;
extern const char* const kRunTooLarge;
extern const char* const kRunCcolError;
extern const char* const kRunDifferent;
extern const char* const kRunNothing;
extern const char* const kRunFilteredEqual;
extern const char* const kRunEqual;

// Chooses the one status message of a run by its fixed priority (the report note, when set, is
// the note followed by ".").
std::string ChooseRunStatus(const AppState& app);

}  // namespace kelvarine
