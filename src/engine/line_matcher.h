#pragma once

#include "engine/compare_context.h"

namespace kelvarine {

// Pairs the New and Old lines of the current chunk: Matched lines keep their order in both files,
// long runs of equal lines are preferred, unpaired lines are insertions and deletions; with Fmvl the
// moved-line search then pairs equal unpaired lines as moved. In a large chunk that is not the last,
// the tables may be cut short after the last reliable match (the text inputs' Count is lowered).
void MatchChunk(CompareContext& context);

}  // namespace kelvarine
