#pragma once

#include <cstdint>
#include <vector>

#include "engine/line_table.h"

namespace kelvarine {

// Finds the Old lines of a chunk that may have the same compare text as a New line, in table order,
// without walking a chain of the 16-bit hash's bucket: that hash is a sum of words, so lines that
// differ only in their digits (numbered records, logs, CSV) share a few buckets, and walking their
// chains made indexing quadratic. Old lines are grouped by a strong hash of (hash, compare length,
// compare text); the equality rule itself is unchanged, and every candidate is still checked with it.
//
// The rule compares the New line's compare length only, so a line can equal one of another length
// when a proper prefix of the longer text sums like the whole. Such lines are rare: an Old one is a
// candidate for every New line (`ambiguousOlds`), and for a New one `exact()` is false (its caller
// walks the bucket chain instead).
// The strong key of a compare text (`cmpLen` bytes, hashing to `hash`, in a buffer that holds whole
// 8-byte words): the class it is indexed by.
std::uint64_t TwinKeyOf(const char* text, int cmpLen, std::uint16_t hash);
// False for a compare text that can equal one of another length (the rare kind above); the same buffer.
bool TwinKeyExact(const char* text, int cmpLen, std::uint16_t hash);

class TwinIndex {
 public:
  // Indexes Old lines 1..count that are not Dp lines.
  void build(const LineRecord* olds, int count);

  // False when the chunk holds too many lines of the rare kind for the index to help.
  bool usable() const { return usable_; }
  // The candidates of `line` are exactly the class of its key and ambiguousOlds() (with equal compare
  // lengths required, the class alone). Made with the line's compare key.
  static bool exact(const LineRecord& line) { return line.TwinExact; }

  // First Old line of the class of `line`'s key, 0 when none; next() walks the class in table order.
  int first(const LineRecord& line) const { return slots_[slotOf(line.TwinKey)].head; }
  int next(int old) const { return next_[static_cast<std::size_t>(old)]; }
  // The Old lines of the rare kind, in table order.
  const std::vector<std::int32_t>& ambiguousOlds() const { return ambiguous_; }

 private:
  struct Slot {
    std::uint64_t key = 0;
    std::int32_t head = 0;  // 0: empty slot
    std::int32_t tail = 0;
  };
  std::size_t slotOf(std::uint64_t key) const;

  std::vector<Slot> slots_;
  std::vector<std::int32_t> next_;  // next Old line of the same class; 0 at the end
  std::vector<std::int32_t> ambiguous_;
  std::size_t mask_ = 0;
  bool usable_ = true;
};

}  // namespace kelvarine
