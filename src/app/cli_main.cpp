// kelvarine-cli: compares a New and an Old file or directory and writes the report to standard output.

#include <sys/stat.h>
#include <unistd.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/cli_options.h"
#include "app/cli_run.h"
#include "app/git_external.h"
#include "app/input_staging.h"
#include "app/posix_file_system.h"
#include "app/terminal_colour.h"
#include "app/terminal_host.h"
#include "engine/app_state.h"
#include "engine/compare_choices.h"
#include "engine/line_list.h"
#include "report/facing_changes.h"
#include "report/report_generator.h"
#include "report/unified_diff.h"
#include "ui/compare_flows.h"
#include "ui/like_name_selection.h"
#include "ui/report_save.h"
#include "ui/report_stamp.h"
#include "ui/two_list_selection.h"
#include "ui/viewer_model.h"

namespace {

// The selection windows of compare types 3 and 4, driven by --mask, --select, --select-all and --pair
// instead of clicks: the names are picked as a user would pick them, then Start Compare is pressed.
class CommandLineSelection : public kelvarine::SelectionWindows {
 public:
  CommandLineSelection(const kelvarine::CliOptions& options, kelvarine::TerminalHost& host,
                       kelvarine::FlowServices& flow)
      : options_(options), host_(host), flow_(flow) {}

  void showLikeNameSelection(kelvarine::LikeNameSelection& window) override {
    if (!options_.mask.empty()) window.changeFilter(flow_.files, options_.mask);
    for (const std::string& name : options_.selected) {
      if (!window.paired().highlight(name)) {
        host_.writeLine("kelvarine-cli: --select: \"" + name + "\" is not among the like-named files");
        return;
      }
    }
    if (!options_.selected.empty()) window.selectHighlighted(host_);
    if (options_.selectAll) window.selectAllPaired();
    window.startCompare(flow_);
  }

  void showTwoListSelection(kelvarine::TwoListSelection& window) override {
    using kelvarine::PairSide;
    if (!options_.mask.empty()) {
      window.changeFilter(flow_.files, PairSide::New, options_.mask);
      window.changeFilter(flow_.files, PairSide::Old, options_.mask);
    }
    for (const auto& [newName, oldName] : options_.pairs) {
      if (!window.highlightFile(PairSide::New, newName) || !window.highlightFile(PairSide::Old, oldName)) {
        host_.writeLine("kelvarine-cli: --pair: \"" + newName + ":" + oldName +
                        "\" does not name a listed New file and a listed Old file");
        return;
      }
      window.selectPair(host_);
    }
    window.startCompare(flow_);
  }

 private:
  const kelvarine::CliOptions& options_;
  kelvarine::TerminalHost& host_;
  kelvarine::FlowServices& flow_;
};

// A text output of report lines, "\n"-terminated: standard output, or a file opened when first
// written (a run refused before it compares leaves no file behind) and never over one of the run's
// input files. Remembers a write failure.
class LineOutput {
 public:
  explicit LineOutput(std::FILE* stream) : stream_(stream) {}
  LineOutput(std::string path, const kelvarine::AppState& app, const kelvarine::CommandLineFileSystem& files)
      : path_(std::move(path)), app_(&app), files_(&files) {}
  ~LineOutput() {
    if (stream_ != nullptr && !path_.empty()) std::fclose(stream_);
  }
  LineOutput(const LineOutput&) = delete;
  LineOutput& operator=(const LineOutput&) = delete;

  // Writes line `index` of its list.
  void write(std::size_t index, const std::string& line) {
    open();
    if (stream_ == nullptr || !put(colouring_ ? colouring_(index, line) : line) ||
        std::fputc('\n', stream_) == EOF)
      failed_ = true;
  }
  // Writes the lines `lines` still holds.
  void write(const kelvarine::LineList& lines) {
    std::size_t index = lines.size() - lines.lines().size();
    for (const std::string& line : lines.lines())
      write(index++, line);
  }
  // Writes each line as `colouring` gives it (from its index and text): with its escapes.
  void setColouring(std::function<std::string(std::size_t, const std::string&)> colouring) {
    colouring_ = std::move(colouring);
  }
  bool isInput() const { return isInput_; }
  // Flushes (a file: closes) the output; false when some write failed.
  bool finish() {
    open();
    if (stream_ == nullptr) return false;
    const bool ok = path_.empty() ? std::fflush(stream_) == 0 : std::fclose(stream_) == 0;
    if (!path_.empty()) stream_ = nullptr;
    return ok && !failed_;
  }

 private:
  void open() {
    if (stream_ != nullptr || failed_) return;
    isInput_ = kelvarine::IsRunInputFile(*app_, path_) || files_->isStagedSource(path_);
    if (!isInput_) stream_ = std::fopen(path_.c_str(), "wb");
    failed_ = stream_ == nullptr;
  }
  // An empty view may hold no pointer at all, which fwrite must not be given.
  bool put(std::string_view text) {
    return text.empty() || std::fwrite(text.data(), 1, text.size(), stream_) == text.size();
  }

  std::string path_;
  const kelvarine::AppState* app_ = nullptr;
  const kelvarine::CommandLineFileSystem* files_ = nullptr;
  std::FILE* stream_ = nullptr;
  bool failed_ = false;
  bool isInput_ = false;
  std::function<std::string(std::size_t, const std::string&)> colouring_;
};

// Both streams write to one terminal.
bool SameTerminal(std::FILE* a, std::FILE* b) {
  struct stat sa {
  }, sb{};
  return isatty(fileno(a)) != 0 && isatty(fileno(b)) != 0 && fstat(fileno(a), &sa) == 0 &&
         fstat(fileno(b), &sb) == 0 && sa.st_rdev == sb.st_rdev;
}

// --save: as the single-panel viewer saves the report, or with Sbsl the dual-panel one, stacked; never
// over the file standard input was read from. False when the report was not saved.
bool saveReport(const kelvarine::CliOptions& options, kelvarine::AppState& app,
                const kelvarine::CommandLineFileSystem& files, kelvarine::TerminalHost& host) {
  using namespace kelvarine;
  if (files.isStagedSource(options.saveFile)) {
    host.writeLine(" The report was not saved: \"" + options.saveFile +
                   "\" is the file standard input was read from.");
    return false;
  }
  SaveSource source;
  source.dual = app.options.Sbsl && !app.oldSideLines.empty();
  source.reportStamp = ReportStamp();
  source.caption = ShowReport(app, app.options.Sbsl, source.reportStamp).caption;
  std::string reason;
  const SaveOutcome saved = SaveReport(options.saveFile, app, host, source, {}, &reason);
  if (saved == SaveOutcome::Failed) host.writeLine("kelvarine-cli: " + options.saveFile + ": " + reason);
  return saved == SaveOutcome::Saved;
}

// Everything before the compare: settings, staged inputs, the compare type and the refusals. Returns
// the exit status when the run ends here.
std::optional<int> prepare(const kelvarine::CliOptions& options, kelvarine::AppState& app,
                           kelvarine::CommandLineFileSystem& files, kelvarine::TerminalHost& host,
                           kelvarine::RunInputs& inputs) {
  using namespace kelvarine;
  std::string why;
  const auto refused = [&host, &why] {
    // A settings file that cannot be loaded has named its trouble already.
    if (!why.empty()) host.writeLine("kelvarine-cli: " + why);
    return kExitError;
  };
  if (!options.settingsFile.empty() && !LoadSettingsFile(options, app, files, host, inputs, &why))
    return refused();
  const auto staging = StageInputs(
      files, inputs, [&host] { return host.haltRequested(); }, &why);
  if (staging == CommandLineFileSystem::Staging::Interrupted) return kExitHalted;
  if (staging == CommandLineFileSystem::Staging::Failed) return refused();
  if (!ChooseCompareType(options, files, inputs, app.choices, &why) ||
      !CheckChoicesFit(options, app.choices, &why))
    return refused();
  app.StopWhenDecided = StopsWhenDecided(options);
  return std::nullopt;
}

// Runs the compare; messages and the status text go to `messages`.
int run(const kelvarine::CliOptions& options, std::FILE* messages) {
  using namespace kelvarine;
  AppState app;
  SetUpRun(options, app);
  CommandLineFileSystem files;

  TerminalHost::Settings settings;
  settings.showProgress = !options.noProgress && !options.quiet && isatty(fileno(stderr)) != 0;
  settings.answerYes = options.answerYes;
  TerminalHost host(app, messages, settings);
  // Ctrl-C halts from the start: it also ends a wait for standard input or a pipe.
  TerminalHost::InstallInterruptHandler();

  RunInputs inputs{options.newName, options.oldName, {}};
  if (const std::optional<int> ended = prepare(options, app, files, host, inputs)) return *ended;
  const bool unified = options.unified >= 0;
  const int compareType = CompareTypeNumber(app.choices.compareType);

  // Without --save nothing needs the whole report after the run: its lines go out as they are made
  // and are dropped, so that memory does not grow with the report. What is held goes out at the end.
  LineOutput reportOut(stdout);
  const bool coloured =
      ColourWanted(options.colour, isatty(fileno(stdout)) != 0, std::getenv("TERM"), std::getenv("NO_COLOR"));
  // A saved report and a coloured one mark what changed inside paired change lines. The Old side of a
  // side-by-side report goes to a file of its own, uncoloured: only a one-list report is marked on a
  // terminal.
  app.FacingRowsWanted = !options.saveFile.empty() ||
                         (coloured && !options.quiet && !unified && !app.choices.isChecked(Pref::Sbsl));
  if (coloured) {
    reportOut.setColouring([&app, colouring = ReportColouring(ColourDepthFor(std::getenv("COLORTERM")))](
                               std::size_t index, const std::string& line) {
      return colouring.colouredLine(
          line, app.options.ListChng,
          FacingChangeSpans(app, /*oldSideList=*/false, static_cast<std::int64_t>(index)));
    });
  }
  LineOutput oldListOut(options.oldListFile, app, files);
  if (options.saveFile.empty()) {
    app.reportLines.spillTo([&](std::size_t index, const std::string& line) {
      if (!options.quiet && !unified) reportOut.write(index, line);
    });
    app.oldSideLines.spillTo([&](std::size_t index, const std::string& line) {
      if (!options.oldListFile.empty()) oldListOut.write(index, line);
    });
  }

  ReportGenerator generator;
  std::FILE* diffStream = options.quiet ? nullptr : stdout;
  PlainDiffOutput plainDiff(diffStream);
  ColouredDiffOutput colouredDiff(diffStream);
  DiffOutput& diffOut = coloured ? static_cast<DiffOutput&>(colouredDiff) : plainDiff;
  UnifiedDiffOptions diffOptions = UnifiedDiffCommandOptions(options.unified, app.choices.includeSubdirs,
                                                             options.newFile, compareType == 2);
  if (options.newFile) diffOptions.absentAsEmpty = &files;
  UnifiedDiff diff(app, diffOut, diffOptions);
  ReportStep& report = unified ? static_cast<ReportStep&>(diff) : generator;
  FlowServices flow{app, host, files, report};
  LikeNameSelection likeNames;
  TwoListSelection twoLists;
  CommandLineSelection windows(options, host, flow);
  SelectionServices selection{likeNames, twoLists, windows};
  flow.selection = &selection;

  // A name that cannot be used is named with the system's reason before the program's own message.
  std::vector<std::string> unusable;
  const bool unusableName = FindUnusableNames(files, inputs, unusable);
  for (const std::string& named : unusable)
    host.writeLine("kelvarine-cli: " + named);

  const FlowResult result = MnButStartClick(flow, inputs.newName, inputs.oldName);
  if (unified) diff.finishSet();
  const bool anyUnpaired = app.UnpairedNewCount + app.UnpairedOldCount > 0;
  if (result.outcome != FlowOutcome::Ran) {
    if (compareType >= 3 && result.outcome == FlowOutcome::Stopped)
      host.writeLine("kelvarine-cli: nothing was selected to compare");
    return ExitStatusWithoutRun(result.outcome, unusableName, anyUnpaired, host.haltRequested());
  }

  RunEnd end{result.status.code};
  if (unified) {
    if (std::fflush(stdout) != 0 || plainDiff.failed() || colouredDiff.failed()) {
      host.writeLine("kelvarine-cli: cannot write the diff to standard output");
      end.outputFailed = true;
    }
    // diff writes nothing but the diff: the status line goes out only when it reports an error.
    if (IsRunError(result.status.code)) host.writeLine(result.status.text);
  } else if (!options.quiet) {
    reportOut.write(app.reportLines);
    if (!reportOut.finish()) {
      host.writeLine("kelvarine-cli: cannot write the report to standard output");
      end.outputFailed = true;
    }
  }
  if (!options.oldListFile.empty()) {
    oldListOut.write(app.oldSideLines);
    if (!oldListOut.finish()) {
      host.writeLine("kelvarine-cli: cannot write the Old-side list to \"" + options.oldListFile + "\"" +
                     (oldListOut.isInput() ? ": it is an input file" : ""));
      end.outputFailed = true;
    }
  }
  if (!options.saveFile.empty() && !saveReport(options, app, files, host)) end.outputFailed = true;
  // The report on standard output ends with the status line; a terminal shows it once.
  if (!unified && (options.quiet || !SameTerminal(stdout, stderr))) host.writeLine(result.status.text);
  end.halted = host.haltRequested();
  // As diff -r: a file on one side only of a directory compare is a difference, a directory that
  // could not be read an error. Line ends and TABs that the compare reads alike are still differences
  // in a diff.
  end.diffDiffers = unified && diff.differences();
  end.fileOnOneSide = compareType == 2 && anyUnpaired;
  end.unreadableDirectory = app.UnreadableDirCount > 0;
  return ExitStatusForRun(end);
}

// Reads the arguments and runs: everything main() does but git's external diff.
int runCommandLine(int argc, const char* const* argv) {
  std::setvbuf(stdout, nullptr, _IOFBF, std::size_t{1} << 16);  // the report goes out in large writes
  std::setlocale(LC_ALL, "");
  const kelvarine::CliParse parsed = kelvarine::ParseCommandLine(argc, argv);
  std::fputs(parsed.out.c_str(), stdout);
  std::fputs(parsed.err.c_str(), stderr);
  if (!parsed.run) return parsed.exitCode;
  if (!parsed.options.quiet) return run(parsed.options, stderr);
  // -q: the messages are held and shown only when the exit status says error.
  char* held = nullptr;
  std::size_t size = 0;
  std::FILE* messages = open_memstream(&held, &size);
  const int status = run(parsed.options, messages != nullptr ? messages : stderr);
  if (messages != nullptr) {
    std::fclose(messages);
    if (status == kelvarine::kExitError) std::fwrite(held, 1, size, stderr);
    std::free(held);
  }
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  if (kelvarine::IsGitExternalCall(argc, argv)) return kelvarine::RunGitExternal(argc, argv, runCommandLine);
  return runCommandLine(argc, argv);
}
