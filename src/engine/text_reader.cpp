#include "engine/text_reader.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "engine/engine_fault.h"
#include "engine/line_splitter.h"
#include "engine/prepared_file.h"

namespace kelvarine {

namespace {

constexpr char kBlank = ' ';

// A chunk ends before a table would hold this many lines (so at most 7999 per file).
constexpr int kChunkBound = 8000;
// Lines between two progress steps of the chunk loader.
constexpr int kProgressInterval = 1000;
// Bytes the first-line test reads, and the invalid bytes that make a file binary.
constexpr int kProbeBytes = 2048;
constexpr int kBinaryInvalidBytes = 9;

// Makes sure ReadBuf holds at least one byte, reading the next block when it is empty. False when
// the file has no further byte.
bool fillBlock(TextInput& input) {
  if (input.BufLeft > 0) return true;
  if (!input.Stream) throw EngineFault("text input \"" + input.FileName + "\" is not open");
  if (input.ReadBuf.size() < static_cast<std::size_t>(TextInput::kReadBlock)) {
    input.ReadBuf.resize(TextInput::kReadBlock);
  }
  const std::int64_t got = input.Stream->read(input.ReadBuf.data(), TextInput::kReadBlock);
  input.BufPos = 0;
  input.BufLeft = static_cast<std::int32_t>(std::clamp<std::int64_t>(got, 0, TextInput::kReadBlock));
  return input.BufLeft > 0;
}

// The marks and counts of a line's compare columns: a line shorter than the first column is counted
// once, however often the matcher cuts it off a chunk and it comes again with the next.
void countCompareColumns(LineRecord& record, TextInput& input, std::int32_t& ccolShortLines) {
  if (!record.CcolShort) {
    input.MaxCmpLen = std::max(input.MaxCmpLen, record.CcolLen);
    return;
  }
  input.CcolShortSeen = true;
  if (record.EndPos > input.CcolCountedTo) {
    ++ccolShortLines;
    input.CcolCountedTo = record.EndPos;
  }
}

// The text of `input` has ended: what the end met.
bool noMoreLines(TextInput& input) {
  input.AtEof = true;
  if (input.Feed.endPrematureEof()) input.PrematureEof = true;
  if (input.Feed.endEofCharAt() >= 0) input.EofCharAt = input.Feed.endEofCharAt();
  return false;
}

// Record i, just taken from `line`, past the common case: what an unusual line tells about the file,
// the compare-column counts, and without a key from the feed the record's own copy of the text, the
// Cobol comment mark under Dcob and the compare columns under Ccol.
void finishRecord(LineTable& table, int i, const FeedLine& line, TextInput& input,
                  const CompareOptions& options, std::int32_t& ccolShortLines) {
  LineRecord& record = table[i];
  if (line.Unusual) {
    if (line.Split) input.LinesSplit = true;
    if (line.PrematureEof) input.PrematureEof = true;
    if (line.EofCharEnd) input.EofCharAt = record.EndPos;
  }
  if (line.Keyed) {
    if (options.Ccol) countCompareColumns(record, input, ccolShortLines);
    return;
  }
  input.KeysMade = 0;
  table.setText(i, record.ReadText, record.Len);
  if (options.Dcob && record.Len >= 7 && record.ReadText[6] == '*') {
    record.DpLine = true;
  } else if (options.Ccol) {
    BuildCompareColumns(record, input, record.ReadText, ccolShortLines);
  }
}

// The next line of the chunk from the input's feed into the next record of `table`, with what reading
// it tells about the file.
bool nextLine(LineTable& table, TextInput& input, const CompareOptions& options,
              std::int32_t& ccolShortLines) {
  const FeedLine* line = input.Feed.next();
  if (line == nullptr) return noMoreLines(input);
  const int i = ++input.Count;
  LineRecord& record = table.rows(i)[i];
  record = line->Record;
  input.FilePos = record.EndPos;
  input.LineLen = record.Len;
  input.KeysMade = i;
  if (line->ReadLen > input.LongestLine) input.LongestLine = line->ReadLen;
  if (line->Unusual || !line->Keyed || options.Ccol)
    finishRecord(table, i, *line, input, options, ccolShortLines);
  return true;
}

}  // namespace

SplitOptions SplitOptionsOf(const TextInput& input, const CompareOptions& options) {
  SplitOptions split;
  split.ieof = options.Ieof;
  split.makeKeys = !options.DpActive && !options.Dcob;
  split.icas = options.Icas;
  split.ccol = options.Ccol;
  split.columns = input.columns();
  return split;
}

bool ReadLine(TextInput& input, bool ieof) {
  if (input.AtEof) return false;
  if (input.EofCharEnd) {
    input.AtEof = true;
    return false;
  }
  if (input.LineBuf.size() < static_cast<std::size_t>(TextInput::kMaxLineLen)) {
    input.LineBuf.resize(TextInput::kMaxLineLen);
  }
  char* line = input.LineBuf.data();
  int len = 0;
  int terminator = 0;  // CR, LF or CR LF bytes consumed behind the line

  while (true) {
    if (!fillBlock(input)) {
      if (len == 0) {
        input.AtEof = true;
        return false;
      }
      break;
    }
    const auto* p = reinterpret_cast<const unsigned char*>(input.ReadBuf.data()) + input.BufPos;
    const int n = std::min(input.BufLeft, TextInput::kMaxLineLen - len);
    const int run = OrdinaryRun(p, n);
    std::memcpy(line + len, p, static_cast<std::size_t>(run));
    len += run;
    input.BufPos += run;
    input.BufLeft -= run;
    if (len == TextInput::kMaxLineLen) {
      input.LinesSplit = true;
      break;
    }
    if (run == n) continue;  // the block is used up

    const unsigned char c = p[run];
    ++input.BufPos;
    --input.BufLeft;
    if (c == kLfChar) {
      terminator = 1;
      break;
    }
    if (c == kCrChar) {
      terminator = 1;
      if (fillBlock(input) && static_cast<unsigned char>(input.ReadBuf[input.BufPos]) == kLfChar) {
        ++input.BufPos;
        --input.BufLeft;
        terminator = 2;
      }
      break;
    }
    char stored = kBlank;  // a TAB is stored as one blank
    if (c == kEofChar) {
      // Not counted in FilePos unless kept, so a chunk resuming here meets it again.
      const bool more = fillBlock(input);
      if (more) input.PrematureEof = true;
      if (!more || !ieof) {
        if (more) input.EofCharAt = input.FilePos + len;
        if (len == 0) {
          input.AtEof = true;
          return false;
        }
        input.EofCharEnd = true;
        break;
      }
      stored = static_cast<char>(kEofChar);
    }
    line[len++] = stored;
    if (len == TextInput::kMaxLineLen) {
      input.LinesSplit = true;
      break;
    }
  }

  input.FilePos += len + terminator;
  input.LongestLine = std::max(input.LongestLine, len);
  if (len == 0) {
    line[0] = kBlank;
    len = 1;
  }
  input.LineLen = len;
  return true;
}

void ResetInput(TextInput& input, bool continuing) {
  input.AtEof = false;
  input.EofCharEnd = false;
  input.clearDpCarry();
  input.BufLeft = 0;
  input.BufPos = 0;
  if (!continuing) input.FilePos = input.ChunkStart;
  if (!input.Stream) throw EngineFault("text input \"" + input.FileName + "\" is not open");
  input.Stream->seek(input.FilePos);
}

void ResetInputs(CompareContext& context) {
  const bool continuing = context.pair().Reading;
  ResetInput(context.newInput, continuing);
  ResetInput(context.oldInput, continuing);
}

void LoadChunk(CompareContext& context) {
  PairState& pair = context.pair();
  const CompareOptions& options = context.options();
  TextInput& newInput = context.newInput;
  TextInput& oldInput = context.oldInput;

  pair.Reading = true;
  // The lines come from the feeds; the files' own positions are theirs to set.
  for (TextInput* input : {&newInput, &oldInput}) {
    input->AtEof = input->EofCharEnd = false;
    input->clearDpCarry();
    input->BufLeft = input->BufPos = 0;
    input->ChunkStart = input->FilePos;
    input->Count = 0;
    input->KeysMade = 0;
  }
  // Each record of the chunk is assigned whole; the records behind them are cleared at the end.
  context.newTable.releaseAllText();
  context.oldTable.releaseAllText();
  const std::string newName = baseName(newInput.FileName);
  // The lines the matcher cut off the last chunk start this one with their keys (without a Dp option
  // a key depends on the line alone). They exist only behind a matched chunk, so FilesDiffer is set
  // and the raw line compare below is not needed for them.
  const bool keep = !options.DpActive && pair.FilesDiffer;
  TakePreparedLines(newInput);
  TakePreparedLines(oldInput);
  newInput.Feed.startChunk(newInput.Stream.get(), newInput.FilePos, keep, SplitOptionsOf(newInput, options));
  oldInput.Feed.startChunk(oldInput.Stream.get(), oldInput.FilePos, keep, SplitOptionsOf(oldInput, options));

  while (!context.app.StopRequested && !(newInput.AtEof && oldInput.AtEof)) {
    if (newInput.Count + 1 >= kChunkBound) break;
    bool newRead = false;
    if (!newInput.AtEof && nextLine(context.newTable, newInput, options, pair.NewCcolShortLines)) {
      newRead = true;
      if (newInput.Count % kProgressInterval == 0) {
        context.host.toggleActivityImages();
        char count[32];
        std::snprintf(count, sizeof count, " - Line = %d ", newInput.Count);
        context.host.setStatusText("Reading \"" + newName + "\"" + count);
        context.host.processEvents();
      }
    }

    if (oldInput.Count + 1 >= kChunkBound) break;
    bool oldRead = false;
    if (!oldInput.AtEof && nextLine(context.oldTable, oldInput, options, pair.OldCcolShortLines)) {
      oldRead = true;
      if (oldInput.Count % kProgressInterval == 0) {
        context.host.toggleActivityImages();
        context.host.processEvents();
      }
    }

    // The lines as read (compare columns are cut in Text only).
    if (newRead && oldRead && !pair.FilesDiffer) {
      const LineRecord& a = context.newTable[newInput.Count];
      const LineRecord& b = context.oldTable[oldInput.Count];
      if (a.Len != b.Len || std::memcmp(a.ReadText, b.ReadText, static_cast<std::size_t>(a.Len)) != 0)
        pair.FilesDiffer = true;
    }
  }

  const int n = newInput.Count;
  const int m = oldInput.Count;
  context.newTable.clearFrom(n + 1);
  context.oldTable.clearFrom(m + 1);
  if (context.app.StopRequested) return;
  context.newTable.makeSentinel(n + 1, m);
  context.oldTable.makeSentinel(m + 1, n);
  pair.NewLines = n;
  pair.OldLines = m;
  if (n != m) pair.FilesDiffer = true;
  if (newInput.AtEof && oldInput.AtEof) pair.AllRead = true;
  pair.Reading = false;
}

void BuildCompareColumns(LineRecord& record, TextInput& input, const char* line,
                         std::int32_t& ccolShortLines) {
  const int len = record.Len;
  if (record.Text == nullptr || record.TextCap < len || line == nullptr)
    throw EngineFault("compare columns of a line without its text");
  record.CcolLen = CompareColumnText(input, line, len, record.Text);
  record.CcolShort = len < input.CcolStart1;
  countCompareColumns(record, input, ccolShortLines);
}

int CompareColumnText(const TextInput& input, const char* line, int len, char* out) {
  return CompareColumnText(input.columns(), line, len, out);
}

bool IsTextFile(TextInput& input, const CompareOptions& options) {
  if (options.Abin) return false;
  if (options.Txal) return true;
  if (!input.Stream) throw EngineFault("text input \"" + input.FileName + "\" is not open");

  char probe[kProbeBytes];
  int got = 0;
  while (got < kProbeBytes) {
    const std::int64_t n = input.Stream->read(probe + got, kProbeBytes - got);
    if (n <= 0) break;
    got += static_cast<int>(std::min<std::int64_t>(n, kProbeBytes - got));
  }
  input.Stream->seek(0);
  return StartsLikeText(std::string_view(probe, static_cast<std::size_t>(got)));
}

bool StartsLikeText(std::string_view start) {
  const std::size_t got = std::min<std::size_t>(start.size(), kProbeBytes);
  int invalid = 0;
  for (std::size_t i = 0; i < got; ++i) {
    // Eight bytes at a time while none is a control character (none is then CR or invalid).
    while (i + 8 <= got) {
      std::uint64_t w;
      std::memcpy(&w, start.data() + i, sizeof w);
      constexpr std::uint64_t kOnes = 0x0101010101010101ull, kHighs = 0x8080808080808080ull;
      if (((w - 0x20 * kOnes) & ~w & kHighs) != 0) break;
      i += 8;
    }
    if (i == got) break;
    const auto c = static_cast<unsigned char>(start[i]);
    if (c == kCrChar && i + 1 < got && start[i + 1] == static_cast<char>(kLfChar)) break;
    const bool bad = c <= 8 || c == 11 || c == 12 || (c >= 14 && c <= 31);
    if (bad && ++invalid == kBinaryInvalidBytes) return false;
  }
  return true;
}

bool EofCharTailsDiffer(TextInput& newInput, TextInput& oldInput) {
  if (newInput.EofCharAt < 0 && oldInput.EofCharAt < 0) return false;
  // The count of bytes behind the end-of-file character, the file positioned at the first of them; none
  // for a file that was read to its end.
  const auto tail = [](TextInput& input) {
    if (!input.Stream) throw EngineFault("text input \"" + input.FileName + "\" is not open");
    const std::int64_t size = input.Stream->size();
    const std::int64_t start = input.EofCharAt < 0 ? size : std::min(input.EofCharAt + 1, size);
    input.Stream->seek(start);
    return size - start;
  };
  // Reads `count` bytes; false when the file ends before (it shrank since it was opened).
  const auto readFully = [](TextInput& input, std::vector<char>& buffer, std::int64_t count) {
    for (std::int64_t have = 0; have < count;) {
      const std::int64_t n = input.Stream->read(buffer.data() + have, count - have);
      if (n <= 0) return false;
      have += n;
    }
    return true;
  };
  std::int64_t left = tail(newInput);
  if (left != tail(oldInput)) return true;
  std::vector<char> a(TextInput::kReadBlock), b(TextInput::kReadBlock);
  while (left > 0) {
    const std::int64_t count = std::min<std::int64_t>(left, TextInput::kReadBlock);
    if (!readFully(newInput, a, count) || !readFully(oldInput, b, count) ||
        std::memcmp(a.data(), b.data(), static_cast<std::size_t>(count)) != 0)
      return true;
    left -= count;
  }
  return false;
}

}  // namespace kelvarine
