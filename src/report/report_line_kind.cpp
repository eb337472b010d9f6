#include "report/report_line_kind.h"

namespace kelvarine {

ReportLineKind ClassifyReportLine(std::string_view line, bool listChng) {
  using K = ReportLineKind;
  const auto is = [line](std::string_view prefix) { return line.starts_with(prefix); };
  // One branch on the first byte keeps this cheap: change navigation classifies every row it passes.
  switch (line.empty() ? '\0' : line[0]) {
    case ' ':
      if (!is("   ")) return K::Indented;
      return listChng && is("   ************* ") ? K::NotShownGap : K::Matched;
    case 'I':
      if (is("I -")) return K::Inserted;
      if (is("IM-")) return K::InsertedMoved;
      if (is("ID  ----+-")) return K::Ruler;
      if (is("INDIVIDUAL")) return K::IndividualTitle;
      if (is("INFORM: ")) return K::StatusInform;
      break;
    case 'D':
      if (is("D -")) return K::Deleted;
      if (is("DM-")) return K::DeletedMoved;
      break;
    case 'R':
      if (is("RN-")) return K::ReformattedNew;
      if (is("RO-")) return K::ReformattedOld;
      break;
    case '*':
      return is("*  ") ? K::ChangedFile : K::Starred;
    case 'T':
      if (is("TDL")) return K::EqualFile;
      break;
    case 'N':
      if (is("New File(")) return K::NewFileHeader;
      if (is("New File =")) return K::NewFileLabel;
      if (is("New Dir =")) return K::NewDirHeader;
      break;
    case 'O':
      if (is("Old File(")) return K::OldFileHeader;
      if (is("Old File =")) return K::OldFileLabel;
      if (is("Old Dir =")) return K::OldDirHeader;
      break;
    case 'S':
      if (is("Summary Ne")) return K::NewSummaryTitle;
      if (is("Summary Ol")) return K::OldSummaryTitle;
      break;
    case 'L':
      if (is("LISTING-TY")) return K::ListingType;
      break;
    case 'K':
      if (is("Kelvarn GR")) return K::GroupTitle;
      if (is("Kelvarn ")) return K::ProgramTitle;
      break;
    case 'E':
      if (is("ERROR: ")) return K::StatusError;
      break;
    default:
      break;
  }
  return K::Other;
}

ChangeSide ChangeSideOf(ReportLineKind kind) {
  switch (kind) {
    case ReportLineKind::Inserted:
    case ReportLineKind::InsertedMoved:
    case ReportLineKind::ReformattedNew:
      return ChangeSide::New;
    case ReportLineKind::Deleted:
    case ReportLineKind::DeletedMoved:
    case ReportLineKind::ReformattedOld:
      return ChangeSide::Old;
    case ReportLineKind::ChangedFile:
      return ChangeSide::Both;
    default:
      return ChangeSide::None;
  }
}

}  // namespace kelvarine
