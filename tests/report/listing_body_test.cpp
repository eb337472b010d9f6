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
#include "support/memory_file_system.h"
#include "support/recording_host.h"

namespace kelvarine {
namespace {

using Lines = std::vector<std::string>;

// A listing line without Fscl: the ID code and blank, the text blank-padded to 80 columns, the tail.
std::string row(const std::string& id, const std::string& text, const std::string& tail) {
  return id + text + std::string(80 - text.size(), ' ') + tail;
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

template <typename... Parts>
Lines concat(const Parts&... parts) {
  Lines out;
  (out.insert(out.end(), parts.begin(), parts.end()), ...);
  return out;
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

// One-pair sets run through the compare run and the report.
class ListingBodyTest : public ::testing::Test {
 public:
  ListingBodyTest() { reset(); }

  // A fresh application state for the next set.
  void reset() {
    app = AppState();
    app.NewDirName = "new";
    app.OldDirName = "old";
    app.NewFileList = app.OldFileList = {"a.txt"};
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
    CompareSet(app, host, files, generator);
    const Lines& all = app.reportLines.lines();
    const auto end = all.begin() + std::min<std::ptrdiff_t>(app.ListingLineCount, std::ssize(all));
    const auto ruler =
        std::find_if(all.begin(), end, [](const std::string& s) { return s.starts_with("ID  -"); });
    return ruler == end ? Lines{} : Lines(ruler + 1, end);
  }
  Lines run(const Lines& newLines, const Lines& oldLines) {
    return run(joinLines(newLines), joinLines(oldLines));
  }

  AppState app;
  RecordingHost host;
  MemoryFileSystem files;
  ReportGenerator generator;
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

TEST_F(ListingBodyTest, FacingRunsOfEqualLengthAlternateAndUnequalOnesFollowEachOther) {
  const std::vector<std::pair<int, Lines>> rows = {
      {3, {"= a", "I n1", "D o1", "I n2", "D o2", "I n3", "D o3", "= z"}},
      {1, {"= a", "I n1", "D o1", "D o2", "D o3", "= z"}},
  };
  for (const std::string type : {"Long", "Ovsum", "Delta"}) {
    for (const auto& [inserts, expected] : rows) {
      SCOPED_TRACE(type + " " + std::to_string(inserts));
      reset();
      choose(type);
      const Lines listing =
          run(concat(Lines{"a"}, numbered("n", 1, inserts), Lines{"z"}), Lines{"a", "o1", "o2", "o3", "z"});
      if (type != "Delta") {
        EXPECT_EQ(tokens(listing), type == "Long" ? expected : Lines{});
      }
      EXPECT_EQ(
          std::tuple(app.pair.PairedChanges, app.pair.InsertCount, app.pair.DeleteCount, app.pair.MatchCount),
          std::tuple(std::min(inserts, 3), inserts, 3, 2));
    }
  }
}

// Run lengths stand on the first line of a run only; reference numbers count each file's lines.
TEST_F(ListingBodyTest, LongLinesCarryReferenceNumbersAndRunLengths) {
  choose("Long");
  EXPECT_EQ(
      run(Lines{"a", "n1", "n2", "n3", "n4", "n5", "z"}, Lines{"a", "o1", "o2", "o3", "z"}),
      (Lines{row("    ", "a", " 00001              00001"),
             row("I - ", "n1", " 00002 INSERT(NEW)          5    "), row("I - ", "n2", " 00003 INSERT"),
             row("I - ", "n3", " 00004 INSERT"), row("I - ", "n4", " 00005 INSERT"),
             row("I - ", "n5", " 00006 INSERT"), row("D - ", "o1", "       DELETED(OLD) 00002   3    "),
             row("D - ", "o2", "       DELETED      00003"), row("D - ", "o3", "       DELETED      00004"),
             row("    ", "z", " 00007              00005")}));
}

TEST_F(ListingBodyTest, DpLinesOfTheNewFileAreListedInPlaceUnlessXdpl) {
  const Lines newLines = {"a", "; c1", "b", "; c2", "; c3", "c", "d"};
  const Lines oldLines = {"a", "b", "; old", "c", "x"};
  choose("Long", {}, /*Dsem=*/1);
  Lines listing = run(newLines, oldLines);
  EXPECT_EQ(tokens(listing), (Lines{"= a", "DP ; c1", "= b", "DP ; c2", "DP ; c3", "= c", "I d", "D x"}));
  EXPECT_EQ(listing[1], row("    ", "; c1", " 00002 DPLINE(NEW) "));
  EXPECT_EQ(listing[5], row("    ", "c", " 00006              00004"));
  EXPECT_EQ(std::tuple(app.pair.NewDpCount, app.pair.OldDpCount, app.pair.MatchCount), std::tuple(3, 1, 3));

  reset();
  choose("Long", {Pref::Xdpl}, 1);
  EXPECT_EQ(tokens(run(newLines, oldLines)), (Lines{"= a", "= b", "= c", "I d", "D x"}));
  EXPECT_EQ(app.pair.NewDpCount, 3);
}

// The comments differ; the code before them is the same, so the pair is an exact match.
TEST_F(ListingBodyTest, PartDpLinesAreListedAsInTheFileOrCutWithXdpl) {
  for (const bool xdpl : {false, true}) {
    reset();
    choose("Long", xdpl ? std::vector<Pref>{Pref::Xdpl} : std::vector<Pref>{}, /*Dcpp=*/6);
    const Lines listing = run(Lines{"x = 1;  // new note", "y"}, Lines{"x = 1;  // old", "y"});
    ASSERT_EQ(listing.size(), 2u);
    EXPECT_EQ(listing[0], row("    ", xdpl ? "x = 1;" : "x = 1;  // new note", " 00001              00001"));
    EXPECT_EQ(std::tuple(app.pair.NewPartDpCount, app.pair.OldPartDpCount, app.pair.MatchCount),
              std::tuple(1, 1, 2));
  }
}

// Leading blanks (a reformat) and trailing blanks (an exact match) are in the whole-report tests.
TEST_F(ListingBodyTest, ExactOrReformattedMatches) {
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
    reset();
    if (!ccol.empty()) app.choices.ccolNew1 = app.choices.ccolOld1 = ccol;
    choose("Long", prefs);
    const Lines listing = run(Lines{"first", newLine, "last"}, Lines{"first", oldLine, "last"});
    ASSERT_EQ(listing.size(), 3u);
    EXPECT_EQ(token(listing[1]), code + " " + newLine);
    EXPECT_EQ(app.pair.ReformatCount, code == "RN" ? 1 : 0);
  }
}

TEST_F(ListingBodyTest, ReformattedRunWithLorlAndSideBySideEndsWithEqualLists) {
  choose("Long", {Pref::Lorl, Pref::Sbsl});
  const Lines listing = run(Lines{"k", "a b", "c d", "n"}, Lines{"k", "ab", "cd"});
  EXPECT_EQ(tokens(listing), (Lines{"= k", "RN a b", "RN c d", "I n"}));
  // The Old side holds the RO- lines facing their RN- lines, and a blank facing the insert.
  const Lines& old = app.oldSideLines.lines();
  EXPECT_EQ(tokens(Lines(old.end() - 4, old.end())), (Lines{"= k", "RO ab", "RO cd", " "}));
  EXPECT_EQ(old.size(), static_cast<std::size_t>(app.ListingLineCount));
  EXPECT_EQ(app.pair.ReformatCount, 2);
}

TEST_F(ListingBodyTest, MovedLinesNameTheirPartners) {
  choose("Long", {Pref::Fmvl});
  EXPECT_EQ(
      run(Lines{"a", "b", "c", "m"}, Lines{"m", "a", "b", "c"}),
      (Lines{row("DM- ", "m", " 00004 MOVE(O TO N) 00001"), row("    ", "a", " 00001              00002"),
             row("    ", "b", " 00002              00003"), row("    ", "c", " 00003              00004"),
             row("IM- ", "m", " 00004 MOVE(N TO O) 00001")}));
  EXPECT_EQ(std::tuple(app.pair.MovedCount, app.pair.InsertCount, app.pair.DeleteCount), std::tuple(1, 1, 1));
}

// Identical files with Long and no Dp option are in the whole-report tests.
TEST_F(ListingBodyTest, IdenticalFilesAreListedAsMatches) {
  for (const auto& [type, expected] : {std::pair("Long", Lines{"= a", "DP ; c", "= b"}),
                                       std::pair("Delta", Lines{"#(2,0,0,0)"}), std::pair("Chng", Lines{})}) {
    SCOPED_TRACE(type);
    reset();
    choose(type, {}, /*Dsem=*/1);
    EXPECT_EQ(tokens(run(Lines{"a", "; c", "b"}, Lines{"a", "; c", "b"})), expected);
    EXPECT_EQ(app.pair.MatchCount, 2);
  }
}

// Up to twelve unchanged lines between two changes are all shown; more show as six, "Not Shown" and six
// (see also ChngContextCarriesAcrossChunks and the whole-report tests).
TEST_F(ListingBodyTest, ChngShowsSixContextLinesAroundEachChange) {
  for (const int between : {12, 13}) {
    SCOPED_TRACE(between);
    reset();
    choose("Chng");
    const Lines unchanged = numbered("u", 1, between), x = {"I x1", "D y1"}, y = {"I x2", "D y2"};
    EXPECT_EQ(
        tokens(run(concat(Lines{"x1"}, unchanged, Lines{"x2"}), concat(Lines{"y1"}, unchanged, Lines{"y2"}))),
        between == 12 ? concat(x, numbered("= u", 1, 12), y)
                      : concat(x, numbered("= u", 1, 6), Lines{"~1"}, numbered("= u", 8, 13), y));
  }
}

TEST_F(ListingBodyTest, DeltaBlocksOfReformatsInsertsAndDeletes) {
  choose("Delta", {}, /*Dsem=*/1);
  // Dp lines are never listed and do not break runs; reformats come first in their block.
  const Lines listing =
      run(Lines{"a", "p q", "; c", "r s", "n1", "n2", "z"}, Lines{"a", "pq", "rs", "o1", "z"});
  EXPECT_EQ(tokens(listing), (Lines{"#(1,2,1,2)", "RN p q", "RN r s", "I n1", "I n2", "D o1", "#(1,0,0,0)"}));
  EXPECT_EQ(std::pair(app.pair.ReformatCount, app.pair.PairedChanges), std::pair(2, 1));
}

// Longest line 3: the references start after 28 - 23 blanks; the reformat starts both sides; without
// reformats or inserts the left reference is left blank, and a block of matches only shows neither.
TEST_F(ListingBodyTest, DeltaWithFsclShowsBlockReferences) {
  choose("Delta", {Pref::Fscl});
  EXPECT_EQ(run(Lines{"l1", "l2", "a b", "X", "l5", "l6"}, Lines{"l1", "l2", "ab", "l5", "Y", "l6"}),
            (Lines{"     LRef#=00003 RRef#=00003", "RN- a b", "I - X", std::string(17, ' ') + "RRef#=00005",
                   "D - Y", std::string(17, ' ')}));
}

// The first chunk holds lines 1-7999; the lines after it are numbered on from there.
TEST_F(ListingBodyTest, ReferenceNumbersContinueAcrossChunks) {
  choose("Long");
  Lines newLines = numbered("line ", 1, 8010), oldLines = newLines;
  newLines[8004] = "new";
  oldLines[8004] = "old";
  const Lines listing = run(newLines, oldLines);
  ASSERT_EQ(listing.size(), 8011u);
  EXPECT_EQ(listing[7999], row("    ", "line 8000", " 08000              08000"));
  EXPECT_EQ(Lines(listing.begin() + 8004, listing.begin() + 8006),
            (Lines{row("I - ", "new", " 08005 INSERT(NEW)          1    "),
                   row("D - ", "old", "       DELETED(OLD) 08005   1    ")}));
  EXPECT_EQ(listing.back(), row("    ", "line 8010", " 08010              08010"));
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
  const auto shown = [](int first, int last) { return numbered("= line ", first, last); };
  EXPECT_EQ(tokens(run(newLines, oldLines)),
            concat(Lines{"~7983"}, shown(7984, 7989), Lines{"I new 7990", "D old 7990"}, shown(7991, 7996),
                   Lines{"~7"}, shown(8004, 8009), Lines{"I new 8010", "D old 8010"}, shown(8011, 8016),
                   Lines{"~4"}));
}

// Lines of identical chunks before the first change count as not shown, as do those after the last.
TEST_F(ListingBodyTest, ChngCountsIdenticalChunksAsNotShown) {
  for (const int at : {16500, 10}) {  // a change in the third of three chunks, and in the first
    SCOPED_TRACE(at);
    reset();
    choose("Chng");
    Lines newLines = numbered("line ", 1, 17000), oldLines = newLines;
    newLines[static_cast<std::size_t>(at - 1)] = "new";
    oldLines[static_cast<std::size_t>(at - 1)] = "old";
    const Lines before = at > 7 ? Lines{"~" + std::to_string(at - 7)} : Lines{};
    EXPECT_EQ(tokens(run(newLines, oldLines)),
              concat(before, numbered("= line ", at - 6, at - 1), Lines{"I new", "D old"},
                     numbered("= line ", at + 1, at + 6), Lines{"~" + std::to_string(17000 - at - 6)}));
  }
}

// Matches carried at the end of a pair belong to it: a file of exactly 7999 lines ends with an empty
// chunk, and an identical pair of several chunks carries them all; neither may reach the next pair.
TEST_F(ListingBodyTest, DeltaMatchesCarriedAtTheEndOfAPairStayWithIt) {
  choose("Delta");
  Lines changedNew = numbered("line ", 1, 7999), changedOld = changedNew;
  changedNew[2] = "new";
  changedOld[2] = "old";
  const Lines same = numbered("same ", 1, 8500);
  for (const auto& [name, newLines, oldLines] :
       {std::tuple("a.txt", changedNew, changedOld), std::tuple("b.txt", same, same),
        std::tuple("c.txt", Lines{"c1", "new", "c3"}, Lines{"c1", "old", "c3"})}) {
    files.add("new/" + std::string(name), joinLines(newLines));
    files.add("old/" + std::string(name), joinLines(oldLines));
  }
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
    if (!host.statusTexts.empty() && host.statusTexts.back().starts_with("Generating Report"))
      files.find("new/a.txt")->content = "A longer line\n";
  };
  EXPECT_EQ(tokens(run(Lines{"a", "b", "c"}, Lines{"a", "x", "c"})),
            (Lines{"RN A longer line", "I ", "D x", "RN "}));
}

TEST_F(ListingBodyTest, AeqfPairIsListedFromTheNewFileOnly) {
  choose("Long", {Pref::Aeqf}, /*Dsem=*/1);
  const std::string text = "a\n; c\nb\n";
  const Lines listing = run(text, std::string(text.size(), '?'), /*oldStamp=*/1);
  EXPECT_EQ(listing, (Lines{" ", row("    ", "a", " 00001              00001   2    "),
                            row("    ", "", " 00002              00002"),  // cut by Dsem
                            row("    ", "b", " 00003              00003")}));
  const PairState& p = app.pair;
  EXPECT_EQ(std::tuple(p.NewLinesProcessed, p.OldLinesProcessed, p.NewDpCount, p.OldDpCount, p.MatchCount),
            std::tuple(3, 3, 1, 1, 2));
}

}  // namespace
}  // namespace kelvarine
