#include "report/report_generator.h"

#include "engine/compare_context.h"
#include "report/chng_context.h"
#include "report/group_summary.h"
#include "report/listing_body.h"
#include "report/pair_summary.h"
#include "report/report_lines.h"

namespace kelvarine {

void ReportGenerator::GenerateReport(CompareContext& context) {
  AppState& app = context.app;
  CompareOptions& options = context.options();
  PairState& pair = context.pair();
  const bool textPair = !pair.Binary;

  app.SummaryToMainOnly = false;
  if (textPair && pair.FilesDiffer && !options.PairHeaderArmed && !options.ListOvsum) ArmPairHeader(context);

  if (pair.AeqfEqual) {
    ListAeqfPair(context);
  } else {
    if (textPair && !pair.FilesDiffer) {
      if (options.ListLong || options.DpActive) {
        ListIdenticalFiles(context);
        if (!options.ListChng && !options.ListOvsum && !options.PairHeaderArmed) ArmPairHeader(context);
      } else {
        // Identical lines that are not listed are still counted as matches; in the Chng listing they are
        // lines not shown before the first change (this branch only runs before the pair's first difference).
        if (!pair.AllRead && options.ListDelta) options.CarriedMatches += context.newInput.Count;
        if (options.ListChng) pair.ChngSkipped += context.newInput.Count;
        pair.MatchCount += context.newInput.Count;
      }
    }
    if (textPair) {
      pair.NewLinesProcessed += context.newInput.Count;
      pair.OldLinesProcessed += context.oldInput.Count;
    }
    if (textPair && (pair.FilesDiffer || options.ListLong || options.DpActive)) {
      WriteListingBody(context);
      if (options.ListChng && pair.AllRead && pair.ReformatCount + pair.InsertCount + pair.DeleteCount > 0)
        FinishChngContext(context);
    }
    if (textPair && options.ListDelta && pair.AllRead) FinishDeltaCarry(context);
  }

  if (!pair.AllRead) return;
  AccumulatePairStatistics(context);
  // A pair with differences gets its summary; a binary one's says where the files first differ.
  if (pair.FilesDiffer || context.newInput.PrematureEof || context.oldInput.PrematureEof ||
      app.PairCount == 1)
    WritePairSummary(context);
  if (app.CurrentPairIndex + 1 == app.PairCount) {
    const bool nothingProcessed = options.TotNewLines == 0 && options.TotOldLines == 0 &&
                                  options.TotNewBinBytes == 0 && options.TotOldBinBytes == 0;
    if (app.PairCount >= 2 || app.RunAllLikeNamed || nothingProcessed) WriteGroupSummary(context);
  }
}

bool ReportGenerator::readsEqualChunkLines(const CompareOptions& options) const {
  return options.ListLong || options.DpActive;
}

}  // namespace kelvarine
