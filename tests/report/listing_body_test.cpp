#include "report/listing_body.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "engine/compare_run.h"
#include "report/listing_lines.h"
#include "report/report_generator.h"
#include "support/memory_set.h"

namespace kelvarine {
namespace {

using Lines = std::vector<std::string>;

// A listing line without Fscl: the ID code and blank, the text blank-padded to 80 columns, the tail.
std::string row(const std::string& id, const std::string& text, const std::string& tail) {
  return id + text + std::string(80 - text.size(), ' ') + tail;
}

// A listing line in short form: "=", "DP", "I", "IM", "D", "DM", "RN" or "RO", a blank and the
// trimmed text; "~n" for a "Not Shown" line of n lines and "#(m,i,d,r)" for a block header. The
// exact columns of every line format are checked by the whole-report tests and below.
std::string token(const std::string& line) {
  const std::string notShown = "   ************* ";
  if (line.starts_with(notShown))
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

// The pair "a.txt" run through the compare run and the report with a listing type, options and Dp item.
struct ListingRun : MemorySet<ReportGenerator> {
  explicit ListingRun(const std::string& listType, const std::vector<Pref>& prefs = {}, int dp = 0) {
    app.NewFileList = app.OldFileList = {"a.txt"};
    app.choices.listType = listType;
    check(prefs);
    app.choices.dpIndex = dp;
  }
  // Runs the pair and returns the listing: the lines after the ruler up to the pair summary.
  Lines listing(const std::string& newText, const std::string& oldText, FileStamp oldStamp = 2) {
    fs.add("new/a.txt", newText, 1);
    fs.add("old/a.txt", oldText, oldStamp);
    run();
    const Lines& all = app.reportLines.lines();
    const auto end = all.begin() + std::min<std::ptrdiff_t>(app.ListingLineCount, std::ssize(all));
    const auto ruler =
        std::find_if(all.begin(), end, [](const std::string& s) { return s.starts_with("ID  -"); });
    return ruler == end ? Lines{} : Lines(ruler + 1, end);
  }
  Lines listing(const Lines& newLines, const Lines& oldLines) {
    return listing(joinLines(newLines), joinLines(oldLines));
  }
};

TEST(ListingLinesTest, TextIsCutAt80Or128DpLinesWithoutTextAreBlankAndWideFsclBlockHeaders) {
  const std::string longText(200, 'x');
  const ListingText t{longText.data(), 200};
  EXPECT_EQ(InsertedLine(t, false, 1, false, 1), "I - " + std::string(80, 'x') + " 00001 INSERT");
  EXPECT_EQ(InsertedLine(t, true, 1, false, 1), "I - " + std::string(128, 'x'));
  EXPECT_EQ(DpListingLine({}, true, 5), std::string(132, ' '));
  EXPECT_EQ(DpListingLine({}, false, 5), std::string(84, ' ') + " 00005 DPLINE(NEW) ");
  const std::string withNul("a\0b", 3);  // kept for the report to clean up
  EXPECT_EQ(MatchedLine({withNul.data(), 3}, true, 1, 1), "    " + withNul);

  EXPECT_EQ(ReferenceBlockHeaderLine(100, true, 6, false, 7), std::string(81, ' ') + "LRef#=00006 ");
  EXPECT_EQ(ReferenceBlockHeaderLine(100, false, 6, true, 7), std::string(93, ' ') + "RRef#=00007");
  EXPECT_EQ(ReferenceBlockHeaderLine(300, true, 6, true, 7),
            std::string(109, ' ') + "LRef#=00006 RRef#=00007");
}

TEST(ListingBodyTest, FacingRunsOfEqualLengthAlternateAndUnequalOnesFollowEachOther) {
  const std::vector<std::pair<int, Lines>> rows = {
      {3, {"= a", "I n1", "D o1", "I n2", "D o2", "I n3", "D o3", "= z"}},
      {1, {"= a", "I n1", "D o1", "D o2", "D o3", "= z"}},
  };
  for (const std::string type : {"Long", "Ovsum", "Delta"}) {
    for (const auto& [inserts, expected] : rows) {
      SCOPED_TRACE(type + " " + std::to_string(inserts));
      ListingRun r(type);
      const Lines listing =
          r.listing(concat({{"a"}, numbered("n", 1, inserts), {"z"}}), {"a", "o1", "o2", "o3", "z"});
      if (type != "Delta") {
        EXPECT_EQ(tokens(listing), type == "Long" ? expected : Lines{});
      }
      const PairState& p = r.app.pair;
      EXPECT_EQ(std::tuple(p.PairedChanges, p.InsertCount, p.DeleteCount, p.MatchCount),
                std::tuple(std::min(inserts, 3), inserts, 3, 2));
    }
  }
}

TEST(ListingBodyTest, DpLinesOfTheNewFileAreListedInPlaceUnlessXdpl) {
  const Lines newLines = {"a", "; c1", "b", "; c2", "; c3", "c", "d"};
  const Lines oldLines = {"a", "b", "; old", "c", "x"};
  ListingRun r("Long", {}, /*Dsem=*/1);
  const Lines listing = r.listing(newLines, oldLines);
  EXPECT_EQ(tokens(listing), (Lines{"= a", "DP ; c1", "= b", "DP ; c2", "DP ; c3", "= c", "I d", "D x"}));
  EXPECT_EQ(listing[1], row("    ", "; c1", " 00002 DPLINE(NEW) "));
  EXPECT_EQ(listing[5], row("    ", "c", " 00006              00004"));
  EXPECT_EQ(std::tuple(r.app.pair.NewDpCount, r.app.pair.OldDpCount, r.app.pair.MatchCount),
            std::tuple(3, 1, 3));

  ListingRun xdpl("Long", {Pref::Xdpl}, 1);
  EXPECT_EQ(tokens(xdpl.listing(newLines, oldLines)), (Lines{"= a", "= b", "= c", "I d", "D x"}));
  EXPECT_EQ(xdpl.app.pair.NewDpCount, 3);
}

// The comments differ; the code before them is the same, so the pair is an exact match.
TEST(ListingBodyTest, PartDpLinesAreListedAsInTheFileOrCutWithXdpl) {
  for (const bool xdpl : {false, true}) {
    ListingRun r("Long", xdpl ? std::vector{Pref::Xdpl} : std::vector<Pref>{}, /*Dcpp=*/6);
    const Lines listing = r.listing(Lines{"x = 1;  // new note", "y"}, Lines{"x = 1;  // old", "y"});
    ASSERT_EQ(listing.size(), 2u);
    EXPECT_EQ(listing[0], row("    ", xdpl ? "x = 1;" : "x = 1;  // new note", " 00001              00001"));
    const PairState& p = r.app.pair;
    EXPECT_EQ(std::tuple(p.NewPartDpCount, p.OldPartDpCount, p.MatchCount), std::tuple(1, 1, 2));
  }
}

// Leading blanks (a reformat) and trailing blanks (an exact match) are in the whole-report tests.
TEST(ListingBodyTest, ExactOrReformattedMatches) {
  // New line, Old line, the option, compare columns of both files ("" for none), "=" exact or "RN".
  const std::vector<std::tuple<std::string, std::string, std::vector<Pref>, std::string, std::string>> rows =
      {
          {"a b c", "abc", {}, "", "RN"},  // inner blanks
          {"a b c", "abc", {Pref::Rovr}, "", "="},
          {"ABC", "abc", {Pref::Icas}, "", "="},
          {"A BC", "abc", {Pref::Icas}, "", "RN"},
          {"abc 1", "abc 2", {Pref::Ccol}, "1:3", "="},   // differ outside the compare columns only
          {"a bcX", "ab cY", {Pref::Ccol}, "1:4", "RN"},  // same compare text, other blanks
      };
  for (const auto& [newLine, oldLine, prefs, ccol, code] : rows) {
    SCOPED_TRACE(newLine + " / " + oldLine);
    ListingRun r("Long", prefs);
    if (!ccol.empty()) r.app.choices.ccolNew1 = r.app.choices.ccolOld1 = ccol;
    const Lines listing = r.listing(Lines{"first", newLine, "last"}, Lines{"first", oldLine, "last"});
    ASSERT_EQ(listing.size(), 3u);
    EXPECT_EQ(token(listing[1]), code + " " + newLine);
    EXPECT_EQ(r.app.pair.ReformatCount, code == "RN" ? 1 : 0);
  }
}

TEST(ListingBodyTest, MovedLinesNameTheirPartners) {
  ListingRun r("Long", {Pref::Fmvl});
  EXPECT_EQ(
      r.listing(Lines{"a", "b", "c", "m"}, Lines{"m", "a", "b", "c"}),
      (Lines{row("DM- ", "m", " 00004 MOVE(O TO N) 00001"), row("    ", "a", " 00001              00002"),
             row("    ", "b", " 00002              00003"), row("    ", "c", " 00003              00004"),
             row("IM- ", "m", " 00004 MOVE(N TO O) 00001")}));
  EXPECT_EQ(std::tuple(r.app.pair.MovedCount, r.app.pair.InsertCount, r.app.pair.DeleteCount),
            std::tuple(1, 1, 1));
}

// Identical files with Long and no Dp option are in the whole-report tests.
TEST(ListingBodyTest, IdenticalFilesAreListedAsMatches) {
  for (const auto& [type, expected] : {std::pair("Long", Lines{"= a", "DP ; c", "= b"}),
                                       std::pair("Delta", Lines{"#(2,0,0,0)"}), std::pair("Chng", Lines{})}) {
    SCOPED_TRACE(type);
    ListingRun r(type, {}, /*Dsem=*/1);
    EXPECT_EQ(tokens(r.listing(Lines{"a", "; c", "b"}, Lines{"a", "; c", "b"})), expected);
    EXPECT_EQ(r.app.pair.MatchCount, 2);
  }
}

// Up to twelve unchanged lines between two changes are all shown; more show as six, "Not Shown" and six.
TEST(ListingBodyTest, ChngShowsSixContextLinesAroundEachChange) {
  for (const int between : {12, 13}) {
    SCOPED_TRACE(between);
    const Lines unchanged = numbered("u", 1, between), x = {"I x1", "D y1"}, y = {"I x2", "D y2"};
    EXPECT_EQ(tokens(ListingRun("Chng").listing(concat({{"x1"}, unchanged, {"x2"}}),
                                                concat({{"y1"}, unchanged, {"y2"}}))),
              between == 12 ? concat({x, numbered("= u", 1, 12), y})
                            : concat({x, numbered("= u", 1, 6), {"~1"}, numbered("= u", 8, 13), y}));
  }
}

// Dp lines are never listed and do not break runs; reformats come first in their block.
TEST(ListingBodyTest, DeltaBlocksOfReformatsInsertsAndDeletes) {
  ListingRun r("Delta", {}, /*Dsem=*/1);
  const Lines listing =
      r.listing(Lines{"a", "p q", "; c", "r s", "n1", "n2", "z"}, Lines{"a", "pq", "rs", "o1", "z"});
  EXPECT_EQ(tokens(listing), (Lines{"#(1,2,1,2)", "RN p q", "RN r s", "I n1", "I n2", "D o1", "#(1,0,0,0)"}));
  EXPECT_EQ(std::pair(r.app.pair.ReformatCount, r.app.pair.PairedChanges), std::pair(2, 1));
}

// Longest line 3: the references start after 28 - 23 blanks; the reformat starts both sides; without
// reformats or inserts the left reference is left blank, and a block of matches only shows neither.
TEST(ListingBodyTest, DeltaWithFsclShowsBlockReferences) {
  EXPECT_EQ(ListingRun("Delta", {Pref::Fscl})
                .listing(Lines{"l1", "l2", "a b", "X", "l5", "l6"}, Lines{"l1", "l2", "ab", "l5", "Y", "l6"}),
            (Lines{"     LRef#=00003 RRef#=00003", "RN- a b", "I - X", std::string(17, ' ') + "RRef#=00005",
                   "D - Y", std::string(17, ' ')}));
}

// The first chunk holds lines 1-7999; the lines after it are numbered on from there, and Delta carries
// the matches of the first chunk into the block header after it.
TEST(ListingBodyTest, ReferenceNumbersContinueAcrossChunks) {
  Lines newLines = numbered("line ", 1, 8010), oldLines = newLines;
  newLines[8004] = "new";
  oldLines[8004] = "old";
  const Lines listing = ListingRun("Long").listing(newLines, oldLines);
  ASSERT_EQ(listing.size(), 8011u);
  EXPECT_EQ(listing[7999], row("    ", "line 8000", " 08000              08000"));
  EXPECT_EQ(Lines(listing.begin() + 8004, listing.begin() + 8006),
            (Lines{row("I - ", "new", " 08005 INSERT(NEW)          1    "),
                   row("D - ", "old", "       DELETED(OLD) 08005   1    ")}));
  EXPECT_EQ(listing.back(), row("    ", "line 8010", " 08010              08010"));
  const Lines delta = ListingRun("Delta").listing(newLines, oldLines);
  EXPECT_EQ(tokens(delta), (Lines{"#(8004,1,1,0)", "I new", "D old", "#(5,0,0,0)"}));
  EXPECT_EQ(delta[1].substr(84, 6), " 08005");
}

// The Chng window holds its lines across a chunk boundary: 19 unchanged lines between changes at lines
// 7990 and 8010 show as six, "Not Shown" 7, and six, whichever chunk each lies in.
TEST(ListingBodyTest, ChngContextCarriesAcrossChunks) {
  Lines newLines = numbered("line ", 1, 8020), oldLines = newLines;
  for (int at : {7990, 8010}) {
    newLines[static_cast<std::size_t>(at - 1)] = "new " + std::to_string(at);
    oldLines[static_cast<std::size_t>(at - 1)] = "old " + std::to_string(at);
  }
  const auto shown = [](int first, int last) { return numbered("= line ", first, last); };
  EXPECT_EQ(tokens(ListingRun("Chng").listing(newLines, oldLines)), concat({{"~7983"},
                                                                            shown(7984, 7989),
                                                                            {"I new 7990", "D old 7990"},
                                                                            shown(7991, 7996),
                                                                            {"~7"},
                                                                            shown(8004, 8009),
                                                                            {"I new 8010", "D old 8010"},
                                                                            shown(8011, 8016),
                                                                            {"~4"}}));
}

// Lines of identical chunks before the first change count as not shown, as do those after the last.
TEST(ListingBodyTest, ChngCountsIdenticalChunksAsNotShown) {
  for (const int at : {16500, 10}) {  // a change in the third of three chunks, and in the first
    SCOPED_TRACE(at);
    Lines newLines = numbered("line ", 1, 17000), oldLines = newLines;
    newLines[static_cast<std::size_t>(at - 1)] = "new";
    oldLines[static_cast<std::size_t>(at - 1)] = "old";
    const Lines before = at > 7 ? Lines{"~" + std::to_string(at - 7)} : Lines{};
    EXPECT_EQ(tokens(ListingRun("Chng").listing(newLines, oldLines)),
              concat({before,
                      numbered("= line ", at - 6, at - 1),
                      {"I new", "D old"},
                      numbered("= line ", at + 1, at + 6),
                      {"~" + std::to_string(17000 - at - 6)}}));
  }
}

// Matches carried at the end of a pair belong to it: a file of exactly 7999 lines ends with an empty
// chunk, and an identical pair of several chunks carries them all; neither may reach the next pair.
TEST(ListingBodyTest, DeltaMatchesCarriedAtTheEndOfAPairStayWithIt) {
  ListingRun r("Delta");
  r.app.NewFileList = r.app.OldFileList = {};
  Lines changedNew = numbered("line ", 1, 7999), changedOld = changedNew;
  changedNew[2] = "new";
  changedOld[2] = "old";
  r.addPair("a.txt", joinLines(changedNew), joinLines(changedOld));
  r.addPair("b.txt", joinLines(numbered("same ", 1, 8500)), joinLines(numbered("same ", 1, 8500)));
  r.addPair("c.txt", "c1\nnew\nc3\n", "c1\nold\nc3\n");
  r.run();
  Lines headers;
  for (const std::string& line : r.app.reportLines.lines())
    if (line.find("Mat/Ins/Del/Rfm=") != std::string::npos) headers.push_back(token(line));
  EXPECT_EQ(headers, (Lines{"#(2,1,1,0)", "#(7996,0,0,0)", "#(1,1,1,0)", "#(1,0,0,0)"}));
}

// The New file shrinks between the compare and the listing: its missing lines list as blanks.
TEST(ListingBodyTest, AFileThatChangedBeforeTheListingIsListedAsItNowReads) {
  ListingRun r("Long");
  r.host.onProcessEvents = [&r] {
    if (!r.host.statusTexts.empty() && r.host.statusTexts.back().starts_with("Generating Report"))
      r.fs.find("new/a.txt")->content = "A longer line\n";
  };
  EXPECT_EQ(tokens(r.listing(Lines{"a", "b", "c"}, Lines{"a", "x", "c"})),
            (Lines{"RN A longer line", "I ", "D x", "RN "}));
}

TEST(ListingBodyTest, AeqfPairIsListedFromTheNewFileOnly) {
  ListingRun r("Long", {Pref::Aeqf}, /*Dsem=*/1);
  const std::string text = "a\n; c\nb\n";
  EXPECT_EQ(r.listing(text, std::string(text.size(), '?'), /*oldStamp=*/1),
            (Lines{" ", row("    ", "a", " 00001              00001   2    "),
                   row("    ", "", " 00002              00002"),  // cut by Dsem
                   row("    ", "b", " 00003              00003")}));
  const PairState& p = r.app.pair;
  EXPECT_EQ(std::tuple(p.NewLinesProcessed, p.OldLinesProcessed, p.NewDpCount, p.OldDpCount, p.MatchCount),
            std::tuple(3, 3, 1, 1, 2));
}

}  // namespace
}  // namespace kelvarine
