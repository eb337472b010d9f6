// Saved reports of real compare runs, line by line for each format; the save dialog's rules; the
// atomic save to disk, its refusals and its failures; print pagination on a recording canvas.
#include "ui/report_save.h"
#include "ui/viewer_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <streambuf>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "engine/compare_choices.h"
#include "engine/compare_run.h"
#include "engine/std_file_system.h"
#include "report/report_generator.h"
#include "report/report_line_kind.h"
#include "support/memory_file_system.h"
#include "support/memory_set.h"
#include "support/recording_host.h"
#include "support/temp_directory.h"
#include "ui/print_layout.h"
#include "ui/save_dialog.h"

namespace kelvarine {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

const std::string kCaption = "Kelvarine V1.8 - Single Panel Display of Comparison Report  06/12/2026 12:00";
const std::string kStamp = "06/12/2026 12:00";

Lines splitLines(const std::string& text) {
  Lines lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);)
    lines.push_back(line);
  return lines;
}

// Standard output of a shell command.
std::string readPipe(const std::string& command) {
  std::string text;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return text;
  char chunk[4096];
  for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;)
    text.append(chunk, n);
  ::pclose(pipe);
  return text;
}

// A real one-pair run: a changed line holding "<b>", a deleted line with a backslash and an inserted
// line with braces, so that every escaping rule and colour switch appears.
class SavedReportTest : public ::testing::Test {
 public:
  void run(bool sbsl, const std::string& newText = "same 1\nnew <b>\nsame 3\n{x}\n",
           const std::string& oldText = "same 1\nold\\line\nsame 3\n") {
    files.add("new/a.txt", newText, 100);
    files.add("old/a.txt", oldText, 200);
    app.NewDirName = "new";
    app.OldDirName = "old";
    app.NewFileList = {"a.txt"};
    app.OldFileList = {"a.txt"};
    app.choices.compareType = kCompareTypes[0];
    app.choices.setChecked(Pref::Sbsl, sbsl);
    app.optionsString = RebuildOptionsString(app.choices);
    app.newNameText = "new/a.txt";
    app.oldNameText = "old/a.txt";
    CompareSet(app, host, files, generator);
    source.dual = sbsl;
    source.caption = kCaption;
    source.reportStamp = kStamp;
  }
  const std::string& line(std::size_t i) const { return app.reportLines[i]; }
  const std::string& oldLine(std::size_t i) const { return app.oldSideLines[i]; }
  // The summary rows (from ListingLineCount on) as the viewers show them: `prefix`, then the line.
  Lines summaryRows(const std::string& prefix = " ") const {
    Lines rows;
    for (std::size_t i = static_cast<std::size_t>(app.ListingLineCount); i < app.reportLines.size(); ++i)
      rows.push_back(prefix + app.reportLines[i]);
    return rows;
  }
  // The report in `format` as its writer puts it on a stream.
  std::string write(SaveFormat format, const DualTextChoice& choice = {}) {
    std::ostringstream out;
    EXPECT_EQ(writeTo(out, format, choice), WriteEnd::Complete);
    return out.str();
  }
  WriteEnd writeTo(std::ostream& out, SaveFormat format, const DualTextChoice& choice = {}) {
    return format == SaveFormat::Html  ? WriteHtmlReport(out, app, host, source)
           : format == SaveFormat::Rtf ? WriteRtfReport(out, app, host, source)
                                       : WriteTextReport(out, app, host, source, choice);
  }
  Lines htmlOf() { return splitLines(write(SaveFormat::Html)); }
  Lines rtfOf() { return splitLines(write(SaveFormat::Rtf)); }
  Lines textOf(const DualTextChoice& choice = {}) { return splitLines(write(SaveFormat::Text, choice)); }

  AppState app;
  RecordingHost host;
  MemoryFileSystem files;
  ReportGenerator generator;
  SaveSource source;
};

TEST_F(SavedReportTest, SingleHtmlNumbersListingRowsEscapesAndSpansColours) {
  run(false);
  ASSERT_EQ(app.ListingLineCount, 8);
  Lines summary = summaryRows();
  summary[summary.size() - 2] = "<FONT Color=Red>" + summary[summary.size() - 2] + "</FONT>";  // LISTING-TY
  EXPECT_EQ(htmlOf(), concat({{"<HTML>", "<BODY>", "<FONT Face=\"Courier New\" Color=Black Size=3>", "<PRE>",
                               " " + line(0), " " + line(1), " " + line(2), "   1  " + line(3),
                               "<FONT Color=Blue>   2  I - new &lt;b&gt;" + line(4).substr(11) + "</FONT>",
                               "<FONT Color=Red>   3  " + line(5) + "</FONT>", "   4  " + line(6),
                               "<FONT Color=Blue>   5  " + line(7) + "</FONT>"},
                              summary,
                              {"</PRE>", "</BODY>", "</HTML>"}}));
}

TEST_F(SavedReportTest, HtmlRunOfOneColourIsOneSpanAndLongLinesAreCut) {
  run(false, "a\nb\nc\nd\ne\n", "a\n");
  app.reportLines[7] = "I - " + std::string(3000, '<');  // longer than any listing line
  const Lines html = htmlOf();
  EXPECT_EQ(html[8], "<FONT Color=Blue>   2  " + line(4));
  EXPECT_EQ(html[9], "   3  " + line(5));
  EXPECT_EQ(html[10], "   4  " + line(6));
  // The long line: prefix, number and as many whole "&lt;" as fit in 2048 characters, then the close.
  const std::string prefix = "   5  I - ";
  std::string cut = prefix;
  while (cut.size() + 4 <= 2048)
    cut += "&lt;";
  EXPECT_EQ(html[11], cut + "</FONT>");
  // Character references count as the bytes they stand for: the cut falls where it falls in the bytes.
  std::string umlauts, references = "   4  ";
  for (int i = 0; i < 3000; ++i)
    umlauts += "\xC3\xBC";
  while (references.size() < 6 + (2048 - 6) / 2 * 6)
    references += "&#252;";
  app.reportLines[6] = umlauts;
  EXPECT_EQ(htmlOf()[10], references);
}

TEST_F(SavedReportTest, NonAsciiCharactersAreEscapesNeedingNoCharacterSetAndTextKeepsTheBytes) {
  struct Case {
    std::string name, bytes, html, rtf;
  };
  const std::vector<Case> cases = {
      {"ascii", "a&b ~", "a&b ~", "a&b ~"},
      {"utf8", "\xC3\xBC\xC3\xA9\xE2\x82\xAC \xEF\xBC\xA1 \xF0\x9F\x98\x80",
       "&#252;&#233;&#8364; &#65313; &#128512;",
       "\\u252\\'3f\\u233\\'3f\\u8364\\'3f \\u-223\\'3f \\u-10179\\'3f\\u-8704\\'3f"},
      {"latin1", "gr\xFC\xDF", "gr&#252;&#223;", "gr\\u252\\'3f\\u223\\'3f"},
      {"valid and invalid", "\xC3\xBC\xFC", "&#195;&#188;&#252;", "\\u195\\'3f\\u188\\'3f\\u252\\'3f"},
      {"cut short", "<\xE2\x82", "&lt;&#226;&#130;", "<\\u226\\'3f\\u130\\'3f"},
      {"overlong", "\xC0\xAF", "&#192;&#175;", "\\u192\\'3f\\u175\\'3f"},
      {"surrogate", "\xED\xA0\x80", "&#237;&#160;&#128;", "\\u237\\'3f\\u160\\'3f\\u128\\'3f"},
      {"beyond U+10FFFF", "\xF4\x90\x80\x80", "&#244;&#144;&#128;&#128;",
       "\\u244\\'3f\\u144\\'3f\\u128\\'3f\\u128\\'3f"},
  };
  run(false);
  for (const Case& c : cases) {
    app.reportLines[6] = "x" + c.bytes;
    EXPECT_EQ(htmlOf()[10], "   4  x" + c.html) << c.name;
    EXPECT_EQ(rtfOf()[10], "\\par \\plain\\f0\\fs16\\cf0    7  x" + c.rtf) << c.name;
    EXPECT_EQ(textOf()[8], "   7  x" + c.bytes) << c.name;
  }
}

TEST_F(SavedReportTest, SingleRtfSwitchesColourOnlyWhenNeededAndEscapes) {
  run(false);
  const std::string plain = "\\plain\\f0\\fs16\\cf";
  Lines summary = summaryRows("\\par  ");
  summary[0] = "\\par " + plain + "0  " + line(8);  // black after the blue insert
  summary[summary.size() - 2] = "\\par " + plain + "2  " + line(app.reportLines.size() - 2);
  summary.back() = "\\par " + plain + "0  " + app.reportLines.back();
  EXPECT_EQ(
      rtfOf(),
      concat(
          {{"{\\rtf1\\ansi\\ansicpg1252\\deff0\\deftab720{\\fonttbl{\\f0\\fmodern\\fcharset1 Courier New;}}",
            "{\\colortbl\\red0\\green0\\blue0;\\red0\\green0\\blue255;\\red255\\green0\\blue0;"
            "\\red0\\green200"
            "\\blue10;}",
            "\\deflang1033\\pard\\plain\\f0\\fs16\\cf0", "\\par " + plain + "0 " + kCaption,
            "\\par    1  " + line(0), "\\par    2  " + line(1), "\\par    3  " + line(2),
            "\\par    4  " + line(3), "\\par " + plain + "1    5  " + line(4),
            "\\par " + plain + "2    6  D - old\\\\line" + line(5).substr(12),
            "\\par " + plain + "0    7  " + line(6),
            "\\par " + plain + "1    8  I - \\{x\\}" + line(7).substr(7)},
           summary,
           {"\\par }"}}));
}

// The frame and the summary are written as for the single viewer: only the parts between differ.
TEST_F(SavedReportTest, DualHtmlWritesThreePartsEachWithItsOwnColours) {
  run(true);
  ASSERT_EQ(app.ListingLineCount, 7);
  const Lines html = htmlOf();
  ASSERT_EQ(html.size(), 4 + 17 + summaryRows().size() + 3);
  EXPECT_EQ(Lines(html.begin() + 4, html.begin() + 21),
            (Lines{"Brisolan File Compare Report - " + kStamp,
                   "Panel 1 Report -- New Source Matches + New File Inserts", " " + line(0), " " + line(1),
                   " " + line(2), "   1  " + line(3),
                   "<FONT Color=Blue>   2  I - new &lt;b&gt;" + line(4).substr(11) + "</FONT>",
                   "   3  " + line(5), "<FONT Color=Blue>   4  " + line(6) + "</FONT>",
                   "<FONT Color=Black>Panel 2 Report -- Old Source Matches + Old File Deletes",
                   " " + oldLine(0), " " + oldLine(1), " " + oldLine(2), "   1  " + oldLine(3),
                   "<FONT Color=Red>   2  " + oldLine(4) + "</FONT>", "   3  " + oldLine(5),
                   "   4  " + oldLine(6)}));
}

TEST_F(SavedReportTest, DualRtfHasTitleAndPartHeadings) {
  run(true);
  const Lines rtf = rtfOf();
  const std::string plain = "\\plain\\f0\\fs16\\cf0 ";
  EXPECT_EQ(rtf[3], "\\par " + plain + "Brisolan File Compare Report - " + kStamp);
  EXPECT_EQ(rtf[4], "\\par " + plain + "Panel 1 Report -- New Source Matches + Inserts");
  EXPECT_EQ(rtf[12], "\\par " + plain + "<FONT Color=Black>Panel 2 Report -- New Source Matches + Deletes");
  EXPECT_EQ(rtf[17], "\\par \\plain\\f0\\fs16\\cf2    5  D - old\\\\line" + oldLine(4).substr(12));
  EXPECT_EQ(rtf.size(), 3 + 1 + 1 + 7 + 1 + 7 + summaryRows().size() + 1);
}

TEST_F(SavedReportTest, DualTextStackedWithTitle) {
  run(true);
  Lines left, right;
  for (std::size_t i = 0; i < 7; ++i) {
    left.push_back(ViewerRowText(app, app.reportLines, i));
    right.push_back(ViewerRowText(app, app.oldSideLines, i));
  }
  EXPECT_EQ(textOf({true, true, "My title"}),
            concat({{"My title", "Brisolan Double-Stacked Compare Report  " + kStamp,
                     " Panel 1 -- New Source Matches + Inserts"},
                    left,
                    {" ", " Panel 2 -- New Source Matches + Deletes"},
                    right,
                    summaryRows()}));
  // A checked title with an empty text, or an unchecked one, adds no line.
  for (const DualTextChoice& noTitle :
       {DualTextChoice{true, true, ""}, DualTextChoice{true, false, "unused"}})
    EXPECT_EQ(textOf(noTitle)[0], "Brisolan Double-Stacked Compare Report  " + kStamp);
}

TEST_F(SavedReportTest, DualTextSideBySidePutsRightRowsAtColumnLwPlus2) {
  run(true);
  const Lines text = textOf({false, false, ""});
  ASSERT_EQ(text.size(), 2 + 7 + summaryRows().size());
  EXPECT_EQ(text[0], "Brisolan Insert and Delete Side-By-Side Report  " + kStamp);
  const std::string panel1 = " Panel 1 -- New Source Matches + Inserts";
  EXPECT_EQ(text[1], panel1 + std::string(91 - panel1.size(), ' ') +
                         " Panel 2 -- New Source Matches + Deletes" + std::string(91 - 40, ' '));
  for (std::size_t r = 0; r < 7; ++r) {
    ASSERT_EQ(text[2 + r].size(), 182u) << r;
    const std::string leftText = ViewerRowText(app, app.reportLines, r).substr(0, 90);
    const std::string rightText = ViewerRowText(app, app.oldSideLines, r).substr(0, 90);
    EXPECT_EQ(text[2 + r].substr(0, 91), leftText + std::string(91 - leftText.size(), ' ')) << r;
    EXPECT_EQ(text[2 + r].substr(91), rightText + std::string(91 - rightText.size(), ' ')) << r;
  }
  EXPECT_EQ(text[9], "  ");
}

TEST(DualTextWidthsTest, WithFsclFollowTheLongestLinesPast80UpTo128) {
  struct Case {
    int longestNew, longestOld, left, right, total;
  };
  for (const Case& c :
       std::vector<Case>{{100, 50, 110, 90, 202}, {80, 80, 90, 90, 182}, {200, 81, 138, 91, 231}}) {
    CompareOptions options;
    options.Fscl = true;  // without Fscl both stay 90, as the side-by-side save test shows
    options.LongestNewLine = c.longestNew;
    options.LongestOldLine = c.longestOld;
    const DualTextWidths w = ComputeDualTextWidths(options);
    EXPECT_EQ(std::tuple(w.left, w.right, w.total), std::tuple(c.left, c.right, c.total));
  }
}

// Where print colours differ from the viewer's: reformatted lines in blue and red, the labels, the gap.
TEST(PrintColourTest, KindsGiveTheNames) {
  using K = ReportLineKind;
  for (const auto& [kind, name] : std::vector<std::pair<K, std::string>>{{K::ReformattedOld, "Red"},
                                                                         {K::ReformattedNew, "Blue"},
                                                                         {K::ChangedFile, "Black"},
                                                                         {K::NewFileLabel, "Blue"},
                                                                         {K::NewFileHeader, "Black"},
                                                                         {K::OldFileLabel, "Red"},
                                                                         {K::NotShownGap, "Green"}})
    EXPECT_EQ(PrintColourName(PrintColourOf(kind)), name) << static_cast<int>(kind);
}

// A stream whose every write fails, as on a full disk.
struct FullBuffer : std::streambuf {
  int_type overflow(int_type) override { return traits_type::eof(); }
};

TEST_F(SavedReportTest, EveryWriterReportsAFailingStream) {
  run(true);
  for (const bool stacked : {true, false})
    for (const SaveFormat format : {SaveFormat::Html, SaveFormat::Rtf, SaveFormat::Text}) {
      FullBuffer buffer;
      std::ostream out(&buffer);
      EXPECT_EQ(writeTo(out, format, {stacked, false, ""}), WriteEnd::Failed) << static_cast<int>(format);
    }
}

TEST(SaveDialogTest, InitialValuesFollowOutFnOrTheNewName) {
  MemoryFileSystem files;
  files.add("src/a.txt", "x");
  struct Case {
    std::string outFn;
    bool dual;
    std::string directory, fileName;
  };
  for (const Case& c : std::vector<Case>{{"nowhere/last.html", false, "src/", "Kelvarine.html"},
                                         {"", true, "src/", "Brisolan.html"}}) {
    const SaveDialogStart start = SaveDialogInitialValues(c.outFn, "src/a.txt", c.dual, files);
    EXPECT_EQ(std::tuple(start.directory, start.fileName, start.filterIndex),
              std::tuple(c.directory, c.fileName, 4))
        << c.outFn;
  }
}

TEST(SaveDialogTest, ForcedExtensionAndReplaceQuestions) {
  MemoryFileSystem files;
  files.add("out/old.html", "x");
  struct Case {
    std::string chosen;
    int filter;
    bool answer;
    Lines questions;
    std::string saved;  // empty: cancelled
  };
  const std::string changed = "Save File Name extention changed to ";
  const std::vector<Case> cases = {
      {"out/r.txt", 2, false, {changed + "out/r.rtf. Do you want to accept it?"}, ""},
      {"out/r.txt", 2, true, {changed + "out/r.rtf. Do you want to accept it?"}, "out/r.rtf"},
      {"out/r", 3, true, {changed + "out/r.txt. Do you want to accept it?"}, "out/r.txt"},
      {"out/r.HTML", 1, false, {}, "out/r.HTML"},
      {"out/r.txt", 4, false, {}, "out/r.txt"},
      {"out/old.html", 1, false, {"out/old.html already exists. Do you want to replace it?"}, ""},
  };
  for (const Case& c : cases) {
    RecordingHost host;
    host.answerYes = c.answer;
    std::string outFn = "before";
    const auto saved = ConfirmSaveName(c.chosen, c.filter, host, files, outFn);
    EXPECT_EQ(saved.value_or(""), c.saved) << c.chosen << " " << c.filter;
    Lines asked;
    for (const std::string& question : c.questions)
      asked.push_back("question: " + question);
    EXPECT_EQ(host.eventsStartingWith("question: "), asked) << c.chosen;
    if (c.saved.empty())
      EXPECT_EQ(outFn, "before");
    else
      EXPECT_EQ(outFn, (fs::current_path() / c.saved).lexically_normal().string());
  }
}

TEST(SaveDialogTest, SavedFormatIsTheOneTheFilterForced) {
  struct Case {
    std::string name;
    SaveFormat format;
  };
  for (const Case& c : std::vector<Case>{{"out/r.HTML", SaveFormat::Html},
                                         {"out/r.htm", SaveFormat::Html},
                                         {"out/.rtf", SaveFormat::Rtf},
                                         {"out.rtf/r", SaveFormat::Text},
                                         {"out/r.rtf.txt", SaveFormat::Text}})
    EXPECT_EQ(SaveFormatFor(c.name), c.format) << c.name;
  const SaveFormat forced[] = {SaveFormat::Html, SaveFormat::Rtf, SaveFormat::Text};
  for (const std::string name : {"out/r", "out/r.Txt", "out/.rtf", "out/.html", "out.d/r"})
    for (int filter = 1; filter <= 3; ++filter)
      EXPECT_EQ(SaveFormatFor(ForceFilterExtension(name, filter)), forced[filter - 1]) << name << filter;
  // The unified diff's filter keeps either of its two extensions.
  for (const auto& [name, diff] :
       std::vector<std::pair<std::string, std::string>>{{"out/r", "out/r.diff"},
                                                        {"out/r.PATCH", "out/r.PATCH"},
                                                        {"out/r.Diff", "out/r.Diff"},
                                                        {"out/r.txt", "out/r.diff"},
                                                        {"out.patch/r", "out.patch/r.diff"}})
    EXPECT_EQ(ForceFilterExtension(name, kUnifiedDiffFilter), diff);
}

// Saves to a real directory; the run's inputs are real files in it.
class SaveToDiskTest : public SavedReportTest {
 public:
  void SetUp() override {
    temp.write("new/a.txt", "input\n");
    run(false);
    app.NewDirName = (dir / "new").string();
    app.OldDirName = (dir / "new").string();
  }
  Lines filesInDir(const fs::path& where) const {
    Lines names;
    for (const auto& entry : fs::directory_iterator(where))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  TempDirectory temp;
  const fs::path& dir = temp.root;
};

TEST_F(SaveToDiskTest, ANameDifferingOnlyInCaseAsksAboutAndReplacesTheExistingFile) {
  std::ofstream(dir / "Report.HTML") << "previous";
  const std::string existing = (dir / "Report.HTML").string();
  StdFileSystem disk;
  host.answerYes = true;
  std::string outFn;
  EXPECT_EQ(ConfirmSaveName((dir / "report.html").string(), 1, host, disk, outFn), existing);
  EXPECT_EQ(host.eventsStartingWith("question: "),
            Lines{"question: " + existing + " already exists. Do you want to replace it?"});
  EXPECT_EQ(outFn, existing);
  // The save itself finds the file too (the command line hands its name over directly).
  EXPECT_EQ(SaveReport((dir / "REPORT.html").string(), app, host, source), SaveOutcome::Saved);
  EXPECT_EQ(filesInDir(dir), (Lines{"Report.HTML", "new"}));
  EXPECT_EQ(readFile(dir / "Report.HTML"), write(SaveFormat::Html));
}

TEST_F(SaveToDiskTest, RefusesTheRunsInputFilesWhateverTheSpelling) {
  fs::create_directory_symlink(dir / "new", dir / "link");
  for (const fs::path& target :
       {dir / "new" / "a.txt", dir / "NEW" / "A.TXT", dir / "link" / "a.txt", dir / "new" / "." / "a.txt"}) {
    host.messages.clear();
    EXPECT_EQ(SaveReport(target.string(), app, host, source), SaveOutcome::Refused) << target;
    EXPECT_EQ(host.messages, Lines{" The report was not saved: \"" + target.string() +
                                   "\" is an input file of the last compare run."});
  }
  EXPECT_EQ(readFile(dir / "new" / "a.txt"), "input\n");
  EXPECT_EQ(filesInDir(dir / "new"), Lines{"a.txt"});
}

TEST_F(SaveToDiskTest, AFailedSaveGivesItsMessageAndNoteAndKeepsTheTarget) {
  struct Case {
    fs::path target;
    std::string message, note, reason;
  };
  // A target in a missing directory cannot be written; a directory cannot be replaced by a file.
  fs::create_directories(dir / "busy.html" / "inside");
  const std::string missing = "No such file or directory";
  for (const Case& c : std::vector<Case>{
           {dir / "missing" / "r.html", " Error generating HTML output.", "Html File Error", missing},
           {dir / "missing" / "r.rtf", " Error generating RTF output.", "Rtf File Error", missing},
           {dir / "missing" / "r.txt", " Error generating Text output.", "Txt File Error", missing},
           {dir / "busy.html", " Error generating HTML output.", "Html File Error", "Is a directory"}}) {
    host.messages.clear();
    app.options.ReportNote.clear();
    app.options.ReportNoteSet = false;
    std::string reason = "before";
    EXPECT_EQ(SaveReport(c.target.string(), app, host, source, {}, &reason), SaveOutcome::Failed) << c.target;
    EXPECT_EQ(reason, c.reason);
    EXPECT_EQ(host.messages, Lines{c.message});
    EXPECT_EQ(app.options.ReportNote, c.note);
    EXPECT_TRUE(app.options.ReportNoteSet);
  }
  EXPECT_TRUE(fs::is_directory(dir / "busy.html" / "inside"));
  EXPECT_EQ(filesInDir(dir), (Lines{"busy.html", "new"}));
}

TEST_F(SaveToDiskTest, AWordProcessorAndABrowserReadTheCharactersBack) {
  for (const char* program : {"unrtf", "w3m"})
    if (std::system(("command -v " + std::string(program) + " >/dev/null 2>&1").c_str()) != 0)
      GTEST_SKIP() << program << " is not installed";
  const std::string words[] = {"gr\xC3\xBCn", "caf\xC3\xA9", "5 \xE2\x82\xAC"};
  app.reportLines[6] = words[0] + " " + words[1] + " " + words[2];
  // unrtf's plain-text output shows every \u escape as its "?", so its HTML goes through the browser.
  const std::string browser = "LC_ALL=C.UTF-8 w3m -dump -O UTF-8 -T text/html";
  for (const auto& [name, reader] :
       {std::pair<std::string, std::string>{"r.rtf", "LC_ALL=C.UTF-8 unrtf --html "},
        {"r.html", browser + " "}}) {
    const fs::path file = dir / name;
    ASSERT_EQ(SaveReport(file.string(), app, host, source), SaveOutcome::Saved);
    std::string command = reader + "'" + file.string() + "' 2>/dev/null";
    if (name == "r.rtf") command += " | " + browser;
    const std::string text = readPipe(command);
    for (const std::string& word : words)
      EXPECT_NE(text.find(word), std::string::npos) << name << ": " << word << " not in\n" << text;
  }
}

TEST_F(SaveToDiskTest, HaltedRtfKeepsRowsWrittenSoFarAndSaysSo) {
  std::string many;
  for (int i = 0; i < 60; ++i)
    many += "added " + std::to_string(i) + "\n";
  files = MemoryFileSystem();
  app = AppState();
  run(false, many, "");
  app.NewDirName = (dir / "new").string();
  app.OldDirName = (dir / "new").string();
  app.StopRequested = true;  // a halt left from before is cleared when the save starts
  host.onProcessEvents = [&] { app.StopRequested = true; };
  EXPECT_EQ(SaveReport((dir / "r.rtf").string(), app, host, source), SaveOutcome::Halted);
  const Lines rtf = splitLines(readFile(dir / "r.rtf"));
  ASSERT_EQ(rtf.size(), 4u + 20u + 1u);
  EXPECT_EQ(rtf[23], "\\par \\plain\\f0\\fs16\\cf1   20  " + line(19));
  EXPECT_EQ(rtf.back(), "\\par }");
  EXPECT_EQ(host.messages, Lines{" User requested early termination of SaveRtf operation."});
}

// Fixed-pitch text: every character `charWidth` units wide (bold one wider), `lineHeight` high. Records
// every call as one line.
class RecordingCanvas : public Canvas {
 public:
  RecordingCanvas(int width, int height) : width_(width), height_(height) {}

  void beginDocument() override { calls.push_back("begin"); }
  void endDocument() override { calls.push_back("end"); }
  void newPage() override { calls.push_back("page"); }
  // Records a change of size only (fitting tries sizes); an X is 7 wide (8 bold) at size 10, in proportion.
  void setFont(const std::string& face, int size) override {
    if (size != size_) calls.push_back("font " + face + " " + std::to_string(size));
    size_ = size;
  }
  int pageWidth() override { return width_; }
  int pageHeight() override { return height_; }
  int textWidth(const std::string& text, TextStyle style) override {
    return static_cast<int>(text.size()) * (style == TextStyle::Bold ? 8 : 7) * size_ / 10;
  }
  int textHeight(const std::string&, TextStyle) override { return 10; }
  void drawText(int x, int y, const std::string& text, PrintColour colour, TextStyle style) override {
    calls.push_back(std::to_string(x) + "," + std::to_string(y) + (style == TextStyle::Bold ? " B " : " ") +
                    std::string(PrintColourName(colour)) + " [" + text + "]");
  }
  void markText(int x, int y, int width, PrintColour) override {
    calls.push_back("mark " + std::to_string(x) + "," + std::to_string(y) + " " + std::to_string(width));
  }

  Lines calls;

 private:
  int width_, height_, size_ = 0;
};

std::string row(int x, int slot, const std::string& colour, const std::string& text) {
  return std::to_string(x) + "," + std::to_string(slot * 10) + " " + colour + " [ " + text + "]";
}

std::string number(int n) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%4d  ", n);
  return buffer;
}

class PrintLayoutTest : public ::testing::Test {
 public:
  // Page 800 wide: bold X = 8, so MaxChars = 100; 640 high: H = 10, MaxLines = 60.
  RecordingCanvas canvas{800, 640};
  RecordingHost host;
  AppState app;
  PrintSource source{false, "Caption", "10", false};
};

TEST_F(PrintLayoutTest, DualPrintsThreePartsAndDropsRowNumbersOnRequest) {
  for (const char* line : {"New File", "I - new", "same", "Summary", "LISTING-TYPE = Chng"})
    app.reportLines.add(line);
  for (const char* line : {"Old File", "D - old"})
    app.oldSideLines.add(line);
  app.SummaryToMainOnly = true;
  app.ListingLineCount = 3;
  source.dual = true;
  source.noRefNumbers = true;
  EXPECT_EQ(PrintReport(canvas, app, host, source), PrintEnd::Complete);
  const std::string pageNumber = std::to_string((100 - 8) * 8) + ",30 B Black [Page   ";
  const Lines expected = {"font Courier New 10",
                          "begin",
                          "21,20 B Black [Caption]",
                          pageNumber + "1]",
                          "21,30 B Black [ Panel 1 - New Source Matches and New File Inserts]",
                          row(21, 4, "Black", "  New File"),
                          row(21, 5, "Blue", "  I - new"),
                          row(21, 6, "Black", "  same"),
                          "page",
                          "21,20 B Black [Caption]",
                          pageNumber + "2]",
                          "21,30 B Black [ Panel 2 - Old Source Matches and Old File Deletes]",
                          row(21, 4, "Black", "  Old File"),
                          row(21, 5, "Red", "  D - old"),
                          "page",
                          "21,20 B Black [Caption]",
                          pageNumber + "3]",
                          row(21, 4, "Black", " Summary"),
                          row(21, 5, "Red", " LISTING-TYPE = Chng"),
                          "end"};
  EXPECT_EQ(canvas.calls, expected);
}

// A 132-column row too wide for the page at the chosen size is printed whole at the largest size that
// fits: 3 + 1 + 6 + 132 cells of 8 x size / 10 (bold) give size 5 on 640, 7 with the page turned.
TEST_F(PrintLayoutTest, SizeTooWideForThePageIsReducedUntilEveryRowFits) {
  const std::string widest = "I - " + std::string(128, 'w');
  app.reportLines.add(widest);
  RecordingCanvas page(640, 800);
  EXPECT_EQ(PrintFitNote(FitPrintFont(page, app, source)),
            "Print Sz 10 is too wide for the page: printed at Sz 5 (Landscape: Sz 7)");
  EXPECT_EQ(PrintReport(page, app, host, source), PrintEnd::Complete);
  EXPECT_EQ(page.calls.at(page.calls.size() - 2), row(9, 4, "Blue", number(1) + widest));
}

// What changed inside a paired change line: a tinted SPAN in HTML, underlined in RTF; a browser and a word
// processor read the lines as they were and see the marks.
TEST_F(SaveToDiskTest, PairedChangeLinesCarryTheirChangedWordsInHtmlAndRtf) {
  app = AppState();
  run(false, "k = 1;\n", "k = 2;\n");
  const std::string html = write(SaveFormat::Html), rtf = write(SaveFormat::Rtf);
  EXPECT_NE(html.find("I - k = <SPAN class=\"chg\" style=\"background-color:#C8C8FF\">1</SPAN>;"),
            std::string::npos)
      << html;
  EXPECT_NE(html.find("D - k = <SPAN class=\"chg\" style=\"background-color:#FFC8C8\">2</SPAN>;"),
            std::string::npos);
  EXPECT_NE(rtf.find("I - k = {\\ul 1};"), std::string::npos) << rtf;
  for (const char* program : {"unrtf", "w3m"})
    if (std::system(("command -v " + std::string(program) + " >/dev/null 2>&1").c_str()) != 0)
      GTEST_SKIP() << program << " is not installed";
  std::ofstream(dir / "r.html") << html;
  std::ofstream(dir / "r.rtf") << rtf;
  const std::string browsed = readPipe("w3m -dump -T text/html '" + (dir / "r.html").string() + "'");
  EXPECT_NE(browsed.find("I - k = 1;"), std::string::npos) << browsed;
  EXPECT_NE(readPipe("unrtf --html '" + (dir / "r.rtf").string() + "' 2>/dev/null").find("<u>2</u>"),
            std::string::npos);
}

// Printing puts the mark behind the changed characters before it draws the row.
TEST_F(PrintLayoutTest, PairedChangeRowsAreMarkedBehindTheirChangedCharacters) {
  for (const char* line : {"New File", "I - k = 1;", "D - k = 2;"})
    app.reportLines.add(line);
  app.ListingLineCount = 3;
  app.facingRows.add(1, 2);
  EXPECT_EQ(PrintReport(canvas, app, host, source), PrintEnd::Complete);
  // " " + "   2  " + "I - k = " is 15 characters of 7 units from the margin at 21.
  const Lines& calls = canvas.calls;
  const auto mark = std::find(calls.begin(), calls.end(), "mark " + std::to_string(21 + 15 * 7) + ",50 7");
  ASSERT_NE(mark, calls.end());
  EXPECT_EQ(*(mark + 1), row(21, 5, "Blue", number(2) + "I - k = 1;"));
}

}  // namespace
}  // namespace kelvarine
