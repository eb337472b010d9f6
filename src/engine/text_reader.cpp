#include "engine/text_reader.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "engine/engine_fault.h"

namespace kelvarine {

namespace {

constexpr unsigned char kTab = 9;
constexpr unsigned char kLf = 10;
constexpr unsigned char kCr = 13;
constexpr unsigned char kEofChar = 26;
constexpr char kBlank = ' ';

// A chunk ends before a table would hold this many lines (so at most 7999 per file).
constexpr int kChunkBound = 8000;
// Lines between two progress steps of the chunk loader.
constexpr int kProgressInterval = 1000;
// Bytes the first-line test reads, and the invalid bytes that make a file binary.
constexpr int kProbeBytes = 2048;
constexpr int kBinaryInvalidBytes = 9;

// The bytes the line splitter has to look at; every other byte is copied as it is.
inline bool isSpecial(unsigned char c) {
  constexpr std::uint32_t kMask = (1u << kTab) | (1u << kLf) | (1u << kCr) | (1u << kEofChar);
  return c <= kEofChar && ((kMask >> c) & 1u) != 0;
}

// Length of the run of ordinary bytes at the start of p[0..n). Eight bytes at a time: a word with no
// byte below 27 (the special bytes all are) is passed whole; otherwise its first such byte is found
// from the word's mask (the lowest flagged byte is always a true one) and tested.
inline int ordinaryRun(const unsigned char* p, int n) {
  static_assert(std::endian::native == std::endian::little, "the mask's lowest byte is the first byte");
  constexpr std::uint64_t kOnes = 0x0101010101010101ull;
  constexpr std::uint64_t kHighs = 0x8080808080808080ull;
  int k = 0;
  while (n - k >= 8) {
    std::uint64_t w;
    std::memcpy(&w, p + k, sizeof w);
    const std::uint64_t low = (w - kOnes * (kEofChar + 1)) & ~w & kHighs;
    if (low == 0) {
      k += 8;
      continue;
    }
    const int at = k + std::countr_zero(low) / 8;
    if (isSpecial(p[at])) return at;
    k = at + 1;
  }
  for (; k < n; ++k) {
    if (isSpecial(p[k])) return k;
  }
  return k;
}

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

// Fills the next record of `table` from the line just read into `input`, marking Cobol comment
// lines under Dcob and cutting the compare columns under Ccol.
void fillNextRecord(LineTable& table, TextInput& input, const CompareOptions& options,
                    std::int32_t& ccolShortLines) {
  const int i = input.Count + 1;
  table.setText(i, input.LineBuf.data(), input.LineLen);
  LineRecord& record = table[i];
  record.EndPos = input.FilePos;
  record.Len = input.LineLen;
  input.Count = i;
  if (options.Dcob && input.LineLen >= 7 && input.LineBuf[6] == '*') {
    record.DpLine = true;
  } else if (options.Ccol) {
    BuildCompareColumns(record, input, ccolShortLines);
  }
}

// Starts the chunk with the lines the matcher cut off the last one when they are the lines it would
// read (the keys of lines without Dp processing depend on the line alone), and moves the file on
// behind them; otherwise drops them.
void startWithCarried(TextInput& input, bool usable) {
  input.KeysMade = 0;
  if (input.Carried.startChunk(usable, input.FilePos)) input.Stream->seek(input.Carried.endPos());
}

// The next line of the chunk into the next record of `table`: a carried line, else one read.
bool nextLine(LineTable& table, TextInput& input, const CompareOptions& options,
              std::int32_t& ccolShortLines) {
  const int i = input.Count + 1;
  if (input.Carried.hasNext() && input.Carried.takeNext(table, i)) {
    const LineRecord& record = table[i];
    input.FilePos = record.EndPos;
    input.LineLen = record.Len;
    input.Count = i;
    input.KeysMade = i;
    if (record.CcolShort && record.EndPos > input.CcolCountedTo) {
      ++ccolShortLines;
      input.CcolCountedTo = record.EndPos;
    }
    return true;
  }
  if (!ReadLine(input, options.Ieof)) return false;
  fillNextRecord(table, input, options, ccolShortLines);
  return true;
}

}  // namespace

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
    const int run = ordinaryRun(p, n);
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
    if (c == kLf) {
      terminator = 1;
      break;
    }
    if (c == kCr) {
      terminator = 1;
      if (fillBlock(input) && static_cast<unsigned char>(input.ReadBuf[input.BufPos]) == kLf) {
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
  input.CarryCppString = false;
  input.CarryCppComment = false;
  input.CarryParenComment = false;
  input.CarryHtmlComment = false;
  input.CarryBraceComment = false;
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
  ResetInputs(context);
  newInput.ChunkStart = newInput.FilePos;
  oldInput.ChunkStart = oldInput.FilePos;
  context.newTable.clear();
  context.oldTable.clear();
  newInput.Count = 0;
  oldInput.Count = 0;
  const std::string newName = baseName(newInput.FileName);
  // Carried lines exist only behind a matched chunk, so FilesDiffer is set and the raw line compare
  // below, which carried lines could not take part in, is not needed.
  const bool carry = !options.DpActive && pair.FilesDiffer;
  startWithCarried(newInput, carry);
  startWithCarried(oldInput, carry);

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

    // The raw lines are still in the line buffers (compare columns were cut in Text only).
    if (newRead && oldRead && !pair.FilesDiffer &&
        (newInput.LineLen != oldInput.LineLen ||
         std::memcmp(newInput.LineBuf.data(), oldInput.LineBuf.data(),
                     static_cast<std::size_t>(newInput.LineLen)) != 0)) {
      pair.FilesDiffer = true;
    }
  }

  newInput.Carried.endChunk();
  oldInput.Carried.endChunk();
  if (context.app.StopRequested) return;
  const int n = newInput.Count;
  const int m = oldInput.Count;
  context.newTable.makeSentinel(n + 1, m);
  context.oldTable.makeSentinel(m + 1, n);
  pair.NewLines = n;
  pair.OldLines = m;
  if (n != m) pair.FilesDiffer = true;
  if (newInput.AtEof && oldInput.AtEof) pair.AllRead = true;
  pair.Reading = false;
}

void BuildCompareColumns(LineRecord& record, TextInput& input, std::int32_t& ccolShortLines) {
  const int len = input.LineLen;
  if (record.Text == nullptr || record.TextCap < len ||
      input.LineBuf.size() < static_cast<std::size_t>(len)) {
    throw EngineFault("compare columns of a line without its text");
  }
  record.CcolLen = CompareColumnText(input, input.LineBuf.data(), len, record.Text);
  if (len < input.CcolStart1) {
    record.CcolShort = true;
    input.CcolShortSeen = true;
    if (input.FilePos > input.CcolCountedTo) {
      ++ccolShortLines;
      input.CcolCountedTo = input.FilePos;
    }
    return;
  }
  input.MaxCmpLen = std::max(input.MaxCmpLen, record.CcolLen);
}

int CompareColumnText(const TextInput& input, const char* line, int len, char* out) {
  if (len < input.CcolStart1) {
    out[0] = kBlank;
    return 1;
  }
  int written = 0;
  // Appends columns from..to (1-based, inclusive), clamped to the line; the compare text never
  // grows beyond the line's own length.
  auto append = [&](int from, int to) {
    from = std::max(from, 1);
    to = std::min(to, len);
    const int count = std::min(to - from + 1, len - written);
    if (count <= 0) return;
    std::memcpy(out + written, line + from - 1, static_cast<std::size_t>(count));
    written += count;
  };
  if (input.CcolEnd1 == 0) {
    append(input.CcolStart1, len);
  } else {
    append(input.CcolStart1, input.CcolEnd1);
    if (input.CcolTwoRanges && input.CcolStart2 <= len) {
      append(input.CcolStart2, input.CcolEnd2 == 0 ? len : input.CcolEnd2);
    }
  }
  return written;
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

  bool text = true;
  int invalid = 0;
  for (int i = 0; i < got; ++i) {
    const auto c = static_cast<unsigned char>(probe[i]);
    if (c == kCr && i + 1 < got && probe[i + 1] == static_cast<char>(kLf)) break;
    const bool bad = c <= 8 || c == 11 || c == 12 || (c >= 14 && c <= 31);
    if (bad && ++invalid == kBinaryInvalidBytes) {
      text = false;
      break;
    }
  }
  input.Stream->seek(0);
  return text;
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
