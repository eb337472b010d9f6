#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "engine/app_state.h"
#include "report/inline_diff.h"

namespace kelvarine {

// The listed text of a stored listing line: from its fifth character, 80 characters (128 with Fscl),
// without the blanks that pad it.
std::string_view ListedText(std::string_view line, bool fscl);
// Where the listed text starts in the stored line.
inline constexpr int kListedTextColumn = 4;

// What changed inside row `row` of a report list (the Old-side list when `oldSideList`), as spans of its
// stored line: its in-line difference with the row facing it (`app.facingRows`). Empty for a row that
// faces none, or when either row is no longer held.
std::vector<TextSpan> FacingChangeSpans(const AppState& app, bool oldSideList, std::int64_t row);
// The same for row `row` of `list` (one of app's two report lists) shown as `shown`, which ends with the
// stored line: spans of `shown`.
std::vector<TextSpan> ShownChangeSpans(const AppState& app, const LineList& list, std::size_t row,
                                       std::string_view shown);

}  // namespace kelvarine
