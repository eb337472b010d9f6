#include "engine/pair_text_compare.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "engine/dp_filters.h"
#include "engine/engine_fault.h"
#include "engine/line_feed.h"
#include "engine/line_matcher.h"
#include "engine/run_status.h"
#include "engine/text_reader.h"

namespace kelvarine {

namespace {

constexpr std::int64_t kProgressThreshold = 400000;

void toggleTwice(Host& host) {
  host.toggleActivityImages();
  host.toggleActivityImages();
}

// Moves the input past the lines of this chunk that were kept; the next chunk starts behind them.
void advance(TextInput& input, const LineTable& table) {
  const std::int32_t kept = std::clamp<std::int32_t>(input.Count, 0, LineTable::kMaxLines);
  input.LinesDone += kept;
  if (kept > 0) input.FilePos = table[kept].EndPos;
}

// For a big pair, a helper thread reads, splits and keys the lines of both files ahead of the chunk
// loop while the caller matches and lists; it works on bytes only. Each side reads through its own view
// of the open file; the caller's view stays the input's Stream. Undone when the pair's compare ends.
class ReadAheadSession {
 public:
  explicit ReadAheadSession(CompareContext& context) : context_(context) {
    TextInput& n = context.newInput;
    TextInput& o = context.oldInput;
    const std::int64_t from = context.app.ReadAheadMinSize;
    if (context.app.Jobs < 2 || from < 0 || !n.Stream || !o.Stream || std::max(n.FileSize, o.FileSize) < from)
      return;
    newSide_.wrap(n);
    oldSide_.wrap(o);
    const CompareOptions& options = context.options();
    ahead_.emplace(n.Feed, *newSide_.reader, o.Feed, *oldSide_.reader, n.FilePos, o.FilePos,
                   SplitOptionsOf(n, options), SplitOptionsOf(o, options));
  }
  ReadAheadSession(const ReadAheadSession&) = delete;
  ReadAheadSession& operator=(const ReadAheadSession&) = delete;
  ~ReadAheadSession() {
    ahead_.reset();
    newSide_.unwrap(context_.newInput);
    oldSide_.unwrap(context_.oldInput);
  }

 private:
  struct Side {
    std::unique_ptr<SharedFile> shared;
    std::unique_ptr<SharedInputFile> reader;

    void wrap(TextInput& input) {
      shared = std::make_unique<SharedFile>(std::move(input.Stream));
      input.Stream = std::make_unique<SharedInputFile>(*shared);
      reader = std::make_unique<SharedInputFile>(*shared);
    }
    void unwrap(TextInput& input) {
      if (!shared) return;
      input.Stream = shared->release();
      reader.reset();
      shared.reset();
    }
  };

  CompareContext& context_;
  Side newSide_, oldSide_;
  std::optional<LineReadAhead> ahead_;
};

}  // namespace

void ReportChunk(CompareContext& context, const std::string& names) {
  PairState& pair = context.pair();
  Host& host = context.host;
  // Bytes that an end-of-file character kept out of the text still make the files differ.
  if (pair.AllRead && EofCharTailsDiffer(context.newInput, context.oldInput)) {
    pair.EofCharTailsDiffer = true;
    pair.ReturnCode = 1;
  }
  host.setStatusText("Generating Report   " + names);
  host.processEvents();
  toggleTwice(host);
  context.report.GenerateReport(context);
  if (pair.AllRead) {
    toggleTwice(host);
  } else if (context.options().Fmvl) {
    pair.MovedSubOptimal = true;
  }
}

void StartPair(CompareContext& context) {
  CompareOptions& options = context.options();
  context.pair().AllRead = false;
  options.PairHeaderArmed = false;
  options.PairHeaderPending = false;
  options.ReportNoteSet = false;
  context.host.toggleActivityImages();
}

void CompareTextPair(CompareContext& context) {
  AppState& app = context.app;
  Host& host = context.host;
  CompareOptions& options = context.options();
  PairState& pair = context.pair();
  TextInput& n = context.newInput;
  TextInput& o = context.oldInput;

  StartPair(context);

  const std::string names = "NFile = " + baseName(n.FileName) + "   OFile = " + baseName(o.FileName);
  ReadAheadSession readAhead(context);

  while (!pair.AllRead && !app.StopRequested && !options.ReportNoteSet && !PairDifferenceDecided(app)) {
    n.LineBase = n.LinesDone;
    o.LineBase = o.LinesDone;
    host.toggleActivityImages();
    host.processEvents();

    LoadChunk(context);
    options.LongestNewLine = std::max(options.LongestNewLine, n.LongestLine);
    options.LongestOldLine = std::max(options.LongestOldLine, o.LongestLine);
    if (app.StopRequested) break;

    if (pair.FilesDiffer || (options.DpActive && !options.Dcob)) {
      host.setStatusText("Processing Data   " + names);
      host.toggleActivityImages();
      host.processEvents();
      PrepareLines(context);

      char range[96];
      std::snprintf(range, sizeof range, "(%d) - Start Line = %d UpTo Line = %d .", app.CurrentPairIndex,
                    n.LineBase + 1, n.LineBase + n.Count);
      host.setStatusText(std::string("Finding Matching Lines") + range);
      host.toggleActivityImages();
      host.processEvents();
      MatchChunk(context);
    }

    ReportChunk(context, names);

    const std::int32_t doneBefore = n.LinesDone + o.LinesDone;
    advance(n, context.newTable);
    advance(o, context.oldTable);

    host.processEvents();
    if (n.FileSizeKept > kProgressThreshold || app.PairCount == 1) {
      // A file that grew since it was opened, or a tiny one, could otherwise pass 100%.
      const std::int64_t position =
          n.FileSizeKept > 0 ? std::min<std::int64_t>((n.FilePos + 1) * 100 / n.FileSizeKept, 100) : 0;
      host.setProgressPosition(static_cast<int>(position));
      host.setPercentText(std::to_string(position) + "%");
      host.setProgressTitle("File Progress");
      host.toggleActivityImages();
    }

    // The chunk's texts are dropped with the tables at the next chunk's load (or at the end of the pair).

    // A chunk that keeps no line while more remains would be read again for ever.
    if (!pair.AllRead && n.LinesDone + o.LinesDone == doneBefore && !app.StopRequested &&
        !options.ReportNoteSet)
      throw EngineFault("a text chunk kept no line");
  }
}

}  // namespace kelvarine
