#pragma once

#include <string>
#include <utility>
#include <vector>

#include "app/terminal_colour.h"
#include "engine/compare_choices.h"
#include "engine/file_system.h"

namespace kelvarine {

// Which choices the command line gave explicitly: with --settings, these override the loaded ones.
struct GivenChoices {
  bool listing = false, options = false, subc = false, xtab = false, ccolNew = false, ccolOld = false,
       dudcTag = false, dudcEmbedded = false, trees = false;
};

// The choices and run settings of one kelvarine-cli call.
struct CliOptions {
  std::string newName, oldName;  // NEW and OLD as given (empty: taken from --settings)
  int compareType = 0;           // 1..4; 0 when not given (decided by what NEW and OLD name)
  CompareChoices choices;        // listing type, preferences, Dp option and their parameters
  std::string optionsString = "None";
  GivenChoices given;
  std::string settingsFile;  // --settings: choices (and NEW/OLD when not given) loaded from this file
  std::string saveFile;      // --save: the report is also saved here (format by extension)
  std::string mask;          // --mask: the selection windows' file mask (empty: as they hold it)
  std::vector<std::string> selected;  // --select: like-named files picked in compare type 3
  bool selectAll = false;             // --select-all
  std::vector<std::pair<std::string, std::string>> pairs;  // --pair NEW:OLD in compare type 4
  std::string oldListFile;               // --old-list: where the Old-side line list goes (empty: nowhere)
  bool quiet = false;                    // no report on standard output
  int jobs = 0;                          // -j / --jobs: pairs compared at once; 0 when not given
  bool noProgress = false;               // no progress display on standard error
  bool answerYes = false;                // questions are answered Yes
  ColourWhen colour = ColourWhen::Auto;  // --color: when the report on standard output is coloured
  int unified = -1;      // -u / --unified[=N]: context lines of the unified diff written instead; -1 none
  bool newFile = false;  // -N / --new-file: with -u, a file on one side only is diffed against an empty one
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

// Puts the choices the command line gave over `choices` and `optionsString` (loaded from a settings file).
void ApplyGivenChoices(const CliOptions& options, CompareChoices& choices, std::string& optionsString);

// The compare type used when none is given: 1 when NEW or OLD names an existing file, otherwise 2.
int DefaultCompareType(FileSystem& files, const std::string& newName, const std::string& oldName);

// With no compare type given, a directory and a file compare the file with the directory's like-named
// file, as diff does: the directory's name becomes DIR/NAME, NAME the file's name without its
// directory. False with `why` for standard input, which cannot be paired so.
bool PairDirectoryWithFile(FileSystem& files, std::string& newName, std::string& oldName, std::string* why);

// Takes CompareType and ListType from the "key=value" lines of a settings section as --settings reads
// them: as the desktop program stores them, or a compare type as its number 1..4 and a listing type as
// its word in any letter case; an empty compare type is not given. False with `why` naming the key and
// the value for any other value (nothing is guessed).
bool ApplySettingsTypes(const std::vector<std::string>& lines, CompareChoices& choices, std::string* why);

}  // namespace kelvarine
