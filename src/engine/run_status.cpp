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

std::string ChooseRunStatus(const AppState& app) {
  const CompareOptions& o = app.options;
  if (app.RunFailed) return kRunFault;
  if (app.StopRequested) return kRunHalted;
  if (o.InputOpenError) return kRunOpenError;
  if (o.InputTooLarge) return kRunTooLarge;
  if (app.pair.StopSet) return kRunCcolError;
  if (o.ReportNoteSet) return o.ReportNote.substr(0, kReportNoteMax) + ".";
  // Sums in 64 bits: the line totals are 32-bit each and may add up past that range.
  std::int64_t changes = std::int64_t{o.TotReformats} + o.TotInserts + o.TotDeletes;
  if (changes > 0 || o.HighestCode == 1) return kRunDifferent;
  std::int64_t compared = std::int64_t{o.TotNewLines} + o.TotOldLines + o.TotNewBinBytes + o.TotOldBinBytes;
  if (compared == 0) return kRunNothing;
  if (o.DpActive || o.Icas || o.Rovr || o.Ccol) return kRunFilteredEqual;
  return kRunEqual;
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
