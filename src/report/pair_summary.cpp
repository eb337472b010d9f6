#include "report/pair_summary.h"

#include <cinttypes>
#include <string>

#include "report/report_format.h"
#include "report/report_lines.h"

namespace kelvarine {

namespace {

// A compare-column end: "eol" for 0 (to the end of the line), else its number.
std::string columnEnd(std::int32_t end) {
  return end == 0 ? "eol" : std::to_string(end);
}

// The compare-column line of one file; `side` is "NEW" or "OLD".
std::string compareColumnsLine(const TextInput& input, const char* side) {
  if (input.CcolTwoRanges) {
    return FormatReportLine("%s-COMPARE-COLUMNS (%d:%d) + (%d:%s)  MAX-%s-COMP-LEN = %d", side,
                            input.CcolStart1, input.CcolEnd1, input.CcolStart2,
                            columnEnd(input.CcolEnd2).c_str(), side, input.MaxCmpLen);
  }
  return FormatReportLine("%s-COMPARE-COLUMNS (%d:%s) MAX-%s-COMP-LEN = %d", side, input.CcolStart1,
                          columnEnd(input.CcolEnd1).c_str(), side, input.MaxCmpLen);
}

void writeStatistics(CompareContext& context) {
  const PairState& p = context.pair();
  const CompareOptions& o = context.options();
  const std::int32_t totalChanges = p.ReformatCount + p.InsertCount + p.DeleteCount - p.PairedChanges;
  AppendPrintLine(context, FormatReportLine("%7d Number Of Line Matches    %7d Total Changes "
                                            "(Paired+NonPaired Chg) ",
                                            p.MatchCount, totalChanges));
  AppendPrintLine(context, FormatReportLine("%7d Reformatted Lines         %7d Paired Changes "
                                            "(Refm+Paired Ins/Del)",
                                            p.ReformatCount, p.ReformatCount + p.PairedChanges));
  AppendPrintLine(context, FormatReportLine("%7d New File Line Insertions  %7d Non-Paired Inserts "
                                            "(Ins Paired-Chg)",
                                            p.InsertCount, p.InsertCount - p.PairedChanges));
  AppendPrintLine(context, FormatReportLine("%7d Old File Line Deletions   %7d Non-Paired Deletes "
                                            "(Del Paired-Chg)",
                                            p.DeleteCount, p.DeleteCount - p.PairedChanges));

  std::string line = FormatReportLine("%7d New File Lines Processed ", p.NewLinesProcessed - p.NewDpCount);
  if (o.DpActive) {
    line += FormatReportLine(" %7d New Dp/Cmt + %d Part New Dp/Comments", p.NewDpCount, p.NewPartDpCount);
  }
  AppendPrintLine(context, line);
  line = FormatReportLine("%7d Old File Lines Processed ", p.OldLinesProcessed - p.OldDpCount);
  if (o.DpActive) {
    line += FormatReportLine(" %7d Old Dp/Cmt + %d Part Old Dp/Comments", p.OldDpCount, p.OldPartDpCount);
  }
  AppendPrintLine(context, line);

  if (o.Fmvl) {
    AppendPrintLine(context, FormatReportLine("%7d Number of Moved lines detected", p.MovedCount));
    if (p.MovedSubOptimal) {
      AppendPrintLine(context, "Moved Line detection sub optimal due to compare set size.");
    }
  }
  if (o.BinaryPairs > 0) {
    AppendPrintLine(context, FormatReportLine("%7" PRId64 " New Bin File Size Processed %7" PRId64
                                              " Old Bin File Size Processed",
                                              p.NewBinBytes, p.OldBinBytes));
  }
}

// The options line: with one pair the listing type, options string and longest lines; with several
// only the longest lines (or the options string when no text line was read in a set with binaries).
void writeOptionsLine(CompareContext& context) {
  const AppState& app = context.app;
  const CompareOptions& o = context.options();
  const std::int32_t newLongest = context.newInput.LongestLine;
  const std::int32_t oldLongest = context.oldInput.LongestLine;
  const bool noTextLines = newLongest == 0 && oldLongest == 0 && o.BinaryPairs > 0;
  if (app.PairCount < 2) {
    if (noTextLines) {
      AppendPrintLine(context, FormatReportLine("LISTING-TYPE = %s  OPTIONS = %s", o.ListTypeName.c_str(),
                                                app.optionsString.c_str()));
    } else {
      AppendPrintLine(context, FormatReportLine("LISTING-TYPE = %s  OPTIONS = %s  LONGEST-LINE = (%d/%d)",
                                                o.ListTypeName.c_str(), app.optionsString.c_str(), newLongest,
                                                oldLongest));
    }
    if (context.pair().AeqfEqual) {
      AppendPrintLine(context,
                      "AEqF option & equal \"Time-Date-Length\" suppressed \"Old File\" comparison.");
    }
  } else if (noTextLines) {
    AppendPrintLine(context, FormatReportLine("OPTIONS = %s", app.optionsString.c_str()));
  } else {
    AppendPrintLine(context, FormatReportLine("LONGEST-LINE = (%d/%d)", newLongest, oldLongest));
  }
}

void writeWarnings(CompareContext& context) {
  const CompareOptions& o = context.options();
  const PairState& p = context.pair();
  const TextInput& n = context.newInput;
  const TextInput& old = context.oldInput;
  if (o.Ccol) {
    AppendPrintLine(context, compareColumnsLine(n, "NEW"));
    AppendPrintLine(context, compareColumnsLine(old, "OLD"));
  }
  if (n.CcolShortSeen || old.CcolShortSeen) {
    AppendPrintLine(context, FormatReportLine("WARN: \"CCOL\" start value < some line lengths. New Lines = "
                                              "%d  Old Lines = %d treated as null blank lines.",
                                              p.NewCcolShortLines, p.OldCcolShortLines));
  }
  if (o.Dudc) {
    AppendPrintLine(context, FormatReportLine("DUDC-DP-OPTION-LEADING-COMMENT-TEXT = \"%s\". EMBEDDED-USE = "
                                              "\"%s\".",
                                              o.DudcTag.c_str(), o.DudcYesNo.c_str()));
  }
  if (n.PrematureEof) {
    AppendPrintLine(context, o.Ieof
                                 ? "WARN: \"Ieof\" opt allowed premature new file EOF char(26) to be ignored."
                                 : "WARN: New file EOF char(26) prematurely terminated text input.");
  }
  if (old.PrematureEof) {
    AppendPrintLine(context, o.Ieof
                                 ? "WARN: \"Ieof\" opt allowed premature old file EOF char(26) to be ignored."
                                 : "WARN: Old file EOF char(26) prematurely terminated text input.");
  }
  if (p.EofCharTailsDiffer) {
    AppendPrintLine(context,
                    "WARN: New and old files differ after the EOF char(26) that ended their text input.");
  }
  if (p.FirstDiffByte > 0 && p.ShorterEnded == PairState::Ended::Neither) {
    AppendPrintLine(context,
                    FormatReportLine("WARN: Binary files differ: byte %" PRId64 ", line %" PRId64 ".",
                                     p.FirstDiffByte, p.FirstDiffLine));
  } else if (p.FirstDiffByte > 0) {
    AppendPrintLine(context, FormatReportLine("WARN: Binary files differ: EOF on %s file after byte %" PRId64
                                              ", line %" PRId64 ".",
                                              p.ShorterEnded == PairState::Ended::New ? "new" : "old",
                                              p.FirstDiffByte - 1, p.FirstDiffLine));
  }
  if (n.LinesSplit || old.LinesSplit) {
    AppendPrintLine(context,
                    "WARN: Lines GT. 2048 characters were split off into separate lines before being "
                    "processed.");
  }
  // A line about the set: not in the summary of one binary pair among several.
  if (!o.Abin && std::int64_t{o.TotNewLines} + o.TotOldLines == 0 &&
      o.TotNewBinBytes + o.TotOldBinBytes != 0 && (context.app.PairCount == 1 || !p.Binary)) {
    AppendPrintLine(context, " All Files were processed as binary files. ");
  }
}

}  // namespace

void WritePairSummary(CompareContext& context) {
  AppState& app = context.app;
  context.options().PairHeaderPending = false;
  if (app.PairCount == 1) {
    app.SummaryToMainOnly = true;
    app.ListingLineCount = static_cast<std::int32_t>(app.reportLines.size());
  }
  if (!app.reportLines.empty()) AppendPrintLine(context, " ");
  if (context.options().Noss && app.PairCount != 1) return;

  app.SummaryStartLine = static_cast<std::int32_t>(app.reportLines.size());
  AppendPrintLine(context, "INDIVIDUAL PAIRED FILE COMPARE TOTALS AND STATISTICS SECTION");
  const int pairNumber = app.CurrentPairIndex + 1;
  AppendPrintLine(context, FormatReportLine("Summary New File(%d) = %s  %s", pairNumber,
                                            context.newInput.FileName.c_str(),
                                            context.host.formatDateTime(context.newInput.FileDate).c_str()));
  AppendPrintLine(context, FormatReportLine("Summary Old File(%d) = %s  %s", pairNumber,
                                            context.oldInput.FileName.c_str(),
                                            context.host.formatDateTime(context.oldInput.FileDate).c_str()));
  AppendPrintLine(context, " ");
  writeStatistics(context);
  writeOptionsLine(context);
  writeWarnings(context);
}

}  // namespace kelvarine
