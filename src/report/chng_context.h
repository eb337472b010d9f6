#pragma once

#include <string>

#include "engine/compare_context.h"
#include "report/listing_lines.h"

namespace kelvarine {

// Passes a listing line of the Long/Chng walk on. Outside the Chng listing it goes straight to the
// report; in the Chng listing unchanged lines are held so that at most six are shown on either side
// of a change, and each gap of dropped lines is reported by one "Not Shown" line.
void HoldChngLine(CompareContext& context, std::string line);

// The same for a matched line (as MatchedLine makes it), which is made only if it is shown. Its text
// is held where it is until KeepChngHeldLines.
void HoldChngMatchedLine(CompareContext& context, ListingText text, int newRef, int oldRef);

// Of `count` unchanged lines about to be held one after the other, how many the Chng context would only
// count as not shown: all but the last six, when it holds no trailing context and its window is full.
int ChngLinesToPass(const CompareContext& context, int count);
// Counts `count` such lines as not shown, without holding them.
void PassChngLines(CompareContext& context, int count);

// At the end of a chunk's listing: the held matched lines keep a copy of their text, which goes with the
// chunk.
void KeepChngHeldLines(CompareContext& context);

// Writes the "Not Shown" line with the pair's count of dropped lines; the gap is no longer pending.
void WriteNotShownLine(CompareContext& context);

// End of the Chng context at the final chunk of a pair that had changes: flushes the trailing
// context lines, or counts the held lines as not shown and writes the "Not Shown" line.
void FinishChngContext(CompareContext& context);

}  // namespace kelvarine
