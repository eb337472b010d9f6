#include "report/report_line_kind.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kelvarine {
namespace {

using K = ReportLineKind;

// Every front end colours and routes by these kinds, so one table states what each text is: the ID
// codes, the titles the colours look for, and the texts that only look like them.
struct KindCase {
  std::string line;
  bool listChng;
  K kind;
};

class ReportLineKindTest : public ::testing::TestWithParam<KindCase> {};

TEST_P(ReportLineKindTest, TextGivesItsKind) {
  const KindCase& c = GetParam();
  EXPECT_EQ(static_cast<int>(ClassifyReportLine(c.line, c.listChng)), static_cast<int>(c.kind))
      << '"' << c.line << '"' << (c.listChng ? " in Chng" : "");
}

const std::vector<KindCase> kKindCases = {
    {"    alpha          00001 ", false, K::Matched},
    {"   ", false, K::Matched},
    {"  ", false, K::Indented},  // too short for the matched code
    {" ", false, K::Indented},   // the padding line
    {"   ************* 3 New File Lines Not Shown ****", true, K::NotShownGap},
    {"   ************* 3 New File Lines Not Shown ****", false, K::Matched},
    {"   *************x", true, K::Matched},  // the gap's blank after the stars is part of it
    {"I - new", false, K::Inserted},
    {"I -", false, K::Inserted},
    {"I-", false, K::Other},
    {"IM- moved", false, K::InsertedMoved},
    {"D - old", false, K::Deleted},
    {"DM- moved", false, K::DeletedMoved},
    {"RN- new", false, K::ReformattedNew},
    {"RO- old", false, K::ReformattedOld},
    {"R - x", false, K::Other},
    {"*    a.txt", false, K::ChangedFile},
    {"* x", false, K::Starred},
    {"TDL= a.txt", false, K::EqualFile},
    {"New File(2) = /a/x.txt  01/02/26 10:00:00", false, K::NewFileHeader},
    {"Old File(2) = /b/x.txt", false, K::OldFileHeader},
    {"New File = /a/x.txt", false, K::NewFileLabel},
    {"Old File = /b/x.txt", false, K::OldFileLabel},
    {"New Dir = /a", false, K::NewDirHeader},
    {"Old Dir = /b", false, K::OldDirHeader},
    {"Old  Dir = /b", false, K::Other},
    {"ID  ----+----1----+", false, K::Ruler},
    {"ID  ---", false, K::Other},
    {"Summary New File(1) = /a/x.txt", false, K::NewSummaryTitle},
    {"Summary Old File(1) = /b/x.txt", false, K::OldSummaryTitle},
    {"INDIVIDUAL PAIRED FILE", false, K::IndividualTitle},
    {"LISTING-TYPE = Chng", false, K::ListingType},
    {"Kelvarn GROUPED COMPARE SUMMARY", false, K::GroupTitle},
    {"Kelvarn File Compare", false, K::ProgramTitle},
    {"KelvarnGR", false, K::Other},
    {"INFORM: Compare complete.", false, K::StatusInform},
    {"ERROR: User error.", false, K::StatusError},
    {"ERROR:x", false, K::Other},
    {"", true, K::Other},
};

INSTANTIATE_TEST_SUITE_P(Lines, ReportLineKindTest, ::testing::ValuesIn(kKindCases));

}  // namespace
}  // namespace kelvarine
