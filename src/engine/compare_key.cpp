#include "engine/compare_key.h"

#include <algorithm>
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

// A flag (0x80) in exactly the bytes of w that are blanks.
std::uint64_t blankBytes(std::uint64_t w) {
  constexpr std::uint64_t kLows = 0x7F7F7F7F7F7F7F7Full;
  const std::uint64_t x = w ^ kBlanks;
  return ~(((x & kLows) + kLows) | x | kLows);
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

// The key of the `kept` characters without blanks at `text`: padded with a zero to an even length (an
// empty text is one zero pair), then hashed.
inline CompareKey finishKey(char* text, int kept) {
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

  return finishKey(text, kept);
}

CompareKey MakeCompareKeyCopy(const char* line, int len, char* key) {
  // The characters without blanks, a word at a time: a word without a blank whole, one with blanks by
  // its runs of other characters (each stored as a word, of which only the run counts).
  int kept = 0;
  int i = 0;
  for (; i + 8 <= len; i += 8) {
    std::uint64_t w;
    std::memcpy(&w, line + i, sizeof w);
    const std::uint64_t blanks = blankBytes(w);
    if (blanks == 0) {
      std::memcpy(key + kept, &w, sizeof w);
      kept += 8;
      continue;
    }
    // One bit for each byte that is not a blank.
    unsigned others = ~static_cast<unsigned>(((blanks >> 7) * 0x0102040810204080ull) >> 56) & 0xFFu;
    while (others != 0) {
      const int start = std::countr_zero(others);
      const int run = std::countr_one(others >> start);
      const std::uint64_t bytes = w >> (8 * start);
      std::memcpy(key + kept, &bytes, sizeof bytes);  // kept + 8 <= i + 8 <= len
      kept += run;
      others &= ~0u << (start + run);
    }
  }
  for (; i < len; ++i)
    if (line[i] != ' ') key[kept++] = line[i];

  // Behind the compare text, what squeezing the copy in place leaves: the byte at `kept` a blank
  // where that squeeze passed a trailing blank one at a time (in a word with other characters, or in
  // the last len % 8 characters when they hold one), else the line's own; the rest as copied.
  const int full = len & ~7;
  int last = len - 1;
  while (last >= 0 && line[last] == ' ')
    --last;
  const bool blankAtEnd = (full < len && line[len - 1] == ' ') || (last < full && last % 8 != 7);
  key[kept] = blankAtEnd ? ' ' : kept < len ? line[kept] : '\0';
  if (kept + 1 < len) std::memcpy(key + kept + 1, line + kept + 1, static_cast<std::size_t>(len - kept - 1));
  const int cap = PaddedTextBytes(len);
  const int zeros = std::max(len, kept + 1);
  std::memset(key + zeros, 0, static_cast<std::size_t>(cap - zeros));

  return finishKey(key, kept);
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
