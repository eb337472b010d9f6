#pragma once

#include "engine/compare_context.h"

namespace kelvarine {

// Decides whether the two files of a binary pair are identical, block by block; stops at the first
// difference. Sets the pair's NewBinBytes, OldBinBytes, AllRead, FilesDiffer and ReturnCode.
void CompareBinaryPair(CompareContext& context);

}  // namespace kelvarine
