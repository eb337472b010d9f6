#include "engine/line_splitter.h"

#include <algorithm>

#include "engine/compare_key.h"
#include "engine/line_table.h"

namespace kelvarine {

namespace {

constexpr int kMaxLen = kMaxTextLineLen;
const char kBlankLine[] = " ";

constexpr std::size_t kTextBlock = 64 * 1024;

// Gives the line just split its text (a copy with blanks for TABs when it has one) and, when asked,
// its compare key: compare columns cut into the front of a copy, then blanks removed and hashed.
void finishLine(FeedBatch& batch, FeedLine& line, std::size_t rawAt, bool tab, const SplitOptions& options) {
  LineRecord& r = line.Record;
  const auto len = static_cast<std::size_t>(r.Len);
  const char* raw = batch.Raw.data() + rawAt;
  if (line.Empty) {
    r.ReadText = kBlankLine;
  } else if (tab) {
    char* copy = batch.takeTexts(len);
    for (std::size_t i = 0; i < len; ++i)
      copy[i] = raw[i] == static_cast<char>(kTabChar) ? ' ' : raw[i];
    r.ReadText = copy;
  } else {
    r.ReadText = raw;
  }
  if (!options.makeKeys) return;
  const auto cap = static_cast<std::size_t>(PaddedTextBytes(r.Len));
  char* key = batch.takeTexts(cap);
  CompareKey made;
  if (!options.icas && !options.ccol) {
    made = MakeCompareKeyCopy(r.ReadText, r.Len, key);
  } else {
    CopyZeroPadded(key, cap, r.ReadText, len);
    int scan = r.Len;
    if (options.ccol) {
      r.CcolLen = CompareColumnText(options.columns, r.ReadText, r.Len, key);
      r.CcolShort = r.Len < options.columns.Start1;
      scan = r.CcolLen;
    }
    made = MakeCompareKey(key, r.Len, scan, options.icas);
  }
  r.Text = key;
  r.TextCap = static_cast<std::int32_t>(cap);
  r.CmpLen = made.CmpLen;
  r.Hash = made.Hash;
  r.TwinKey = made.TwinKey;
  r.TwinExact = made.TwinExact;
  line.Keyed = true;
}

}  // namespace

char* FeedBatch::takeTexts(std::size_t bytes) {
  if (TextBlock >= Texts.size() || TextBlockUsed + bytes > kTextBlock) {
    if (TextBlock < Texts.size() && TextBlockUsed > 0) ++TextBlock;
    if (TextBlock == Texts.size()) Texts.push_back(std::make_unique_for_overwrite<char[]>(kTextBlock));
    TextBlockUsed = 0;
  }
  char* at = Texts[TextBlock].get() + TextBlockUsed;
  TextBlockUsed += bytes;
  TextsUsed += bytes;
  return at;
}

void FeedBatch::clear() {
  Start = LinesEnd = 0;
  Raw.clear();
  TextBlock = TextBlockUsed = TextsUsed = 0;
  Lines.clear();
  Last = EndOfFile = EndPrematureEof = false;
  EndEofCharAt = -1;
}

std::size_t SplitLines(FeedBatch& batch, bool eof, const SplitOptions& options, std::size_t maxLines) {
  batch.TextBlock = batch.TextBlockUsed = batch.TextsUsed = 0;
  batch.Lines.clear();
  const auto* raw = reinterpret_cast<const unsigned char*>(batch.Raw.data());
  const std::size_t size = batch.Raw.size();
  std::size_t p = 0;  // where the line being split starts
  const auto stop = [&](std::size_t at) {
    batch.LinesEnd = batch.Start + static_cast<std::int64_t>(at);
    return at;
  };
  while (true) {
    if (batch.Lines.size() >= maxLines) return stop(p);
    std::size_t q = p;
    int len = 0;
    int terminator = 0;
    bool tab = false, premature = false, split = false, textEnds = false, dataBehind = false;
    while (true) {
      const int run = OrdinaryRun(raw + q, static_cast<int>(std::min<std::size_t>(size - q, kMaxLen - len)));
      len += run;
      q += static_cast<std::size_t>(run);
      if (len == kMaxLen) {
        split = true;
        break;
      }
      if (q == size) {
        if (!eof) return stop(p);  // the line may go on in bytes not read yet
        if (len == 0) {
          batch.Last = true;
          return stop(p);
        }
        break;
      }
      const unsigned char c = raw[q];
      if (c == kLfChar) {
        terminator = 1;
        break;
      }
      if (c == kCrChar) {
        if (q + 1 < size) {
          terminator = raw[q + 1] == kLfChar ? 2 : 1;
        } else if (eof) {
          terminator = 1;
        } else {
          return stop(p);
        }
        break;
      }
      if (c == kEofChar) {
        if (q + 1 == size && !eof) return stop(p);
        const bool more = q + 1 < size;
        premature = premature || more;
        if (!more || !options.ieof) {
          // Ends the file's text; the character itself is not part of the file position.
          if (len == 0) {
            batch.Last = true;
            batch.EndPrematureEof = premature;
            batch.EndEofCharAt = more ? batch.Start + static_cast<std::int64_t>(q) : -1;
            return stop(p);
          }
          textEnds = true;
          dataBehind = more;
          break;
        }
      } else {
        tab = true;  // stored as one blank
      }
      ++len;
      ++q;
      if (len == kMaxLen) {
        split = true;
        break;
      }
    }

    FeedLine& line = batch.Lines.emplace_back();
    line.Record.EndPos = batch.Start + static_cast<std::int64_t>(q + static_cast<std::size_t>(terminator));
    line.Record.Len = len == 0 ? 1 : len;
    line.ReadLen = len;
    line.Empty = len == 0;
    line.Split = split;
    line.PrematureEof = premature;
    line.EofCharEnd = dataBehind;
    line.Unusual = split || premature;
    finishLine(batch, line, p, tab, options);
    p = q + static_cast<std::size_t>(terminator);
    if (textEnds) {
      batch.Last = true;
      return stop(p);
    }
  }
}

int CompareColumnText(const CompareColumns& columns, const char* line, int len, char* out) {
  if (len < columns.Start1) {
    out[0] = ' ';
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
  if (columns.End1 == 0) {
    append(columns.Start1, len);
  } else {
    append(columns.Start1, columns.End1);
    if (columns.TwoRanges && columns.Start2 <= len)
      append(columns.Start2, columns.End2 == 0 ? len : columns.End2);
  }
  return written;
}

}  // namespace kelvarine
