#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "report/diff_output.h"
#include "report/inline_diff.h"
#include "ui/viewer_model.h"

namespace kelvarine {

// --color=WHEN.
enum class ColourWhen { Auto, Always, Never };

// "auto", "always" or "never"; nothing for any other text.
std::optional<ColourWhen> ParseColourWhen(std::string_view text);

// Whether standard output is coloured: as asked for always and never; for auto, when it is a terminal,
// TERM is set and not "dumb", and NO_COLOR is unset or empty (a null text is an unset variable).
bool ColourWanted(ColourWhen when, bool outputIsTerminal, const char* term, const char* noColour);

// The colours escapes may use: 24-bit when COLORTERM is "truecolor" or "24bit", else the eight basic ones.
enum class ColourDepth { Basic, TrueColour };
ColourDepth ColourDepthFor(const char* colorTerm);

// Ends a coloured line: back to the terminal's own colour and weight.
inline constexpr std::string_view kColourReset = "\033[m";
// What changed inside a paired change line is shown in reverse video, as git's diff-highlight does.
inline constexpr std::string_view kChangeMarkOn = "\033[7m";
inline constexpr std::string_view kChangeMarkOff = "\033[27m";

// The escape that writes in a viewer row colour (24-bit, or the nearest basic colour, Red bold to tell
// it from Maroon); empty for Black, which is the terminal's own text colour.
std::string RowColourEscape(RowColour colour, ColourDepth depth);

// The lines of a unified diff, coloured as git diff colours them: headers bold, deletions red,
// insertions green, hunk headers cyan, context and messages plain.
std::string_view DiffLineEscape(DiffLineKind kind);

// A unified diff written to a terminal: each line in its DiffLineEscape colour.
class ColouredDiffOutput : public DiffOutput {
 public:
  explicit ColouredDiffOutput(std::FILE* stream) : plain_(stream) {}
  void line(DiffLineKind kind, std::string_view text) override;
  bool failed() const { return plain_.failed(); }

 private:
  PlainDiffOutput plain_;
  std::string buffer_;
};

// The escapes of report lines on a terminal: a line in its single-panel viewer colour (by change code
// or section title), the status line by its kind, INFORM bold and ERROR bold red.
class ReportColouring {
 public:
  explicit ReportColouring(ColourDepth depth);
  // The escape that starts `line`; empty when the line is written plain (and needs no reset).
  // `listChng` tells that the set ran with the Chng listing.
  std::string_view escapeFor(std::string_view line, bool listChng) const;
  // `line` as written to the terminal: its escape, the `changed` spans (ascending, apart) in reverse video,
  // and a reset when anything was coloured.
  std::string colouredLine(std::string_view line, bool listChng, const std::vector<TextSpan>& changed) const;

 private:
  std::array<std::string, 7> rowEscapes_;  // by RowColour
};

}  // namespace kelvarine
