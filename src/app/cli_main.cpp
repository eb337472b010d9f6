// kelvarine-cli: compares a New and an Old file or directory and writes the report to standard output.

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <string_view>
#include <thread>

#include "app/cli_options.h"
#include "app/git_external.h"
#include "app/input_staging.h"
#include "app/posix_file_system.h"
#include "app/terminal_colour.h"
#include "app/terminal_host.h"
#include "engine/app_state.h"
#include "engine/compare_choices.h"
#include "engine/line_list.h"
#include "report/report_generator.h"
#include "report/unified_diff.h"
#include "ui/compare_flows.h"
#include "ui/ini_file.h"
#include "ui/like_name_selection.h"
#include "ui/main_panel_state.h"
#include "ui/report_save.h"
#include "ui/report_stamp.h"
#include "ui/settings_file.h"
#include "ui/two_list_selection.h"
#include "ui/viewer_model.h"

namespace {

constexpr int kErrorExit = 2;

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

  void write(const std::string& line) {
    open();
    const std::string_view escape = colourOf_ ? colourOf_(line) : std::string_view();
    if (stream_ == nullptr || !put(escape) || !put(line) ||
        (!escape.empty() && !put(kelvarine::kColourReset)) || std::fputc('\n', stream_) == EOF)
      failed_ = true;
  }
  void write(const kelvarine::LineList& lines) {
    for (const std::string& line : lines.lines())
      write(line);
  }
  // Starts each line with the escape `colourOf` gives it, and resets the colour after a coloured line.
  void setColouring(std::function<std::string_view(const std::string&)> colourOf) {
    colourOf_ = std::move(colourOf);
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
  std::function<std::string_view(const std::string&)> colourOf_;
};

// Both streams write to one terminal.
bool SameTerminal(std::FILE* a, std::FILE* b) {
  struct stat sa {
  }, sb{};
  return isatty(fileno(a)) != 0 && isatty(fileno(b)) != 0 && fstat(fileno(a), &sa) == 0 &&
         fstat(fileno(b), &sb) == 0 && sa.st_rdev == sb.st_rdev;
}

// Runs the compare; messages and the status text go to `messages`.
int run(const kelvarine::CliOptions& options, std::FILE* messages) {
  using namespace kelvarine;
  AppState app;
  app.choices = options.choices;
  app.optionsString = options.optionsString;
  app.Jobs =
      options.jobs > 0 ? options.jobs : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  CommandLineFileSystem files;

  TerminalHost::Settings settings;
  settings.showProgress = !options.noProgress && !options.quiet && isatty(fileno(stderr)) != 0;
  settings.answerYes = options.answerYes;
  TerminalHost host(app, messages, settings);
  // Ctrl-C halts from the start: it also ends a wait for standard input or a pipe.
  TerminalHost::InstallInterruptHandler();

  // --settings: the file's choices as "Load User Ini" reads them, then the flags given over them; the
  // file's New and Old names and compare type serve when the command line gives none.
  std::string newName = options.newName, oldName = options.oldName;
  std::string loadedCompareType;
  if (!options.settingsFile.empty()) {
    MainPanelState panel;
    SettingsServices services{panel, app, files, host};
    std::filesystem::path settingsPath;
    app.choices.compareType.clear();  // stays empty when the file names no compare type
    if (!LoadUserIni(services, options.settingsFile, settingsPath)) return kErrorExit;
    // The desktop program skips a compare or listing type it does not know; here it is an error.
    std::ifstream in(settingsPath, std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (const std::string error =
            ApplySettingsTypes(IniFile(text).sectionEntries(kSettingsSection), app.choices);
        !error.empty()) {
      host.writeLine("kelvarine-cli: " + error + "\nRun with --help for more information.");
      return kErrorExit;
    }
    // A hand-written selection may leave out the ";" after its last entry.
    for (std::string* saved : {&app.SavedLikeNameSelection, &app.SavedPairSelection})
      if (!saved->empty() && saved->back() != ';') *saved += ';';
    ApplyGivenChoices(options, app.choices, app.optionsString);
    if (newName.empty()) newName = panel.MnCbNewDirNm.text;
    if (oldName.empty()) oldName = panel.MnCbOldDirNm.text;
    loadedCompareType = app.choices.compareType;
    if (newName.empty() || oldName.empty()) {
      host.writeLine(
          "kelvarine-cli: NEW and OLD are given neither on the command line nor in the settings file");
      return kErrorExit;
    }
  }
  // A stream is read once into a private copy, before anything looks at what NEW and OLD name.
  for (const std::string& name : {newName, oldName}) {
    std::string problem;
    const auto staging = files.stage(
        name, [&host] { return host.haltRequested(); }, problem);
    if (staging == CommandLineFileSystem::Staging::Interrupted) return 130;
    if (staging == CommandLineFileSystem::Staging::Failed) {
      host.writeLine("kelvarine-cli: " + name + ": " + problem);
      return kErrorExit;
    }
  }
  if (options.compareType == 0 && loadedCompareType.empty()) {
    if (const std::string error = PairDirectoryWithFile(files, newName, oldName); !error.empty()) {
      host.writeLine("kelvarine-cli: " + error);
      return kErrorExit;
    }
  }
  if (options.compareType != 0) {
    app.choices.compareType = kCompareTypes[static_cast<std::size_t>(options.compareType - 1)];
  } else if (loadedCompareType.empty()) {
    const int compareType = DefaultCompareType(files, newName, oldName);
    app.choices.compareType = kCompareTypes[static_cast<std::size_t>(compareType - 1)];
  }
  // The Old-side list exists only with Sbsl: without it the file is refused before it is ever opened.
  if (!options.oldListFile.empty() && !app.choices.isChecked(Pref::Sbsl)) {
    host.writeLine(
        "kelvarine-cli: --old-list needs Sbsl among the options (-o Sbsl)\n"
        "Run with --help for more information.");
    return kErrorExit;
  }
  // A unified diff has no report to lay out side by side or in source columns.
  const bool unified = options.unified >= 0;
  // With -q only the exit status is wanted: the run may stop as soon as it is decided. A diff (whose
  // differences are not the report's) and anything saved still need the whole run.
  app.StopWhenDecided = options.quiet && !unified && options.saveFile.empty() && options.oldListFile.empty();
  if (unified && (app.choices.isChecked(Pref::Sbsl) || app.choices.isChecked(Pref::Fscl))) {
    host.writeLine(
        "kelvarine-cli: -u writes a diff, not a report: the Sbsl and Fscl options cannot go with it\n"
        "Run with --help for more information.");
    return kErrorExit;
  }
  const std::string& type = app.choices.compareType;
  const int compareType = type == kCompareTypes[0]   ? 1
                          : type == kCompareTypes[1] ? 2
                          : type == kCompareTypes[2] ? 3
                                                     : 4;

  // Without --save nothing needs the whole report after the run: its lines go out as they are made
  // and are dropped, so that memory does not grow with the report. What is held goes out at the end.
  LineOutput reportOut(stdout);
  const bool coloured =
      ColourWanted(options.colour, isatty(fileno(stdout)) != 0, std::getenv("TERM"), std::getenv("NO_COLOR"));
  if (coloured) {
    reportOut.setColouring(
        [&app, colouring = ReportColouring(ColourDepthFor(std::getenv("COLORTERM")))](
            const std::string& line) { return colouring.escapeFor(line, app.options.ListChng); });
  }
  LineOutput oldListOut(options.oldListFile, app, files);
  if (options.saveFile.empty()) {
    app.reportLines.spillTo([&](const std::string& line) {
      if (!options.quiet && !unified) reportOut.write(line);
    });
    app.oldSideLines.spillTo([&](const std::string& line) {
      if (!options.oldListFile.empty()) oldListOut.write(line);
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

  // A name that cannot be used is named with the system's reason before the program's own message; a
  // regular file that cannot be read is not refused: the run's message about it gives the reason.
  bool unusableName = false;
  for (const std::string& name : {newName, oldName}) {
    const std::string problem = files.problem(name);
    if (!problem.empty() && files.kind(name) != FileSystem::Kind::File)
      host.writeLine("kelvarine-cli: " + name + ": " + problem);
    unusableName = unusableName || !problem.empty();
  }

  const FlowResult result = MnButStartClick(flow, newName, oldName);
  if (unified) diff.finishSet();
  if (result.outcome == FlowOutcome::NoPairs && !unusableName) {
    // Two directories without a like-named pair: equivalent only when neither holds a file.
    return app.UnpairedNewCount + app.UnpairedOldCount == 0 ? 0 : 1;
  }
  if (result.outcome != FlowOutcome::Ran) {
    if (compareType >= 3 && result.outcome == FlowOutcome::Stopped)
      host.writeLine("kelvarine-cli: nothing was selected to compare");
    return host.haltRequested() ? 130 : kErrorExit;
  }

  bool failed = false;
  if (unified) {
    if (std::fflush(stdout) != 0 || plainDiff.failed() || colouredDiff.failed()) {
      host.writeLine("kelvarine-cli: cannot write the diff to standard output");
      failed = true;
    }
    // diff writes nothing but the diff: the status line goes out only when it reports an error.
    if (result.status.rfind("ERROR", 0) == 0) host.writeLine(result.status);
  } else if (!options.quiet) {
    reportOut.write(app.reportLines);
    if (!reportOut.finish()) {
      host.writeLine("kelvarine-cli: cannot write the report to standard output");
      failed = true;
    }
  }
  if (!options.oldListFile.empty()) {
    oldListOut.write(app.oldSideLines);
    if (!oldListOut.finish()) {
      host.writeLine("kelvarine-cli: cannot write the Old-side list to \"" + options.oldListFile + "\"" +
                     (oldListOut.isInput() ? ": it is an input file" : ""));
      failed = true;
    }
  }
  if (!options.saveFile.empty() && files.isStagedSource(options.saveFile)) {
    host.writeLine(" The report was not saved: \"" + options.saveFile +
                   "\" is the file standard input was read from.");
    failed = true;
  } else if (!options.saveFile.empty()) {
    // As the single-panel viewer saves the report, or with Sbsl the dual-panel one, stacked.
    SaveSource source;
    source.dual = app.options.Sbsl && !app.oldSideLines.empty();
    source.reportStamp = ReportStamp();
    source.caption = ShowReport(app, app.options.Sbsl, source.reportStamp).caption;
    std::string reason;
    const SaveOutcome saved = SaveReport(options.saveFile, app, host, source, {}, &reason);
    if (saved == SaveOutcome::Failed) host.writeLine("kelvarine-cli: " + options.saveFile + ": " + reason);
    if (saved != SaveOutcome::Saved) failed = true;
  }
  // The report on standard output ends with the status line; a terminal shows it once.
  if (!unified && (options.quiet || !SameTerminal(stdout, stderr))) host.writeLine(result.status);
  int status = ExitStatusForRun(result.status, host.haltRequested());
  // As diff -r: a file on one side only of a directory compare is a difference, a directory that
  // could not be read an error.
  // Line ends and TABs that the compare reads alike are still differences in a diff.
  if (status == 0 && unified && diff.differences()) status = 1;
  if (status == 0 && compareType == 2 && app.UnpairedNewCount + app.UnpairedOldCount > 0) status = 1;
  if (app.UnreadableDirCount > 0 && status != 130) status = kErrorExit;
  return failed && status != 130 ? kErrorExit : status;
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
    if (status == kErrorExit) std::fwrite(held, 1, size, stderr);
    std::free(held);
  }
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  if (kelvarine::IsGitExternalCall(argc, argv)) return kelvarine::RunGitExternal(argc, argv, runCommandLine);
  return runCommandLine(argc, argv);
}
