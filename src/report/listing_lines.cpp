#include "report/listing_lines.h"

#include "report/report_format.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace kelvarine {

namespace {

constexpr int kHeaderIndent = 88;       // blanks before the block counts
constexpr int kMinReferenceWidth = 28;  // the Fscl block header's narrowest text width
constexpr int kReferenceShift = 23;     // that width less this many blanks precede the references
constexpr int kReferenceField = 12;     // "LRef#=%-.5d " when shown, else this many blanks

// The prefix, the text field and (without Fscl) the tail, cut at the line width.
std::string assemble(const char* prefix, ListingText line, bool fscl, const std::string& tail,
                     bool blankWhenEmpty = false) {
  std::string out = prefix;
  const int len = line.text == nullptr ? 0 : std::max(line.len, 0);
  const int width = fscl ? kFullTextWidth : kPlainTextWidth;
  if (len > 0) out.append(line.text, static_cast<std::size_t>(std::min(len, width)));
  if (!fscl || (len == 0 && blankWhenEmpty))
    out.resize(out.size() + static_cast<std::size_t>(width - std::min(len, width)), ' ');
  if (!fscl) out += tail;
  if (out.size() > kReportLineWidth) out.resize(kReportLineWidth);
  return out;
}

}  // namespace

std::string MatchedLine(ListingText line, bool fscl, int newRef, int oldRef) {
  std::string tail;
  if (!fscl) {  // " %.5d              %.5d"
    tail += ' ';
    AppendReference(tail, newRef);
    tail.append(14, ' ');
    AppendReference(tail, oldRef);
  }
  return assemble("    ", line, fscl, tail);
}

std::string ReformatNewLine(ListingText line, bool fscl, int newRef) {
  return assemble("RN- ", line, fscl, FormatReportLine(" %.5d REFORM(NEW)", newRef));
}

std::string ReformatOldLine(ListingText line, bool fscl, int oldRef) {
  return assemble("RO- ", line, fscl, FormatReportLine("      REFORM(OLD)  %.5d", oldRef));
}

std::string InsertedLine(ListingText line, bool fscl, int newRef, bool first, int runLength) {
  std::string tail = FormatReportLine(" %.5d INSERT", newRef);
  if (first) tail += "(NEW)          " + FormatReportLine("%-5d", runLength);
  return assemble("I - ", line, fscl, tail);
}

std::string MovedInsertedLine(ListingText line, bool fscl, int newRef, int partnerOldRef) {
  return assemble("IM- ", line, fscl, FormatReportLine(" %.5d MOVE(N TO O) %.5d", newRef, partnerOldRef));
}

std::string DeletedLine(ListingText line, bool fscl, int oldRef, bool first, int runLength) {
  std::string tail = "       DELETED";
  tail += first ? FormatReportLine("(OLD) %.5d   %-5d", oldRef, runLength)
                : FormatReportLine("      %.5d", oldRef);
  return assemble("D - ", line, fscl, tail);
}

std::string MovedDeletedLine(ListingText line, bool fscl, int partnerNewRef, int oldRef) {
  return assemble("DM- ", line, fscl, FormatReportLine(" %.5d MOVE(O TO N) %.5d", partnerNewRef, oldRef));
}

std::string DpListingLine(ListingText line, bool fscl, int newRef) {
  return assemble("    ", line, fscl, FormatReportLine(" %.5d DPLINE(NEW) ", newRef),
                  /*blankWhenEmpty=*/true);
}

std::string BlockHeaderLine(const BlockCounts& counts) {
  return std::string(kHeaderIndent, ' ') + FormatReportLine("Mat/Ins/Del/Rfm=(%d,%d,%d,%d)", counts.matches,
                                                            counts.inserts, counts.deletes, counts.reformats);
}

std::string ReferenceBlockHeaderLine(int longestLine, bool showLeft, int leftRef, bool showRight,
                                     int rightRef) {
  const int width = std::max(kMinReferenceWidth, std::min(kFullTextWidth, longestLine) + 4) - kReferenceShift;
  std::string out(static_cast<std::size_t>(width), ' ');
  out += showLeft ? FormatReportLine("LRef#=%-.5d ", leftRef) : std::string(kReferenceField, ' ');
  if (showRight) out += FormatReportLine("RRef#=%-.5d", rightRef);
  if (out.size() > kReportLineWidth) out.resize(kReportLineWidth);
  return out;
}

std::string NotShownLine(int skipped) {
  return FormatReportLine("   ************* %d New File Lines Not Shown *****************************",
                          skipped);
}

bool ExactMatch(std::string_view a, std::string_view b) {
  const std::size_t common = std::min(a.size(), b.size());
  const std::string_view rest = a.size() > common ? a.substr(common) : b.substr(common);
  return a.substr(0, common) == b.substr(0, common) && rest.find('\0') == std::string_view::npos;
}

}  // namespace kelvarine
