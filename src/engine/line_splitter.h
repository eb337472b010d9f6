#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#include "engine/line_table.h"

namespace kelvarine {

// Bytes a text file is read by at a time, and the most characters a line holds (a longer one is split).
inline constexpr int kTextReadBlock = 32768;
inline constexpr int kMaxTextLineLen = 2048;

constexpr unsigned char kTabChar = 9;
constexpr unsigned char kLfChar = 10;
constexpr unsigned char kCrChar = 13;
constexpr unsigned char kEofChar = 26;

// The bytes the line splitter has to look at; every other byte is copied as it is.
inline bool IsSpecialByte(unsigned char c) {
  constexpr std::uint32_t kMask = (1u << kTabChar) | (1u << kLfChar) | (1u << kCrChar) | (1u << kEofChar);
  return c <= kEofChar && ((kMask >> c) & 1u) != 0;
}

// Length of the run of ordinary bytes at the start of p[0..n). Eight bytes at a time: a word with no
// byte below 27 (the special bytes all are) is passed whole; otherwise its first such byte is found
// from the word's mask (the lowest flagged byte is always a true one) and tested.
inline int OrdinaryRun(const unsigned char* p, int n) {
  static_assert(std::endian::native == std::endian::little, "the mask's lowest byte is the first byte");
  constexpr std::uint64_t kOnes = 0x0101010101010101ull;
  constexpr std::uint64_t kHighs = 0x8080808080808080ull;
  int k = 0;
  while (n - k >= 8) {
    std::uint64_t w;
    std::memcpy(&w, p + k, sizeof w);
    const std::uint64_t low = (w - kOnes * (kEofChar + 1)) & ~w & kHighs;
    if (low == 0) {
      k += 8;
      continue;
    }
    const int at = k + std::countr_zero(low) / 8;
    if (IsSpecialByte(p[at])) return at;
    k = at + 1;
  }
  for (; k < n; ++k) {
    if (IsSpecialByte(p[k])) return k;
  }
  return k;
}

// Compare-column bounds of one file, 1-based and inclusive; an end of 0 means the end of the line.
struct CompareColumns {
  bool TwoRanges = false;
  std::int32_t Start1 = 0, End1 = 0, Start2 = 0, End2 = 0;
  bool operator==(const CompareColumns&) const = default;
};

// How a file's lines are split and keyed.
struct SplitOptions {
  bool ieof = false;      // an end-of-file character with data behind it is kept as a character
  bool makeKeys = false;  // give each line its compare key (no Dp option: the key is the line's alone)
  bool icas = false;
  bool ccol = false;
  CompareColumns columns;
  bool operator==(const SplitOptions&) const = default;
};

// One line as the reader splits it (the rules of ReadLine), with its compare key when keys are made.
struct FeedLine {
  // The line as the chunk loader puts it into its table: EndPos, Len, ReadText (in the batch's Raw,
  // or a copy with blanks for TABs in its Texts) and, when Keyed, its compare key (Text in Texts,
  // PaddedTextBytes(Len) bytes; CmpLen, Hash, TwinKey, CcolLen...).
  LineRecord Record;
  std::int32_t ReadLen = 0;   // characters read: Len, but 0 for an empty line
  bool Empty = false;         // the line had no character (its text is one blank)
  bool Split = false;         // ended at 2048 characters
  bool PrematureEof = false;  // met an end-of-file character with data behind it
  bool EofCharEnd = false;    // ended by such a character, which ends the file's text
  bool Unusual = false;       // one of the three above
  bool Keyed = false;
};

// Leaves the elements that a resize adds uninitialised: a read fills them at once, and zeroing a
// whole read block first cost more than reading a small file.
template <typename T>
struct UninitialisedAllocator : std::allocator<T> {
  using std::allocator<T>::allocator;
  template <typename U>
  void construct(U* p) noexcept {
    ::new (static_cast<void*>(p)) U;
  }
  template <typename U, typename... Args>
  void construct(U* p, Args&&... args) {
    ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
  }
};

// The lines split from one stretch of a file: the bytes as read from the first line's start, the
// lines found in them and what they need besides (TAB-free copies, compare keys).
struct FeedBatch {
  std::int64_t Start = 0;     // file position of Raw[0]
  std::int64_t LinesEnd = 0;  // file position just after the last line: where the next batch starts
  std::vector<char, UninitialisedAllocator<char>>
      Raw;  // bytes as read: the lines, then the start of what follows
  // Text copies of lines with a TAB, and compare keys, in blocks that never move: TextsUsed bytes of
  // the blocks up to TextBlock.
  std::vector<std::unique_ptr<char[]>> Texts;
  std::size_t TextBlock = 0, TextBlockUsed = 0, TextsUsed = 0;
  // `bytes` (at most 8192) more bytes of Texts, in one piece.
  char* takeTexts(std::size_t bytes);
  std::vector<FeedLine> Lines;
  bool Last = false;       // the text of the file ends after these lines
  bool EndOfFile = false;  // a read found the end of the file at Start + Raw.size()
  // When the text ended without a line: an end-of-file character with data behind it, and where.
  bool EndPrematureEof = false;
  std::int64_t EndEofCharAt = -1;

  void clear();
};

// Splits Raw (bytes from Start; `eof`: the file ends behind them) into at most `maxLines` lines from
// the start, as ReadLine does, and makes their keys. Stops before a line whose end depends on bytes not
// read yet. Sets LinesEnd, and Last when the text ends. Returns the offset in Raw of the first byte not
// used.
std::size_t SplitLines(FeedBatch& batch, bool eof, const SplitOptions& options,
                       std::size_t maxLines = static_cast<std::size_t>(-1));

// Writes the compare-column text of the `len` characters at `line` to `out` (room for `len` bytes,
// at least 1) and returns its length; a line shorter than the first column gives one blank.
int CompareColumnText(const CompareColumns& columns, const char* line, int len, char* out);

}  // namespace kelvarine
