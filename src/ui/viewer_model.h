#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/app_state.h"
#include "engine/host.h"
#include "report/inline_diff.h"
#include "report/report_line_kind.h"
#include "ui/main_panel_state.h"

namespace kelvarine {

// Whether the single and dual viewers show row i with its row number (not a summary row).
bool RowHasNumber(const AppState& app, std::size_t i);
// Row i of a list as the single and dual viewers show it: "%4d  " with i + 1 then the line, or " " then
// the line for a summary row.
std::string ViewerRowText(const AppState& app, const LineList& list, std::size_t i);
// Row i as the horizontal viewer shows it: rows 3 up to the summary numbered from 1, the others " ".
std::string HorizontalRowText(const AppState& app, const LineList& list, std::size_t i);

// The three report viewers: one list; two lists side by side; two lists one above the other.
enum class ViewerKind { Single, Dual, Horizontal };

// Which list of a viewer: the report line list (single list, left or top) or the Old-side line list
// (right or bottom).
enum class ViewerList { Report, OldSide };

// Text colours of viewer rows; Black is the list's default text colour.
enum class RowColour { Black, Red, Blue, Teal, Maroon, Purple, Green };

// The colour's RGB value (0xRRGGBB; Black is 0x000000).
std::uint32_t RowColourRgb(RowColour colour);

// The colour of a report line in the single-panel viewer, by its kind.
RowColour ReportLineColour(ReportLineKind kind);

// What a viewer shows around its rows when it opens.
struct ViewerLayout {
  ViewerKind kind = ViewerKind::Single;
  std::string caption;
  bool headerShown = false;
  std::string reportHeader, oldSideHeader;  // oldSideHeader is empty for the single viewer
  std::string newLabel, oldLabel;
  bool fileSectionEnabled = false;
  std::int64_t reportRows = 0, oldSideRows = 0;
  std::int64_t initialSelection = -1;  // row 0 of the lists (scrolled to the top), -1 when empty
};

// The ruler extension of the column headers: the first W - 80 characters of the long ruler, where W
// is the set's longest line capped at 128; empty unless Fscl was on for the set and W > 80.
std::string RulerExtension(const CompareOptions& options);

// Chooses and fills the viewer for the last report: the dual viewer when the Sbsl box is checked now
// and the Old-side line list is not empty, otherwise the single viewer. `reportStamp` is the date and
// time (without seconds) that ends the caption.
ViewerLayout ShowReport(const AppState& app, bool sbslCheckedNow, const std::string& reportStamp);

// The horizontal viewer opened from the dual viewer's HSplit button; nothing when the set ran without
// Sbsl or the Old-side line list is empty.
std::optional<ViewerLayout> ShowHorizontalViewer(const AppState& app, const std::string& reportStamp);

// The Re-Show Last Report Panel check: false, after the "preferences have changed" message, when the
// last set ran with Sbsl or Fscl and that box is now unchecked (the caller then disables the button).
bool ReShowAllowed(const AppState& app, Host& host);

// The top row that puts a row reached by navigation or Find in the upper third of a list showing
// `visibleRows` rows, with the rows after it in sight.
std::int64_t NavigationTopRow(std::int64_t row, std::int64_t visibleRows);

// One open viewer over the application's report lists. Rows are formatted on demand; nothing is
// copied or precomputed, so opening a report of any length costs nothing. The selection is one row
// index shared by both lists of the two-list viewers (-1: none).
class ReportViewerModel {
 public:
  ReportViewerModel(const AppState& app, Host& host, ViewerKind kind) : app_(app), host_(host), kind_(kind) {}

  ViewerKind kind() const { return kind_; }
  std::int64_t rowCount(ViewerList list) const;
  // The stored line of row i (without row number), or null for an index outside the list.
  const std::string* storedLine(ViewerList list, std::int64_t i) const;
  // The displayed text of row i: the row number (or a blank for unnumbered rows) and the stored line;
  // for an index outside the list, the list's error text.
  std::string rowText(ViewerList list, std::int64_t i) const;
  // The kind of row i's stored line (Other for an index outside the list).
  ReportLineKind rowKind(ViewerList list, std::int64_t i) const;
  RowColour rowColour(ViewerList list, std::int64_t i) const;
  // What changed inside row i when it is a paired change line, as spans of its displayed text (rowText).
  std::vector<TextSpan> changedSpans(ViewerList list, std::int64_t i) const;

  std::int64_t selected() const { return selected_; }
  void select(std::int64_t row) { selected_ = row; }
  // "To &Top" and "To &Btm": the first / last row of the report line list, when there is one.
  void selectTop();
  void selectBottom();
  // The last row of one list (-1 when it is empty): "To &Btm" selects it in each list of a two-list
  // viewer, whose Old-side list may be shorter than the shared selection.
  std::int64_t bottomRow(ViewerList list) const { return rowCount(list) - 1; }

  // The two arrow buttons of change navigation; select the hit or show the "No more ..." message.
  void nextChange();
  void previousChange();
  // The row change navigation down / up stops at when `from` is selected (-1: nothing), or -1 when it
  // finds none. Selects nothing and shows nothing.
  std::int64_t changeBelow(std::int64_t from) const;
  std::int64_t changeAbove(std::int64_t from) const;
  // The file-section button: the next pair header or grouped summary title after the selection.
  void nextFileSection();
  // "Find...": selects row 0 when nothing is selected and the report has rows (the dialog then opens,
  // direction Down).
  void startFind();
  // One "Find Next" of the find dialog: from the row beside the selection to the end (or start) of the
  // report, then on from the other end with a message saying so; "Text Not Found" when no row holds
  // the text.
  void findNext(const std::string& dialogText, bool down);

 private:
  // Row i of the report line list is a change row: it begins with one of the seven change codes.
  bool isChangeRow(std::int64_t row) const;
  std::int64_t singleChangeBelow(std::int64_t from) const;
  std::int64_t singleChangeAbove(std::int64_t from) const;
  std::int64_t twoListChange(std::int64_t from, bool forward) const;

  const AppState& app_;
  Host& host_;
  ViewerKind kind_;
  std::int64_t selected_ = -1;
};

// A window's position and size in pixels.
struct ViewerGeometry {
  int left = 0, top = 0, width = 0, height = 0;
};

// What a viewer window starts with at program start: font sizes, geometry and the splitter size (the
// dual viewer's left list width; the horizontal viewer's top list height).
struct ViewerStartup {
  std::string printFontSize, displayFontSize;
  ViewerGeometry geometry;
  int splitSize = 0;
};

// Viewer creation: empty font settings become "8" (in `settings` too), stored geometry that is not
// empty replaces the design values, and the width is raised to 710 (single) or 732 (dual) pixels.
ViewerStartup CreateViewer(ViewerKind kind, MainPanelState& settings, ViewerGeometry design, int designSplit);

// Stores a viewer's settings when it closes. The font sizes are ignored for the horizontal viewer, and
// the split size for the single viewer.
void StoreViewerSettings(ViewerKind kind, MainPanelState& settings, const std::string& printFontSize,
                         const std::string& displayFontSize, ViewerGeometry geometry, int splitSize);

}  // namespace kelvarine
