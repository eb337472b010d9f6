#pragma once

#include <cstdint>
#include <string_view>

#include "engine/compare_context.h"
#include "engine/compare_options.h"
#include "engine/line_table.h"
#include "engine/text_input.h"

namespace kelvarine {

// Reads the next line of `input` into LineBuf/LineLen (CR, LF and CR LF end a line; TAB is stored as
// one blank; lines are split at 2048 characters; byte 26 ends the file unless `ieof` keeps it inside
// the text). Returns false and sets AtEof when no line came.
bool ReadLine(TextInput& input, bool ieof);

// Prepares one input for reading: clears AtEof, EofCharEnd and the Dp carry flags, empties the read
// buffer and positions the file at FilePos when `continuing` (the chunk loader goes on), otherwise at
// ChunkStart (a later pass re-reads the lines of the current chunk).
void ResetInput(TextInput& input, bool continuing);
// Both inputs, continuing while the pair state says the chunk loader is running.
void ResetInputs(CompareContext& context);

// Fills both line tables with the next chunk of at most 7999 lines per file, from FilePos on, sets the
// sentinels and the pair state's NewLines, OldLines, FilesDiffer and AllRead. Stops early on a halt
// request. The lines come from the inputs' feeds, with their keys when no Dp option is on.
void LoadChunk(CompareContext& context);

// How the feed of `input` splits and keys its lines: keys only without a Dp option, where a line's
// key depends on nothing but the line.
SplitOptions SplitOptionsOf(const TextInput& input, const CompareOptions& options);

// Cuts the compare text of a line (Text, a copy of the line as read at `line`) to the input's compare
// columns. A line shorter than the first column gets one blank and counts in `ccolShortLines` (once
// for each line of the file, however often it is read).
void BuildCompareColumns(LineRecord& record, TextInput& input, const char* line,
                         std::int32_t& ccolShortLines);

// Writes the compare-column text of the `len` characters at `line` under the input's column bounds
// to `out` (room for `len` bytes, at least 1) and returns its length; a line shorter than the first
// column gives one blank. Marks and counts nothing.
int CompareColumnText(const TextInput& input, const char* line, int len, char* out);

// The first-line test: true when the pair is text. Reads up to 2048 bytes of the file (unless Abin
// or Txal decide) and positions it back at its start.
bool IsTextFile(TextInput& input, const CompareOptions& options);
// The test on the file's first bytes (it looks at 2048 at most), as IsTextFile makes it.
bool StartsLikeText(std::string_view start);

// True when an end-of-file character ended the text of either file with data behind it, and the bytes
// behind it differ between the two files (a file read to its end has none). Such a pair has
// differences that its lines do not show. Moves both files' positions.
bool EofCharTailsDiffer(TextInput& newInput, TextInput& oldInput);

}  // namespace kelvarine
