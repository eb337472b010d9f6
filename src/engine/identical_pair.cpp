#include "engine/identical_pair.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "engine/pair_text_compare.h"
#include "engine/plain_line_count.h"
#include "engine/text_reader.h"

namespace kelvarine {

namespace {

// The chunk loader's and the chunk loop's rhythm, which this compare keeps: a chunk holds at most
// kMaxLines lines per file, the loader shows its progress every 1000 lines, and the loop the file
// progress of a New file above 400000 bytes.
constexpr int kProgressInterval = 1000;
constexpr std::int64_t kProgressThreshold = 400000;

constexpr std::size_t kBlock = std::size_t{1} << 18;
constexpr std::int64_t kEventsEvery = std::int64_t{8} << 20;  // bytes compared between two event passes

// Reads up to `count` bytes, as many as the file gives.
std::int64_t readFully(InputFile& file, char* buffer, std::int64_t count) {
  std::int64_t got = 0;
  while (got < count) {
    const std::int64_t n = file.read(buffer + got, count - got);
    if (n <= 0) break;
    got += n;
  }
  return got;
}

bool compareBlocks(InputFile& a, InputFile& b, CompareContext& context) {
  std::vector<char> blocks(2 * kBlock);
  char* x = blocks.data();
  char* y = x + kBlock;
  const auto block = static_cast<std::int64_t>(kBlock);
  for (std::int64_t done = 0;;) {
    const std::int64_t n = readFully(a, x, block);
    if (n != readFully(b, y, block) || std::memcmp(x, y, static_cast<std::size_t>(n)) != 0) return false;
    if (n < block) return true;
    done += n;
    if (done % kEventsEvery == 0) {
      context.host.processEvents();
      if (context.app.StopRequested) return false;
    }
  }
}

// The New file's bytes for counting lines: all of them when the file holds them in memory, else a block
// read at the chunk's start and kept for the next chunk, which starts inside it.
class CountSource {
 public:
  explicit CountSource(InputFile& file) : file_(file) {
    if (const auto text = file.contents()) {
      view_ = *text;
      atEnd_ = true;
      plain_ = PlainLineCounter::Plain(view_.data(), view_.size());
    }
  }

  // Counts lines from `start` (a line start) until the counter is full or the file ends. False where
  // the text is not plain, or holds a line of 2048 characters or more.
  bool count(std::int64_t start, PlainLineCounter& counter) {
    for (std::int64_t at = start;;) {
      const std::int64_t end = viewAt_ + static_cast<std::int64_t>(view_.size());
      if (at < viewAt_ || at > end || (at == end && !atEnd_)) load(at);
      if (!plain_) return false;
      const auto skip = static_cast<std::size_t>(at - viewAt_);
      if (!counter.feed(view_.data() + skip, view_.size() - skip, at)) return false;
      if (counter.full()) return true;
      if (atEnd_) return counter.finish(viewAt_ + static_cast<std::int64_t>(view_.size()));
      at = viewAt_ + static_cast<std::int64_t>(view_.size());
    }
  }

 private:
  void load(std::int64_t at) {
    block_.resize(kBlock);
    file_.seek(at);
    const std::int64_t got = readFully(file_, block_.data(), static_cast<std::int64_t>(kBlock));
    view_ = std::string_view(block_.data(), static_cast<std::size_t>(got));
    viewAt_ = at;
    atEnd_ = got < static_cast<std::int64_t>(kBlock);
    plain_ = PlainLineCounter::Plain(view_.data(), view_.size());
  }

  InputFile& file_;
  std::vector<char> block_;
  std::string_view view_;
  std::int64_t viewAt_ = 0;
  bool atEnd_ = false;
  bool plain_ = false;
};

// The compare-column bookkeeping of the chunk loader for one file, from the stored length of each line.
struct ColumnCount {
  std::int32_t widest = 0;  // longest stored line of the chunk at or beyond the first compare column

  void line(TextInput& input, std::int32_t length, std::int64_t endPos, std::int32_t& shortLines) {
    if (length >= input.CcolStart1) {
      widest = std::max(widest, length);
      return;
    }
    input.CcolShortSeen = true;
    if (endPos > input.CcolCountedTo) {
      ++shortLines;
      input.CcolCountedTo = endPos;
    }
  }
  // The compare text only grows with the line, so the chunk's widest line gives its longest one.
  void finish(TextInput& input, const std::string& blankLine) {
    if (widest == 0) return;
    std::array<char, TextInput::kMaxLineLen> text{};
    input.MaxCmpLen =
        std::max(input.MaxCmpLen, CompareColumnText(input, blankLine.data(), widest, text.data()));
    widest = 0;
  }
};

// What reading left in the New input, taken over by the Old one, whose bytes are the same.
void mirrorReading(const TextInput& from, TextInput& to) {
  to.AtEof = from.AtEof;
  to.EofCharEnd = from.EofCharEnd;
  to.PrematureEof = from.PrematureEof;
  to.EofCharAt = from.EofCharAt;
  to.LinesSplit = from.LinesSplit;
  to.FilePos = from.FilePos;
  to.LineLen = from.LineLen;
  to.LongestLine = from.LongestLine;
  to.Count = from.Count;
}

// The chunk loader's status text and event passes after the New and the Old line `count` were read.
void readingEvents(Host& host, const std::string& newName, std::int32_t count) {
  host.toggleActivityImages();
  char text[32];
  std::snprintf(text, sizeof text, " - Line = %d ", count);
  host.setStatusText("Reading \"" + newName + "\"" + text);
  host.processEvents();
  host.toggleActivityImages();
  host.processEvents();
}

// The chunk loader on two files of the same bytes: the next chunk's lines of the New file counted, in
// one pass while the text is plain (`counted` while it is), else read one by one, with the loader's
// status texts, event passes and halt checks. False when halted; the counts of the chunk are then not
// set, as the loader leaves them.
bool loadCountedChunk(CompareContext& context, const std::string& newName, CountSource& source,
                      bool& counted) {
  PairState& pair = context.pair();
  const CompareOptions& options = context.options();
  TextInput& n = context.newInput;
  TextInput& o = context.oldInput;

  pair.Reading = true;
  ResetInputs(context);
  n.ChunkStart = n.FilePos;
  o.ChunkStart = o.FilePos;
  n.Count = 0;
  o.Count = 0;
  PlainLineCounter counter(n.FilePos, LineTable::kMaxLines);
  counted = counted && source.count(n.FilePos, counter);
  if (counted) {
    n.Count = counter.lines();
    n.FilePos = counter.end();
    n.LongestLine = std::max(n.LongestLine, counter.longest());
    n.AtEof = !counter.full();
    // The halt checks between the lines of a chunk come right after the event passes.
    for (std::int32_t k = kProgressInterval; k <= n.Count && !context.app.StopRequested;
         k += kProgressInterval)
      readingEvents(context.host, newName, k);
  } else {
    ResetInput(n, true);  // the counting may have read elsewhere
    ColumnCount newColumns, oldColumns;
    while (!context.app.StopRequested && !n.AtEof) {
      if (n.Count >= LineTable::kMaxLines) break;
      if (!ReadLine(n, options.Ieof)) break;
      ++n.Count;
      if (options.Ccol) {
        newColumns.line(n, n.LineLen, n.FilePos, pair.NewCcolShortLines);
        oldColumns.line(o, n.LineLen, n.FilePos, pair.OldCcolShortLines);
      }
      if (n.Count % kProgressInterval == 0) readingEvents(context.host, newName, n.Count);
    }
    if (options.Ccol) {
      newColumns.finish(n, context.blankLine);
      oldColumns.finish(o, context.blankLine);
    }
  }
  mirrorReading(n, o);
  if (context.app.StopRequested) return false;
  pair.NewLines = n.Count;
  pair.OldLines = o.Count;
  if (n.AtEof) pair.AllRead = true;
  pair.Reading = false;
  return true;
}

}  // namespace

bool SameBytes(CompareContext& context) {
  InputFile* a = context.newInput.Stream.get();
  InputFile* b = context.oldInput.Stream.get();
  if (a == nullptr || b == nullptr || a->size() != b->size()) return false;
  bool same;
  const auto x = a->contents();
  const auto y = x ? b->contents() : std::nullopt;
  if (x && y) {
    same = *x == *y;
  } else {
    a->seek(0);
    b->seek(0);
    same = compareBlocks(*a, *b, context);
  }
  a->seek(0);
  b->seek(0);
  return same;
}

void CompareIdenticalPair(CompareContext& context) {
  AppState& app = context.app;
  Host& host = context.host;
  CompareOptions& options = context.options();
  PairState& pair = context.pair();
  TextInput& n = context.newInput;
  TextInput& o = context.oldInput;

  StartPair(context);

  const std::string newName = baseName(n.FileName);
  const std::string names = "NFile = " + newName + "   OFile = " + baseName(o.FileName);
  CountSource source(*n.Stream);
  // Compare columns need each line's length: the lines are then read one by one.
  bool counted = !options.Ccol;

  while (!pair.AllRead && !app.StopRequested && !options.ReportNoteSet) {
    n.LineBase = n.LinesDone;
    o.LineBase = o.LinesDone;
    host.toggleActivityImages();
    host.processEvents();

    if (!loadCountedChunk(context, newName, source, counted)) break;
    options.LongestNewLine = std::max(options.LongestNewLine, n.LongestLine);
    options.LongestOldLine = std::max(options.LongestOldLine, o.LongestLine);

    ReportChunk(context, names);
    // Every line of the chunk is kept: the next chunk starts behind it, where the reading stopped.
    n.LinesDone += n.Count;
    o.LinesDone += o.Count;

    host.processEvents();
    if (n.FileSizeKept > kProgressThreshold || app.PairCount == 1) {
      const std::int64_t position =
          n.FileSizeKept > 0 ? std::min<std::int64_t>((n.FilePos + 1) * 100 / n.FileSizeKept, 100) : 0;
      host.setProgressPosition(static_cast<int>(position));
      host.setPercentText(std::to_string(position) + "%");
      host.setProgressTitle("File Progress");
      host.toggleActivityImages();
    }
  }
}

}  // namespace kelvarine
