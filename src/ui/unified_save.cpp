#include "ui/unified_save.h"

#include <cerrno>
#include <ostream>
#include <system_error>

#include "engine/compare_run.h"
#include "engine/quiet_host.h"
#include "engine/std_file_system.h"
#include "report/unified_diff.h"

namespace kelvarine {
namespace {

// The diff's lines on a stream, each ended by "\n", as kelvarine-cli writes them to standard output.
class StreamDiffOutput : public DiffOutput {
 public:
  explicit StreamDiffOutput(std::ostream& out) : out_(out) {}
  void line(DiffLineKind, std::string_view text) override { out_ << text << '\n'; }

 private:
  std::ostream& out_;
};

// The run behind a save talks to the user through `host` but leaves the main window's status and
// progress showing the run whose report is open.
class SaveRunHost : public QuietHost {
 public:
  explicit SaveRunHost(Host& host) : host_(host) {}
  void processEvents() override { host_.processEvents(); }
  void showMessage(const std::string& text) override { host_.showMessage(text); }
  bool askYesNo(const std::string& question) override { return host_.askYesNo(question); }
  std::string formatDateTime(FileStamp stamp) override { return host_.formatDateTime(stamp); }

 private:
  Host& host_;
};

}  // namespace

AppState UnifiedDiffRerun(const AppState& lastRun) {
  AppState rerun;
  rerun.NewFileList = lastRun.NewFileList;
  rerun.OldFileList = lastRun.OldFileList;
  rerun.NewDirName = lastRun.NewDirName;
  rerun.OldDirName = lastRun.OldDirName;
  rerun.UnpairedNewCount = lastRun.UnpairedNewCount;
  rerun.UnpairedOldCount = lastRun.UnpairedOldCount;
  rerun.NewDirNames = lastRun.NewDirNames;
  rerun.OldDirNames = lastRun.OldDirNames;
  rerun.newNameText = lastRun.newNameText;
  rerun.oldNameText = lastRun.oldNameText;
  rerun.choices = lastRun.RunChoices;
  // The flows set their flags only while their set runs: the compare type the set ran with tells.
  const std::string& type = rerun.choices.compareType;
  rerun.RunAllLikeNamed = type == kCompareTypes[1];
  rerun.RunFromLikeNameList = type == kCompareTypes[2];
  rerun.RunFromTwoLists = type == kCompareTypes[3];
  rerun.choices.setChecked(Pref::Sbsl, false);
  rerun.choices.setChecked(Pref::Fscl, false);
  return rerun;
}

SaveOutcome SaveUnifiedDiff(const std::string& givenPath, AppState& rerun, Host& host, FileSystem& files) {
  if (IsRunInputFile(rerun, givenPath)) {
    host.showMessage(" The unified diff was not saved: \"" + givenPath +
                     "\" is an input file of the last compare run.");
    return SaveOutcome::Refused;
  }
  const std::string path = ResolveTargetPath(givenPath);
  rerun.StopRequested = false;
  SaveRunHost runHost(host);
  RunStatus status;
  int error = 0;
  const WriteEnd end = WriteFileReplacing(
      path,
      [&](std::ostream& out) {
        StreamDiffOutput lines(out);
        UnifiedDiff diff(
            rerun, lines,
            UnifiedDiffCommandOptions(3, rerun.choices.includeSubdirs, false, rerun.RunAllLikeNamed));
        status = CompareSet(rerun, runHost, files, diff);
        diff.finishSet();
        out.flush();
        if (!out) return WriteEnd::Failed;
        return rerun.StopRequested ? WriteEnd::Halted : WriteEnd::Complete;
      },
      false, error);
  if (end == WriteEnd::Failed) {
    host.showMessage(" Error generating unified diff output: " +
                     std::generic_category().message(error != 0 ? error : EIO) + ".");
    return SaveOutcome::Failed;
  }
  if (end == WriteEnd::Halted) {
    host.showMessage(" User requested early termination of the unified diff save: nothing was saved.");
    return SaveOutcome::Halted;
  }
  if (IsRunError(status.code)) host.showMessage(status.text);
  return SaveOutcome::Saved;
}

}  // namespace kelvarine
