#include "engine/carried_lines.h"

#include <algorithm>

namespace kelvarine {

void CarriedLines::keepFront(const LineTable& table, int from, int to, std::int64_t resumeAt) {
  std::size_t bytes = 0;
  for (int i = from; i <= to; ++i) {
    if (table[i].Text == nullptr) {  // nothing to keep: the next chunk reads the lines again
      endChunk();
      text_[keeping_].clear();
      return;
    }
    bytes += static_cast<std::size_t>(PaddedTextBytes(table[i].Len));
  }
  std::vector<char>& text = text_[keeping_];
  std::size_t at = text.size();
  text.resize(at + bytes);
  // Usually the first cut of the chunk; a later one puts its lines in front of those of the first.
  lines_.erase(lines_.begin(), lines_.begin() + static_cast<std::ptrdiff_t>(next_));
  lines_.insert(lines_.begin(), static_cast<std::size_t>(std::max(to - from + 1, 0)), Line{});
  next_ = 0;
  Line* line = lines_.data();
  for (int i = from; i <= to; ++i, ++line) {
    // Text holds the key in front and the rest of the line as read behind it, zeros past Len.
    const LineRecord& r = table[i];
    const std::int32_t cap = PaddedTextBytes(r.Len);
    CopyZeroPadded(text.data() + at, static_cast<std::size_t>(cap), r.Text, static_cast<std::size_t>(r.Len));
    *line = {r.EndPos,
             static_cast<std::uint32_t>(at),
             static_cast<std::int16_t>(r.Len),
             static_cast<std::int16_t>(r.CmpLen),
             static_cast<std::int16_t>(r.CcolLen),
             r.Hash,
             r.CcolShort};
    at += static_cast<std::size_t>(cap);
  }
  resumeAt_ = resumeAt;
}

bool CarriedLines::startChunk(bool usable, std::int64_t at) {
  if (!usable || lines_.empty() || resumeAt_ != at) {
    clear();
    return false;
  }
  keeping_ ^= 1;  // the kept text is now taken from; the chunk before, which used the other, is gone
  text_[keeping_].clear();
  return true;
}

bool CarriedLines::takeNext(LineTable& table, int i) {
  if (next_ >= lines_.size()) return false;
  const Line& line = lines_[next_++];
  LineRecord& r = table[i];
  r.Text = text_[keeping_ ^ 1].data() + line.TextAt;
  r.TextCap = PaddedTextBytes(line.Len);
  r.Len = line.Len;
  r.EndPos = line.EndPos;
  r.CmpLen = line.CmpLen;
  r.CcolLen = line.CcolLen;
  r.Hash = line.Hash;
  r.CcolShort = line.CcolShort;
  return true;
}

void CarriedLines::endChunk() {
  lines_.clear();
  next_ = 0;
  resumeAt_ = -1;
}

void CarriedLines::clear() {
  endChunk();
  text_[0].clear();
  text_[1].clear();
}

}  // namespace kelvarine
