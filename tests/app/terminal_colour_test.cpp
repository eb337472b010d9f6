#include "app/terminal_colour.h"

#include <gtest/gtest.h>

namespace kelvarine {
namespace {

struct DecisionCase {
  const char* name;
  ColourWhen when;
  bool terminal;
  const char* term;      // null: unset
  const char* noColour;  // null: unset
  bool coloured;
  friend void PrintTo(const DecisionCase& c, std::ostream* out) { *out << c.name; }
};

class ColourDecisionTest : public ::testing::TestWithParam<DecisionCase> {};

TEST_P(ColourDecisionTest, FollowsWhenTerminalAndEnvironment) {
  const DecisionCase& c = GetParam();
  EXPECT_EQ(ColourWanted(c.when, c.terminal, c.term, c.noColour), c.coloured);
}

constexpr DecisionCase kDecisionCases[] = {
    {"AutoOnTerminal", ColourWhen::Auto, true, "xterm", nullptr, true},
    {"AutoInPipe", ColourWhen::Auto, false, "xterm", nullptr, false},
    {"AutoTermUnset", ColourWhen::Auto, true, nullptr, nullptr, false},
    {"AutoTermEmpty", ColourWhen::Auto, true, "", nullptr, false},
    {"AutoTermDumb", ColourWhen::Auto, true, "dumb", nullptr, false},
    {"AutoNoColorEmptyIsUnset", ColourWhen::Auto, true, "xterm", "", true},
    {"AutoNoColorSet", ColourWhen::Auto, true, "xterm", "1", false},
    {"AlwaysInPipeDumbNoColor", ColourWhen::Always, false, "dumb", "1", true},
};

INSTANTIATE_TEST_SUITE_P(Cases, ColourDecisionTest, ::testing::ValuesIn(kDecisionCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct LineCase {
  const char* name;
  const char* line;
  bool listChng;
  ColourDepth depth;
  const char* escape;
  friend void PrintTo(const LineCase& c, std::ostream* out) { *out << c.name; }
};

class ReportLineEscapeTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(ReportLineEscapeTest, ColoursByChangeCodeTitleAndStatus) {
  const LineCase& c = GetParam();
  EXPECT_EQ(ReportColouring(c.depth).escapeFor(c.line, c.listChng), c.escape);
}

constexpr LineCase kLineCases[] = {
    {"DeletedBoldRed", "D - gone", false, ColourDepth::Basic, "\033[1;31m"},
    {"OldReformattedMaroonIsPlainRed", "RO- old", false, ColourDepth::Basic, "\033[31m"},
    {"NewReformattedTealIn24Bit", "RN- new", false, ColourDepth::TrueColour, "\033[38;2;0;128;128m"},
    {"ChngFileStarsBlue", "   ************* x", true, ColourDepth::Basic, "\033[34m"},
    {"FileStarsPlainOutsideChng", "   ************* x", false, ColourDepth::Basic, ""},
    {"MatchedLinePlain", "    alpha", false, ColourDepth::TrueColour, ""},
    {"InformStatusBold", "INFORM: The processed files have differences.", false, ColourDepth::Basic,
     "\033[1m"},
    {"ErrorStatusBoldRed", "ERROR: User error.", false, ColourDepth::TrueColour, "\033[1;31m"},
};

INSTANTIATE_TEST_SUITE_P(Lines, ReportLineEscapeTest, ::testing::ValuesIn(kLineCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kelvarine
