#pragma once

#include "engine/matcher_state.h"

namespace kelvarine {

// The moved-line search done the plain way; the engine's FindMovedLines must leave the same result.
void ReferenceFindMovedLines(MatcherState& state);

}  // namespace kelvarine
