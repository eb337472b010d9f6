#pragma once

#include "engine/compare_context.h"

namespace kelvarine {

// Whether the two open files of the pair hold the same bytes: equal sizes, then the bytes compared (at
// once when both files hold them in memory, else block by block, letting the front end process pending
// input every few megabytes). False as soon as a halt request is seen. Both files are left positioned at
// their start.
bool SameBytes(CompareContext& context);

// The pair text compare of a pair whose two files hold the same bytes, for a report that reads no line
// of a chunk whose lines are all alike: the New file's lines are read one after the other and only
// counted and measured (no line records, keys or matching; the Old file, byte for byte the same, is not
// read again), cut into chunks as the chunk loader cuts them, and each chunk goes to the report with the
// status texts, progress and halt checks of CompareTextPair. The report, the pair state and both text
// inputs end as CompareTextPair leaves them.
void CompareIdenticalPair(CompareContext& context);

}  // namespace kelvarine
