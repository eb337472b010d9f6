#include "report/group_summary.h"

#include <algorithm>
#include <cctype>
#include <cinttypes>
#include <string>
#include <unordered_set>
#include <vector>

#include "engine/engine_fault.h"
#include "report/report_format.h"
#include "report/report_lines.h"

namespace kelvarine {

namespace {

std::int32_t lineCount(const AppState& app) {
  return static_cast<std::int32_t>(app.reportLines.size());
}

// The pairs with a statistics entry and a name in both file lists.
std::size_t reportedPairs(const CompareContext& context) {
  const AppState& app = context.app;
  return std::min({static_cast<std::size_t>(std::max(app.PairCount, 0)), context.stats.size(),
                   app.NewFileList.size(), app.OldFileList.size()});
}

bool isCompareTypeFour(const AppState& app) {
  return app.choices.compareType == kCompareTypes[3];
}

// One table row, or an empty string when the pair gets none (a binary pair skipped by Txfo).
std::string tableRow(const CompareContext& context, std::size_t i) {
  const AppState& app = context.app;
  const PairStatistics& e = context.stats[i];
  std::string row = e.OpenError ? "Err= " : e.TdlEqual ? "TDL= " : e.Changed ? "*    " : "     ";
  if (isCompareTypeFour(app)) {
    row += FormatReportLine(" %-16s %-16s ", ShortenName(app.NewFileList[i], 16).c_str(),
                            ShortenName(app.OldFileList[i], 16).c_str());
  } else {
    row += FormatReportLine(" %-20s ", ShortenName(app.OldFileList[i], 20).c_str());
  }
  if (e.Binary) {
    if (app.options.Txfo) return {};
    row += FormatReportLine("%7." PRId64 " ", e.NewBinBytes);
    row += FormatReportLine(" %7." PRId64, e.OldBinBytes);
    row += "   ** Processed as a Binary File **";
    return row;
  }
  row += FormatReportLine("%7.d ", e.NewLinesProcessed);
  row += FormatReportLine(" %7.d %7.d %7.d %7.d  %7.d %7.d %7.d %7.d", e.OldLinesProcessed, e.MatchCount,
                          e.InsertCount, e.DeleteCount, e.ReformatCount, e.TotalChanges, e.NewDpCount,
                          e.OldDpCount);
  return row;
}

void writeFileTable(CompareContext& context) {
  AppState& app = context.app;
  const CompareOptions& o = app.options;
  if (o.Chgo && o.DiffPairs == 0) return;
  if (app.PairCount - o.DiffPairs - o.TxfoSkipped == 0) return;

  if (isCompareTypeFour(app)) {
    AppendPrintLine(
        context,
        "Code  New-Fi-Name      Old-Fi-Name     New-Proc Old-Proc Num-Mat New-Ins Old-Del Num-Refm "
        "Tot-Chg N-DpLns O-DpLns");
  } else {
    AppendPrintLine(context,
                    "Code  New/Old-Fi-Name     New-Proc Old-Proc Num-Mat New-Ins Old-Del Num-Refm Tot-Chg "
                    "N-DpLns O-DpLns");
  }
  const std::size_t pairs = reportedPairs(context);
  for (std::size_t i = 0; i < pairs; ++i) {
    if (o.Chgo && !context.stats[i].Changed) continue;
    std::string row = tableRow(context, i);
    if (!row.empty()) AppendPrintLine(context, row);
  }
  AppendPrintLine(context, " ");
  AppendPrintLine(context, "Code: \"Blank\" - Equal");
  AppendPrintLine(context, "      *       - Change File");
  AppendPrintLine(context, "      TDL=    - Time-Date-Length equal(files assummed equal)");
  AppendPrintLine(context, "      Err     - I/O on open or File > 2GB");
  app.SummaryStartLine = lineCount(app);
  AppendPrintLine(context, " ");
}

void writeFileTotals(CompareContext& context) {
  const AppState& app = context.app;
  const CompareOptions& o = app.options;
  const bool typeTwo = app.RunAllLikeNamed;
  AppendPrintLine(context, FormatReportLine("%7d Total New/Old Paired Text Files Processed.",
                                            app.PairCount - o.BinaryPairs));
  if (o.Txfo) {
    AppendPrintLine(context, FormatReportLine("%7d Total Paired New/Old Binary Files Not Processed due to "
                                              "Txfo option.",
                                              o.TxfoSkipped));
  } else {
    AppendPrintLine(context, FormatReportLine("%7d Total New/Old Paired Files Processed as Binary Files.",
                                              o.BinaryPairs - o.TxfoSkipped));
  }
  AppendPrintLine(context,
                  FormatReportLine("%7d Total New/Old Paired Files Processed had Changes.", o.DiffPairs));
  AppendPrintLine(context, FormatReportLine("%7d Total New/Old Paired Files Processed had No Changes.",
                                            app.PairCount - o.DiffPairs - o.TxfoSkipped));
  if (typeTwo) {
    AppendPrintLine(
        context, FormatReportLine("%7d Total Files in New Directory.", app.PairCount + app.UnpairedNewCount));
    AppendPrintLine(
        context, FormatReportLine("%7d Total Files in Old Directory.", app.PairCount + app.UnpairedOldCount));
  }
  AppendPrintLine(
      context, FormatReportLine("%7d Total New + Old Files Processed.", 2 * (app.PairCount - o.TxfoSkipped)));
  if (typeTwo) {
    AppendPrintLine(context,
                    FormatReportLine("%7d Total UnPaired New Files Not Processed.", app.UnpairedNewCount));
    AppendPrintLine(context,
                    FormatReportLine("%7d Total UnPaired Old Files Not Processed.", app.UnpairedOldCount));
  }
  if (o.Aeqf) {
    AppendPrintLine(context, FormatReportLine("%7d Total New/Old Paired Files Processed as "
                                              "Equal-Time-Date-Len Equivalent.",
                                              o.AeqfEqualPairs));
  }
}

void writeLineTotals(CompareContext& context) {
  const CompareOptions& o = context.options();
  AppendPrintLine(
      context,
      FormatReportLine("%7d Number Of Line Matches   %7d Total Changes "
                       "(Paired+NonPaired Chg)",
                       o.TotMatches, o.TotReformats + o.TotInserts + o.TotDeletes - o.TotPairedChanges));
  AppendPrintLine(context, FormatReportLine("%7d Total Reformatted Lines  %7d Paired Changes "
                                            "(Refm+Paired Ins/Del)",
                                            o.TotReformats, o.TotReformats + o.TotPairedChanges));
  AppendPrintLine(context, FormatReportLine("%7d New File Line Insertions %7d Non-Paired Inserts "
                                            "(Extra Ins in Seq.)",
                                            o.TotInserts, o.TotInserts - o.TotPairedChanges));
  AppendPrintLine(context, FormatReportLine("%7d Old File Line Deletions  %7d Non-Paired Deletes "
                                            "(Extra Del in Seq.)",
                                            o.TotDeletes, o.TotDeletes - o.TotPairedChanges));
  std::string line = FormatReportLine("%7d New File Lines Processed ", o.TotNewLines - o.TotNewDpLines);
  if (o.DpActive) {
    line +=
        FormatReportLine("%7d New Dp/Cmt + %d Part New Dp/Comments", o.TotNewDpLines, o.TotNewPartDpLines);
  }
  AppendPrintLine(context, line);
  line = FormatReportLine("%7d Old File Lines Processed ", o.TotOldLines - o.TotOldDpLines);
  if (o.DpActive) {
    line +=
        FormatReportLine("%7d Old Dp/Cmt + %d Part Old Dp/Comments", o.TotOldDpLines, o.TotOldPartDpLines);
  }
  AppendPrintLine(context, line);
  if (o.Fmvl) {
    AppendPrintLine(context,
                    FormatReportLine("%7d Number of Inserted/Deleted (Moved lines) detected", o.TotMoved));
  }
}

// The set's binary byte totals, seven, eight or nine places wide by their size.
void writeBinarySizes(CompareContext& context) {
  const CompareOptions& o = context.options();
  const std::int64_t n = o.TotNewBinBytes;
  const std::int64_t old = o.TotOldBinBytes;
  std::string line;
  if (n < 100000001 && old < 100000000) {
    if (n < 10000001 && old < 10000000) {
      line = FormatReportLine(
          "%7" PRId64 " New Bin Size Processed   %7" PRId64 " Old Bin File Size Processed", n, old);
    } else {
      line = FormatReportLine(
          "%8" PRId64 " New Bin Size Processed   %8" PRId64 " Old Bin File Size Processed", n, old);
    }
  } else {
    line = FormatReportLine("%9" PRId64 " New Bin Size Processed   %9" PRId64 " Old Bin File Size Processed",
                            n, old);
  }
  AppendPrintLine(context, line);
  if (!o.Abin && std::int64_t{o.TotNewLines} + o.TotOldLines == 0) {
    AppendPrintLine(context, " All Files were processed as binary files. ");
  }
}

// The names of a directory that are not in its side of the file-pair list, in their order.
std::vector<std::string> unpairedNames(const std::vector<std::string>& names,
                                       const std::vector<std::string>& paired) {
  const std::unordered_set<std::string> pairedSet(paired.begin(), paired.end());
  std::vector<std::string> result;
  for (const std::string& name : names)
    if (!pairedSet.contains(name)) result.push_back(name);
  return result;
}

// Compare type 2 with Inpn: the names of either directory without a partner, each New name faced by the
// next unpaired Old name in order, then the Old names left over.
void writeUnpairedFiles(CompareContext& context) {
  const AppState& app = context.app;
  AppendPrintLine(context, " ");
  if (app.UnpairedNewCount == 0 && app.UnpairedOldCount == 0) {
    AppendPrintLine(context, "  All New Dir Files and Old Dir Files were Like-Named Paired");
    return;
  }
  AppendPrintLine(context, " LIST OF UNPAIRED NEW AND OLD FILES NOT PROCESSED ");
  AppendPrintLine(context, FormatReportLine(" New File Name (%d)                    Old File Name (%d)",
                                            app.UnpairedNewCount, app.UnpairedOldCount));
  const std::vector<std::string> newNames = unpairedNames(app.NewDirNames, app.NewFileList);
  const std::vector<std::string> oldNames = unpairedNames(app.OldDirNames, app.OldFileList);
  for (std::size_t i = 0; i < newNames.size(); ++i) {
    std::string row = FormatReportLine(" %-40s", ShortenName(newNames[i], 40).c_str());
    if (i < oldNames.size()) row += " : " + ShortenName(oldNames[i], 40);
    AppendPrintLine(context, row);
  }
  for (std::size_t j = newNames.size(); j < oldNames.size(); ++j)
    AppendPrintLine(context, FormatReportLine(" %-40s  :       %-40s", " ", oldNames[j].c_str()));
}

// Compare types 3 and 4: the pairs the user selected.
void writeSelectedPairs(CompareContext& context) {
  const AppState& app = context.app;
  const bool typeFour = app.RunFromTwoLists;
  AppendPrintLine(context, typeFour ? " USER SELECT FROM UNLIKE/LIKE-NAME FILE LIST -- COMPARE OPTION (4)"
                                    : " USER SELECT FROM LIKE-NAME FILE LIST -- COMPARE OPTION (3)");
  const std::size_t pairs = std::min(
      {static_cast<std::size_t>(std::max(app.PairCount, 0)), app.NewFileList.size(), app.OldFileList.size()});
  for (std::size_t i = 0; i < pairs; ++i) {
    std::string row = "  " + app.NewFileList[i];
    if (typeFour) row += "  :  " + app.OldFileList[i];
    AppendPrintLine(context, row);
  }
}

}  // namespace

std::string ShortenName(const std::string& name, int width) {
  const auto w = static_cast<std::size_t>(std::max(width, 0));
  if (name.size() <= w) return name;
  const std::size_t tail = std::min<std::size_t>(4, name.size());
  return name.substr(0, w > 6 ? w - 6 : 0) + ".." + name.substr(name.size() - tail);
}

void AccumulatePairStatistics(CompareContext& context) {
  if (context.stats.empty()) throw EngineFault("pair statistics entry missing");
  PairStatistics& entry = context.currentStats();
  PairState& p = context.pair();
  CompareOptions& o = context.options();
  if (p.FilesDiffer || p.EofCharTailsDiffer) {
    entry.Changed = true;
    ++o.DiffPairs;
  }
  if (entry.Binary) {
    entry.NewBinBytes = p.NewBinBytes;
    entry.OldBinBytes = p.OldBinBytes;
    o.TotNewBinBytes += p.NewBinBytes;
    o.TotOldBinBytes += p.OldBinBytes;
    // A pair skipped by Txfo was counted among the binary pairs by the compare run.
    if (!o.Txfo) ++o.BinaryPairs;
  } else {
    p.TotalChanges = p.ReformatCount + p.InsertCount + p.DeleteCount - p.PairedChanges;
    entry.NewLinesProcessed = p.NewLinesProcessed;
    entry.OldLinesProcessed = p.OldLinesProcessed;
    entry.MatchCount = p.MatchCount;
    entry.ReformatCount = p.ReformatCount;
    entry.InsertCount = p.InsertCount;
    entry.DeleteCount = p.DeleteCount;
    entry.NewDpCount = p.NewDpCount;
    entry.OldDpCount = p.OldDpCount;
    entry.TotalChanges = p.TotalChanges;
    entry.PairedChanges = p.PairedChanges;
    entry.MovedCount = p.MovedCount;
    o.TotNewLines += p.NewLinesProcessed;
    o.TotOldLines += p.OldLinesProcessed;
    o.TotMatches += p.MatchCount;
    o.TotReformats += p.ReformatCount;
    o.TotInserts += p.InsertCount;
    o.TotDeletes += p.DeleteCount;
    o.TotNewDpLines += p.NewDpCount;
    o.TotNewPartDpLines += p.NewPartDpCount;
    o.TotOldDpLines += p.OldDpCount;
    o.TotOldPartDpLines += p.OldPartDpCount;
    o.TotChanges += p.TotalChanges;
    o.TotPairedChanges += p.PairedChanges;
    o.TotMoved += p.MovedCount;
  }
  o.HighestCode = std::max(o.HighestCode, p.ReturnCode);
}

void WriteGroupSummary(CompareContext& context) {
  AppState& app = context.app;
  app.options.PairHeaderPending = false;
  app.SummaryToMainOnly = true;
  app.ListingLineCount = app.GroupSummaryStart = lineCount(app);
  if (!app.reportLines.empty()) AppendPrintLine(context, "  ");
  AppendPrintLine(context, "Kelvarn GROUPED COMPARE SUMMARY FOR NAMED PAIRED FILES TOTALS SECTION");
  AppendPrintLine(context, FormatReportLine("New Dir = %s ", app.newNameText.c_str()));
  AppendPrintLine(context, FormatReportLine("Old Dir = %s ", app.oldNameText.c_str()));
  AppendPrintLine(context, " ");

  writeFileTable(context);
  writeFileTotals(context);
  AppendPrintLine(context, " ");
  AppendPrintLine(context, "Kelvarn GROUPED PAIRED TEXT/BINARY FILE COMPARE SUMMARY TOTALS SECTION ");
  if (!app.options.Abin) writeLineTotals(context);
  if (app.options.BinaryPairs >= 1) writeBinarySizes(context);
  if (app.RunAllLikeNamed && app.options.Inpn) writeUnpairedFiles(context);
  if (app.PairCount > 1) {
    AppendPrintLine(context, FormatReportLine("LISTING-TYPE = %s  OPTIONS = %s",
                                              app.options.ListTypeName.c_str(), app.optionsString.c_str()));
  }
  if (app.RunFromLikeNameList || app.RunFromTwoLists) writeSelectedPairs(context);
}

}  // namespace kelvarine
