#pragma once

#include "engine/matcher_state.h"

namespace kelvarine {

// Accepts the runs of the run table, longest first, as long as they keep the order of the pairs
// accepted before them: runs are dropped, trimmed against the left and right bounds, re-sorted, and
// equally long crossing runs rotated; every accepted run is paired line by line.
void AcceptRuns(MatcherState& state);

}  // namespace kelvarine
