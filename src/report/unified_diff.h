#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/app_state.h"
#include "engine/file_system.h"
#include "engine/report_step.h"
#include "report/diff_output.h"
#include "report/unified_hunks.h"

namespace kelvarine {

struct UnifiedDiffOptions {
  int context = 3;                      // context lines around each change
  std::string pairCommand = "diff -u";  // the line's start before each pair of a directory compare
  bool listUnpaired = false;            // all like-named files: "Only in" for the files left unpaired
  // With a file system (diff -N): a file left unpaired is diffed against an empty file, read through it.
  FileSystem* absentAsEmpty = nullptr;
};

// The options kelvarine-cli -u writes its diff with: `context` lines (-u=N), the pairs' lines naming the
// command as diff would be called ("diff -ru", "diff -r -N --unified=5"), and for a compare of all
// like-named files (`allLikeNamed`) the files of one side only. -N also needs absentAsEmpty.
UnifiedDiffOptions UnifiedDiffCommandOptions(int context, bool recursive, bool newFile, bool allLikeNamed);

// The modification time as diff's file header shows it: "%Y-%m-%d %H:%M:%S.NNNNNNNNN %z", local time.
std::string DiffTimestamp(FileStamp stamp);

// The report step that writes a unified diff from Old to New instead of the report: hunks from the
// engine's own pairing, chunk by chunk, with the lines' raw bytes copied from the files. A matched pair
// is context when its bytes are equal or, with a filter chosen (Dp option, Icas, Ccol, Rovr, Xtab), when
// the engine takes it as an exact match; moved and reformatted lines are changes.
class UnifiedDiff : public ReportStep {
 public:
  UnifiedDiff(const AppState& app, DiffOutput& out, UnifiedDiffOptions options = {});
  ~UnifiedDiff() override;

  void GenerateReport(CompareContext& context) override;
  // Writes the "Only in" lines not yet written; called once after the set, also when it ran no pair.
  void finishSet();
  // Some pair differed, or a file was on one side only.
  bool differences() const { return differences_; }

 private:
  struct PairDiff;
  struct OnlyIn {
    std::string name;
    bool isNew;
  };
  void startPair(CompareContext& context);
  void writeOnlyIn(const std::string* before);
  bool writeAgainstEmpty(const OnlyIn& entry);

  const AppState& app_;
  DiffOutput& out_;
  UnifiedDiffOptions options_;
  std::unique_ptr<PairDiff> pair_;
  int pairIndex_ = -1;
  bool differences_ = false;
  bool onlyInListed_ = false;
  std::vector<OnlyIn> onlyIn_;  // unpaired names of a like-named directory compare, in name order
  std::size_t onlyInWritten_ = 0;
};

}  // namespace kelvarine
