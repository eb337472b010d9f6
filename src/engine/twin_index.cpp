#include "engine/twin_index.h"

#include <cstring>

#define XXH_INLINE_ALL
#include <xxhash.h>

namespace kelvarine {

namespace {

// Beyond this many Old lines of the rare kind, every New line would check them all: the caller walks
// the bucket chains as before.
constexpr std::size_t kMaxAmbiguous = 64;

}  // namespace

std::uint64_t TwinKeyOf(const char* text, int cmpLen, std::uint16_t hash) {
  const std::uint64_t seed = (std::uint64_t{hash} << 32) | static_cast<std::uint32_t>(cmpLen);
  if (text == nullptr || cmpLen <= 0) return seed;
  if (cmpLen > 16) return XXH3_64bits_withSeed(text, static_cast<std::size_t>(cmpLen), seed);
  // A short text: its (at most two) words, zero-filled, mixed with the seed by multiply-xorshift.
  std::uint64_t words[2] = {0, 0};
  std::memcpy(words, text, static_cast<std::size_t>(cmpLen));
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
  const auto* bytes = reinterpret_cast<const unsigned char*>(text);
  if (bytes[0] == 0 && hash == 65535) return false;
  std::uint32_t sum = 0;
  for (int length = 2; length + 2 <= cmpLen; length += 2) {
    sum +=
        static_cast<std::uint32_t>(bytes[length - 2]) | (static_cast<std::uint32_t>(bytes[length - 1]) << 8);
    std::uint32_t prefix = sum & 0xFFFFu;
    if (prefix == 0) prefix = 65535;
    if (prefix == hash) return false;
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
