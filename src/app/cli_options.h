#pragma once

#include <string>

#include "engine/compare_choices.h"
#include "engine/file_system.h"

namespace kelvarine {

// The choices and run settings of one kelvarine-cli call.
struct CliOptions {
  std::string newName, oldName;  // NEW and OLD, lower-cased as the program takes its arguments
  int compareType = 0;           // 1..4; 0 when not given (decided by what NEW and OLD name)
  CompareChoices choices;        // listing type, preferences, Dp option and their parameters
  std::string optionsString = "None";
  std::string oldListFile;  // --old-list: where the Old-side line list goes (empty: nowhere)
  bool quiet = false;       // no report on standard output
  bool noProgress = false;  // no progress display on standard error
  bool answerYes = false;   // questions are answered Yes
};

// The outcome of reading the command line: either options to run with, or an exit at once with
// `exitCode` after writing `out` to standard output (help, version) and `err` to standard error.
struct CliParse {
  bool run = false;
  int exitCode = 0;
  std::string out, err;
  CliOptions options;
};

// Reads argv. Bad usage (unknown or malformed options, missing names, features not yet available)
// gives exit code 2 with the reason in `err`.
CliParse ParseCommandLine(int argc, const char* const* argv);

// The compare type used when none is given: 1 when NEW or OLD names an existing file, otherwise 2.
int DefaultCompareType(FileSystem& files, const std::string& newName, const std::string& oldName);

// The exit status for the status text a run returned: 0 for the equivalence and nothing-compared
// texts, 1 for differences, 130 when the run was interrupted, 2 for everything else.
int ExitStatusForRun(const std::string& status, bool interrupted);

}  // namespace kelvarine
