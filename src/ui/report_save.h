#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <string_view>

#include "engine/app_state.h"
#include "engine/host.h"
#include "engine/line_list.h"
#include "report/report_line_kind.h"

namespace kelvarine {

// The colours printing and saving give a report line, worked out from the stored line.
enum class PrintColour { Black, Red, Blue, Green };

// "Black", "Red", "Blue" or "Green".
std::string_view PrintColourName(PrintColour colour);
// 0xRRGGBB of the colour as printed.
std::uint32_t PrintColourRgb(PrintColour colour);
// The print colour of a report line of this kind (differs from the viewer colours: "RN-" lines are
// blue here, teal on screen).
PrintColour PrintColourOf(ReportLineKind kind);
// 0xRRGGBB of the light tint that marks what changed inside a row of this colour.
std::uint32_t ChangeMarkRgb(PrintColour colour);

// What the viewer hands to the writers besides the report lists of `app`.
struct SaveSource {
  bool dual = false;           // the dual panel viewer (the report has an Old-side line list)
  std::string caption;         // the viewer's caption
  std::string reportStamp;     // the date and time of the viewer's captions
  std::string htmlSize = "3";  // the HTML size field, "1" to "4"
};

// The dual viewer's text layouts: the side-by-side window's choices.
struct DualTextChoice {
  bool stacked = true;
  bool useTitle = false;
  std::string title;  // the first line of the file when useTitle is set and it is not empty
};

// Line widths of the side-by-side text: left, right and total.
struct DualTextWidths {
  int left = 90, right = 90, total = 182;
};
DualTextWidths ComputeDualTextWidths(const CompareOptions& options);

enum class WriteEnd { Complete, Halted, Failed };

// The writers put the report on `out` line by line ("\n" line ends). They let pending events run every
// 20 rows; the RTF writer then stops at the halt flag (app.StopRequested) and still writes its closing
// line. Failed when the stream went bad.
WriteEnd WriteHtmlReport(std::ostream& out, const AppState& app, Host& host, const SaveSource& source);
WriteEnd WriteRtfReport(std::ostream& out, AppState& app, Host& host, const SaveSource& source);
WriteEnd WriteTextReport(std::ostream& out, const AppState& app, Host& host, const SaveSource& source,
                         const DualTextChoice& dualChoice = {});

// Writes a file through `write` into a temporary file beside `path`, renamed over `path` once written
// (a halted write too when `keepHalted`), so that an existing file is never left half-written; the
// temporary file is removed otherwise. Failed, with the system's error number in `error` (0 when
// none is known), when the file could not be opened, written or renamed.
WriteEnd WriteFileReplacing(const std::string& path, const std::function<WriteEnd(std::ostream&)>& write,
                            bool keepHalted, int& error);

enum class SaveFormat { Html, Rtf, Text };
// The format of a file name by its lower-cased extension: ".html"/".htm", ".rtf", anything else text.
SaveFormat SaveFormatFor(const std::string& path);

enum class SaveOutcome { Saved, Halted, Refused, Failed };

// Saves the report to `path` in the format of its extension; an existing file whose name differs from
// `path` only in letter case is the target. Writes a temporary file beside the target
// and renames it over the target once the report is written, so an existing file is never left
// half-written. Refuses (message, nothing written) a target that is an input file of the last run. A
// write failure shows a message, sets the report note and leaves the target untouched; `failureReason`,
// when given, then receives the system's text for the failing open, write or rename ("No such file or
// directory", ...) and is emptied otherwise. A halted RTF save keeps the rows written before the halt
// and shows the termination message.
SaveOutcome SaveReport(const std::string& path, AppState& app, Host& host, const SaveSource& source,
                       const DualTextChoice& dualChoice = {}, std::string* failureReason = nullptr);

// True when `path` names one of the input files of the last run (ignoring case, through links).
bool IsRunInputFile(const AppState& app, const std::string& path);

}  // namespace kelvarine
