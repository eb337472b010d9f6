#pragma once

#include <cstdint>
#include <cstring>

#include "engine/line_table.h"

namespace kelvarine {

// The compare key of one line, made in place in `text` (the line's `len` characters followed by zero
// bytes up to PaddedTextBytes(len), read a word at a time): folds A-Z to a-z with `icas`, removes every blank
// from the first `scan` characters, pads to an even length and hashes. The strong key that the twin index
// groups lines by comes with it.
struct CompareKey {
  std::int32_t CmpLen = 0;
  std::uint16_t Hash = 0;
  std::uint64_t TwinKey = 0;
  bool TwinExact = false;
};
CompareKey MakeCompareKey(char* text, int len, int scan, bool icas);

// The same without Icas or compare columns, from the `len` characters at `line` into `key`
// (PaddedTextBytes(len) bytes): the bytes are those that copying the line there, zero-padded, and
// MakeCompareKey would leave, behind the compare text too (where a longer New text is compared).
CompareKey MakeCompareKeyCopy(const char* line, int len, char* key);

// Builds the compare key of a line in place: folds A-Z to a-z with `icas`, removes every blank from
// the first CcolLen (with `ccol`) or Len characters, pads to an even length (CmpLen), and hashes.
void PrepareCompareKey(LineRecord& record, bool icas, bool ccol);

// The hash bucket of a line, 1..8192.
inline int HashBucket(std::uint16_t hash) {
  return (hash & 8191) + 1;
}

// The n bytes at a and at b are equal. Short keys a word at a time, inline: the matcher compares one
// for almost every line it indexes, and a call of memcmp costs more than comparing them; longer ones
// with memcmp, whose vector loop is faster there.
inline bool SameBytes(const char* a, const char* b, std::size_t n) {
  if (n > 16) return std::memcmp(a, b, n) == 0;
  std::size_t k = 0;
  for (; k + 8 <= n; k += 8) {
    std::uint64_t x, y;
    std::memcpy(&x, a + k, 8);
    std::memcpy(&y, b + k, 8);
    if (x != y) return false;
  }
  if ((n & 4) != 0) {
    std::uint32_t x, y;
    std::memcpy(&x, a + k, 4);
    std::memcpy(&y, b + k, 4);
    if (x != y) return false;
    k += 4;
  }
  if ((n & 2) != 0) {
    std::uint16_t x, y;
    std::memcpy(&x, a + k, 2);
    std::memcpy(&y, b + k, 2);
    if (x != y) return false;
    k += 2;
  }
  return (n & 1) == 0 || a[k] == b[k];
}

// New line and Old line have the same compare text: equal hashes and the first CmpLen bytes of the
// New line's compare text equal the Old line's. Dp lines and lines without a compare key never are.
// Inline: the matcher calls it for every candidate pair.
inline bool SameCompareText(const LineRecord& newLine, const LineRecord& oldLine) {
  if (newLine.Hash != oldLine.Hash || newLine.Hash == 0) return false;
  if (newLine.DpLine || oldLine.DpLine || newLine.Text == nullptr || oldLine.Text == nullptr) return false;
  if (newLine.CmpLen < 0 || newLine.CmpLen > oldLine.TextCap || newLine.CmpLen > newLine.TextCap)
    return false;
  return SameBytes(newLine.Text, oldLine.Text, static_cast<std::size_t>(newLine.CmpLen));
}

}  // namespace kelvarine
