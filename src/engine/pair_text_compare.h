#pragma once

#include <string>

#include "engine/compare_context.h"

namespace kelvarine {

// Compares one text pair chunk by chunk: load, prepare and match when the lines differ, hand the chunk
// to the report, resume behind the last line kept.
void CompareTextPair(CompareContext& context);

// The start of a text pair's compare, whichever way it is compared: the pair not read yet, no pair
// header or report note pending.
void StartPair(CompareContext& context);

// The end of a loaded (and matched) chunk, whichever way it was compared: a pair whose bytes differ
// behind an end-of-file character has differences, the report takes the chunk, and a chunk cut before
// the end leaves the moved-line search short of the whole pair. `names` is the status text's pair.
void ReportChunk(CompareContext& context, const std::string& names);

}  // namespace kelvarine
