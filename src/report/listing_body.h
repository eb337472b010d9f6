#pragma once

#include "engine/compare_context.h"

namespace kelvarine {

// The listing of one compare chunk: re-reads both files so every line is shown as in the file,
// decides exact and reformatted matches, counts runs and the pair counters, and writes the lines of
// the chosen listing type (Long, Chng with its context window, Delta with block headers; Ovsum only
// counts).
void WriteListingBody(CompareContext& context);

// Two identical files (with Long or an active Dp option): re-reads the chunk's New lines and pairs
// New line i with Old line i, Dp lines excepted, so the listing body lists them as matched.
void ListIdenticalFiles(CompareContext& context);

// A text pair taken as equal by Aeqf: reads the New file only, counts it, and lists it with Long.
void ListAeqfPair(CompareContext& context);

// End of a Delta pair: matches still carried for a later block header belong to this pair. A pair with
// differences gets a block header with them (as the last block of a one-chunk pair does); an identical
// pair lists nothing. Either way none is carried into the next pair.
void FinishDeltaCarry(CompareContext& context);

}  // namespace kelvarine
