#include "engine/run_status.h"

#include <cstddef>

namespace kelvarine {

const char* const kRunFault = "ERROR: Kelvarn files/options/code fault failure. Notify Developer.";
const char* const kRunHalted = "INFORM: The User requested a premature program stop. ";
const char* const kRunOpenError = "ERROR: Brisolan encountered an I/O problem opening an Input File.";
const char* const kRunTooLarge = "ERROR: File GT 2 GB. Use Quentabrix for partial 2GB compare";
const char* const kRunCcolError = "ERROR: User error. Invalid CCol limits specified.";
const char* const kRunDifferent = "INFORM: The processed files have differences.";
const char* const kRunNothing = "INFORM: Nothing compared possibly due to filtering or empty files. ";
const char* const kRunFilteredEqual = "INFORM: The processed files compare as filtered equivalent files. ";
const char* const kRunEqual = "INFORM: The processed files compare as equivalent files. ";

namespace {
constexpr std::size_t kReportNoteMax = 100;
}

RunStatusCode ChooseRunStatus(const AppState& app) {
  const CompareOptions& o = app.options;
  if (app.RunFailed) return RunStatusCode::Fault;
  if (app.StopRequested) return RunStatusCode::Halted;
  if (o.InputOpenError) return RunStatusCode::OpenError;
  if (o.InputTooLarge) return RunStatusCode::TooLarge;
  if (app.pair.StopSet) return RunStatusCode::CcolError;
  if (o.ReportNoteSet) return RunStatusCode::ReportNote;
  // Sums in 64 bits: the line totals are 32-bit each and may add up past that range.
  std::int64_t changes = std::int64_t{o.TotReformats} + o.TotInserts + o.TotDeletes;
  if (changes > 0 || o.HighestCode == 1) return RunStatusCode::Different;
  std::int64_t compared = std::int64_t{o.TotNewLines} + o.TotOldLines + o.TotNewBinBytes + o.TotOldBinBytes;
  if (compared == 0) return RunStatusCode::NothingCompared;
  if (o.DpActive || o.Icas || o.Rovr || o.Ccol) return RunStatusCode::FilteredEqual;
  return RunStatusCode::Equal;
}

std::string RunStatusText(RunStatusCode code, const CompareOptions& options) {
  switch (code) {
    case RunStatusCode::Equal:
      return kRunEqual;
    case RunStatusCode::FilteredEqual:
      return kRunFilteredEqual;
    case RunStatusCode::NothingCompared:
      return kRunNothing;
    case RunStatusCode::Different:
      return kRunDifferent;
    case RunStatusCode::ReportNote:
      return options.ReportNote.substr(0, kReportNoteMax) + ".";
    case RunStatusCode::CcolError:
      return kRunCcolError;
    case RunStatusCode::TooLarge:
      return kRunTooLarge;
    case RunStatusCode::OpenError:
      return kRunOpenError;
    case RunStatusCode::Halted:
      return kRunHalted;
    case RunStatusCode::Fault:
      break;
  }
  return kRunFault;
}

bool IsRunError(RunStatusCode code) {
  return code == RunStatusCode::CcolError || code == RunStatusCode::TooLarge ||
         code == RunStatusCode::OpenError || code == RunStatusCode::Fault;
}

bool PairDifferenceDecided(const AppState& app) {
  const PairState& p = app.pair;
  return app.StopWhenDecided && std::int64_t{p.ReformatCount} + p.InsertCount + p.DeleteCount > 0;
}

bool SetStatusDecided(const AppState& app) {
  const CompareOptions& o = app.options;
  return app.StopWhenDecided && (o.InputOpenError || o.InputTooLarge || o.HighestCode == 1 ||
                                 std::int64_t{o.TotReformats} + o.TotInserts + o.TotDeletes > 0);
}

}  // namespace kelvarine
