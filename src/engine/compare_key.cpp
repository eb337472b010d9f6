#include "engine/compare_key.h"

#include <bit>
#include <cstdint>
#include <cstring>

namespace kelvarine {

void PrepareCompareKey(LineRecord& record, bool icas, bool ccol) {
  char* text = record.Text;
  if (text == nullptr) return;

  if (icas) {
    for (int i = 0; i < record.Len; ++i) {
      const char c = text[i];
      if (c >= 'A' && c <= 'Z') text[i] = static_cast<char>(c - 'A' + 'a');
    }
  }

  // Close the gaps of the blanks in place; the kept characters move to the front. Eight bytes at a
  // time where a word has no blank (moved whole) or only blanks (dropped whole): indentation and words.
  const int scan = ccol ? record.CcolLen : record.Len;
  constexpr std::uint64_t kBlanks = 0x2020202020202020ull;
  constexpr std::uint64_t kOnes = 0x0101010101010101ull;
  constexpr std::uint64_t kHighs = 0x8080808080808080ull;
  int kept = 0;
  int i = 0;
  for (; i + 8 <= scan; i += 8) {
    std::uint64_t w;
    std::memcpy(&w, text + i, sizeof w);
    const std::uint64_t x = w ^ kBlanks;  // a zero byte where a blank was
    if (((x - kOnes) & ~x & kHighs) == 0) {
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
  for (; i < scan; ++i) {
    const char c = text[i];
    text[kept] = c;
    kept += c != ' ' ? 1 : 0;
  }

  int cmpLen = kept;
  if (kept == 0) {
    text[0] = 0;
    text[1] = 0;
    cmpLen = 1;
  } else if (kept % 2 != 0) {
    text[kept] = 0;
    cmpLen = kept + 1;
  }
  record.CmpLen = cmpLen;
  record.Hash = CompareTextHash(text, cmpLen);
}

std::uint16_t CompareTextHash(const char* text, int cmpLen) {
  // The sum of the text's 16-bit little-endian words, modulo 65536. Eight bytes at a time, as two
  // 32-bit lanes that each add two words: a line of 2048 bytes cannot overflow a lane.
  static_assert(std::endian::native == std::endian::little, "a word's low byte comes first");
  const auto* bytes = reinterpret_cast<const unsigned char*>(text);
  const int length = (cmpLen + 1) / 2 * 2;
  constexpr std::uint64_t kLaneWords = 0x0000FFFF0000FFFFull;
  std::uint64_t lanes = 0;
  int i = 0;
  for (; i + 8 <= length; i += 8) {
    std::uint64_t w;
    std::memcpy(&w, bytes + i, sizeof w);
    lanes += (w & kLaneWords) + ((w >> 16) & kLaneWords);
  }
  std::uint32_t sum = static_cast<std::uint32_t>(lanes) + static_cast<std::uint32_t>(lanes >> 32);
  for (; i < length; i += 2)
    sum += static_cast<std::uint32_t>(bytes[i]) | (static_cast<std::uint32_t>(bytes[i + 1]) << 8);
  const auto hash = static_cast<std::uint16_t>(sum & 0xFFFFu);
  return hash == 0 ? std::uint16_t{65535} : hash;
}

}  // namespace kelvarine
