#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <vector>

#include "engine/compare_context.h"
#include "engine/report_step.h"

namespace kelvarine {

// What one GenerateReport call saw.
struct ReportCall {
  int pair = 0;
  bool binary = false, allRead = false;
  std::vector<int> newNumbers, oldNumbers;  // LineBase + i of each record of the chunk
};

// A report step that records each call and keeps the set totals the run status is chosen from
// (a stand-in for the real report: inserts and deletes count the unmatched lines of a chunk).
class RecordingReport : public ReportStep {
 public:
  std::vector<ReportCall> calls;
  std::function<void(CompareContext&)> onCall;  // runs before the totals are added

  void GenerateReport(CompareContext& c) override {
    const PairState& p = c.pair();
    ReportCall& call = calls.emplace_back();
    call.pair = c.app.CurrentPairIndex;
    call.binary = p.Binary;
    call.allRead = p.AllRead;
    if (!p.Binary && !p.AeqfEqual) {
      for (int i = 1; i <= c.newInput.Count; ++i)
        call.newNumbers.push_back(c.newInput.LineBase + i);
      for (int i = 1; i <= c.oldInput.Count; ++i)
        call.oldNumbers.push_back(c.oldInput.LineBase + i);
    }
    if (onCall) onCall(c);
    tally(c);
  }

 private:
  static void tally(CompareContext& c) {
    CompareOptions& o = c.options();
    const PairState& p = c.pair();
    if (p.Binary) {
      o.TotNewBinBytes += p.NewBinBytes;
      o.TotOldBinBytes += p.OldBinBytes;
    } else if (!p.AeqfEqual) {
      o.TotNewLines += c.newInput.Count;
      o.TotOldLines += c.oldInput.Count;
      if (p.FilesDiffer) {
        int matched = 0;
        for (int i = 1; i <= c.newInput.Count; ++i)
          matched += c.newTable[i].Matched ? 1 : 0;
        o.TotInserts += c.newInput.Count - matched;
        o.TotDeletes += c.oldInput.Count - matched;
      }
    }
    if (p.AllRead) o.HighestCode = std::max(o.HighestCode, p.ReturnCode);
  }
};

}  // namespace kelvarine
