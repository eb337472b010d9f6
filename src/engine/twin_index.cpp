#include "engine/twin_index.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#define XXH_INLINE_ALL
#include <xxhash.h>

namespace kelvarine {

namespace {

// Beyond this many Old lines of the rare kind, every New line would check them all: the caller walks
// the bucket chains as before.
constexpr std::size_t kMaxAmbiguous = 64;

}  // namespace

namespace {

// The first `count` (1..8) bytes at `text` as a word, the others zero.
std::uint64_t firstBytes(const char* text, int count) {
  std::uint64_t w;
  std::memcpy(&w, text, sizeof w);
  return count >= 8 ? w : w & ((std::uint64_t{1} << (8 * count)) - 1);
}

}  // namespace

std::uint64_t TwinKeyOf(const char* text, int cmpLen, std::uint16_t hash) {
  const std::uint64_t seed = (std::uint64_t{hash} << 32) | static_cast<std::uint32_t>(cmpLen);
  if (text == nullptr || cmpLen <= 0) return seed;
  if (cmpLen > 16) return XXH3_64bits_withSeed(text, static_cast<std::size_t>(cmpLen), seed);
  // A short text: its (at most two) words, mixed with the seed by multiply-xorshift.
  const std::uint64_t words[2] = {firstBytes(text, std::min(cmpLen, 8)),
                                  cmpLen > 8 ? firstBytes(text + 8, cmpLen - 8) : 0};
  std::uint64_t key = seed * 0x9E3779B97F4A7C15ull;
  for (const std::uint64_t w : words) {
    key = (key ^ w) * 0xBF58476D1CE4E5B9ull;
    key ^= key >> 31;
  }
  key *= 0x94D049BB133111EBull;
  return key ^ (key >> 29);
}

bool TwinKeyExact(const char* text, int cmpLen, std::uint16_t hash) {
  if (text == nullptr || cmpLen < 1) return false;
  if (cmpLen == 1) return true;
  // Compared over one byte, a line of blanks (compare text two 0 bytes, hash 65535) equals any line
  // whose compare text starts with a 0 byte and hashes to 65535.
  if (text[0] == 0 && hash == 65535) return false;
  // The hash of each proper prefix of an even length (a sum of 0 counting as 65535).
  const std::uint16_t alike = hash == 65535 ? 0 : hash;  // the sum that also gives `hash`
  const int words = cmpLen / 2 - 1;                      // in the longest proper prefix
  int word = 0;
  std::uint16_t sum = 0;
#if defined(__SSE2__)
  // Eight words at a time: their running sums in 16-bit lanes (which wrap as the hash does), with the
  // sum of the words before them added.
  const __m128i wanted = _mm_set1_epi16(static_cast<short>(hash));
  const __m128i alsoWanted = _mm_set1_epi16(static_cast<short>(alike));
  __m128i before = _mm_setzero_si128();
  for (; word + 8 <= words; word += 8) {
    __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + 2 * word));
    x = _mm_add_epi16(x, _mm_slli_si128(x, 2));
    x = _mm_add_epi16(x, _mm_slli_si128(x, 4));
    x = _mm_add_epi16(x, _mm_slli_si128(x, 8));
    x = _mm_add_epi16(x, before);
    const __m128i hit = _mm_or_si128(_mm_cmpeq_epi16(x, wanted), _mm_cmpeq_epi16(x, alsoWanted));
    if (_mm_movemask_epi8(hit) != 0) return false;
    before = _mm_shufflehi_epi16(x, 0xFF);
    before = _mm_unpackhi_epi64(before, before);
  }
  sum = static_cast<std::uint16_t>(_mm_cvtsi128_si32(before));
#endif
  for (; word < words; ++word) {
    std::uint16_t w;
    std::memcpy(&w, text + 2 * word, sizeof w);
    sum = static_cast<std::uint16_t>(sum + w);
    if (sum == hash || sum == alike) return false;
  }
  return true;
}

std::size_t TwinIndex::slotOf(std::uint64_t key) const {
  std::size_t at = static_cast<std::size_t>(key ^ (key >> 29)) & mask_;
  while (slots_[at].head != 0 && slots_[at].key != key)
    at = (at + 1) & mask_;
  return at;
}

void TwinIndex::build(const LineRecord* olds, int count) {
  std::size_t capacity = 16;
  while (capacity < 2 * static_cast<std::size_t>(count))
    capacity *= 2;
  slots_.assign(capacity, Slot{});
  mask_ = capacity - 1;
  next_.assign(static_cast<std::size_t>(count) + 1, 0);
  ambiguous_.clear();
  usable_ = true;
  for (int i = 1; i <= count; ++i) {
    const LineRecord& line = olds[i];
    if (line.DpLine) continue;
    const std::uint64_t key = line.TwinKey;
    Slot& slot = slots_[slotOf(key)];
    if (slot.head == 0) {
      slot = Slot{key, i, i};
    } else {
      next_[static_cast<std::size_t>(slot.tail)] = i;
      slot.tail = i;
    }
    if (!exact(line)) ambiguous_.push_back(i);
  }
  if (ambiguous_.size() > kMaxAmbiguous) usable_ = false;
}

}  // namespace kelvarine
