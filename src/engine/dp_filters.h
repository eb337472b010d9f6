#pragma once

#include <string>

#include "engine/compare_context.h"
#include "engine/compare_options.h"
#include "engine/line_table.h"
#include "engine/text_input.h"

namespace kelvarine {

// Marks one line as a Dp line or a part-Dp line under the selected Dp option and blanks its comment
// in Text; comments open at the end of the line are carried in the input's carry flags. Only called
// with an active Dp option. `blankLine` holds 2048 blanks.
void ClassifyDpLine(TextInput& input, LineRecord& record, const CompareOptions& options,
                    const std::string& blankLine);

// Blanks characters p..Len (1-based); the line becomes a Dp line when nothing but blanks is left,
// otherwise a part-Dp line.
void CutToEnd(LineRecord& record, int p);
// Blanks characters p..q; sets DpLine (clearing PartDp) when nothing but blanks is left, else PartDp.
void CutSpan(LineRecord& record, int p, int q);

// The line preparation pass over both tables of the current chunk: Dp classification, then the
// compare key of every line that is not a Dp line (lines 1..KeysMade of an input came with theirs).
void PrepareLines(CompareContext& context);

}  // namespace kelvarine
