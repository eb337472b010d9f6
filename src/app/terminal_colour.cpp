#include "app/terminal_colour.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "report/report_line_kind.h"

namespace kelvarine {

namespace {

constexpr RowColour kRowColours[] = {RowColour::Black,  RowColour::Red,    RowColour::Blue, RowColour::Teal,
                                     RowColour::Maroon, RowColour::Purple, RowColour::Green};

// The basic SGR parameters nearest to each viewer colour.
const char* basicParameters(RowColour colour) {
  switch (colour) {
    case RowColour::Red:
      return "1;31";
    case RowColour::Maroon:
      return "31";
    case RowColour::Blue:
      return "34";
    case RowColour::Teal:
      return "36";
    case RowColour::Purple:
      return "35";
    case RowColour::Green:
      return "32";
    case RowColour::Black:
      break;
  }
  return "";
}

}  // namespace

std::optional<ColourWhen> ParseColourWhen(std::string_view text) {
  if (text == "auto") return ColourWhen::Auto;
  if (text == "always") return ColourWhen::Always;
  if (text == "never") return ColourWhen::Never;
  return std::nullopt;
}

bool ColourWanted(ColourWhen when, bool outputIsTerminal, const char* term, const char* noColour) {
  if (when != ColourWhen::Auto) return when == ColourWhen::Always;
  const bool termUsable = term != nullptr && *term != '\0' && std::string_view(term) != "dumb";
  const bool noColourSet = noColour != nullptr && *noColour != '\0';
  return outputIsTerminal && termUsable && !noColourSet;
}

ColourDepth ColourDepthFor(const char* colorTerm) {
  const std::string_view value = colorTerm == nullptr ? "" : colorTerm;
  return value == "truecolor" || value == "24bit" ? ColourDepth::TrueColour : ColourDepth::Basic;
}

std::string RowColourEscape(RowColour colour, ColourDepth depth) {
  if (colour == RowColour::Black) return {};
  if (depth == ColourDepth::Basic) return std::string("\033[") + basicParameters(colour) + "m";
  const std::uint32_t rgb = RowColourRgb(colour);
  char escape[32];
  std::snprintf(escape, sizeof escape, "\033[38;2;%u;%u;%um", (rgb >> 16) & 0xFFu, (rgb >> 8) & 0xFFu,
                rgb & 0xFFu);
  return escape;
}

std::string_view DiffLineEscape(DiffLineKind kind) {
  switch (kind) {
    case DiffLineKind::PairHeader:
    case DiffLineKind::OldFileHeader:
    case DiffLineKind::NewFileHeader:
      return "\033[1m";
    case DiffLineKind::HunkHeader:
      return "\033[36m";
    case DiffLineKind::Deletion:
      return "\033[31m";
    case DiffLineKind::Insertion:
      return "\033[32m";
    case DiffLineKind::Context:
    case DiffLineKind::NoNewline:
    case DiffLineKind::Message:
      break;
  }
  return {};
}

void ColouredDiffOutput::line(DiffLineKind kind, std::string_view text) {
  const std::string_view escape = DiffLineEscape(kind);
  if (escape.empty()) return plain_.line(kind, text);
  buffer_.assign(escape).append(text).append(kColourReset);
  plain_.line(kind, buffer_);
}

ReportColouring::ReportColouring(ColourDepth depth) {
  for (RowColour colour : kRowColours)
    rowEscapes_[static_cast<std::size_t>(colour)] = RowColourEscape(colour, depth);
}

std::string_view ReportColouring::escapeFor(std::string_view line, bool listChng) const {
  const ReportLineKind kind = ClassifyReportLine(line, listChng);
  switch (kind) {
    case ReportLineKind::StatusInform:
      return "\033[1m";
    case ReportLineKind::StatusError:
      return "\033[1;31m";
    default:  // the single-panel viewer's colour
      return rowEscapes_[static_cast<std::size_t>(ReportLineColour(kind))];
  }
}

std::string ReportColouring::colouredLine(std::string_view line, bool listChng,
                                          const std::vector<TextSpan>& changed) const {
  const std::string_view escape = escapeFor(line, listChng);
  std::string out(escape);
  std::size_t at = 0;
  for (const TextSpan& span : changed) {
    const std::size_t begin =
        std::clamp<std::size_t>(static_cast<std::size_t>(std::max(span.begin, 0)), at, line.size());
    const std::size_t end =
        std::clamp<std::size_t>(static_cast<std::size_t>(std::max(span.end, 0)), begin, line.size());
    if (begin == end) continue;
    out.append(line.substr(at, begin - at)).append(kChangeMarkOn).append(line.substr(begin, end - begin));
    out.append(kChangeMarkOff);
    at = end;
  }
  out.append(line.substr(at));
  if (out.size() != line.size()) out.append(kColourReset);
  return out;
}

}  // namespace kelvarine
