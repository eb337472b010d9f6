#include "engine/dp_filters.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "engine/compare_key.h"
#include "engine/engine_fault.h"
#include "engine/text_reader.h"
#include "support/memory_file_system.h"
#include "support/recording_host.h"

namespace kelvarine {
namespace {

const std::string kBlankLine(2048, ' ');

// One line of a file run through a filter: its text as read, the expected kind ('D' Dp line, 'P'
// part-Dp line, '-' neither)
// and its text afterwards (null: all blanks for a Dp line, else as read).
struct Row {
  std::string in;
  char kind;
  const char* out = nullptr;
};

struct FilterCase {
  const char* name;
  bool CompareOptions::*option;
  std::vector<Row> rows;  // one file, carry flags flowing from line to line
  std::string tag = "#";
  std::string yesNo = "Yes";
};

CompareOptions optionsFor(bool CompareOptions::*option, const std::string& tag = "#",
                          const std::string& yesNo = "Yes") {
  CompareOptions options;
  options.DpActive = true;
  options.*option = true;
  options.DudcTag = tag;
  options.DudcYesNo = yesNo;
  return options;
}

// Stores a line as the reader does: an empty line becomes one blank.
void storeLine(LineTable& table, int i, const std::string& text) {
  const std::string stored = text.empty() ? std::string(" ") : text;
  table.setText(i, stored.data(), static_cast<int>(stored.size()));
  table[i].Len = static_cast<int>(stored.size());
}

std::string textOf(const LineRecord& record) {
  return std::string(record.Text, record.Len);
}

void PrintTo(const FilterCase& c, std::ostream* os) {
  *os << c.name;
}

class DpFilterTableTest : public ::testing::TestWithParam<FilterCase> {};

TEST_P(DpFilterTableTest, ClassifiesEachLineAndBlanksItsComment) {
  const FilterCase& c = GetParam();
  const CompareOptions options = optionsFor(c.option, c.tag, c.yesNo);
  LineTable table;
  TextInput input;
  for (std::size_t k = 0; k < c.rows.size(); ++k) {
    const Row& row = c.rows[k];
    const int i = static_cast<int>(k) + 1;
    storeLine(table, i, row.in);
    ClassifyDpLine(input, table[i], options, kBlankLine);
    const LineRecord& r = table[i];
    SCOPED_TRACE("line " + std::to_string(i) + ": \"" + row.in + "\"");
    const bool dp = row.kind == 'D';
    EXPECT_EQ(r.DpLine, dp);
    EXPECT_EQ(r.PartDp, row.kind == 'P');
    const std::string stored = row.in.empty() ? std::string(" ") : row.in;
    const std::string expected =
        row.out != nullptr ? std::string(row.out) : (dp ? std::string(stored.size(), ' ') : stored);
    EXPECT_EQ(textOf(r), expected);
    EXPECT_EQ(r.Len, static_cast<int>(stored.size()));
    EXPECT_EQ(r.Text[r.Len], '\0');  // nothing written behind the line
  }
}

const FilterCase kCases[] = {
    {"Dsem",
     &CompareOptions::Dsem,
     {{";comment", 'D'}, {"   ; indented", 'D'}, {"mov a,b ; note", '-'}, {"x;", '-'}}},
    {"Drem",
     &CompareOptions::Drem,
     {{"rem note", 'D'},
      {"  remark", 'D'},
      {"  rem", 'D'},
      {"REM note", '-'},
      {"Rem note", '-'},
      {"x = 1 rem", '-'},
      {"  re", '-'}}},
    {"DdlcBraceAndDirective",
     &CompareOptions::Ddlc,
     {{"x := 1; { note }", 'P', "x := 1;         "},
      {"{$R+}", '-'},
      {"{$I file} { c }", 'P', "{$I file}      "},
      {"s := '{not}'; (* c *)", 'P', "s := '{not}';        "},
      {"(* a *) { b }", 'D'}}},  // two spans blank the whole line: a Dp line only
    {"DdlcParenCarry",
     &CompareOptions::Ddlc,
     {{"(* start", 'D'}, {"  still *) word", 'P', "           word"}, {"plain", '-'}}},
    {"DdlcParenStarNotACloser",
     &CompareOptions::Ddlc,
     {{"x (*) y", 'P', "x      "}, {"z *) w", 'P', "     w"}}},
    {"DdlcBraceNotClosedByParenCloser", &CompareOptions::Ddlc, {{"{ a *) b", 'D'}, {"c } d", 'P', "    d"}}},
    {"DdlcApostropheInBraceCarries",
     &CompareOptions::Ddlc,
     {{"a := 1; { don't }", 'P', "a := 1;          "}, {"b := 2 }  c", 'P', "          c"}, {"e", '-'}}},
    {"Ddl2ApostropheInBraceLeavesLine",
     &CompareOptions::Ddl2,
     {{"a := 1; { don't }", '-'}, {"b := 2 }  c", '-'}}},
    {"Ddl2SlashesAndStrings",
     &CompareOptions::Ddl2,
     {{"x := 1; // note", 'P', "x := 1;        "},
      {"s := 'http://x';", '-'},
      {"// whole", 'D'},
      {"{ a } // b", 'D'},
      {"{$IFDEF X} // y", 'P', "{$IFDEF X}     "},
      {"/* c *) y", 'P', "        y"}}},
    {"Ddl2SlashStarClosedOnlyByParenCloser",
     &CompareOptions::Ddl2,
     {{"/* c */ y", 'D'}, {"z", 'D'}, {"*) w", 'P', "   w"}}},
    {"Ddl2NoSlashesInsideComment",
     &CompareOptions::Ddl2,
     {{"x { a // b", 'P', "x         "}, {"c } y", 'P', "    y"}, {"(* q // r *) s", 'P', "             s"}}},
    {"DcppBlockCarry",
     &CompareOptions::Dcpp,
     {{"/* begin", 'D'},
      {"end */ x = 1;", 'P', "       x = 1;"},
      {"y = 2;", '-'},
      {"int a; /* start", 'P', "int a;         "},
      {"*/", 'D'}}},
    {"DcppLineComments",
     &CompareOptions::Dcpp,
     {{"s = \"a//b\";", '-'},
      {"x = 1; // c", 'P', "x = 1;     "},
      {"a /* b */ c /* d */ e", 'P', "a         c         e"},
      {"/* a */ /* b */", 'D'},
      {"c = '\"'; // x", 'P', "c = '\"';     "},
      {"s = \"a\\\"b // c\";", '-'},
      {"x */ y", '-'},
      {"/* a */* b", 'P', "       * b"}}},
    {"DcppSlashesInsideBlockEndIt", &CompareOptions::Dcpp, {{"/* x // y", 'P', "/* x     "}, {"z", '-'}}},
    {"DcppStringCarry",
     &CompareOptions::Dcpp,
     {{"s = \"abc", '-'}, {"def // x\";", '-'}, {"q // r", 'P', "q     "}}},
    {"DcppQuoteInsideCommentHidesCloser",
     &CompareOptions::Dcpp,
     {{"/* say \"hi */ x", 'D'}, {"*/ y", 'P', "   y"}}},
    {"DhtmFourLines",
     &CompareOptions::Dhtm,
     {{"<!--", 'D'}, {"text one", 'D'}, {"text two", 'D'}, {"-->", 'D'}, {"after", '-'}}},
    {"DhtmPartLines",
     &CompareOptions::Dhtm,
     {{"a <!-- c --> b", 'P', "a            b"},
      {"x <!-- open", 'P', "x          "},
      {"still", 'D'},
      {"end --> y", 'P', "        y"},
      {"\"<!--\" -->", 'P', "\"         "},
      {"-- > <!- -", '-'}}},
    {"Dvbc",
     &CompareOptions::Dvbc,
     {{"x = 1 ' note", 'P', "x = 1       "},
      {"' whole", 'D'},
      {"s = \"it's\"", 'P', "s = \"it   "},
      {"p = \"a\\b\"", '-'},
      {"p = a \\ b", 'P', "p = a    "},
      {"REM old", '-'},
      {"s = \"open", '-'},
      {"x \\ y", 'P', "x    "}}},
    {"DudcNo",
     &CompareOptions::Dudc,
     {{"# comment", 'D'}, {"   #x", 'D'}, {"x = 1 # c", '-', "x = 1    "}, {"plain", '-'}},
     "#",
     "No"},
    {"DudcYes",
     &CompareOptions::Dudc,
     {{"x = 1 # c", 'P', "x = 1    "}, {"a ! b", '-'}, {"#", 'D'}},
     "#!",
     "Yes"},
};

INSTANTIATE_TEST_SUITE_P(Filters, DpFilterTableTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<FilterCase>& info) { return info.param.name; });

bool CompareOptions::*const kAllOptions[] = {
    &CompareOptions::Dsem, &CompareOptions::Drem, &CompareOptions::Dblk, &CompareOptions::Ddlc,
    &CompareOptions::Dcpp, &CompareOptions::Dvbc, &CompareOptions::Dcob, &CompareOptions::Ddl2,
    &CompareOptions::Dhtm, &CompareOptions::Dudc};

TEST(DpFilterTest, BlankAndEmptyLinesAreDpLinesUnderEveryOption) {
  for (auto option : kAllOptions) {
    const CompareOptions options = optionsFor(option);
    LineTable table;
    TextInput input;
    storeLine(table, 1, "");
    storeLine(table, 2, std::string(2048, ' '));
    storeLine(table, 3, "  a  ");
    for (int i = 1; i <= 3; ++i)
      ClassifyDpLine(input, table[i], options, kBlankLine);
    EXPECT_TRUE(table[1].DpLine);
    EXPECT_TRUE(table[2].DpLine);
    EXPECT_FALSE(table[3].DpLine);
    EXPECT_FALSE(table[3].PartDp);
    EXPECT_FALSE(table[1].PartDp || table[2].PartDp);
  }
}

TEST(DpFilterTest, EmptyDudcTagIsARunFault) {
  const CompareOptions options = optionsFor(&CompareOptions::Dudc, "", "Yes");
  LineTable table;
  TextInput input;
  storeLine(table, 1, "x # y");
  EXPECT_THROW(ClassifyDpLine(input, table[1], options, kBlankLine), EngineFault);
}

TEST(DpFilterTest, CutsDecideTheKindFromTheWholeLine) {
  LineTable table;
  storeLine(table, 1, "ab  cd");
  CutSpan(table[1], 5, 6);
  EXPECT_TRUE(table[1].PartDp);
  EXPECT_FALSE(table[1].DpLine);
  CutSpan(table[1], 1, 2);
  EXPECT_TRUE(table[1].DpLine);
  EXPECT_FALSE(table[1].PartDp);  // blank all over: a whole Dp line, not counted as both kinds
  storeLine(table, 3, "ab  cd");
  table[3].DpLine = true;
  CutSpan(table[3], 1, 1);  // a part cut leaves an earlier DpLine mark as it was
  EXPECT_TRUE(table[3].DpLine);
  EXPECT_TRUE(table[3].PartDp);
  CutToEnd(table[3], 1);
  EXPECT_TRUE(table[3].DpLine);
  EXPECT_FALSE(table[3].PartDp);

  storeLine(table, 2, "abc");
  CutSpan(table[2], 2, 99);  // never past Len
  EXPECT_EQ(textOf(table[2]), "a  ");
  EXPECT_EQ(table[2].Text[3], '\0');
  CutToEnd(table[2], 4);  // nothing to cut: only the kind is set
  EXPECT_TRUE(table[2].PartDp);
  EXPECT_FALSE(table[2].DpLine);
}

// Each carrying filter: a line that leaves a comment or string open, then a line read once under
// the carry and once after the input is reset.
struct CarryCase {
  const char* name;
  bool CompareOptions::*option;
  const char* opener;
  bool TextInput::*flag;
  const char* follower;
  const char* carried;  // the follower's text under the carry
  bool carriedDp;
};

const CarryCase kCarryCases[] = {
    {"Paren", &CompareOptions::Ddlc, "x (* a", &TextInput::CarryParenComment, "b c", "   ", true},
    {"Brace", &CompareOptions::Ddl2, "x { a", &TextInput::CarryBraceComment, "b c", "   ", true},
    {"CppComment", &CompareOptions::Dcpp, "x /* a", &TextInput::CarryCppComment, "b c", "   ", true},
    {"CppString", &CompareOptions::Dcpp, "x = \"a", &TextInput::CarryCppString, "b\" // c", "b\"     ",
     false},
    {"Html", &CompareOptions::Dhtm, "x <!-- a", &TextInput::CarryHtmlComment, "b c", "   ", true},
};

void PrintTo(const CarryCase& c, std::ostream* os) {
  *os << c.name;
}

class DpCarryTest : public ::testing::TestWithParam<CarryCase> {};

TEST_P(DpCarryTest, OpenCommentCarriesUntilTheFlagsAreCleared) {
  const CarryCase& c = GetParam();
  const CompareOptions options = optionsFor(c.option);
  LineTable table;
  TextInput input;
  storeLine(table, 1, c.opener);
  storeLine(table, 2, c.follower);
  storeLine(table, 3, c.follower);
  ClassifyDpLine(input, table[1], options, kBlankLine);
  EXPECT_TRUE(input.*c.flag);
  ClassifyDpLine(input, table[2], options, kBlankLine);
  EXPECT_EQ(textOf(table[2]), c.carried);
  EXPECT_EQ(table[2].DpLine, c.carriedDp);
  EXPECT_EQ(table[2].PartDp, !c.carriedDp);

  MemoryFileSystem files;
  files.add("f", "");
  input.Stream = files.openForReading("f");
  ClassifyDpLine(input, table[1], options, kBlankLine);  // open the comment again
  ResetInput(input, true);
  ClassifyDpLine(input, table[3], options, kBlankLine);
  EXPECT_EQ(textOf(table[3]), c.follower);
  EXPECT_FALSE(table[3].DpLine || table[3].PartDp);
}

INSTANTIATE_TEST_SUITE_P(Filters, DpCarryTest, ::testing::ValuesIn(kCarryCases),
                         [](const ::testing::TestParamInfo<CarryCase>& info) { return info.param.name; });

class NullReport : public ReportStep {
 public:
  void GenerateReport(CompareContext&) override {}
};

class PrepareLinesTest : public ::testing::Test {
 protected:
  void load(const std::vector<std::string>& newLines, const std::vector<std::string>& oldLines) {
    for (std::size_t k = 0; k < newLines.size(); ++k)
      storeLine(context.newTable, static_cast<int>(k) + 1, newLines[k]);
    for (std::size_t k = 0; k < oldLines.size(); ++k)
      storeLine(context.oldTable, static_cast<int>(k) + 1, oldLines[k]);
    context.newInput.Count = static_cast<int>(newLines.size());
    context.oldInput.Count = static_cast<int>(oldLines.size());
  }

  AppState app;
  RecordingHost host;
  MemoryFileSystem files;
  NullReport report;
  CompareContext context{app, host, files, report};
};

TEST_F(PrepareLinesTest, ClassifiesBothSidesThenKeysOnlyNonDpLines) {
  app.options.DpActive = true;
  app.options.Dcpp = true;
  load({"a = 1; // c", "/* open", "", "b"}, {"a=1;", "/* open"});
  context.oldInput.CarryCppComment = true;  // each side carries its own state
  PrepareLines(context);
  EXPECT_EQ(host.statusTexts, std::vector<std::string>{"Processing Data."});

  EXPECT_TRUE(context.newTable[1].PartDp);
  EXPECT_TRUE(context.newTable[2].DpLine);
  EXPECT_TRUE(context.newTable[3].DpLine);
  EXPECT_TRUE(context.newTable[4].DpLine);  // carried from line 2
  EXPECT_EQ(context.newTable[2].Hash, 0);   // Dp lines get no compare key
  EXPECT_TRUE(context.oldTable[1].DpLine);  // the Old side's own carry
  EXPECT_TRUE(context.oldTable[2].DpLine);

  // The part-Dp line's key equals that of the statement alone.
  LineRecord plain;
  std::string text = "a=1;";
  std::vector<char> buffer(text.begin(), text.end());
  buffer.resize(text.size() + 4, '\0');
  plain.Text = buffer.data();
  plain.Len = static_cast<int>(text.size());
  plain.TextCap = static_cast<int>(buffer.size());
  PrepareCompareKey(plain, false, false);
  EXPECT_EQ(context.newTable[1].Hash, plain.Hash);
  EXPECT_EQ(context.newTable[1].CmpLen, plain.CmpLen);
  EXPECT_TRUE(SameCompareText(context.newTable[1], plain));
}

TEST_F(PrepareLinesTest, WithoutDpOptionEveryLineIsKeyed) {
  app.options.Dcpp = true;  // DpActive off: no filtering at all
  load({"", "// c"}, {"x"});
  PrepareLines(context);
  for (int i = 1; i <= 2; ++i) {
    EXPECT_FALSE(context.newTable[i].DpLine);
    EXPECT_NE(context.newTable[i].Hash, 0);
  }
  EXPECT_EQ(textOf(context.newTable[2]).substr(0, 3), "//c");
  EXPECT_NE(context.oldTable[1].Hash, 0);
}

TEST_F(PrepareLinesTest, CommentOpenAtTheEndOfAChunkEndsWithIt) {
  app.options.DpActive = true;
  app.options.Dcpp = true;
  std::string content;
  for (int i = 1; i < LineTable::kMaxLines; ++i)
    content += "x\n";
  content += "/* open\nb\n";
  files.add("new.c", content);
  files.add("old.c", content);
  context.newInput.FileName = "new.c";
  context.oldInput.FileName = "old.c";
  context.newInput.Stream = files.openForReading("new.c");
  context.oldInput.Stream = files.openForReading("old.c");

  LoadChunk(context);
  PrepareLines(context);
  ASSERT_EQ(context.newInput.Count, LineTable::kMaxLines);
  EXPECT_TRUE(context.newTable[LineTable::kMaxLines].DpLine);
  EXPECT_TRUE(context.newInput.CarryCppComment);

  LoadChunk(context);
  PrepareLines(context);
  ASSERT_EQ(context.newInput.Count, 1);
  ASSERT_EQ(context.oldInput.Count, 1);
  EXPECT_FALSE(context.newTable[1].DpLine || context.newTable[1].PartDp);
  EXPECT_FALSE(context.oldTable[1].DpLine || context.oldTable[1].PartDp);
  EXPECT_EQ(textOf(context.newTable[1]), "b");
}

}  // namespace
}  // namespace kelvarine
