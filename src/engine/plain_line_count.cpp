#include "engine/plain_line_count.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace kelvarine {

namespace {

constexpr std::int64_t kLongLine = 2048;  // ReadLine cuts a line that reaches this length

// The high bit of every byte of `w` that is an LF, and no other bit (exact: no carry crosses bytes).
inline std::uint64_t lfBytes(std::uint64_t w) {
  constexpr std::uint64_t kLf = 0x0a0a0a0a0a0a0a0aull;
  constexpr std::uint64_t kLow7 = 0x7f7f7f7f7f7f7f7full;
  const std::uint64_t x = w ^ kLf;
  return ~(((x & kLow7) + kLow7) | x | kLow7);
}

}  // namespace

bool PlainLineCounter::line(std::int64_t at) {
  const std::int64_t length = at - lineStart_;
  if (length >= kLongLine) return false;
  longest_ = std::max(longest_, static_cast<std::int32_t>(length));
  lineStart_ = at + 1;
  ++lines_;
  return true;
}

bool PlainLineCounter::Plain(const char* bytes, std::size_t size) {
  return std::memchr(bytes, '\r', size) == nullptr && std::memchr(bytes, 26, size) == nullptr;
}

bool PlainLineCounter::feed(const char* bytes, std::size_t size, std::int64_t offset) {
  static_assert(std::endian::native == std::endian::little, "the lowest flagged byte is the first");
  std::size_t i = 0;
  for (; i + 8 <= size && !full(); i += 8) {
    std::uint64_t word;
    std::memcpy(&word, bytes + i, sizeof word);
    std::uint64_t lfs = lfBytes(word);
    if (lfs == 0) continue;
    const std::int64_t at = offset + static_cast<std::int64_t>(i);
    const int count = std::popcount(lfs);
    // The lines between two LFs of one word are at most 6 long: once a line of 6 was met, only the
    // word's first line can be longer than those counted, and its last LF is where the next one starts.
    if (longest_ >= 6 && lines_ + count < limit_) {
      if (!line(at + std::countr_zero(lfs) / 8)) return false;
      lines_ += count - 1;
      lineStart_ = at + (63 - std::countl_zero(lfs)) / 8 + 1;
      continue;
    }
    for (; lfs != 0 && !full(); lfs &= lfs - 1)
      if (!line(at + std::countr_zero(lfs) / 8)) return false;
  }
  for (; i < size && !full(); ++i)
    if (bytes[i] == '\n' && !line(offset + static_cast<std::int64_t>(i))) return false;
  return true;
}

bool PlainLineCounter::finish(std::int64_t offset) {
  if (full() || lineStart_ >= offset) return true;
  if (offset - lineStart_ >= kLongLine) return false;
  longest_ = std::max(longest_, static_cast<std::int32_t>(offset - lineStart_));
  lineStart_ = offset;
  ++lines_;
  return true;
}

}  // namespace kelvarine
