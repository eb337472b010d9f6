#pragma once

#include <string_view>

namespace kelvarine {

// What a report line is, as far as the viewers, printing, saving, the terminal and the side-by-side
// routing tell lines apart. The text decides: the line's first characters (its ID code or title).
enum class ReportLineKind {
  Matched,          // "   ": a matched line, a Dp line
  NotShownGap,      // "   ************* " in a Chng listing: the count of matched lines left out
  Indented,         // any other line starting with a blank: the " " padding line, summary rows
  Inserted,         // "I -"
  InsertedMoved,    // "IM-"
  Deleted,          // "D -"
  DeletedMoved,     // "DM-"
  ReformattedNew,   // "RN-"
  ReformattedOld,   // "RO-"
  ChangedFile,      // "*  ": a changed pair's row of the grouped summary's per-file table
  Starred,          // any other line starting with "*"
  EqualFile,        // "TDL": a pair's row taken as equal by date and size
  NewFileHeader,    // "New File(": the pair header's New file line
  OldFileHeader,    // "Old File("
  NewFileLabel,     // "New File ="
  OldFileLabel,     // "Old File ="
  NewDirHeader,     // "New Dir ="
  OldDirHeader,     // "Old Dir ="
  Ruler,            // "ID  ----+-"
  NewSummaryTitle,  // "Summary Ne"
  OldSummaryTitle,  // "Summary Ol"
  IndividualTitle,  // "INDIVIDUAL"
  ListingType,      // "LISTING-TY"
  GroupTitle,       // "Kelvarn GR": the grouped summary's title
  ProgramTitle,     // any other "Kelvarn "
  StatusInform,     // "INFORM: "
  StatusError,      // "ERROR: "
  Other,
};

// The kind of a stored report line (no row number). `listChng`: the set ran with the Chng listing, the
// only one with not-shown gaps; elsewhere such a text is a matched line.
ReportLineKind ClassifyReportLine(std::string_view line, bool listChng);

// The side a change line stands for: New (inserted, reformatted New), Old (deleted, reformatted Old),
// Both (a changed file of the grouped summary); None for every line that is not one of the seven change
// codes.
enum class ChangeSide { None, New, Old, Both };
ChangeSide ChangeSideOf(ReportLineKind kind);

}  // namespace kelvarine
