#include "report/listing_body.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <vector>

#include "engine/compare_run.h"
#include "report/listing_lines.h"
#include "report/report_generator.h"
#include "support/memory_file_system.h"
#include "support/recording_host.h"

namespace kelvarine {
namespace {

using Lines = std::vector<std::string>;

// Text cut or blank-padded to the 80-character listing field.
std::string field80(const std::string& text) {
  std::string out = text.substr(0, 80);
  out.resize(80, ' ');
  return out;
}

std::string joinLines(const Lines& lines) {
  std::string out;
  for (const std::string& line : lines)
    out += line + "\n";
  return out;
}

// Lines "<prefix>first".."<prefix>last".
Lines numbered(const std::string& prefix, int first, int last) {
  Lines out;
  for (int i = first; i <= last; ++i)
    out.push_back(prefix + std::to_string(i));
  return out;
}

Lines concat(std::initializer_list<Lines> parts) {
  Lines out;
  for (const Lines& part : parts)
    out.insert(out.end(), part.begin(), part.end());
  return out;
}

// A listing line in short form: "=", "DP", "I", "IM", "D", "DM", "RN" or "RO", a blank and the
// trimmed text; "~n" for a "Not Shown" line of n lines and "#(m,i,d,r)" for a block header.
std::string token(const std::string& line) {
  const std::string notShown = "   ************* ";
  if (line.rfind(notShown, 0) == 0)
    return "~" + line.substr(notShown.size(), line.find(' ', notShown.size()) - notShown.size());
  const auto counts = line.find("Mat/Ins/Del/Rfm=");
  if (counts != std::string::npos) return "#" + line.substr(counts + 16);
  std::string text = line.size() > 4 ? line.substr(4, 80) : "";
  text.erase(text.find_last_not_of(' ') + 1);
  std::string code = line.substr(0, 3);
  if (code == "   ") code = line.find(" DPLINE(NEW) ") != std::string::npos ? "DP" : "=";
  code.erase(code.find_last_not_of(" -") + 1);
  return code + " " + text;
}

Lines tokens(const Lines& lines) {
  Lines out;
  for (const std::string& line : lines)
    out.push_back(token(line));
  return out;
}

// One-pair sets run through the compare run and the report.
class ListingBodyTest : public ::testing::Test {
 public:
  ListingBodyTest() { reset(); }

  // A fresh application state for the next set.
  void reset() {
    app = AppState();
    app.NewDirName = "new";
    app.OldDirName = "old";
    app.NewFileList = {"a.txt"};
    app.OldFileList = {"a.txt"};
  }

  void choose(const std::string& listType, const std::vector<Pref>& prefs = {}, int dp = 0) {
    app.choices.listType = listType;
    for (Pref p : prefs)
      app.choices.setChecked(p, true);
    app.choices.dpIndex = dp;
  }

  // Runs the pair and returns the listing: the lines after the ruler up to the pair summary.
  Lines run(const std::string& newText, const std::string& oldText, FileStamp oldStamp = 2) {
    files.add("new/a.txt", newText, 1);
    files.add("old/a.txt", oldText, oldStamp);
    status = CompareSet(app, host, files, generator);
    const Lines& all = app.reportLines.lines();
    std::size_t first = 0;
    while (first < all.size() && all[first].rfind("ID  ----+", 0) != 0)
      ++first;
    const auto end = std::min<std::size_t>(static_cast<std::size_t>(app.ListingLineCount), all.size());
    if (first >= end) return {};
    return Lines(all.begin() + static_cast<std::ptrdiff_t>(first) + 1,
                 all.begin() + static_cast<std::ptrdiff_t>(end));
  }
  Lines run(const Lines& newLines, const Lines& oldLines) {
    return run(joinLines(newLines), joinLines(oldLines));
  }

  AppState app;
  RecordingHost host;
  MemoryFileSystem files;
  ReportGenerator generator;
  std::string status;
};

// ---- Line formats ----------------------------------------------------------------------------------

TEST(ListingLinesTest, TextIsCutAt80Or128AndDpLinesWithoutTextAreBlank) {
  const std::string longText(200, 'x');
  const ListingText t{longText.data(), 200};
  EXPECT_EQ(InsertedLine(t, false, 1, false, 1), "I - " + std::string(80, 'x') + " 00001 INSERT");
  EXPECT_EQ(InsertedLine(t, true, 1, false, 1), "I - " + std::string(128, 'x'));
  EXPECT_EQ(DpListingLine({}, true, 5), std::string(132, ' '));
  EXPECT_EQ(DpListingLine({}, false, 5), std::string(84, ' ') + " 00005 DPLINE(NEW) ");
  // Bytes of the line, NUL included, are kept for the report to clean up.
  const std::string withNul("a\0b", 3);
  EXPECT_EQ(MatchedLine({withNul.data(), 3}, true, 1, 1), "    " + withNul);
}

TEST(ListingLinesTest, BlockHeaders) {
  EXPECT_EQ(BlockHeaderLine({5, 1, 1, 0}), std::string(88, ' ') + "Mat/Ins/Del/Rfm=(5,1,1,0)");
  struct Row {
    int longest;
    bool left, right;
    std::string expected;
  };
  const std::vector<Row> rows = {
      {10, true, true, std::string(5, ' ') + "LRef#=00006 RRef#=00007"},  // narrowest: 28 - 23
      {100, true, false, std::string(81, ' ') + "LRef#=00006 "},
      {100, false, true, std::string(81, ' ') + std::string(12, ' ') + "RRef#=00007"},
      {300, true, true, std::string(109, ' ') + "LRef#=00006 RRef#=00007"},  // 132 wide
      {10, false, false, std::string(17, ' ')},
  };
  for (const Row& row : rows)
    EXPECT_EQ(ReferenceBlockHeaderLine(row.longest, row.left, 6, row.right, 7), row.expected) << row.longest;
  EXPECT_EQ(NotShownLine(2), "   ************* 2 New File Lines Not Shown *****************************");
}

// ---- Long listing ----------------------------------------------------------------------------------

TEST_F(ListingBodyTest, FacingRunsOfEqualLengthAlternateAndUnequalOnesFollowEachOther) {
  struct Row {
    int inserts, deletes;
    Lines expected;
  };
  const std::vector<Row> rows = {
      {3, 3, {"= a", "I n1", "D o1", "I n2", "D o2", "I n3", "D o3", "= z"}},
      {5, 3, {"= a", "I n1", "I n2", "I n3", "I n4", "I n5", "D o1", "D o2", "D o3", "= z"}},
      {1, 2, {"= a", "I n1", "D o1", "D o2", "= z"}},
  };
  for (const char* type : {"Long", "Ovsum", "Delta"}) {
    for (const Row& row : rows) {
      reset();
      choose(type);
      const Lines listing = run(concat({{"a"}, numbered("n", 1, row.inserts), {"z"}}),
                                concat({{"a"}, numbered("o", 1, row.deletes), {"z"}}));
      if (std::string(type) == "Long") {
        EXPECT_EQ(tokens(listing), row.expected);
      } else if (std::string(type) == "Ovsum") {
        EXPECT_TRUE(listing.empty());
      }
      EXPECT_EQ(app.pair.PairedChanges, std::min(row.inserts, row.deletes)) << type;
      EXPECT_EQ(app.pair.InsertCount, row.inserts);
      EXPECT_EQ(app.pair.DeleteCount, row.deletes);
      EXPECT_EQ(app.pair.MatchCount, 2);
    }
  }
}

TEST_F(ListingBodyTest, LongLinesCarryReferenceNumbersAndRunLengths) {
  choose("Long");
  const Lines listing = run(Lines{"a", "n1", "n2", "n3", "n4", "n5", "z"}, Lines{"a", "o1", "o2", "o3", "z"});
  EXPECT_EQ(listing, (Lines{
                         "    " + field80("a") + " 00001              00001",
                         "I - " + field80("n1") + " 00002 INSERT(NEW)          5    ",
                         "I - " + field80("n2") + " 00003 INSERT",
                         "I - " + field80("n3") + " 00004 INSERT",
                         "I - " + field80("n4") + " 00005 INSERT",
                         "I - " + field80("n5") + " 00006 INSERT",
                         "D - " + field80("o1") + "       DELETED(OLD) 00002   3    ",
                         "D - " + field80("o2") + "       DELETED      00003",
                         "D - " + field80("o3") + "       DELETED      00004",
                         "    " + field80("z") + " 00007              00005",
                     }));
}

TEST_F(ListingBodyTest, DpLinesOfTheNewFileAreListedInPlaceUnlessXdpl) {
  const Lines newLines = {"a", "; c1", "b", "; c2", "; c3", "c", "d"};
  const Lines oldLines = {"a", "b", "; old", "c", "x"};
  choose("Long", {}, /*Dsem=*/1);
  Lines listing = run(newLines, oldLines);
  EXPECT_EQ(tokens(listing), (Lines{"= a", "DP ; c1", "= b", "DP ; c2", "DP ; c3", "= c", "I d", "D x"}));
  EXPECT_EQ(listing[1], "    " + field80("; c1") + " 00002 DPLINE(NEW) ");
  EXPECT_EQ(listing[5], "    " + field80("c") + " 00006              00004");
  EXPECT_EQ(app.pair.NewDpCount, 3);
  EXPECT_EQ(app.pair.OldDpCount, 1);
  EXPECT_EQ(app.pair.MatchCount, 3);

  reset();
  choose("Long", {Pref::Xdpl}, 1);
  listing = run(newLines, oldLines);
  EXPECT_EQ(tokens(listing), (Lines{"= a", "= b", "= c", "I d", "D x"}));
  EXPECT_EQ(app.pair.NewDpCount, 3);
}

TEST_F(ListingBodyTest, PartDpLinesAreListedAsInTheFileOrCutWithXdpl) {
  struct Row {
    std::vector<Pref> prefs;
    std::string listed;
  };
  const std::vector<Row> rows = {
      {{}, "x = 1;  // new note"},
      {{Pref::Xdpl}, "x = 1;"},
  };
  for (const Row& row : rows) {
    reset();
    choose("Long", row.prefs, /*Dcpp=*/6);
    // The comments differ; the code before them is the same, so the pair is an exact match.
    const Lines listing = run(Lines{"x = 1;  // new note", "y"}, Lines{"x = 1;  // old", "y"});
    ASSERT_EQ(listing.size(), 2u);
    EXPECT_EQ(listing[0], "    " + field80(row.listed) + " 00001              00001");
    EXPECT_EQ(app.pair.NewPartDpCount, 1);
    EXPECT_EQ(app.pair.OldPartDpCount, 1);
    EXPECT_EQ(app.pair.MatchCount, 2);
  }
}

TEST_F(ListingBodyTest, ExactOrReformattedMatches) {
  struct Row {
    std::string newLine, oldLine;
    std::vector<Pref> prefs;
    std::string ccol;  // compare columns of both files, "" for none
    std::string code;  // "=" exact, "RN" reformatted
  };
  const std::vector<Row> rows = {
      {"abc   ", "abc", {}, "", "="},  // trailing blanks only
      {"abc", "  abc", {}, "", "RN"},  // leading blanks
      {"a b c", "abc", {}, "", "RN"},  // inner blanks
      {"a b c", "abc", {Pref::Rovr}, "", "="},
      {"ABC", "abc", {Pref::Icas}, "", "="},
      {"A BC", "abc", {Pref::Icas}, "", "RN"},
      {"abc 1", "abc 2", {Pref::Ccol}, "1:3", "="},   // differ outside the compare columns only
      {"a bcX", "ab cY", {Pref::Ccol}, "1:4", "RN"},  // same compare text, other blanks
  };
  for (const Row& row : rows) {
    reset();
    if (!row.ccol.empty()) app.choices.ccolNew1 = app.choices.ccolOld1 = row.ccol;
    choose("Long", row.prefs);
    const Lines listing = run(Lines{"first", row.newLine, "last"}, Lines{"first", row.oldLine, "last"});
    ASSERT_EQ(listing.size(), 3u) << row.newLine;
    EXPECT_EQ(token(listing[1]),
              row.code + " " + row.newLine.substr(0, row.newLine.find_last_not_of(' ') + 1))
        << row.newLine << " / " << row.oldLine;
    EXPECT_EQ(app.pair.ReformatCount, row.code == "RN" ? 1 : 0);
  }
}

TEST_F(ListingBodyTest, ReformattedLinesWithLorlAndSideBySide) {
  choose("Long", {Pref::Lorl, Pref::Sbsl});
  const Lines listing = run(Lines{"k", "a b", "c d", "n"}, Lines{"k", "ab", "cd"});
  EXPECT_EQ(listing, (Lines{"    " + field80("k") + " 00001              00001",
                            "RN- " + field80("a b") + " 00002 REFORM(NEW)",
                            "RN- " + field80("c d") + " 00003 REFORM(NEW)",
                            "I - " + field80("n") + " 00004 INSERT(NEW)          1    "}));
  // The Old side holds the RO- lines facing their RN- lines, and the lists end equal in length.
  const Lines& old = app.oldSideLines.lines();
  const auto at = old.size() - 4;
  EXPECT_EQ(old[at], "    " + field80("k") + " 00001              00001");
  EXPECT_EQ(old[at + 1], "RO- " + field80("ab") + "      REFORM(OLD)  00002");
  EXPECT_EQ(old[at + 2], "RO- " + field80("cd") + "      REFORM(OLD)  00003");
  EXPECT_EQ(old[at + 3], " ");
  EXPECT_EQ(old.size(), static_cast<std::size_t>(app.ListingLineCount));
  EXPECT_EQ(app.pair.ReformatCount, 2);
}

TEST_F(ListingBodyTest, MovedLinesNameTheirPartners) {
  choose("Long", {Pref::Fmvl});
  const Lines listing = run(Lines{"a", "b", "c", "m"}, Lines{"m", "a", "b", "c"});
  EXPECT_EQ(listing, (Lines{"DM- " + field80("m") + " 00004 MOVE(O TO N) 00001",
                            "    " + field80("a") + " 00001              00002",
                            "    " + field80("b") + " 00002              00003",
                            "    " + field80("c") + " 00003              00004",
                            "IM- " + field80("m") + " 00004 MOVE(N TO O) 00001"}));
  EXPECT_EQ(app.pair.MovedCount, 1);
  EXPECT_EQ(app.pair.InsertCount, 1);
  EXPECT_EQ(app.pair.DeleteCount, 1);
}

TEST_F(ListingBodyTest, IdenticalFilesAreListedAsMatches) {
  struct Row {
    const char* type;
    int dp;
    Lines expected;
  };
  const std::vector<Row> rows = {
      {"Long", 0, {"= a", "= ; c", "= b"}},
      {"Long", /*Dsem=*/1, {"= a", "DP ; c", "= b"}},
      {"Delta", 1, {"#(2,0,0,0)"}},
      {"Chng", 1, {}},
  };
  for (const Row& row : rows) {
    reset();
    choose(row.type, {}, row.dp);
    const Lines listing = run(Lines{"a", "; c", "b"}, Lines{"a", "; c", "b"});
    EXPECT_EQ(tokens(listing), row.expected) << row.type << row.dp;
    EXPECT_EQ(app.pair.MatchCount, row.dp ? 2 : 3);
  }
}

// ---- Chng listing ----------------------------------------------------------------------------------

TEST_F(ListingBodyTest, ChngShowsSixContextLinesAroundEachChange) {
  struct Row {
    int before, between, after;
    Lines expected;
  };
  const Lines six = {"= u1", "= u2", "= u3", "= u4", "= u5", "= u6"};
  const std::vector<Row> rows = {
      {0, 14, 0,
       concat({{"I x1", "D y1"},
               six,
               {"~2"},
               {"= u9", "= u10", "= u11", "= u12", "= u13", "= u14"},
               {"I x2", "D y2"}})},
      {0, 10, 0, concat({{"I x1", "D y1"}, six, {"= u7", "= u8", "= u9", "= u10"}, {"I x2", "D y2"}})},
      {0, 12, 0,
       concat(
           {{"I x1", "D y1"}, six, {"= u7", "= u8", "= u9", "= u10", "= u11", "= u12"}, {"I x2", "D y2"}})},
      // Lines dropped before the first change and after the last one are reported too.
      {9,
       0,
       9,
       {"~3", "= b4", "= b5", "= b6", "= b7", "= b8", "= b9", "I x1", "D y1", "I x2", "D y2", "= a1", "= a2",
        "= a3", "= a4", "= a5", "= a6", "~3"}},
  };
  for (const Row& row : rows) {
    reset();
    choose("Chng");
    const Lines before = numbered("b", 1, row.before), between = numbered("u", 1, row.between),
                after = numbered("a", 1, row.after);
    const Lines listing = run(concat({before, {"x1"}, between, {"x2"}, after}),
                              concat({before, {"y1"}, between, {"y2"}, after}));
    EXPECT_EQ(tokens(listing), row.expected) << row.before << "/" << row.between << "/" << row.after;
  }
}

// ---- Delta listing ---------------------------------------------------------------------------------

TEST_F(ListingBodyTest, DeltaOneChangedLine) {
  choose("Delta");
  const Lines listing = run(concat({numbered("l", 1, 5), {"X"}, numbered("l", 7, 9)}),
                            concat({numbered("l", 1, 5), {"Y"}, numbered("l", 7, 9)}));
  EXPECT_EQ(listing, (Lines{std::string(88, ' ') + "Mat/Ins/Del/Rfm=(5,1,1,0)",
                            "I - " + field80("X") + " 00006 INSERT(NEW)          1    ",
                            "D - " + field80("Y") + "       DELETED(OLD) 00006   1    ",
                            std::string(88, ' ') + "Mat/Ins/Del/Rfm=(3,0,0,0)"}));
  EXPECT_EQ(app.options.CarriedMatches, 0);
}

TEST_F(ListingBodyTest, DeltaBlocksOfReformatsInsertsAndDeletes) {
  choose("Delta", {}, /*Dsem=*/1);
  // Dp lines are never listed and do not break runs; reformats come first in their block.
  const Lines listing =
      run(Lines{"a", "p q", "; c", "r s", "n1", "n2", "z"}, Lines{"a", "pq", "rs", "o1", "z"});
  EXPECT_EQ(tokens(listing), (Lines{"#(1,2,1,2)", "RN p q", "RN r s", "I n1", "I n2", "D o1", "#(1,0,0,0)"}));
  EXPECT_EQ(app.pair.ReformatCount, 2);
  EXPECT_EQ(app.pair.PairedChanges, 1);
}

TEST_F(ListingBodyTest, DeltaWithFsclShowsBlockReferences) {
  choose("Delta", {Pref::Fscl});
  const Lines listing = run(Lines{"l1", "l2", "a b", "X", "l5"}, Lines{"l1", "l2", "ab", "l5", "Y"});
  // Longest line 3: the references start after 28 - 23 blanks; the reformat starts both sides.
  // Without reformats or inserts the left reference is left blank.
  EXPECT_EQ(listing, (Lines{"     LRef#=00003 RRef#=00003", "RN- a b", "I - X",
                            std::string(17, ' ') + "RRef#=00005", "D - Y"}));
}

// ---- Chunks ----------------------------------------------------------------------------------------

TEST_F(ListingBodyTest, ReferenceNumbersContinueAcrossChunks) {
  choose("Long");
  Lines newLines = numbered("line ", 1, 8010), oldLines = newLines;
  newLines[4] = "new 5";
  oldLines[4] = "old 5";
  newLines[8004] = "new 8005";
  oldLines[8004] = "old 8005";
  const Lines listing = run(newLines, oldLines);
  ASSERT_EQ(listing.size(), 8012u);
  // Every listed line shows its own line number of its file (the text holds it).
  std::string wrong;
  for (const std::string& line : listing) {
    std::string text = line.substr(4, 80);
    text.erase(text.find_last_not_of(' ') + 1);
    char ref[8];
    std::snprintf(ref, sizeof ref, "%.5d", std::stoi(text.substr(text.rfind(' ') + 1)));
    const bool deleted = line.rfind("D -", 0) == 0, matched = line.rfind("    ", 0) == 0;
    if ((deleted && line.substr(104, 5) != ref) || (!deleted && line.substr(85, 5) != ref) ||
        (matched && line.substr(104, 5) != ref)) {
      wrong = line;
      break;
    }
  }
  EXPECT_EQ(wrong, "");
  EXPECT_EQ(listing[8005], "I - " + field80("new 8005") + " 08005 INSERT(NEW)          1    ");
  EXPECT_EQ(app.pair.MatchCount, 8008);
}

TEST_F(ListingBodyTest, DeltaCarriesMatchesOfUnchangedChunks) {
  choose("Delta");
  Lines newLines = numbered("line ", 1, 8005), oldLines = newLines;
  newLines[8002] = "new";
  oldLines[8002] = "old";
  const Lines listing = run(newLines, oldLines);
  EXPECT_EQ(tokens(listing), (Lines{"#(8002,1,1,0)", "I new", "D old", "#(2,0,0,0)"}));
  EXPECT_EQ(listing[1].substr(84, 6), " 08003");
}

// The Chng window holds its lines across a chunk boundary: 19 unchanged lines between changes at lines
// 7990 and 8010 show as six, "Not Shown" 7, and six, whichever chunk each lies in.
TEST_F(ListingBodyTest, ChngContextCarriesAcrossChunks) {
  choose("Chng");
  Lines newLines = numbered("line ", 1, 8020), oldLines = newLines;
  for (int at : {7990, 8010}) {
    newLines[static_cast<std::size_t>(at - 1)] = "new " + std::to_string(at);
    oldLines[static_cast<std::size_t>(at - 1)] = "old " + std::to_string(at);
  }
  Lines expected{"~7983"};
  for (int i = 7984; i <= 7989; ++i)
    expected.push_back("= line " + std::to_string(i));
  expected.insert(expected.end(), {"I new 7990", "D old 7990"});
  for (int i = 7991; i <= 7996; ++i)
    expected.push_back("= line " + std::to_string(i));
  expected.push_back("~7");
  for (int i = 8004; i <= 8009; ++i)
    expected.push_back("= line " + std::to_string(i));
  expected.insert(expected.end(), {"I new 8010", "D old 8010"});
  for (int i = 8011; i <= 8016; ++i)
    expected.push_back("= line " + std::to_string(i));
  expected.push_back("~4");
  EXPECT_EQ(tokens(run(newLines, oldLines)), expected);
}

// Matches carried at the end of a pair belong to it: a file of exactly 7999 lines ends with an empty
// chunk, and an identical pair of several chunks carries them all; neither may reach the next pair.
TEST_F(ListingBodyTest, DeltaMatchesCarriedAtTheEndOfAPairStayWithIt) {
  choose("Delta");
  Lines changedNew = numbered("line ", 1, 7999), changedOld = changedNew;
  changedNew[2] = "new";
  changedOld[2] = "old";
  const Lines same = numbered("same ", 1, 8500);
  files.add("new/a.txt", joinLines(changedNew));
  files.add("old/a.txt", joinLines(changedOld));
  files.add("new/b.txt", joinLines(same));
  files.add("old/b.txt", joinLines(same));
  files.add("new/c.txt", "c1\nnew\nc3\n");
  files.add("old/c.txt", "c1\nold\nc3\n");
  app.NewFileList = app.OldFileList = {"a.txt", "b.txt", "c.txt"};
  CompareSet(app, host, files, generator);
  Lines headers;
  for (const std::string& line : app.reportLines.lines())
    if (line.find("Mat/Ins/Del/Rfm=") != std::string::npos) headers.push_back(token(line));
  EXPECT_EQ(headers, (Lines{"#(2,1,1,0)", "#(7996,0,0,0)", "#(1,1,1,0)", "#(1,0,0,0)"}));
}

TEST_F(ListingBodyTest, AFileThatChangedBeforeTheListingIsListedAsItNowReads) {
  choose("Long");
  // The New file shrinks between the compare and the listing: its missing lines list as blanks.
  host.onProcessEvents = [this] {
    if (!host.statusTexts.empty() && host.statusTexts.back().rfind("Generating Report", 0) == 0)
      files.find("new/a.txt")->content = "A longer line\n";
  };
  const Lines listing = run(Lines{"a", "b", "c"}, Lines{"a", "x", "c"});
  EXPECT_EQ(tokens(listing), (Lines{"RN A longer line", "I ", "D x", "RN "}));
}

// ---- Aeqf ------------------------------------------------------------------------------------------

TEST_F(ListingBodyTest, AeqfPairIsListedFromTheNewFileOnly) {
  choose("Long", {Pref::Aeqf}, /*Dsem=*/1);
  const std::string text = "a\n; c\nb\n";
  const Lines listing = run(text, std::string(text.size(), '?'), /*oldStamp=*/1);
  EXPECT_EQ(listing, (Lines{" ", "    " + field80("a") + " 00001              00001   2    ",
                            "    " + field80("") + " 00002              00002",  // cut by Dsem
                            "    " + field80("b") + " 00003              00003"}));
  const PairState& p = app.pair;
  EXPECT_EQ(p.NewLinesProcessed, 3);
  EXPECT_EQ(p.OldLinesProcessed, 3);
  EXPECT_EQ(p.NewDpCount, 1);
  EXPECT_EQ(p.OldDpCount, 1);
  EXPECT_EQ(p.MatchCount, 2);
}

}  // namespace
}  // namespace kelvarine
