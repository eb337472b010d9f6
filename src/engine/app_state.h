#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/compare_choices.h"
#include "engine/compare_options.h"
#include "engine/facing_rows.h"
#include "engine/line_list.h"
#include "engine/pair_state.h"

namespace kelvarine {

// The state that belongs to the main window for the program's lifetime, passed by reference to
// whatever needs it (no globals, so that tests can run many sets side by side).
struct AppState {
  // The report line list and, with Sbsl, the Old side of the side-by-side layout.
  LineList reportLines;
  LineList oldSideLines;
  // Which change rows of those lists face each other, for marking what changed inside them. Kept only
  // when wanted: the command line wants them only to colour a terminal.
  FacingRows facingRows;
  bool FacingRowsWanted = true;

  // The file-pair list: entry i of both lists is pair i; names without directory.
  std::vector<std::string> NewFileList, OldFileList;
  std::string NewDirName, OldDirName;

  // Run flags: the front end clears both before a run; Halt sets StopRequested at any time.
  bool StopRequested = false;
  bool RunFailed = false;
  // Only the run's status is wanted, no line of its report (the command line's -q with nothing to
  // save): a set may end at the first chunk or pair that decides the status (a difference, an input that
  // cannot be used), and an unfinished pair with differences counts as a differing pair.
  bool StopWhenDecided = false;
  // How many threads a compare may use: above 1, helper threads read a directory set's next pairs'
  // files, and a big pair's lines, ahead while the calling thread compares and reports in pair order.
  int Jobs = 1;

  // A text pair with a file of at least this many bytes reads and prepares its lines on a helper
  // thread, ahead of the matching and listing; negative: never.
  std::int64_t ReadAheadMinSize = std::int64_t{1} << 20;

  std::int32_t PairCount = 0;
  std::int32_t CurrentPairIndex = 0;
  bool PairReady = false;

  // Set by the compare-type flows for the report: which flow runs, and for compare type 2 the names
  // found in both directories (lower-cased, ascending ignoring case) and how many stayed unpaired.
  bool RunAllLikeNamed = false, RunFromLikeNameList = false, RunFromTwoLists = false;
  std::int32_t UnpairedNewCount = 0, UnpairedOldCount = 0;
  std::vector<std::string> NewDirNames, OldDirNames;
  // Subdirectories a directory compare could not read, and entries of it whose type is unknown.
  std::int32_t UnreadableDirCount = 0;
  // The texts of the New and the Old name fields, as the report's directory lines show them.
  std::string newNameText, oldNameText;
  // Selections read from the settings (keys SvLList and SvULList), each entry followed by ";"; the
  // next opening of the matching selection window applies and empties them.
  std::string SavedLikeNameSelection, SavedPairSelection;

  // Where the report's sections start, for the viewers; set by the report while a set runs.
  bool SummaryToMainOnly = false;        // print lines go to the report line list only
  std::int32_t ListingLineCount = 0;     // report lines before the summary (one-pair or grouped)
  std::int32_t SummaryStartLine = 0;     // first line of the summary section title or grouped totals
  std::int32_t GroupSummaryStart = 0;    // report lines before the grouped summary
  std::int32_t ListingLinesWritten = 0;  // listing lines of the set so far (progress every 50)

  // The user's choices and the options string shown under them (the caption of the options label).
  CompareChoices choices;
  std::string optionsString = "None";

  // The last run's compare options record and pair state; replaced at the next set's first pair.
  CompareOptions options;
  PairState pair;
  // The choices the last set captured its options from, and its pair statistics list (one entry per
  // pair set up, fewer when the set stopped early), kept when the set ends: the viewers list the pairs
  // with their counts, and compare the pairs again with the same choices to save a unified diff.
  CompareChoices RunChoices;
  std::vector<PairStatistics> PairStatisticsList;
  // True once the running set has captured its options at the first pair (cleared as a set starts):
  // only then does `options` describe the report the lists hold.
  bool OptionsCaptured = false;
};

}  // namespace kelvarine
