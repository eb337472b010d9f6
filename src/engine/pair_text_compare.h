#pragma once

#include "engine/compare_context.h"

namespace kelvarine {

// Compares one text pair chunk by chunk: load, prepare and match when the lines differ, hand the chunk
// to the report, resume behind the last line kept.
void CompareTextPair(CompareContext& context);

}  // namespace kelvarine
