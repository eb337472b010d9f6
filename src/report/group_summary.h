#pragma once

#include <string>

#include "engine/compare_context.h"

namespace kelvarine {

// Copies the pair counters into the pair's statistics entry and adds them to the set totals; called
// once per pair at its final chunk.
void AccumulatePairStatistics(CompareContext& context);

// The grouped summary of the set: per-file table, file and line totals, binary sizes, unpaired
// files (compare type 2 with Inpn), options line and the selected-pair list (types 3 and 4).
void WriteGroupSummary(CompareContext& context);

// A name longer than `width`: its first width - 6 characters, "..", and its last four characters.
std::string ShortenName(const std::string& name, int width);

}  // namespace kelvarine
