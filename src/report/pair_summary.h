#pragma once

#include "engine/compare_context.h"

namespace kelvarine {

// The individual pair summary: counts, options line, compare columns and the input warnings.
void WritePairSummary(CompareContext& context);

}  // namespace kelvarine
