#include "report/listing_lines.h"

#include "report/report_format.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <string>
#include <string_view>

namespace kelvarine {

namespace {

constexpr int kHeaderIndent = 88;       // blanks before the block counts
constexpr int kMinReferenceWidth = 28;  // the Fscl block header's narrowest text width
constexpr int kReferenceShift = 23;     // that width less this many blanks precede the references
constexpr int kReferenceField = 12;     // "LRef#=%-.5d " when shown, else this many blanks

// The prefix, the text field and (without Fscl) the tail, cut at the line width.
std::string assemble(const char* prefix, ListingText line, bool fscl, std::string_view tail,
                     bool blankWhenEmpty = false) {
  const int len = line.text == nullptr ? 0 : std::max(line.len, 0);
  const int width = fscl ? kFullTextWidth : kPlainTextWidth;
  const auto shown = static_cast<std::size_t>(std::min(len, width));
  std::string out;
  out.reserve(kReportLineWidth);
  out.append(prefix);
  if (shown > 0) out.append(line.text, shown);
  if (!fscl || (len == 0 && blankWhenEmpty)) out.append(static_cast<std::size_t>(width) - shown, ' ');
  if (!fscl) out += tail;
  if (out.size() > kReportLineWidth) out.resize(kReportLineWidth);
  return out;
}

// The reference and change-type columns of a listing line, built without printf's cost: the listing
// writes them on every line.
class Tail {
 public:
  Tail& text(std::string_view part) {
    end_ = std::copy(part.begin(), part.end(), end_);
    return *this;
  }
  // "%.5d"
  Tail& reference(int value) {
    end_ = WriteReference(end_, value);
    return *this;
  }
  // "%-5d"
  Tail& count(int value) {
    char* start = end_;
    end_ = std::to_chars(end_, end_ + 12, value).ptr;
    while (end_ - start < 5)
      *end_++ = ' ';
    return *this;
  }
  std::string_view view() const { return {buffer_, static_cast<std::size_t>(end_ - buffer_)}; }

 private:
  char buffer_[64];
  char* end_ = buffer_;
};

}  // namespace

std::string MatchedLine(ListingText line, bool fscl, int newRef, int oldRef) {
  Tail tail;
  if (!fscl) tail.text(" ").reference(newRef).text("              ").reference(oldRef);
  return assemble("    ", line, fscl, tail.view());
}

std::string ReformatNewLine(ListingText line, bool fscl, int newRef) {
  Tail tail;
  return assemble("RN- ", line, fscl, tail.text(" ").reference(newRef).text(" REFORM(NEW)").view());
}

std::string ReformatOldLine(ListingText line, bool fscl, int oldRef) {
  Tail tail;
  return assemble("RO- ", line, fscl, tail.text("      REFORM(OLD)  ").reference(oldRef).view());
}

std::string InsertedLine(ListingText line, bool fscl, int newRef, bool first, int runLength) {
  Tail tail;
  tail.text(" ").reference(newRef).text(" INSERT");
  if (first) tail.text("(NEW)          ").count(runLength);
  return assemble("I - ", line, fscl, tail.view());
}

std::string MovedInsertedLine(ListingText line, bool fscl, int newRef, int partnerOldRef) {
  Tail tail;
  tail.text(" ").reference(newRef).text(" MOVE(N TO O) ").reference(partnerOldRef);
  return assemble("IM- ", line, fscl, tail.view());
}

std::string DeletedLine(ListingText line, bool fscl, int oldRef, bool first, int runLength) {
  Tail tail;
  tail.text("       DELETED");
  if (first) {
    tail.text("(OLD) ").reference(oldRef).text("   ").count(runLength);
  } else {
    tail.text("      ").reference(oldRef);
  }
  return assemble("D - ", line, fscl, tail.view());
}

std::string MovedDeletedLine(ListingText line, bool fscl, int partnerNewRef, int oldRef) {
  Tail tail;
  tail.text(" ").reference(partnerNewRef).text(" MOVE(O TO N) ").reference(oldRef);
  return assemble("DM- ", line, fscl, tail.view());
}

std::string DpListingLine(ListingText line, bool fscl, int newRef) {
  Tail tail;
  tail.text(" ").reference(newRef).text(" DPLINE(NEW) ");
  return assemble("    ", line, fscl, tail.view(), /*blankWhenEmpty=*/true);
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
