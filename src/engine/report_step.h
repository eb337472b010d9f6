#pragma once

namespace kelvarine {

struct CompareContext;

// The report seam: the compare run and the pair text compare hand each chunk of a text pair, each
// binary or Aeqf pair, and a last pair skipped by Txfo to it. The report implements it.
class ReportStep {
 public:
  virtual ~ReportStep() = default;
  virtual void GenerateReport(CompareContext& context) = 0;
};

}  // namespace kelvarine
