#include "ui/report_save.h"

#include "ui/viewer_model.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <streambuf>
#include <system_error>
#include <vector>

#include "engine/ascii_case.h"
#include "engine/file_system.h"
#include "engine/std_file_system.h"
#include "report/facing_changes.h"
#include "report/report_line_kind.h"
#include "ui/utf8_text.h"

namespace kelvarine {
namespace {

constexpr std::size_t kHtmlLineLimit = 2048;
constexpr std::size_t kEventInterval = 20;

PrintColour colourOf(const LineList& list, std::size_t i, bool listChng) {
  return PrintColourOf(ClassifyReportLine(list[i], listChng));
}

void writeLine(std::ostream& out, std::string_view text) {
  out << text << '\n';
}

// Counts written rows, lets pending events run every 20 rows and tells when the writer must stop.
class RowPacer {
 public:
  RowPacer(std::ostream& out, const AppState& app, Host& host, bool honourHalt)
      : out_(out), app_(app), host_(host), honourHalt_(honourHalt) {}

  // After a row: true when the writer must stop (halt or a failed stream).
  bool afterRow() {
    if (++rows_ % kEventInterval == 0) {
      host_.processEvents();
      if (!out_) return true;
    }
    stopped_ = honourHalt_ && app_.StopRequested;
    return stopped_;
  }
  bool halted() const { return stopped_; }

 private:
  std::ostream& out_;
  const AppState& app_;
  Host& host_;
  bool honourHalt_;
  std::size_t rows_ = 0;
  bool stopped_ = false;
};

WriteEnd finish(std::ostream& out, const RowPacer& pacer) {
  out.flush();
  if (!out) return WriteEnd::Failed;
  return pacer.halted() ? WriteEnd::Halted : WriteEnd::Complete;
}

// Appends `bytes` as HTML: every non-ASCII character as a decimal character reference and, with
// `markup`, "<" and ">" as "&lt;" and "&gt;". Stops before the character that would take the line past
// `limit`, a reference counting as the bytes it stands for, so that lines are cut where the bytes were.
// Each of the `marks` (byte spans, ascending) is put between `open` and `close`.
void appendHtmlText(std::string& line, std::string_view bytes, bool markup, std::size_t limit,
                    const std::vector<TextSpan>& marks = {}, std::string_view open = {},
                    std::string_view close = {}) {
  std::size_t length = line.size(), at = 0;
  auto mark = marks.begin();
  bool inMark = false;
  for (const LineChar& c : DecodeLine(bytes)) {
    std::string piece;
    if (markup && (c.code == '<' || c.code == '>'))
      piece = c.code == '<' ? "&lt;" : "&gt;";
    else if (c.code < 0x80)
      piece = static_cast<char>(c.code);
    else
      piece = "&#" + std::to_string(static_cast<std::uint32_t>(c.code)) + ";";
    const std::size_t counted = c.code < 0x80 ? piece.size() : c.size;
    if (length + counted > limit) break;
    if (mark != marks.end() && at == static_cast<std::size_t>(mark->begin)) {
      line += open;
      inMark = true;
    }
    line += piece;
    length += counted;
    at += c.size;
    if (inMark && at >= static_cast<std::size_t>(mark->end)) {
      line += close;
      inMark = false;
      ++mark;
    }
  }
  if (inMark) line += close;
}

// Appends row i of `list`, shown as `shown`: what changed inside a paired change line is a SPAN of class
// "chg" on a tint of the row's colour, so that it stands out wherever the file is opened.
void appendMarkedHtml(std::string& line, const std::string& shown, const AppState& app, const LineList& list,
                      std::size_t i, PrintColour colour) {
  char open[64];
  std::snprintf(open, sizeof open, "<SPAN class=\"chg\" style=\"background-color:#%06X\">",
                static_cast<unsigned>(ChangeMarkRgb(colour)));
  appendHtmlText(line, shown, true, kHtmlLineLimit, ShownChangeSpans(app, list, i, shown), open, "</SPAN>");
}

// One HTML part: rows [begin, end) of a list, each colour run one FONT span.
bool writeHtmlPart(std::ostream& out, const AppState& app, const LineList& list, std::size_t begin,
                   std::size_t end, RowPacer& pacer) {
  const bool chng = app.options.ListChng;
  PrintColour previous = PrintColour::Black;
  PrintColour current = begin < end ? colourOf(list, begin, chng) : PrintColour::Black;
  for (std::size_t i = begin; i < end; ++i) {
    const PrintColour next = i + 1 < end ? colourOf(list, i + 1, chng) : PrintColour::Black;
    std::string text;
    if (current != PrintColour::Black && current != previous)
      text = "<FONT Color=" + std::string(PrintColourName(current)) + ">";
    appendMarkedHtml(text, HorizontalRowText(app, list, i), app, list, i, current);
    if (current != PrintColour::Black && next != current) text += "</FONT>";
    writeLine(out, text);
    previous = current;
    current = next;
    if (pacer.afterRow()) return false;
  }
  return true;
}

// One UTF-16 unit as `\uN` (N signed 16-bit) and the "?" that readers without `\u` show instead, written
// `\'3f` so that the control word ends there: a reader may otherwise take letters that follow as its own.
void appendRtfUnit(std::string& text, std::uint32_t unit) {
  const int signedUnit = unit > 0x7FFF ? static_cast<int>(unit) - 0x10000 : static_cast<int>(unit);
  text += "\\u" + std::to_string(signedUnit) + "\\'3f";
}

// `text` with backslash and braces escaped and every non-ASCII character as `\uN\'3f` (a character beyond
// U+FFFF as its UTF-16 surrogate pair), which needs no code page. The `marks` (byte spans, ascending) are
// underlined.
std::string rtfEscaped(const std::string& text, const std::vector<TextSpan>& marks = {}) {
  std::string escaped;
  escaped.reserve(text.size() + 8);
  std::size_t at = 0;
  auto mark = marks.begin();
  for (const LineChar& c : DecodeLine(text)) {
    if (mark != marks.end() && at == static_cast<std::size_t>(mark->begin)) escaped += "{\\ul ";
    const std::uint32_t code = c.code;
    if (code >= 0x10000) {
      appendRtfUnit(escaped, 0xD800 + ((code - 0x10000) >> 10));
      appendRtfUnit(escaped, 0xDC00 + (code & 0x3FF));
    } else if (code >= 0x80) {
      appendRtfUnit(escaped, code);
    } else {
      if (code == '{' || code == '}' || code == '\\') escaped += '\\';
      escaped += static_cast<char>(code);
    }
    at += c.size;
    if (mark != marks.end() && at >= static_cast<std::size_t>(mark->end)) {
      escaped += '}';
      ++mark;
    }
  }
  return escaped;
}

constexpr std::string_view kRtfPlain[] = {"\\plain\\f0\\fs16\\cf0 ", "\\plain\\f0\\fs16\\cf1 ",
                                          "\\plain\\f0\\fs16\\cf2 ", "\\plain\\f0\\fs16\\cf3 "};

std::string_view rtfSwitch(PrintColour colour) {
  switch (colour) {
    case PrintColour::Blue:
      return kRtfPlain[1];
    case PrintColour::Red:
      return kRtfPlain[2];
    case PrintColour::Green:
      return kRtfPlain[3];
    case PrintColour::Black:
      break;
  }
  return kRtfPlain[0];
}

// One RTF part: rows [begin, end) of a list as displayed; `previous` carries the last row's colour.
bool writeRtfPart(std::ostream& out, const AppState& app, const LineList& list, std::size_t begin,
                  std::size_t end, PrintColour& previous, RowPacer& pacer) {
  for (std::size_t i = begin; i < end; ++i) {
    const PrintColour colour = colourOf(list, i, app.options.ListChng);
    std::string line = "\\par ";
    if (colour != PrintColour::Black || previous != PrintColour::Black) line += rtfSwitch(colour);
    const std::string shown = ViewerRowText(app, list, i);
    line += rtfEscaped(shown, ShownChangeSpans(app, list, i, shown));
    writeLine(out, line);
    previous = colour;
    if (pacer.afterRow()) return false;
  }
  return true;
}

bool writeTextRows(std::ostream& out, const AppState& app, const LineList& list, std::size_t begin,
                   std::size_t end, RowPacer& pacer) {
  for (std::size_t i = begin; i < end; ++i) {
    writeLine(out, ViewerRowText(app, list, i));
    if (pacer.afterRow()) return false;
  }
  return true;
}

// A line of `width` blanks holding `left` from column 1 and `right` from column `rightColumn` (1-based),
// each cut to its width.
std::string sideBySide(const std::string& left, const std::string& right, const DualTextWidths& widths) {
  std::string line(static_cast<std::size_t>(widths.total), ' ');
  line.replace(0, std::min(left.size(), static_cast<std::size_t>(widths.left)), left, 0,
               static_cast<std::size_t>(widths.left));
  line.replace(static_cast<std::size_t>(widths.left) + 1,
               std::min(right.size(), static_cast<std::size_t>(widths.right)), right, 0,
               static_cast<std::size_t>(widths.right));
  return line;
}

std::size_t listingEnd(const AppState& app, const LineList& list) {
  return std::min(list.size(), static_cast<std::size_t>(std::max(app.ListingLineCount, 0)));
}

// A buffered output on a newly created file that keeps the errno of the first failing open, write or
// close, which std::ofstream does not preserve.
class FileOutBuffer : public std::streambuf {
 public:
  explicit FileOutBuffer(const std::string& path) : buffer_(std::size_t{1} << 16) {
    fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd_ < 0) error_ = errno;
    setp(buffer_.data(), buffer_.data() + buffer_.size());
  }
  FileOutBuffer(const FileOutBuffer&) = delete;
  FileOutBuffer& operator=(const FileOutBuffer&) = delete;
  ~FileOutBuffer() override { close(); }

  // Writes what is buffered and closes the file; false when anything failed since the open.
  bool close() {
    if (fd_ >= 0) {
      writeBuffered();
      if (::close(fd_) != 0 && error_ == 0) error_ = errno;
      fd_ = -1;
    }
    return error_ == 0;
  }
  int error() const { return error_; }

 protected:
  int_type overflow(int_type c) override {
    if (!writeBuffered()) return traits_type::eof();
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
      *pptr() = traits_type::to_char_type(c);
      pbump(1);
    }
    return traits_type::not_eof(c);
  }
  int sync() override { return writeBuffered() ? 0 : -1; }

 private:
  bool writeBuffered() {
    const char* next = pbase();
    while (next < pptr() && error_ == 0) {
      const ssize_t written = ::write(fd_, next, static_cast<std::size_t>(pptr() - next));
      if (written >= 0)
        next += written;
      else if (errno != EINTR)
        error_ = errno;
    }
    setp(buffer_.data(), buffer_.data() + buffer_.size());
    return error_ == 0;
  }

  std::vector<char> buffer_;
  int fd_ = -1;
  int error_ = 0;
};

struct FormatTexts {
  std::string_view message, note;
};

FormatTexts failureTexts(SaveFormat format) {
  switch (format) {
    case SaveFormat::Html:
      return {" Error generating HTML output.", "Html File Error"};
    case SaveFormat::Rtf:
      return {" Error generating RTF output.", "Rtf File Error"};
    case SaveFormat::Text:
      break;
  }
  return {" Error generating Text output.", "Txt File Error"};
}

}  // namespace

std::string_view PrintColourName(PrintColour colour) {
  switch (colour) {
    case PrintColour::Red:
      return "Red";
    case PrintColour::Blue:
      return "Blue";
    case PrintColour::Green:
      return "Green";
    case PrintColour::Black:
      break;
  }
  return "Black";
}

std::uint32_t ChangeMarkRgb(PrintColour colour) {
  switch (colour) {
    case PrintColour::Red:
      return 0xFFC8C8;
    case PrintColour::Blue:
      return 0xC8C8FF;
    case PrintColour::Green:
      return 0xC8E6C8;
    case PrintColour::Black:
      break;
  }
  return 0xFFE99A;
}

std::uint32_t PrintColourRgb(PrintColour colour) {
  switch (colour) {
    case PrintColour::Red:
      return 0xFF0000;
    case PrintColour::Blue:
      return 0x0000FF;
    case PrintColour::Green:
      return 0x008000;
    case PrintColour::Black:
      break;
  }
  return 0x000000;
}

PrintColour PrintColourOf(ReportLineKind kind) {
  switch (kind) {
    case ReportLineKind::Deleted:
    case ReportLineKind::DeletedMoved:
    case ReportLineKind::ReformattedOld:
    case ReportLineKind::OldFileLabel:
    case ReportLineKind::ListingType:
      return PrintColour::Red;
    case ReportLineKind::Inserted:
    case ReportLineKind::InsertedMoved:
    case ReportLineKind::ReformattedNew:
    case ReportLineKind::NewFileLabel:
      return PrintColour::Blue;
    case ReportLineKind::NotShownGap:
      return PrintColour::Green;
    default:
      return PrintColour::Black;
  }
}

DualTextWidths ComputeDualTextWidths(const CompareOptions& options) {
  DualTextWidths widths;
  if (options.Fscl && (options.LongestNewLine > 80 || options.LongestOldLine > 80)) {
    widths.left = std::min(std::max(options.LongestNewLine, 80), 128) + 10;
    widths.right = std::min(std::max(options.LongestOldLine, 80), 128) + 10;
  }
  widths.total = widths.left + widths.right + 2;
  return widths;
}

WriteEnd WriteHtmlReport(std::ostream& out, const AppState& app, Host& host, const SaveSource& source) {
  RowPacer pacer(out, app, host, false);
  writeLine(out, "<HTML>");
  writeLine(out, "<BODY>");
  writeLine(out, "<FONT Face=\"Courier New\" Color=Black Size=" + source.htmlSize + ">");
  writeLine(out, "<PRE>");
  const LineList& left = app.reportLines;
  bool going = true;
  if (source.dual) {
    const std::size_t split = listingEnd(app, left);
    std::string title = "Brisolan File Compare Report - ";
    appendHtmlText(title, source.reportStamp, false, std::string::npos);
    writeLine(out, title);
    writeLine(out, "Panel 1 Report -- New Source Matches + New File Inserts");
    going = writeHtmlPart(out, app, left, 0, split, pacer);
    if (going) {
      writeLine(out, "<FONT Color=Black>Panel 2 Report -- Old Source Matches + Old File Deletes");
      going = writeHtmlPart(out, app, app.oldSideLines, 0, app.oldSideLines.size(), pacer);
    }
    if (going) writeHtmlPart(out, app, left, split, left.size(), pacer);
  } else {
    writeHtmlPart(out, app, left, 0, left.size(), pacer);
  }
  writeLine(out, "</PRE>");
  writeLine(out, "</BODY>");
  writeLine(out, "</HTML>");
  return finish(out, pacer);
}

WriteEnd WriteRtfReport(std::ostream& out, AppState& app, Host& host, const SaveSource& source) {
  RowPacer pacer(out, app, host, true);
  const std::string plain(kRtfPlain[0]);
  writeLine(out,
            "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deftab720{\\fonttbl{\\f0\\fmodern\\fcharset1 Courier New;}}");
  writeLine(out,
            "{\\colortbl\\red0\\green0\\blue0;\\red0\\green0\\blue255;\\red255\\green0\\blue0;"
            "\\red0\\green200\\blue10;}");
  writeLine(out, "\\deflang1033\\pard\\plain\\f0\\fs16\\cf0");
  const LineList& left = app.reportLines;
  PrintColour previous = PrintColour::Black;
  if (source.dual) {
    const std::size_t split = listingEnd(app, left);
    writeLine(out, "\\par " + plain + rtfEscaped("Brisolan File Compare Report - " + source.reportStamp));
    writeLine(out, "\\par " + plain + "Panel 1 Report -- New Source Matches + Inserts");
    bool going = writeRtfPart(out, app, left, 0, split, previous, pacer);
    if (going) {
      previous = PrintColour::Black;
      writeLine(out, "\\par " + plain + "<FONT Color=Black>Panel 2 Report -- New Source Matches + Deletes");
      going = writeRtfPart(out, app, app.oldSideLines, 0, app.oldSideLines.size(), previous, pacer);
    }
    if (going) writeRtfPart(out, app, left, split, left.size(), previous, pacer);
  } else {
    writeLine(out, "\\par " + plain + rtfEscaped(source.caption));
    writeRtfPart(out, app, left, 0, left.size(), previous, pacer);
  }
  writeLine(out, "\\par }");
  return finish(out, pacer);
}

WriteEnd WriteTextReport(std::ostream& out, const AppState& app, Host& host, const SaveSource& source,
                         const DualTextChoice& dualChoice) {
  RowPacer pacer(out, app, host, false);
  const LineList& left = app.reportLines;
  if (!source.dual) {
    writeLine(out, " ");
    writeLine(out, source.caption);
    writeTextRows(out, app, left, 0, left.size(), pacer);
    return finish(out, pacer);
  }
  const LineList& right = app.oldSideLines;
  const std::size_t split = listingEnd(app, left);
  if (dualChoice.useTitle && !dualChoice.title.empty()) writeLine(out, dualChoice.title);
  const std::string panel1 = " Panel 1 -- New Source Matches + Inserts";
  const std::string panel2 = " Panel 2 -- New Source Matches + Deletes";
  if (dualChoice.stacked) {
    writeLine(out, "Brisolan Double-Stacked Compare Report  " + source.reportStamp);
    writeLine(out, panel1);
    if (writeTextRows(out, app, left, 0, split, pacer)) {
      writeLine(out, " ");
      writeLine(out, panel2);
      if (writeTextRows(out, app, right, 0, right.size(), pacer))
        writeTextRows(out, app, left, split, left.size(), pacer);
    }
    return finish(out, pacer);
  }
  const DualTextWidths widths = ComputeDualTextWidths(app.options);
  writeLine(out, "Brisolan Insert and Delete Side-By-Side Report  " + source.reportStamp);
  writeLine(out, sideBySide(panel1, panel2, widths));
  const auto rowsBefore = static_cast<std::size_t>(std::max(app.ListingLineCount, 0));
  for (std::size_t r = 0; r < rowsBefore; ++r) {
    const std::string leftText = r < left.size() ? ViewerRowText(app, left, r) : "";
    const std::string rightText = r < right.size() ? ViewerRowText(app, right, r) : "";
    writeLine(out, sideBySide(leftText, rightText, widths));
    if (pacer.afterRow()) return finish(out, pacer);
  }
  writeTextRows(out, app, left, split, left.size(), pacer);
  return finish(out, pacer);
}

SaveFormat SaveFormatFor(const std::string& path) {
  // The extension is everything from the last dot of the file name on, so that a name the save dialog
  // forced to ".rtf" (even one that is only ".rtf") is saved as RTF.
  const std::size_t slash = path.find_last_of('/');
  const std::size_t dot = path.find_last_of('.');
  const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  const std::string extension = hasExtension ? LowerAscii(path.substr(dot)) : std::string();
  if (extension == ".html" || extension == ".htm") return SaveFormat::Html;
  if (extension == ".rtf") return SaveFormat::Rtf;
  return SaveFormat::Text;
}

bool IsRunInputFile(const AppState& app, const std::string& path) {
  namespace fs = std::filesystem;
  const fs::path target = ResolvePathIgnoringCase(path);
  std::error_code error;
  const bool targetExists = fs::exists(target, error);
  const fs::path targetCanonical = fs::weakly_canonical(target, error);
  auto isTarget = [&](const std::string& directory, const std::string& name) {
    std::error_code ec;
    const fs::path input = ResolvePathIgnoringCase(joinPath(directory, name));
    if (targetExists && fs::exists(input, ec)) {
      const bool same = fs::equivalent(target, input, ec);
      if (!ec) return same;
    }
    return fs::weakly_canonical(input, ec) == targetCanonical;
  };
  for (const std::string& name : app.NewFileList)
    if (isTarget(app.NewDirName, name)) return true;
  for (const std::string& name : app.OldFileList)
    if (isTarget(app.OldDirName, name)) return true;
  return false;
}

WriteEnd WriteFileReplacing(const std::string& path, const std::function<WriteEnd(std::ostream&)>& write,
                            bool keepHalted, int& error) {
  std::filesystem::path temporary = path;
  temporary += ".kelvarine-save";
  WriteEnd end = WriteEnd::Failed;
  {
    FileOutBuffer file(temporary.string());
    std::ostream out(&file);
    if (file.error() == 0) {
      end = write(out);
      if (!file.close()) end = WriteEnd::Failed;
    }
    error = file.error();
  }
  const bool keep = end == WriteEnd::Complete || (end == WriteEnd::Halted && keepHalted);
  if (keep && ::rename(temporary.c_str(), path.c_str()) != 0) {
    error = errno;
    end = WriteEnd::Failed;
  }
  if (!keep || end == WriteEnd::Failed) {
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
  }
  return end;
}

SaveOutcome SaveReport(const std::string& givenPath, AppState& app, Host& host, const SaveSource& source,
                       const DualTextChoice& dualChoice, std::string* failureReason) {
  if (failureReason != nullptr) failureReason->clear();
  if (IsRunInputFile(app, givenPath)) {
    host.showMessage(" The report was not saved: \"" + givenPath +
                     "\" is an input file of the last compare run.");
    return SaveOutcome::Refused;
  }
  // A file whose name differs only in letter case is replaced rather than joined by a second one.
  const std::string path = ResolveTargetPath(givenPath);
  const SaveFormat format = SaveFormatFor(path);
  if (format == SaveFormat::Rtf) app.StopRequested = false;
  int error = 0;
  const WriteEnd end = WriteFileReplacing(
      path,
      [&](std::ostream& out) {
        switch (format) {
          case SaveFormat::Html:
            return WriteHtmlReport(out, app, host, source);
          case SaveFormat::Rtf:
            return WriteRtfReport(out, app, host, source);
          case SaveFormat::Text:
            break;
        }
        return WriteTextReport(out, app, host, source, dualChoice);
      },
      true, error);
  if (end == WriteEnd::Failed) {
    // A stream that failed without a system error (none is known to) still gives a reason.
    if (failureReason != nullptr) *failureReason = std::generic_category().message(error != 0 ? error : EIO);
    const FormatTexts texts = failureTexts(format);
    app.options.ReportNote = std::string(texts.note);
    app.options.ReportNoteSet = true;
    host.showMessage(std::string(texts.message));
    return SaveOutcome::Failed;
  }
  if (end == WriteEnd::Halted) {
    host.showMessage(" User requested early termination of SaveRtf operation.");
    return SaveOutcome::Halted;
  }
  return SaveOutcome::Saved;
}

}  // namespace kelvarine
