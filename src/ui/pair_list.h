#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/app_state.h"

namespace kelvarine {

// One entry of a viewer's pair list: a file pair of the report, or the grouped summary at its end.
struct PairListEntry {
  std::string text;              // as the list shows it
  std::int64_t sectionRow = -1;  // the pair's "New File(" header row (the summary's title); -1: none
};

// The pair list of a report of two or more pairs (empty otherwise): each pair in pair order, flagged
// with the grouped summary's codes ("*" changed, "Err" not opened, "TDL" taken as equal by date and
// size), numbered as the report numbers them, with its names (one name when both are alike) and what
// the compare found: its count of changes as the grouped summary counts them (reformatted + inserted +
// deleted - paired), or binary, not compared; then the grouped summary. Only pairs the report lists
// have a section: the others (unchanged pairs of a Chng listing, every pair of an Ovsum listing) cannot
// be chosen. Counts come from the last set's pair statistics; section rows from one pass over the
// report's pair headers.
std::vector<PairListEntry> ListReportPairs(const AppState& app);

// The entry whose section holds `row`: the last one whose section starts at or above it; -1 when the
// row is above the first section.
int PairEntryAt(const std::vector<PairListEntry>& entries, std::int64_t row);

}  // namespace kelvarine
