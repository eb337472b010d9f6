#pragma once

#include <string>

#include "engine/compare_context.h"

namespace kelvarine {

// Appends a print line (pair header, separator, summary, block header, "Not Shown" line). A pending
// pair header is written first; with Sbsl the line also goes to the Old-side list unless
// SummaryToMainOnly. A line the list cannot take sets the report note and shows the overflow message;
// while the note is set every line is dropped.
void AppendPrintLine(CompareContext& context, const std::string& line);

// Appends a listing-body line: characters below 32 from column 5 on become the Subc character (or
// "."), the line is routed by its ID code with Sbsl (padding the lists where matched material
// starts), and every 50th listing line of the set updates the progress text.
void AppendListingLine(CompareContext& context, std::string line);

// Arms the pair header when none is pending (nothing is written; the Chng gap becomes pending),
// otherwise writes it: " " unless the list is empty, the New and Old file lines and the ruler.
void ArmPairHeader(CompareContext& context);

// With Sbsl: adds " " lines to the shorter of the two report lists until both are as long.
void PadReportLists(CompareContext& context);

}  // namespace kelvarine
