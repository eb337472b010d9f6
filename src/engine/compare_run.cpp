#include "engine/compare_run.h"

#include <algorithm>
#include <array>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/binary_compare.h"
#include "engine/compare_context.h"
#include "engine/identical_pair.h"
#include "engine/options_capture.h"
#include "engine/pair_text_compare.h"
#include "engine/read_ahead.h"
#include "engine/run_status.h"
#include "engine/text_reader.h"

namespace kelvarine {

namespace {

constexpr std::int64_t kTooLarge = std::int64_t{1} << 31;  // inputs of 2 GB and more are refused

// Gives the input its read and line buffers for the pair. They are kept from pair to pair: only the
// bytes a read put there are ever looked at, and a set of many small files need not pay for them each time.
void allocateBuffers(TextInput& input) {
  input.ReadBuf.resize(std::max<std::size_t>(input.ReadBuf.size(), TextInput::kReadBlock));
  input.LineBuf.resize(std::max<std::size_t>(input.LineBuf.size(), TextInput::kMaxLineLen));
}

void closeInput(TextInput& input) {
  input.Stream.reset();
}

// Opens one file of the pair and takes its size and stamp. On failure shows the side's message,
// marks the pair and its statistics entry and returns false.
bool openInput(CompareContext& context, TextInput& input, const std::string& directory,
               const std::string& name, const char* side, bool keepSize) {
  CompareOptions& options = context.options();
  PairState& pair = context.pair();
  input.FileName = joinPath(directory, name);
  input.Stream = context.files.openForReading(input.FileName);
  if (!input.Stream) {
    context.host.showMessage(WithReason(
        context.files,
        std::string("Error while trying to open valid ") + side + " Input File \"" + input.FileName + "\"",
        input.FileName));
    pair.ReturnCode = 4;
    options.InputOpenError = true;
    context.currentStats().OpenError = true;
    return false;
  }
  input.FileSize = input.Stream->size();
  if (keepSize) input.FileSizeKept = input.FileSize;
  input.FileDate = input.Stream->stamp();
  if (input.FileSize >= kTooLarge) {
    context.host.showMessage(std::string("Error - ") + side + " Input File \"" + input.FileName +
                             "\" GT 2GB can not be processed.");
    pair.ReturnCode = 4;
    options.InputTooLarge = true;
    context.currentStats().OpenError = true;
    return false;
  }
  return true;
}

// Prepares pair i: state cleared (options captured at the first pair), buffers allocated, both files
// opened, the Aeqf shortcut taken and the pair classified as text or binary.
void setUpPair(CompareContext& context, int i) {
  AppState& app = context.app;
  app.PairReady = false;
  if (i == 0) {
    app.options = CompareOptions{};
    app.pair = PairState{};
    context.newInput.clear(false);
    context.oldInput.clear(false);
    app.RunChoices = app.choices;
    CaptureCompareOptions(app.choices, app.options, app.pair, context.newInput, context.oldInput);
    app.OptionsCaptured = true;
  } else {
    app.pair = PairState{};
    context.newInput.clear(app.options.Ccol);
    context.oldInput.clear(app.options.Ccol);
  }
  CompareOptions& options = app.options;
  PairState& pair = app.pair;
  const auto index = static_cast<std::size_t>(i);

  context.stats.emplace_back();
  allocateBuffers(context.newInput);
  allocateBuffers(context.oldInput);
  pair.AllRead = true;
  // Invalid compare columns end the set before any file is touched.
  if (pair.StopSet) return;

  if (!openInput(context, context.newInput, app.NewDirName, app.NewFileList.at(index), "New", true)) return;
  if (!openInput(context, context.oldInput, app.OldDirName, app.OldFileList.at(index), "Old", false)) return;

  TextInput& n = context.newInput;
  TextInput& o = context.oldInput;
  PairStatistics& entry = context.currentStats();
  if (options.Aeqf && n.FileDate == o.FileDate && n.FileSize == o.FileSize) {
    pair.AeqfEqual = true;
    entry.TdlEqual = true;
    ++options.AeqfEqualPairs;
  }
  if (options.Abin || !IsTextFile(n, options)) {
    pair.Binary = true;
    entry.Binary = true;
  }
  app.PairReady = true;
}

// Releases what the pair holds: open files and the line texts of the last chunk.
void cleanUpPair(CompareContext& context) {
  closeInput(context.newInput);
  closeInput(context.oldInput);
  const PairState& pair = context.pair();
  const int newLines =
      std::clamp<std::int32_t>(std::max(pair.NewLines, context.newInput.Count), 0, LineTable::kMaxLines);
  const int oldLines =
      std::clamp<std::int32_t>(std::max(pair.OldLines, context.oldInput.Count), 0, LineTable::kMaxLines);
  for (int k = 1; k <= newLines; ++k)
    context.newTable.releaseText(k);
  for (int k = 1; k <= oldLines; ++k)
    context.oldTable.releaseText(k);
}

// Compares (or skips) the pair that was just set up.
void comparePair(CompareContext& context, int i) {
  AppState& app = context.app;
  PairState& pair = app.pair;
  CompareOptions& options = app.options;
  if (pair.ReturnCode != 0) return;
  if (!pair.Binary) {
    if (pair.AeqfEqual) {
      pair.AllRead = true;
      context.report.GenerateReport(context);
    } else if (!context.report.readsEqualChunkLines(options) && SameBytes(context)) {
      CompareIdenticalPair(context);
    } else {
      CompareTextPair(context);
    }
    // A pair left unfinished at its first change differs, as its whole report would have found.
    if (!pair.AllRead && PairDifferenceDecided(app)) {
      pair.ReturnCode = 1;
      options.HighestCode = std::max(options.HighestCode, 1);
    }
  } else if (options.Txfo) {
    // Every pair skipped here counts once among the binary pairs, whatever its position (the report
    // only sees the last one), so that the text-pair totals count text pairs only.
    ++options.TxfoSkipped;
    ++options.BinaryPairs;
    // The last pair still gets the report step, which writes the set's summary.
    if (i + 1 == app.PairCount) context.report.GenerateReport(context);
  } else {
    context.host.setActivityImages(true, false);
    CompareBinaryPair(context);
    if (!app.StopRequested) context.report.GenerateReport(context);
  }
}

// With several jobs, helper threads read the files of the pairs after the first ahead, and split and
// key their lines as the chunk loader would (once the options are captured and known to be valid).
void startReadingAhead(CompareContext& context, ReadAhead& readAhead) {
  const AppState& app = context.app;
  if (app.Jobs < 2 || app.PairCount < 2 || !readAhead.opensConcurrently()) return;
  std::vector<std::array<std::string, 2>> paths;
  paths.reserve(static_cast<std::size_t>(app.PairCount));
  for (std::size_t i = 0; i < static_cast<std::size_t>(app.PairCount); ++i)
    paths.push_back(
        {joinPath(app.NewDirName, app.NewFileList.at(i)), joinPath(app.OldDirName, app.OldFileList.at(i))});
  std::optional<LinePreparation> lines;
  if (!app.options.Abin) {
    lines.emplace();
    lines->options = {SplitOptionsOf(context.newInput, app.options),
                      SplitOptionsOf(context.oldInput, app.options)};
    // A bigger pair reads its lines on a helper of its own.
    lines->sizeBelow = app.ReadAheadMinSize < 0 ? ReadAhead::kFileLimit + 1 : app.ReadAheadMinSize;
    lines->textAlways = app.options.Txal;
    lines->identicalToo = context.report.readsEqualChunkLines(app.options);
  }
  readAhead.start(std::move(paths), 1, app.Jobs - 1, app.options.Aeqf, std::move(lines));
}

void runPairs(CompareContext& context, ReadAhead& readAhead) {
  AppState& app = context.app;
  Host& host = context.host;
  for (int i = 0; i < app.PairCount; ++i) {
    try {
      host.setProgressTitle("Dir.Progress");
      app.CurrentPairIndex = i;
      host.setProgressPosition(static_cast<int>(std::int64_t{i} * 100 / app.PairCount));
      readAhead.setCurrentPair(i);
      setUpPair(context, i);
      if (app.StopRequested || app.pair.StopSet) {
        cleanUpPair(context);
        break;
      }
      if (i == 0) startReadingAhead(context, readAhead);
      comparePair(context, i);
      cleanUpPair(context);
      if (SetStatusDecided(app)) break;
    } catch (...) {
      app.RunFailed = true;
      try {
        cleanUpPair(context);
      } catch (...) {
      }
      break;
    }
  }
}

}  // namespace

RunStatus CompareSet(AppState& app, Host& host, FileSystem& files, ReportStep& report) {
  ReadAhead readAhead(files);
  std::unique_ptr<CompareContext> context;
  try {
    app.PairCount = static_cast<std::int32_t>(app.NewFileList.size());
    app.OptionsCaptured = false;
    // The report's section marks and its listing-line counter belong to this set.
    app.SummaryToMainOnly = false;
    app.ListingLineCount = app.SummaryStartLine = app.GroupSummaryStart = app.ListingLinesWritten = 0;
    app.PairStatisticsList.clear();
    context = std::make_unique<CompareContext>(app, host, readAhead, report);
    host.setProgressVisible(true);
    host.setPercentText("0%");
    runPairs(*context, readAhead);
  } catch (...) {
    app.RunFailed = true;
  }
  try {
    readAhead.stop();
  } catch (...) {
    app.RunFailed = true;
  }

  RunStatus status;
  std::string text;
  try {
    status.code = ChooseRunStatus(app);
    text = RunStatusText(status.code, app.options);
  } catch (...) {
    status.code = RunStatusCode::Fault;
    text = kRunFault;
  }
  try {
    status.text = text.substr(0, kStatusShown);
    app.reportLines.addAlways(text);
  } catch (...) {
  }
  if (context) app.PairStatisticsList = std::move(context->stats);
  context.reset();  // both text inputs go with the context
  try {
    host.setProgressVisible(false);
  } catch (...) {
  }
  return status;
}

}  // namespace kelvarine
