#include "report/facing_changes.h"

#include <string>

#include "report/report_format.h"
#include "report/report_line_kind.h"

namespace kelvarine {

namespace {

const std::string* heldLine(const LineList& list, std::int64_t row) {
  return row >= 0 && list.holds(static_cast<std::size_t>(row)) ? &list[static_cast<std::size_t>(row)]
                                                               : nullptr;
}

}  // namespace

std::string_view ListedText(std::string_view line, bool fscl) {
  if (line.size() <= kListedTextColumn) return {};
  std::string_view text = line.substr(kListedTextColumn, fscl ? kFullTextWidth : kPlainTextWidth);
  while (!text.empty() && text.back() == ' ')
    text.remove_suffix(1);
  return text;
}

std::vector<TextSpan> FacingChangeSpans(const AppState& app, bool oldSideList, std::int64_t row) {
  if (app.facingRows.size() == 0) return {};
  const LineList& rowList = oldSideList ? app.oldSideLines : app.reportLines;
  const std::string* line = heldLine(rowList, row);
  if (line == nullptr) return {};
  bool newSide = !oldSideList;
  if (newSide && !app.options.Sbsl) {
    const ChangeSide side = ChangeSideOf(ClassifyReportLine(*line, app.options.ListChng));
    if (side != ChangeSide::New && side != ChangeSide::Old) return {};
    newSide = side == ChangeSide::New;
  }
  const LineList& otherList = newSide && app.options.Sbsl ? app.oldSideLines : app.reportLines;
  const std::int64_t other = newSide ? app.facingRows.oldRowFacing(row) : app.facingRows.newRowFacing(row);
  const std::string* facing = heldLine(otherList, other);
  if (facing == nullptr) return {};
  const bool fscl = app.options.Fscl;
  InlineDifference difference = newSide ? DiffWithinLine(ListedText(*line, fscl), ListedText(*facing, fscl))
                                        : DiffWithinLine(ListedText(*facing, fscl), ListedText(*line, fscl));
  std::vector<TextSpan> spans = std::move(newSide ? difference.newSpans : difference.oldSpans);
  for (TextSpan& span : spans) {
    span.begin += kListedTextColumn;
    span.end += kListedTextColumn;
  }
  return spans;
}

std::vector<TextSpan> ShownChangeSpans(const AppState& app, const LineList& list, std::size_t row,
                                       std::string_view shown) {
  std::vector<TextSpan> spans =
      FacingChangeSpans(app, &list == &app.oldSideLines, static_cast<std::int64_t>(row));
  const std::string* line = heldLine(list, static_cast<std::int64_t>(row));
  if (spans.empty() || line == nullptr || shown.size() < line->size()) return {};
  const auto prefix = static_cast<int>(shown.size() - line->size());
  for (TextSpan& span : spans) {
    span.begin += prefix;
    span.end += prefix;
  }
  return spans;
}

}  // namespace kelvarine
