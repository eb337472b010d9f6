#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "ui/viewer_model.h"

namespace kelvarine {

// The two halves of the change map: New-side changes (inserted and reformatted New lines) on the left,
// Old-side ones (deleted and reformatted Old lines) on the right; a flagged changed-file row of the
// grouped summary takes both.
enum class MapLane : std::uint8_t { New, Old, Both };

// Consecutive rows of one colour in one lane.
struct ChangeMark {
  std::int64_t first = 0, last = 0;
  RowColour colour = RowColour::Black;
  MapLane lane = MapLane::New;
  bool operator==(const ChangeMark&) const = default;
};

// Where the changes of an open report are, found once when a viewer opens it (one pass over its rows)
// and shared by the change map and the change counter.
struct ReportChanges {
  std::int64_t rows = 0;             // rows the map stands for: the longer of the viewer's lists
  std::vector<ChangeMark> marks;     // change rows in their row colours; each list's by first row
  std::vector<std::int64_t> starts;  // the change spans: where forward navigation stops, ascending
};

// Change rows are coloured as the viewer shows them: the change codes of each list of `model`.
ReportChanges FindReportChanges(const ReportViewerModel& model);

// The text beside the change navigation buttons. The report's change spans are the rows forward change
// navigation stops at when it is walked from the top of the report, M of them; change N is the last of
// those at or above the selected row, that is the span holding the selection or the last one above
// it. "Change N of M"; "M changes" while the selection is above the first span (or there is none);
// "No changes" when the report has none.
std::string ChangeCounterText(const ReportChanges& changes, std::int64_t selected);

// The scale of a change map: `rows` report rows on a strip `height` pixel rows high. Row r begins at
// pixel row floor(r * height / rows); several rows share a pixel row on a long report, a row covers
// several on a short one.
class ChangeMapScale {
 public:
  ChangeMapScale(std::int64_t rows, int height);

  int yOfRow(std::int64_t row) const;
  // The row a click at pixel row y points at: the first row that begins there or the one that covers
  // it; above the strip the first row, below it the last.
  std::int64_t rowAtY(int y) const;
  // The pixel rows (first, last) that rows [first, first + count) cover: at least one pixel row.
  std::pair<int, int> band(std::int64_t first, std::int64_t count) const;

 private:
  std::int64_t rows_;
  int height_;
};

// One pixel row of the map: the colour of each lane (Black: no mark there).
struct MapPixelRow {
  RowColour newLane = RowColour::Black;
  RowColour oldLane = RowColour::Black;
  bool operator==(const MapPixelRow&) const = default;
};

// The marks merged per pixel row of a strip `height` high. Where rows of several colours meet in one
// pixel row, inserted and deleted lines (blue, red) win over reformatted ones (teal, maroon). Costs the
// number of marks plus the height, whatever the report's length.
std::vector<MapPixelRow> MapPixelRows(const ReportChanges& changes, int height);

// The top row that puts `row` in the middle of a list showing `visibleRows` rows: where a click on the
// map scrolls the list.
std::int64_t CentredTopRow(std::int64_t row, std::int64_t visibleRows);

}  // namespace kelvarine
