#pragma once

#include "engine/report_step.h"

namespace kelvarine {

// The report: the compare run hands it each chunk of a text pair, each binary or Aeqf pair and a
// last pair skipped by Txfo; it decides which sections each produces and writes them into the
// application's report line lists.
class ReportGenerator : public ReportStep {
 public:
  void GenerateReport(CompareContext& context) override;
  // Only the Long listing and the Dp options list (or mark) the lines of an equal chunk.
  bool readsEqualChunkLines(const CompareOptions& options) const override;
};

}  // namespace kelvarine
