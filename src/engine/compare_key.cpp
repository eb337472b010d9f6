#include "engine/compare_key.h"

#include <bit>
#include <cstdint>
#include <cstring>

#include "engine/twin_index.h"

namespace kelvarine {

namespace {

constexpr std::uint64_t kBlanks = 0x2020202020202020ull;
constexpr std::uint64_t kOnes = 0x0101010101010101ull;
constexpr std::uint64_t kHighs = 0x8080808080808080ull;

// The first `count` (0..7) bytes of a word, the others zero.
std::uint64_t firstBytes(std::uint64_t w, int count) {
  return w & ((std::uint64_t{1} << (8 * count)) - 1);
}

// A flag in each byte of w that is zero; a byte after a flagged one may be flagged too.
std::uint64_t zeroBytes(std::uint64_t w) {
  return (w - kOnes) & ~w & kHighs;
}

// The sum modulo 65536 of the compare text read as (cmpLen + 1) / 2 little-endian 16-bit words (the
// first byte is the low byte); 0 becomes 65535. Eight bytes at a time, as two 32-bit lanes that each
// add two words: a line of 2048 bytes cannot overflow a lane. The buffer has whole words to spare.
std::uint16_t compareTextHash(const char* text, int cmpLen) {
  static_assert(std::endian::native == std::endian::little, "a word's low byte comes first");
  const int length = (cmpLen + 1) / 2 * 2;
  constexpr std::uint64_t kLaneWords = 0x0000FFFF0000FFFFull;
  std::uint64_t lanes = 0;
  int i = 0;
  for (; i + 8 <= length; i += 8) {
    std::uint64_t w;
    std::memcpy(&w, text + i, sizeof w);
    lanes += (w & kLaneWords) + ((w >> 16) & kLaneWords);
  }
  if (i < length) {
    std::uint64_t w;
    std::memcpy(&w, text + i, sizeof w);
    w = firstBytes(w, length - i);
    lanes += (w & kLaneWords) + ((w >> 16) & kLaneWords);
  }
  const auto sum = static_cast<std::uint32_t>(lanes) + static_cast<std::uint32_t>(lanes >> 32);
  const auto hash = static_cast<std::uint16_t>(sum & 0xFFFFu);
  return hash == 0 ? std::uint16_t{65535} : hash;
}

}  // namespace

CompareKey MakeCompareKey(char* text, int len, int scan, bool icas) {
  if (icas) {
    for (int i = 0; i < len; ++i) {
      const char c = text[i];
      if (c >= 'A' && c <= 'Z') text[i] = static_cast<char>(c - 'A' + 'a');
    }
  }

  // Close the gaps of the blanks in place; the kept characters move to the front. Eight bytes at a
  // time where a word has no blank (moved whole) or only blanks (dropped whole): indentation and words.
  int kept = 0;
  int i = 0;
  for (; i + 8 <= scan; i += 8) {
    std::uint64_t w;
    std::memcpy(&w, text + i, sizeof w);
    if (zeroBytes(w ^ kBlanks) == 0) {
      std::memcpy(text + kept, &w, sizeof w);  // kept <= i: only bytes already read are overwritten
      kept += 8;
    } else if (w != kBlanks) {
      for (int k = i; k < i + 8; ++k) {
        const char c = text[k];
        text[kept] = c;
        kept += c != ' ' ? 1 : 0;
      }
    }
  }
  if (i < scan) {
    // The last scan - i characters: without a blank among them they move as a block.
    std::uint64_t w;
    std::memcpy(&w, text + i, sizeof w);
    if (firstBytes(zeroBytes(w ^ kBlanks), scan - i) == 0) {
      if (kept < i) std::memmove(text + kept, text + i, static_cast<std::size_t>(scan - i));
      kept += scan - i;
    } else {
      for (; i < scan; ++i) {
        const char c = text[i];
        text[kept] = c;
        kept += c != ' ' ? 1 : 0;
      }
    }
  }

  CompareKey key;
  key.CmpLen = kept;
  if (kept == 0) {
    text[0] = 0;
    text[1] = 0;
    key.CmpLen = 1;
  } else if (kept % 2 != 0) {
    text[kept] = 0;
    key.CmpLen = kept + 1;
  }
  key.Hash = compareTextHash(text, key.CmpLen);
  key.TwinKey = TwinKeyOf(text, key.CmpLen, key.Hash);
  key.TwinExact = TwinKeyExact(text, key.CmpLen, key.Hash);
  return key;
}

void PrepareCompareKey(LineRecord& record, bool icas, bool ccol) {
  if (record.Text == nullptr) return;
  const CompareKey key = MakeCompareKey(record.Text, record.Len, ccol ? record.CcolLen : record.Len, icas);
  record.CmpLen = key.CmpLen;
  record.Hash = key.Hash;
  record.TwinKey = key.TwinKey;
  record.TwinExact = key.TwinExact;
}

}  // namespace kelvarine
