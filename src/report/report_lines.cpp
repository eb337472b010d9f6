#include "report/report_lines.h"

#include "report/report_format.h"
#include "report/report_line_kind.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>

namespace kelvarine {

namespace {

constexpr std::size_t kTextColumn = 4;          // 0-based column where the listing text starts
constexpr std::size_t kMessageWidth = 120;      // the overflow message is cut here
constexpr std::size_t kNoteWidth = 100;         // ReportNote holds at most this many characters
constexpr std::int32_t kProgressInterval = 50;  // listing lines between progress updates

constexpr const char* kRuler =
    "ID  ----+----1----+----2----+----3----+----4----+----5----+----6----+----7----+----8";
constexpr const char* kRulerColumns = " N-REF# CHNG-TYPE   O-REF# LEN";
constexpr const char* kRulerExtension =
    "----+----9----+----10---+----11---+----12---+----13---+----14---+----15---+----16---+----17---+---"
    "-18---+----19---+----2";

std::string cut(const std::string& text, std::size_t width) {
  return text.size() > width ? text.substr(0, width) : text;
}

// Replaces each character below 32 from column 5 on. Eight at a time: a word without such a character
// (the usual case) is passed whole.
void substituteControls(std::string& line, char substitute) {
  constexpr std::uint64_t kOnes = 0x0101010101010101ull;
  constexpr std::uint64_t kHighs = 0x8080808080808080ull;
  std::size_t i = kTextColumn;
  for (; i + 8 <= line.size(); i += 8) {
    std::uint64_t w;
    std::memcpy(&w, line.data() + i, sizeof w);
    if (((w - kOnes * 32) & ~w & kHighs) == 0) continue;
    for (std::size_t k = i; k < i + 8; ++k)
      if (static_cast<unsigned char>(line[k]) < 32) line[k] = substitute;
  }
  for (; i < line.size(); ++i)
    if (static_cast<unsigned char>(line[i]) < 32) line[i] = substitute;
}

// A list refused a line: the report note is set and the user told; every later line is dropped
// until the next text pair clears the note.
void reportOverflow(CompareContext& context) {
  CompareOptions& options = context.options();
  const int count = static_cast<int>(context.app.reportLines.size());
  char note[160];
  std::snprintf(note, sizeof note, "StringList Limit. Report Line = %d", count);
  options.ReportNoteSet = true;
  options.ReportNote = cut(note, kNoteWidth);
  char message[256];
  std::snprintf(message, sizeof message,
                "Results exceeded StingList maximum number of \" %d \".\r\nOutput results prematurely "
                "suspended.",
                count);
  context.host.showMessage(cut(message, kMessageWidth));
}

// Adds a line to one list; a refusal is an overflow. Returns whether the line was taken.
bool addTo(CompareContext& context, LineList& list, std::string line) {
  if (list.add(std::move(line))) return true;
  reportOverflow(context);
  return false;
}

}  // namespace

void AppendPrintLine(CompareContext& context, const std::string& line) {
  CompareOptions& options = context.options();
  AppState& app = context.app;
  // The header is written before the line; the line itself is kept aside meanwhile.
  const std::string kept = cut(line, kReportLineWidth);
  if (options.PairHeaderPending) ArmPairHeader(context);
  if (options.ReportNoteSet) return;
  if (options.Sbsl && !app.SummaryToMainOnly && !addTo(context, app.oldSideLines, kept)) return;
  addTo(context, app.reportLines, kept);
}

void AppendListingLine(CompareContext& context, std::string line) {
  CompareOptions& options = context.options();
  AppState& app = context.app;
  if (options.PairHeaderPending) ArmPairHeader(context);

  if (!options.ReportNoteSet) {
    if (line.size() > kReportLineWidth) line.resize(kReportLineWidth);
    substituteControls(line, options.Subc ? options.SubcChar : '.');

    if (!options.Sbsl) {
      addTo(context, app.reportLines, std::move(line));
    } else {
      switch (ClassifyReportLine(line, options.ListChng)) {
        case ReportLineKind::Matched:
        case ReportLineKind::NotShownGap:
          PadReportLists(context);
          if (!options.ReportNoteSet && addTo(context, app.reportLines, line))
            addTo(context, app.oldSideLines, line);
          break;
        case ReportLineKind::ReformattedNew:
          PadReportLists(context);
          if (!options.ReportNoteSet && addTo(context, app.reportLines, line) && !options.Lorl)
            addTo(context, app.oldSideLines, " ");
          break;
        case ReportLineKind::ReformattedOld:
        case ReportLineKind::Deleted:
        case ReportLineKind::DeletedMoved:
          addTo(context, app.oldSideLines, line);
          break;
        case ReportLineKind::Inserted:
        case ReportLineKind::InsertedMoved:
          addTo(context, app.reportLines, line);
          break;
        default:  // any other ID code: on neither side
          break;
      }
    }
  }

  ++app.ListingLinesWritten;
  if (app.ListingLinesWritten % kProgressInterval == 0) {
    context.host.toggleActivityImages();
    char text[128];
    std::snprintf(text, sizeof text, " Output Line = %d    - Proc File(%d) of (%d).", app.ListingLinesWritten,
                  app.CurrentPairIndex, app.PairCount);
    context.host.setStatusText(std::string("Writing Report lines") + text);
    context.host.processEvents();
  }
}

void ArmPairHeader(CompareContext& context) {
  CompareOptions& options = context.options();
  if (!options.PairHeaderPending) {
    options.PairHeaderArmed = true;
    options.PairHeaderPending = true;
    context.pair().ChngGapPending = true;
    return;
  }

  options.PairHeaderPending = false;
  if (!context.app.reportLines.empty()) AppendPrintLine(context, " ");

  const int pairNumber = context.app.CurrentPairIndex + 1;
  char line[kReportLineWidth + 1];
  std::snprintf(line, sizeof line, "New File(%d) = %s  %s", pairNumber, context.newInput.FileName.c_str(),
                context.host.formatDateTime(context.newInput.FileDate).c_str());
  AppendPrintLine(context, line);
  std::snprintf(line, sizeof line, "Old File(%d) = %s  %s", pairNumber, context.oldInput.FileName.c_str(),
                context.host.formatDateTime(context.oldInput.FileDate).c_str());
  AppendPrintLine(context, line);

  std::string ruler = kRuler;
  if (!options.Fscl) {
    ruler += kRulerColumns;
  } else {
    const int longest = std::max(context.newInput.LongestLine, context.oldInput.LongestLine);
    if (longest > kPlainTextWidth)
      ruler.append(kRulerExtension,
                   static_cast<std::size_t>(std::min(kFullTextWidth, longest) - kPlainTextWidth));
  }
  AppendPrintLine(context, ruler);
}

void PadReportLists(CompareContext& context) {
  AppState& app = context.app;
  if (!context.options().Sbsl) return;
  while (!context.options().ReportNoteSet && app.reportLines.size() != app.oldSideLines.size()) {
    LineList& shorter =
        app.reportLines.size() <= app.oldSideLines.size() ? app.reportLines : app.oldSideLines;
    if (!addTo(context, shorter, " ")) break;
  }
}

}  // namespace kelvarine
