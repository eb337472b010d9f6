#pragma once

namespace kelvarine {

struct CompareContext;
struct CompareOptions;

// The report seam: the compare run and the pair text compare hand each chunk of a text pair, each
// binary or Aeqf pair, and a last pair skipped by Txfo to it. The report implements it.
class ReportStep {
 public:
  virtual ~ReportStep() = default;
  virtual void GenerateReport(CompareContext& context) = 0;
  // Whether the report reads the line records of a chunk whose New and Old lines are all alike. When
  // it does not, a text pair of two files with the same bytes is compared without line records.
  virtual bool readsEqualChunkLines(const CompareOptions& options) const {
    (void)options;
    return true;
  }
};

}  // namespace kelvarine
