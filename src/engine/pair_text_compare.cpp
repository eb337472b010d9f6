#include "engine/pair_text_compare.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "engine/dp_filters.h"
#include "engine/engine_fault.h"
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

// Drops the text of records 1..lines of a table (the memory returns with the table's next clear()).
void releaseChunkText(LineTable& table, std::int32_t lines) {
  const int last = std::clamp<std::int32_t>(lines, 0, LineTable::kMaxLines);
  for (int i = 1; i <= last; ++i)
    table.releaseText(i);
}

// Moves the input past the lines of this chunk that were kept; the next chunk starts behind them.
void advance(TextInput& input, const LineTable& table) {
  const std::int32_t kept = std::clamp<std::int32_t>(input.Count, 0, LineTable::kMaxLines);
  input.LinesDone += kept;
  if (kept > 0) input.FilePos = table[kept].EndPos;
}

}  // namespace

void CompareTextPair(CompareContext& context) {
  AppState& app = context.app;
  Host& host = context.host;
  CompareOptions& options = context.options();
  PairState& pair = context.pair();
  TextInput& n = context.newInput;
  TextInput& o = context.oldInput;

  pair.AllRead = false;
  options.PairHeaderArmed = false;
  options.PairHeaderPending = false;
  options.ReportNoteSet = false;
  host.toggleActivityImages();

  const std::string names = "NFile = " + baseName(n.FileName) + "   OFile = " + baseName(o.FileName);

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

    // Bytes that an end-of-file character kept out of the text still make the files differ.
    if (pair.AllRead && EofCharTailsDiffer(n, o)) {
      pair.EofCharTailsDiffer = true;
      pair.ReturnCode = 1;
    }

    host.setStatusText("Generating Report   " + names);
    host.processEvents();
    toggleTwice(host);
    context.report.GenerateReport(context);

    if (pair.AllRead) {
      toggleTwice(host);
    } else if (options.Fmvl) {
      pair.MovedSubOptimal = true;
    }

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

    releaseChunkText(context.newTable, std::max(pair.NewLines, n.Count));
    releaseChunkText(context.oldTable, std::max(pair.OldLines, o.Count));

    // A chunk that keeps no line while more remains would be read again for ever.
    if (!pair.AllRead && n.LinesDone + o.LinesDone == doneBefore && !app.StopRequested &&
        !options.ReportNoteSet)
      throw EngineFault("a text chunk kept no line");
  }
}

}  // namespace kelvarine
