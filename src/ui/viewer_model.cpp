#include "ui/viewer_model.h"

#include "report/facing_changes.h"
#include "report/report_line_kind.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <string_view>

namespace kelvarine {
namespace {

constexpr const char* kTitle = "Kelvarine V1.8 - ";
constexpr const char* kRuler =
    "----+----9----+----10---+----11---+----12---+----13---+----14---+----15---+----16---+----17---+----18---"
    "+"
    "----19---+----2";
constexpr const char* kForwardMessage =
    "                            No more forward change sequences found                          .";
constexpr const char* kBackwardMessage =
    "                            No more backward change sequences found                          .";
constexpr const char* kSingleSectionMessage =
    "                                           No more change sections found                          .";
constexpr const char* kDualSectionMessage =
    "                                     No more change sections found                          .";
constexpr const char* kHorizontalSectionMessage = "No more summary section found";
constexpr const char* kFindWrappedDown = "Find passed the end of the report and went on from the top.";
constexpr const char* kFindWrappedUp = "Find passed the start of the report and went on from the bottom.";
constexpr const char* kReShowMessage =
    "Previous report and current preferences have changed. Rerun compare with newest preferences.";

bool startsWithBlank(ReportLineKind kind) {
  return kind == ReportLineKind::Matched || kind == ReportLineKind::NotShownGap ||
         kind == ReportLineKind::Indented;
}

bool startsWithStar(ReportLineKind kind) {
  return kind == ReportLineKind::ChangedFile || kind == ReportLineKind::Starred;
}

std::string numbered(std::int64_t number, const std::string& line) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%4lld  ", static_cast<long long>(number));
  return buffer + line;
}

std::string indexError(const char* kind, std::int64_t index) {
  return std::string("*** Orpheus VCL Program Error  - ") + kind + " index\" " + std::to_string(index) +
         "\" to GetItem*** ";
}

// The side whose change codes a list colours: New for the report line list, Old for the Old-side list.
ChangeSide sideOf(ViewerList list) {
  return list == ViewerList::Report ? ChangeSide::New : ChangeSide::Old;
}

// The horizontal viewer's own rules; they also look at the line's length.
RowColour horizontalColour(ReportLineKind kind, std::size_t length, ViewerList list) {
  if (length <= 3) return RowColour::Black;
  if (ChangeSideOf(kind) == sideOf(list)) return ReportLineColour(kind);
  if (length < 11) return RowColour::Black;
  switch (kind) {
    case ReportLineKind::NewSummaryTitle:
    case ReportLineKind::NewFileHeader:
      return RowColour::Blue;
    case ReportLineKind::Ruler:
      return RowColour::Purple;
    case ReportLineKind::OldSummaryTitle:
    case ReportLineKind::ListingType:
    case ReportLineKind::OldFileHeader:
      return RowColour::Red;
    default:
      return RowColour::Black;
  }
}

// The changes the report lists: the set totals and, when the run stopped inside a pair, that pair's own
// counts, which reach the totals only when the pair has been read to its end.
std::int64_t listedChanges(const AppState& app) {
  const CompareOptions& o = app.options;
  std::int64_t changes = std::int64_t{o.TotReformats} + o.TotInserts + o.TotDeletes;
  if (!app.pair.AllRead)
    changes += std::int64_t{app.pair.ReformatCount} + app.pair.InsertCount + app.pair.DeleteCount;
  return changes;
}

int parseOr(const std::string& text, int fallback) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return (text.empty() || error != std::errc() || end != text.data() + text.size()) ? fallback : value;
}

std::string& defaultEight(std::string& setting) {
  if (setting.empty()) setting = "8";
  return setting;
}

}  // namespace

std::uint32_t RowColourRgb(RowColour colour) {
  switch (colour) {
    case RowColour::Red:
      return 0xFF0000;
    case RowColour::Blue:
      return 0x0000FF;
    case RowColour::Teal:
      return 0x008080;
    case RowColour::Maroon:
      return 0x800000;
    case RowColour::Purple:
      return 0x800080;
    case RowColour::Green:
      return 0x008000;
    case RowColour::Black:
      break;
  }
  return 0x000000;
}

RowColour ReportLineColour(ReportLineKind kind) {
  switch (kind) {
    case ReportLineKind::Deleted:
    case ReportLineKind::DeletedMoved:
    case ReportLineKind::ChangedFile:
      return RowColour::Red;
    case ReportLineKind::Inserted:
    case ReportLineKind::InsertedMoved:
      return RowColour::Blue;
    case ReportLineKind::ReformattedNew:
      return RowColour::Teal;
    case ReportLineKind::ReformattedOld:
      return RowColour::Maroon;
    case ReportLineKind::NewSummaryTitle:
    case ReportLineKind::Ruler:
    case ReportLineKind::NewFileHeader:
    case ReportLineKind::NewDirHeader:
    case ReportLineKind::NotShownGap:
      return RowColour::Blue;
    case ReportLineKind::OldSummaryTitle:
    case ReportLineKind::IndividualTitle:
    case ReportLineKind::ListingType:
    case ReportLineKind::OldFileHeader:
    case ReportLineKind::OldDirHeader:
    case ReportLineKind::GroupTitle:
    case ReportLineKind::ProgramTitle:
      return RowColour::Red;
    default:
      return RowColour::Black;
  }
}

std::string RulerExtension(const CompareOptions& options) {
  const int width = std::min(128, static_cast<int>(std::max(options.LongestNewLine, options.LongestOldLine)));
  if (!options.Fscl || width <= 80) return {};
  return std::string(kRuler).substr(0, static_cast<std::size_t>(width - 80));
}

ViewerLayout ShowReport(const AppState& app, bool sbslCheckedNow, const std::string& reportStamp) {
  ViewerLayout layout;
  const std::string extension = RulerExtension(app.options);
  layout.reportRows = static_cast<std::int64_t>(app.reportLines.size());
  layout.initialSelection = app.reportLines.empty() ? -1 : 0;
  layout.newLabel = "New Dir = " + app.newNameText;
  layout.oldLabel = "Old  Dir = " + app.oldNameText;
  layout.fileSectionEnabled = app.PairCount != 1;
  if (sbslCheckedNow && !app.oldSideLines.empty()) {
    layout.kind = ViewerKind::Dual;
    layout.caption = std::string(kTitle) + "Dual Panel Display of Comparison Report  " + reportStamp;
    layout.oldSideRows = static_cast<std::int64_t>(app.oldSideLines.size());
    layout.headerShown = true;
    layout.reportHeader =
        "Ref#  ID  New Src/Inserts ---2----+----3----+----4----+----5----+----6----+----7----+----8" +
        extension;
    layout.oldSideHeader =
        "Ref#  ID  New Src/Deletes ---2----+----3----+----4----+----5----+----6----+----7----+----8" +
        extension;
    return layout;
  }
  layout.kind = ViewerKind::Single;
  layout.caption = std::string(kTitle) + "Single Panel Display of Comparison Report  " + reportStamp;
  layout.headerShown = !app.options.ListOvsum && listedChanges(app) > 0;
  if (layout.headerShown)
    layout.reportHeader =
        "Ref#  ID  New Src/Inserts/Deletes -----3----+----4----+----5----+----6----+----7----+----8" +
        extension;
  return layout;
}

std::optional<ViewerLayout> ShowHorizontalViewer(const AppState& app, const std::string& reportStamp) {
  if (!app.options.Sbsl || app.oldSideLines.empty()) return std::nullopt;
  ViewerLayout layout;
  layout.kind = ViewerKind::Horizontal;
  layout.caption =
      std::string(kTitle) + " Line Compare - Dual Panel Display of Comparison Report  " + reportStamp;
  layout.reportRows = static_cast<std::int64_t>(app.reportLines.size());
  layout.oldSideRows = static_cast<std::int64_t>(app.oldSideLines.size());
  layout.initialSelection = app.reportLines.empty() ? -1 : 0;
  std::string extension = RulerExtension(app.options);
  if (extension.empty()) extension = " N-REF# CHNG-TYPE   O-REF# LEN";
  layout.headerShown = true;
  layout.reportHeader =
      " Ref# ID  Matches/Inserts ---2----+----3----+----4----+----5----+----6----+----7----+----8" +
      extension;
  layout.oldSideHeader =
      " Ref# ID  Matches/Deletes ---2----+----3----+----4----+----5----+----6----+----7----+----8" +
      extension;
  layout.newLabel = "New File = " + app.newNameText;
  layout.oldLabel = "Old  File = " + app.oldNameText;
  layout.fileSectionEnabled = app.PairCount != 1;
  return layout;
}

bool ReShowAllowed(const AppState& app, Host& host) {
  if ((app.options.Sbsl && !app.choices.isChecked(Pref::Sbsl)) ||
      (app.options.Fscl && !app.choices.isChecked(Pref::Fscl))) {
    host.showMessage(kReShowMessage);
    return false;
  }
  return true;
}

std::int64_t NavigationTopRow(std::int64_t row, std::int64_t visibleRows) {
  return std::max<std::int64_t>(0, row - std::max<std::int64_t>(visibleRows, 1) / 3);
}

bool RowHasNumber(const AppState& app, std::size_t i) {
  return !(app.SummaryToMainOnly && i >= static_cast<std::size_t>(std::max(app.ListingLineCount, 0)));
}

std::string ViewerRowText(const AppState& app, const LineList& list, std::size_t i) {
  return RowHasNumber(app, i) ? numbered(static_cast<std::int64_t>(i) + 1, list[i]) : " " + list[i];
}

std::string HorizontalRowText(const AppState& app, const LineList& list, std::size_t i) {
  const auto row = static_cast<std::int64_t>(i);
  return (row > 2 && row < app.ListingLineCount) ? numbered(row - 2, list[i]) : " " + list[i];
}

// ---- ReportViewerModel: rows ----

const std::string* ReportViewerModel::storedLine(ViewerList list, std::int64_t i) const {
  const LineList& lines = list == ViewerList::Report ? app_.reportLines : app_.oldSideLines;
  if (i < 0 || i >= static_cast<std::int64_t>(lines.size())) return nullptr;
  return &lines[static_cast<std::size_t>(i)];
}

std::int64_t ReportViewerModel::rowCount(ViewerList list) const {
  if (kind_ == ViewerKind::Single && list == ViewerList::OldSide) return 0;
  return static_cast<std::int64_t>(list == ViewerList::Report ? app_.reportLines.size()
                                                              : app_.oldSideLines.size());
}

std::string ReportViewerModel::rowText(ViewerList list, std::int64_t i) const {
  const std::string* text = rowCount(list) > i ? storedLine(list, i) : nullptr;
  if (text == nullptr) {
    if (kind_ == ViewerKind::Single) return indexError("Negative", i);
    return indexError(list == ViewerList::Report ? "Invalid" : "Improper", i);
  }
  const LineList& lines = list == ViewerList::Report ? app_.reportLines : app_.oldSideLines;
  const auto row = static_cast<std::size_t>(i);
  return kind_ == ViewerKind::Horizontal ? HorizontalRowText(app_, lines, row)
                                         : ViewerRowText(app_, lines, row);
}

ReportLineKind ReportViewerModel::rowKind(ViewerList list, std::int64_t i) const {
  const std::string* text = storedLine(list, i);
  return text == nullptr ? ReportLineKind::Other : ClassifyReportLine(*text, app_.options.ListChng);
}

std::vector<TextSpan> ReportViewerModel::changedSpans(ViewerList list, std::int64_t i) const {
  if (rowCount(list) <= i || i < 0) return {};
  return ShownChangeSpans(app_, list == ViewerList::Report ? app_.reportLines : app_.oldSideLines,
                          static_cast<std::size_t>(i), rowText(list, i));
}

RowColour ReportViewerModel::rowColour(ViewerList list, std::int64_t i) const {
  const std::string* text = rowCount(list) > i ? storedLine(list, i) : nullptr;
  if (text == nullptr) return RowColour::Green;
  const ReportLineKind kind = rowKind(list, i);
  if (kind_ == ViewerKind::Horizontal) return horizontalColour(kind, text->size(), list);
  // The dual viewer's lists colour only the change codes of their own side.
  const ChangeSide side = ChangeSideOf(kind);
  if (kind_ == ViewerKind::Dual && side != ChangeSide::None && side != sideOf(list)) return RowColour::Black;
  return ReportLineColour(kind);
}

void ReportViewerModel::selectTop() {
  if (!app_.reportLines.empty()) selected_ = 0;
}

void ReportViewerModel::selectBottom() {
  if (!app_.reportLines.empty()) selected_ = static_cast<std::int64_t>(app_.reportLines.size()) - 1;
}

// ---- Change navigation ----

void ReportViewerModel::nextChange() {
  const std::int64_t hit = changeBelow(selected_);
  if (hit >= 0) selected_ = hit;
  // The single viewer also says so when the hit is the last row: nothing can follow it.
  const bool atEnd = kind_ == ViewerKind::Single && hit == rowCount(ViewerList::Report) - 1;
  if (hit < 0 || atEnd) host_.showMessage(kForwardMessage);
}

void ReportViewerModel::previousChange() {
  const std::int64_t hit = changeAbove(selected_);
  if (hit >= 0)
    selected_ = hit;
  else
    host_.showMessage(kBackwardMessage);
}

std::int64_t ReportViewerModel::changeBelow(std::int64_t from) const {
  return kind_ == ViewerKind::Single ? singleChangeBelow(from) : twoListChange(from, true);
}

std::int64_t ReportViewerModel::changeAbove(std::int64_t from) const {
  return kind_ == ViewerKind::Single ? singleChangeAbove(from) : twoListChange(from, false);
}

bool ReportViewerModel::isChangeRow(std::int64_t row) const {
  return ChangeSideOf(rowKind(ViewerList::Report, row)) != ChangeSide::None;
}

std::int64_t ReportViewerModel::singleChangeBelow(std::int64_t from) const {
  const std::int64_t count = rowCount(ViewerList::Report);
  std::int64_t row = 2;
  bool inSpan = true;
  if (from >= 2 && from < count) {
    row = from + 1;
    inSpan = isChangeRow(from);
  }
  for (; row < count; ++row) {
    if (!isChangeRow(row))
      inSpan = false;
    else if (!inSpan)
      return row;
  }
  return -1;
}

std::int64_t ReportViewerModel::singleChangeAbove(std::int64_t from) const {
  const std::int64_t count = rowCount(ViewerList::Report);
  std::int64_t row = count - 1;
  bool inSpan = true;
  if (from >= 0 && from < count) {
    row = from - 1;
    inSpan = isChangeRow(from);
  }
  for (; row >= 3; --row) {
    if (!isChangeRow(row))
      inSpan = false;
    else if (!inSpan)
      return row;
  }
  return -1;
}

std::int64_t ReportViewerModel::twoListChange(std::int64_t from, bool forward) const {
  enum class SpanState { Clear, Both, LeftOnly, RightOnly, Star };
  const std::int64_t leftCount = rowCount(ViewerList::Report);
  const auto hasRight = [&](std::int64_t j) {
    return j < static_cast<std::int64_t>(app_.oldSideLines.size());
  };
  const auto leftKind = [&](std::int64_t j) { return rowKind(ViewerList::Report, j); };
  const auto isL = [&](std::int64_t j) { return ChangeSideOf(leftKind(j)) == ChangeSide::New; };
  const auto isR = [&](std::int64_t j) {
    return hasRight(j) && ChangeSideOf(rowKind(ViewerList::OldSide, j)) == ChangeSide::Old;
  };

  SpanState state = SpanState::Clear;
  std::int64_t row = 0;
  const bool fromNothing = from < 0 || from >= leftCount || (forward && from < 3);
  if (fromNothing) {
    row = forward ? 3 : leftCount - 1;
  } else {
    const bool l = isL(from), r = isR(from);
    if (l && r)
      state = SpanState::Both;
    else if (l)
      state = SpanState::LeftOnly;
    else if (r)
      state = SpanState::RightOnly;
    else if (leftKind(from) == ReportLineKind::ChangedFile)
      state = SpanState::Star;
    row = forward ? from + 1 : from - 1;
  }
  const std::int64_t end = std::min<std::int64_t>(app_.SummaryStartLine, leftCount);
  for (; forward ? row < end : row >= 3; row += forward ? 1 : -1) {
    const ReportLineKind leftLine = leftKind(row);
    const bool rightExists = hasRight(row);
    const bool l = isL(row), r = isR(row);
    const bool leftBlank = startsWithBlank(leftLine);
    const bool rightBlank = rightExists && startsWithBlank(rowKind(ViewerList::OldSide, row));
    if ((leftBlank || leftLine == ReportLineKind::EqualFile) && (!rightExists || rightBlank)) {
      state = SpanState::Clear;
    } else if (state == SpanState::LeftOnly && l) {
      if (r) state = SpanState::Both;
    } else if (state == SpanState::RightOnly && r) {
      if (l) state = SpanState::Both;
    } else if ((state == SpanState::Clear && (l || r || startsWithStar(leftLine))) ||
               (state == SpanState::RightOnly && l) || (state == SpanState::LeftOnly && r)) {
      return row;
    } else if (state == SpanState::Both) {
      if (leftBlank || !rightExists || rightBlank) state = l ? SpanState::LeftOnly : SpanState::RightOnly;
    }
  }
  return -1;
}

// ---- File sections and Find ----

void ReportViewerModel::nextFileSection() {
  const std::int64_t count = rowCount(ViewerList::Report);
  std::int64_t row = selected_ + 1;
  std::int64_t last = count - 1;
  const char* message = kHorizontalSectionMessage;
  if (kind_ == ViewerKind::Single) {
    row = row < 3 ? 4 : row;
    last = app_.GroupSummaryStart;
    message = kSingleSectionMessage;
  } else if (kind_ == ViewerKind::Dual) {
    row = row < 3 ? 3 : row;
    last = app_.GroupSummaryStart - 1;
    message = kDualSectionMessage;
  } else {
    row = row < 3 ? 4 : row;
  }
  last = std::min(last, count - 1);
  for (; row <= last; ++row) {
    const ReportLineKind line = rowKind(ViewerList::Report, row);
    if (line == ReportLineKind::NewFileHeader || line == ReportLineKind::GroupTitle) {
      selected_ = row;
      return;
    }
  }
  host_.showMessage(message);
}

void ReportViewerModel::startFind() {
  if (selected_ < 0 && !app_.reportLines.empty()) selected_ = 0;
}

void ReportViewerModel::findNext(const std::string& dialogText, bool down) {
  if (app_.reportLines.empty()) return;
  const std::size_t first = dialogText.find_first_not_of(' ');
  std::string wanted = first == std::string::npos
                           ? std::string()
                           : dialogText.substr(first, dialogText.find_last_not_of(' ') + 1 - first);
  if (kind_ != ViewerKind::Single && wanted.size() > 128) wanted.resize(128);
  const auto lower = [](std::string text) {
    for (char& c : text)
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
  };
  wanted = lower(wanted);
  const std::int64_t count = static_cast<std::int64_t>(app_.reportLines.size());
  const std::int64_t rightCount = rowCount(ViewerList::OldSide);
  const auto hit = [&](std::int64_t row) {
    return lower(rowText(ViewerList::Report, row)).find(wanted) != std::string::npos ||
           (kind_ != ViewerKind::Single && row < rightCount &&
            lower(rowText(ViewerList::OldSide, row)).find(wanted) != std::string::npos);
  };
  // One pass over every row, starting beside the selection and going on from the other end of the
  // report when the search passes its end (or start): ending at the selected row itself.
  const std::int64_t step = down ? 1 : -1;
  const bool fromSelection = selected_ >= 0 && selected_ < count;
  std::int64_t row = fromSelection ? selected_ + step : (down ? 0 : count - 1);
  bool wrapped = false;
  for (std::int64_t examined = 0; examined < count; ++examined, row += step) {
    if (row < 0 || row >= count) {
      row = down ? 0 : count - 1;
      wrapped = true;
    }
    if (hit(row)) {
      selected_ = row;
      if (wrapped) host_.showMessage(down ? kFindWrappedDown : kFindWrappedUp);
      return;
    }
  }
  host_.showMessage("Text Not Found");
}

// ---- Settings ----

ViewerStartup CreateViewer(ViewerKind kind, MainPanelState& settings, ViewerGeometry design,
                           int designSplit) {
  ViewerStartup startup;
  startup.printFontSize = defaultEight(settings.PFontSz);
  startup.displayFontSize = defaultEight(settings.VLFontSz);
  ViewerGeometry& g = startup.geometry;
  g = design;
  startup.splitSize = designSplit;
  const auto apply = [&](const std::string& left, const std::string& top, const std::string& width,
                         const std::string& height) {
    g.left = parseOr(left, g.left);
    g.top = parseOr(top, g.top);
    g.width = parseOr(width, g.width);
    g.height = parseOr(height, g.height);
  };
  switch (kind) {
    case ViewerKind::Single:
      apply(settings.VLLeft1, settings.VLTop1, settings.VLWide1, settings.VLHt1);
      g.width = std::max(g.width, 710);
      break;
    case ViewerKind::Dual:
      startup.splitSize = parseOr(settings.SpSplit, designSplit);
      apply(settings.VLLeft2, settings.VLTop2, settings.VLWide2, settings.VLHt2);
      g.width = std::max(g.width, 732);
      break;
    case ViewerKind::Horizontal:
      apply(settings.VHLeft2, settings.VHTop2, settings.VHWide2, settings.VHHt2);
      startup.splitSize = parseOr(settings.SpSplit2, designSplit);
      break;
  }
  return startup;
}

void StoreViewerSettings(ViewerKind kind, MainPanelState& settings, const std::string& printFontSize,
                         const std::string& displayFontSize, ViewerGeometry geometry, int splitSize) {
  const auto store = [&](std::string& left, std::string& top, std::string& width, std::string& height) {
    left = std::to_string(geometry.left);
    top = std::to_string(geometry.top);
    width = std::to_string(geometry.width);
    height = std::to_string(geometry.height);
  };
  if (kind != ViewerKind::Horizontal) {
    settings.PFontSz = printFontSize;
    settings.VLFontSz = displayFontSize;
  }
  switch (kind) {
    case ViewerKind::Single:
      store(settings.VLLeft1, settings.VLTop1, settings.VLWide1, settings.VLHt1);
      break;
    case ViewerKind::Dual:
      store(settings.VLLeft2, settings.VLTop2, settings.VLWide2, settings.VLHt2);
      settings.SpSplit = std::to_string(splitSize);
      break;
    case ViewerKind::Horizontal:
      store(settings.VHLeft2, settings.VHTop2, settings.VHWide2, settings.VHHt2);
      settings.SpSplit2 = std::to_string(splitSize);
      break;
  }
}

}  // namespace kelvarine
