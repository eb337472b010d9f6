#include "ui/pair_list.h"

#include <algorithm>
#include <charconv>
#include <string_view>

#include "report/report_line_kind.h"

namespace kelvarine {
namespace {

constexpr std::string_view kPairHeader = "New File(";

std::string counted(std::int32_t count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

// What the compare found for a pair, from its statistics entry (null: the set stopped before it).
std::string outcome(const PairStatistics* e, const CompareOptions& options) {
  if (e == nullptr) return "not compared";
  if (e->OpenError) return "not opened";
  if (e->TdlEqual) return "equal date and size";
  if (e->Binary)
    return options.Txfo ? "binary, not compared" : e->Changed ? "binary, differs" : "binary, equal";
  if (e->TotalChanges > 0) return counted(e->TotalChanges, "change", "changes");
  return e->Changed ? "differs" : "no changes";
}

std::string code(const PairStatistics* e) {
  if (e == nullptr) return "   ";
  return e->OpenError ? "Err" : e->TdlEqual ? "TDL" : e->Changed ? "*  " : "   ";
}

// The pair number of a "New File(N) = ..." header line, or 0.
int headerPairNumber(const std::string& line) {
  int number = 0;
  const char* digits = line.data() + kPairHeader.size();
  const auto [end, error] = std::from_chars(digits, line.data() + line.size(), number);
  return error == std::errc() && end < line.data() + line.size() && *end == ')' ? number : 0;
}

}  // namespace

std::vector<PairListEntry> ListReportPairs(const AppState& app) {
  const std::size_t pairs = std::min(app.NewFileList.size(), app.OldFileList.size());
  if (pairs < 2) return {};
  std::vector<PairListEntry> entries(pairs);
  for (std::size_t i = 0; i < pairs; ++i) {
    const PairStatistics* e = i < app.PairStatisticsList.size() ? &app.PairStatisticsList[i] : nullptr;
    const std::string& newName = app.NewFileList[i];
    const std::string& oldName = app.OldFileList[i];
    entries[i].text = code(e) + " " + std::to_string(i + 1) + ". " + newName +
                      (newName == oldName ? "" : " : " + oldName) + "  (" + outcome(e, app.options) + ")";
  }
  PairListEntry summary{"    Grouped summary", -1};
  const LineList& lines = app.reportLines;
  for (std::size_t row = 0; row < lines.size(); ++row) {
    const std::string& line = lines[row];
    const ReportLineKind kind = ClassifyReportLine(line, app.options.ListChng);
    if (kind == ReportLineKind::NewFileHeader) {
      const int number = headerPairNumber(line);
      if (number <= 0 || static_cast<std::size_t>(number) > pairs) continue;
      std::int64_t& section = entries[static_cast<std::size_t>(number - 1)].sectionRow;
      if (section < 0) section = static_cast<std::int64_t>(row);
    } else if (summary.sectionRow < 0 && kind == ReportLineKind::GroupTitle) {
      summary.sectionRow = static_cast<std::int64_t>(row);
    }
  }
  if (summary.sectionRow >= 0) entries.push_back(summary);
  return entries;
}

int PairEntryAt(const std::vector<PairListEntry>& entries, std::int64_t row) {
  int found = -1;
  std::int64_t best = -1;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const std::int64_t section = entries[i].sectionRow;
    if (section >= 0 && section <= row && section > best) {
      best = section;
      found = static_cast<int>(i);
    }
  }
  return found;
}

}  // namespace kelvarine
