#pragma once

#include <functional>
#include <string>
#include <vector>

namespace kelvarine {

// The command line's own run: reads the arguments, compares and returns the exit status.
using CommandLineRun = std::function<int(int argc, const char* const* argv)>;

// Whether "--git-external" is among the arguments (before a "--" that ends the options).
bool IsGitExternalCall(int argc, const char* const* argv);

// The pair git names: New and Old as the report shows them, and the files they stand for.
struct GitExternalPair {
  std::string newName, oldName;  // "b/PATH" and "a/PATH", or "/dev/null" for an added or removed side
  std::string newFile, oldFile;  // as git passed them
};

// Reads git's arguments to an external diff: "path old-file old-hex old-mode new-file new-hex
// new-mode", with "new-path rename-info" after them for a renamed file (New then takes the new path).
// Names the sides as git diff does, "a/" and "b/" before the path in the repository and /dev/null for
// the missing side of an added or removed file. False with `why` when the arguments are not of that
// form or the path could leave the directory it is placed in.
bool ReadGitExternalArguments(const std::vector<std::string>& git, GitExternalPair& pair, std::string* why);

// kelvarine-cli as git's external diff (GIT_EXTERNAL_DIFF, diff.external): the options before
// "--git-external" are the command line's own, git's arguments follow it. The two files are linked
// under their report names in a private temporary directory (removed afterwards), where `run` compares
// them, so that the report names the pair by its path in the repository. An unmerged path (git passes
// it alone) is named on standard output as git diff names it. As git expects of an external diff, the
// exit status is 0 whether the files differ or not, and messages reach standard error only when the
// compare fails (exit status 2, at which git stops); the report's status line stays on standard output.
int RunGitExternal(int argc, const char* const* argv, const CommandLineRun& run);

}  // namespace kelvarine
