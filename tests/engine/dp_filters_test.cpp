#include "engine/dp_filters.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "engine/text_reader.h"
#include "support/memory_set.h"

namespace kelvarine {
namespace {

const std::string kBlankLine(2048, ' ');

// A filter run over one file, carry flags flowing from line to line. Each row is "text|kind" or
// "text|kind|text after": kind D (Dp line; its text becomes all blanks unless given), P (part-Dp
// line) or - (neither; text unchanged unless given). Every file starts with an empty line, a line of
// blanks (both Dp lines under every option) and a line with blanks around one letter.
struct FilterCase {
  const char* name;
  bool CompareOptions::*option;
  std::vector<std::string> rows;
  std::string tag = "#";
  std::string yesNo = "Yes";
  friend void PrintTo(const FilterCase& c, std::ostream* os) { *os << c.name; }
};

// Stores a line as the reader does: an empty line becomes one blank.
LineRecord& storeLine(LineTable& table, int i, const std::string& text) {
  const std::string stored = text.empty() ? std::string(" ") : text;
  table.setText(i, stored.data(), static_cast<int>(stored.size()));
  table[i].Len = static_cast<int>(stored.size());
  return table[i];
}

std::string textOf(const LineRecord& record) {
  return std::string(record.Text, static_cast<std::size_t>(record.Len));
}

class DpFilterTableTest : public ::testing::TestWithParam<FilterCase> {};

TEST_P(DpFilterTableTest, ClassifiesEachLineAndBlanksItsComment) {
  const FilterCase& c = GetParam();
  CompareOptions options;
  options.DpActive = options.*c.option = true;
  options.DudcTag = c.tag;
  options.DudcYesNo = c.yesNo;
  std::vector<std::string> rows = {"|D", kBlankLine + "|D", "  a  |-"};
  rows.insert(rows.end(), c.rows.begin(), c.rows.end());
  LineTable table;
  TextInput input;
  for (std::size_t k = 0; k < rows.size(); ++k) {
    const std::size_t bar = rows[k].find('|');
    const std::string in = rows[k].substr(0, bar), stored = in.empty() ? " " : in;
    const char kind = rows[k][bar + 1];
    const std::string expected = rows[k].size() > bar + 2 ? rows[k].substr(bar + 3)
                                 : kind == 'D'            ? std::string(stored.size(), ' ')
                                                          : stored;
    SCOPED_TRACE("line " + std::to_string(k + 1) + ": \"" + in + "\"");
    LineRecord& r = storeLine(table, static_cast<int>(k) + 1, in);
    ClassifyDpLine(input, r, options, kBlankLine);
    EXPECT_EQ(r.DpLine, kind == 'D');
    EXPECT_EQ(r.PartDp, kind == 'P');
    EXPECT_EQ(textOf(r), expected);
    EXPECT_EQ(r.Text[r.Len], '\0');  // nothing written behind the line
  }
}

const FilterCase kCases[] = {
    {"Dsem", &CompareOptions::Dsem, {";comment|D", "   ; indented|D", "mov a,b ; note|-"}},
    {"Drem",
     &CompareOptions::Drem,
     {"rem note|D", "  remark|D", "  rem|D", "REM note|-", "x = 1 rem|-", "  re|-"}},
    {"Dblk", &CompareOptions::Dblk, {}},
    {"Dcob", &CompareOptions::Dcob, {}},  // the reader marks Cobol comments
    // Two spans that blank the whole line make a Dp line only; "(*)" opens without closing; a brace
    // comment ends only at "}"; an apostrophe inside a comment hides its "}" and the brace carries.
    {"Ddlc",
     &CompareOptions::Ddlc,
     {"x := 1; { note }|P|x := 1;         ", "{$I file} { c }|P|{$I file}      ",
      "s := '{not}'; (* c *)|P|s := '{not}';        ", "(* a *) { b }|D", "(* start|D",
      "  still *) word|P|           word", "x (*) y|P|x      ", "z *) w|P|     w", "{ a *) b|D",
      "c } d|P|    d", "a := 1; { don't }|P|a := 1;          ", "b := 2 }  c|P|          c", "e|-"}},
    // An open quote leaves the line as it is; "/*" is closed only by "*)"; no "//" inside a comment.
    {"Ddl2",
     &CompareOptions::Ddl2,
     {"a := 1; { don't }|-", "b := 2 }  c|-", "x := 1; // note|P|x := 1;        ", "s := 'http://x';|-",
      "// whole|D", "{ a } // b|D", "{$IFDEF X} // y|P|{$IFDEF X}     ", "/* c *) y|P|        y",
      "/* c */ y|D", "z|D", "*) w|P|   w", "x { a // b|P|x         ", "c } y|P|    y",
      "(* q // r *) s|P|             s"}},
    // "//" ends an open block comment too; a string carries to the next line; a quote inside a comment
    // hides its closer.
    {"Dcpp",
     &CompareOptions::Dcpp,
     {"/* begin|D", "end */ x = 1;|P|       x = 1;", "int a; /* start|P|int a;         ", "*/|D",
      "s = \"a//b\";|-", "x = 1; // c|P|x = 1;     ", "a /* b */ c /* d */ e|P|a         c         e",
      "/* a */ /* b */|D", "c = '\"'; // x|P|c = '\"';     ", "s = \"a\\\"b // c\";|-", "x */ y|-",
      "/* a */* b|P|       * b", "/* x // y|P|/* x     ", "z|-", "s = \"abc|-", "def // x\";|-",
      "q // r|P|q     ", "/* say \"hi */ x|D", "*/ y|P|   y"}},
    {"Dhtm",
     &CompareOptions::Dhtm,
     {"<!--|D", "text one|D", "-->|D", "after|-", "a <!-- c --> b|P|a            b",
      "x <!-- open|P|x          ", "still|D", "end --> y|P|        y", "\"<!--\" -->|P|\"         ",
      "-- > <!- -|-"}},
    {"Dvbc",
     &CompareOptions::Dvbc,
     {"x = 1 ' note|P|x = 1       ", "' whole|D", "s = \"it's\"|P|s = \"it   ", "p = \"a\\b\"|-",
      "p = a \\ b|P|p = a    ", "REM old|-", "s = \"open|-", "x \\ y|P|x    "}},
    {"DudcNo",
     &CompareOptions::Dudc,
     {"# comment|D", "   #x|D", "x = 1 # c|-|x = 1    ", "plain|-"},
     "#",
     "No"},
    {"DudcYes", &CompareOptions::Dudc, {"x = 1 # c|P|x = 1    ", "a ! b|-", "#|D"}, "#!", "Yes"},
};

INSTANTIATE_TEST_SUITE_P(Filters, DpFilterTableTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<FilterCase>& info) { return info.param.name; });

class PrepareLinesTest : public ::testing::Test, public MemorySet<> {
 protected:
  CompareContext context{app, host, fs, report};
};

TEST_F(PrepareLinesTest, CommentOpenAtTheEndOfAChunkEndsWithIt) {
  app.options.DpActive = app.options.Dcpp = true;
  fs.add("f.c", std::string(LineTable::kMaxLines - 1, '\n') + "/* open\nb\n");
  for (TextInput* input : {&context.newInput, &context.oldInput})
    input->Stream = fs.openForReading("f.c");
  LoadChunk(context);
  PrepareLines(context);
  EXPECT_EQ(host.statusTexts.back(), "Processing Data.");
  ASSERT_EQ(context.newInput.Count, LineTable::kMaxLines);
  EXPECT_TRUE(context.newTable[LineTable::kMaxLines].DpLine);
  EXPECT_TRUE(context.newInput.CarryCppComment);
  LoadChunk(context);
  PrepareLines(context);
  ASSERT_EQ(context.newInput.Count, 1);
  EXPECT_FALSE(context.newTable[1].DpLine || context.newTable[1].PartDp);
  EXPECT_EQ(textOf(context.newTable[1]), "b");
}

}  // namespace
}  // namespace kelvarine
