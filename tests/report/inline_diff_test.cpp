#include "report/inline_diff.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/marked_text.h"

namespace kelvarine {
namespace {

struct InlineCase {
  const char* newText;
  const char* oldText;
  const char* newMarked;
  const char* oldMarked;
};

class DiffWithinLineTest : public ::testing::TestWithParam<InlineCase> {};

TEST_P(DiffWithinLineTest, MarksWhatTheOtherLineDoesNotHold) {
  const InlineCase& c = GetParam();
  const InlineDifference difference = DiffWithinLine(c.newText, c.oldText);
  EXPECT_EQ(MarkedText(c.newText, difference.newSpans), c.newMarked);
  EXPECT_EQ(MarkedText(c.oldText, difference.oldSpans), c.oldMarked);
}

INSTANTIATE_TEST_SUITE_P(
    Pairs, DiffWithinLineTest,
    ::testing::Values(
        InlineCase{"long total = 0;", "int total = 0;", "[long] total = 0;", "[int] total = 0;"},
        // A word is a token: a changed letter marks the whole word, several words each.
        InlineCase{"for (k = 0; k < 20; ++k)", "for (i = 0; i < 10; ++i)", "for ([k] = 0; [k] < [20]; ++[k])",
                   "for ([i] = 0; [i] < [10]; ++[i])"},
        // What only one side holds; the other side has nothing marked.
        InlineCase{"f(a, b)", "f(a)", "f(a[, b])", "f(a)"},
        // Changed words with only blanks between them form one span.
        InlineCase{"a one two b", "a three four b", "a [one two] b", "a [three four] b"},
        // Blanks are tokens: a reformatted line shows where its spacing differs.
        InlineCase{"a  = 1", "a = 1", "a[  ]= 1", "a[ ]= 1"},
        // Bytes above 127 belong to words, so a UTF-8 character is never split.
        InlineCase{"caf\xc3\xa9 ok", "cafe ok", "[caf\xc3\xa9] ok", "[cafe] ok"},
        // A rewritten line shares too little to mark (a bracket pair: 2 of the shorter line's 13 characters
        // other than blanks); nothing is marked, as for lines with nothing in common and for empty texts.
        InlineCase{"fields(line);", "while (in >> day >> value) {", "fields(line);",
                   "while (in >> day >> value) {"},
        InlineCase{"alpha beta", "gamma delta", "alpha beta", "gamma delta"}, InlineCase{"", "x", "", "x"}));

}  // namespace
}  // namespace kelvarine
