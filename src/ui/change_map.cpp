#include "ui/change_map.h"

#include <algorithm>
#include <array>
#include <limits>
#include <optional>

#include "report/report_line_kind.h"

namespace kelvarine {
namespace {

constexpr std::size_t kNoRun = std::numeric_limits<std::size_t>::max();

// The lane of a change row; null for a row that is not one.
std::optional<MapLane> laneOf(ChangeSide side) {
  switch (side) {
    case ChangeSide::New:
      return MapLane::New;
    case ChangeSide::Old:
      return MapLane::Old;
    case ChangeSide::Both:
      return MapLane::Both;  // "*  ": a changed file of the grouped summary
    case ChangeSide::None:
      break;
  }
  return std::nullopt;
}

// Adds the change rows of one list to `marks`, a row joining the run just above it in its lane when the
// colour is the same.
void addMarks(const ReportViewerModel& model, ViewerList list, std::vector<ChangeMark>& marks) {
  std::array<std::size_t, 3> lastRun{kNoRun, kNoRun, kNoRun};  // by lane
  const std::int64_t count = model.rowCount(list);
  for (std::int64_t i = 0; i < count; ++i) {
    const std::optional<MapLane> lane = laneOf(ChangeSideOf(model.rowKind(list, i)));
    if (!lane) continue;
    const RowColour colour = model.rowColour(list, i);
    if (colour == RowColour::Black) continue;  // a code that this list leaves in the text colour
    std::size_t& run = lastRun[static_cast<std::size_t>(*lane)];
    if (run != kNoRun && marks[run].last + 1 == i && marks[run].colour == colour) {
      marks[run].last = i;
    } else {
      run = marks.size();
      marks.push_back({i, i, colour, *lane});
    }
  }
}

// Inserted and deleted lines stand out over reformatted ones where they share a pixel row.
int rank(RowColour colour) {
  switch (colour) {
    case RowColour::Black:
      return 0;
    case RowColour::Blue:
    case RowColour::Red:
      return 2;
    default:
      return 1;
  }
}

void merge(RowColour& into, RowColour colour) {
  if (rank(colour) > rank(into)) into = colour;
}

}  // namespace

ReportChanges FindReportChanges(const ReportViewerModel& model) {
  ReportChanges changes;
  changes.rows = std::max(model.rowCount(ViewerList::Report), model.rowCount(ViewerList::OldSide));
  addMarks(model, ViewerList::Report, changes.marks);
  addMarks(model, ViewerList::OldSide, changes.marks);
  for (std::int64_t row = model.changeBelow(-1); row >= 0; row = model.changeBelow(row))
    changes.starts.push_back(row);
  return changes;
}

std::string ChangeCounterText(const ReportChanges& changes, std::int64_t selected) {
  const auto spans = static_cast<std::int64_t>(changes.starts.size());
  if (spans == 0) return "No changes";
  const auto n =
      std::upper_bound(changes.starts.begin(), changes.starts.end(), selected) - changes.starts.begin();
  if (n == 0) return std::to_string(spans) + (spans == 1 ? " change" : " changes");
  return "Change " + std::to_string(n) + " of " + std::to_string(spans);
}

ChangeMapScale::ChangeMapScale(std::int64_t rows, int height)
    : rows_(std::max<std::int64_t>(rows, 1)), height_(std::max(height, 1)) {}

int ChangeMapScale::yOfRow(std::int64_t row) const {
  const std::int64_t clamped = std::clamp<std::int64_t>(row, 0, rows_);
  return static_cast<int>(clamped * height_ / rows_);
}

std::int64_t ChangeMapScale::rowAtY(int y) const {
  // A drag past either end of the strip goes to that end of the report.
  if (y < 0) return 0;
  if (y >= height_) return rows_ - 1;
  const std::int64_t pixel = y;
  // The first row r with yOfRow(r) >= y begins at y when several rows share it; when a row covers
  // several pixel rows, y falls inside the row before it.
  std::int64_t row = (pixel * rows_ + height_ - 1) / height_;
  if (row >= rows_ || yOfRow(row) > pixel) --row;
  return std::clamp<std::int64_t>(row, 0, rows_ - 1);
}

std::pair<int, int> ChangeMapScale::band(std::int64_t first, std::int64_t count) const {
  const int top = std::min(yOfRow(first), height_ - 1);
  const int bottom = std::clamp(yOfRow(first + std::max<std::int64_t>(count, 1)) - 1, top, height_ - 1);
  return {top, bottom};
}

std::vector<MapPixelRow> MapPixelRows(const ReportChanges& changes, int height) {
  std::vector<MapPixelRow> pixels(static_cast<std::size_t>(std::max(height, 0)));
  if (pixels.empty()) return pixels;
  const ChangeMapScale scale(changes.rows, height);
  for (const ChangeMark& mark : changes.marks) {
    const auto [top, bottom] = scale.band(mark.first, mark.last - mark.first + 1);
    for (int y = top; y <= bottom; ++y) {
      MapPixelRow& pixel = pixels[static_cast<std::size_t>(y)];
      if (mark.lane != MapLane::Old) merge(pixel.newLane, mark.colour);
      if (mark.lane != MapLane::New) merge(pixel.oldLane, mark.colour);
    }
  }
  return pixels;
}

std::int64_t CentredTopRow(std::int64_t row, std::int64_t visibleRows) {
  return std::max<std::int64_t>(0, row - std::max<std::int64_t>(visibleRows, 1) / 2);
}

}  // namespace kelvarine
