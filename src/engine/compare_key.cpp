#include "engine/compare_key.h"

#include <cstdint>

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

  // Close the gaps of the blanks in place; the kept characters move to the front.
  const int scan = ccol ? record.CcolLen : record.Len;
  int kept = 0;
  for (int i = 0; i < scan; ++i) {
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
  const auto* bytes = reinterpret_cast<const unsigned char*>(text);
  const int words = (cmpLen + 1) / 2;
  std::uint32_t sum = 0;
  for (int w = 0; w < words; ++w) {
    sum += static_cast<std::uint32_t>(bytes[2 * w]) | (static_cast<std::uint32_t>(bytes[2 * w + 1]) << 8);
  }
  const auto hash = static_cast<std::uint16_t>(sum & 0xFFFFu);
  return hash == 0 ? std::uint16_t{65535} : hash;
}

}  // namespace kelvarine
