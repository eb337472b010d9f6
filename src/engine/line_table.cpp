#include "engine/line_table.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "engine/engine_fault.h"

namespace kelvarine {

namespace {
constexpr std::size_t kBlockSize = 1 << 20;
}

LineTable::LineTable() : records_(static_cast<std::size_t>(kRecords) + 1) {}

void LineTable::rangeError(int i) {
  throw EngineFault("line index " + std::to_string(i) + " outside the line table");
}

void LineTable::clear() {
  std::fill(records_.begin(), records_.begin() + touched_ + 1, LineRecord{});
  touched_ = 0;
  block_ = 0;
  used_ = 0;
}

void LineTable::clearFrom(int first) {
  if (first < 1 || first > kRecords + 1) rangeError(first);
  if (touched_ >= first) std::fill(records_.begin() + first, records_.begin() + touched_ + 1, LineRecord{});
  touched_ = first - 1;
}

char* LineTable::allocateInNextBlock(std::size_t bytes) {
  while (true) {
    if (block_ < blocks_.size()) {
      if (used_ + bytes <= blockSizes_[block_]) {
        char* p = blocks_[block_].get() + used_;
        used_ += bytes;
        return p;
      }
      ++block_;
      used_ = 0;
      continue;
    }
    std::size_t size = std::max(kBlockSize, bytes);
    blocks_.push_back(std::make_unique_for_overwrite<char[]>(size));  // pages touched only as used
    blockSizes_.push_back(size);
    block_ = blocks_.size() - 1;
    used_ = 0;
  }
}

void LineTable::setText(int i, const char* text, int len) {
  LineRecord& r = (*this)[i];
  const std::int32_t bytes = PaddedTextBytes(len);
  if (r.Text == nullptr || r.TextCap < bytes) {
    r.Text = allocate(static_cast<std::size_t>(bytes));
    r.TextCap = bytes;
  }
  CopyZeroPadded(r.Text, static_cast<std::size_t>(r.TextCap), text, static_cast<std::size_t>(len));
}

char* LineTable::copyText(const char* text, int len) {
  const std::int32_t bytes = PaddedTextBytes(len);
  char* copy = allocate(static_cast<std::size_t>(bytes));
  CopyZeroPadded(copy, static_cast<std::size_t>(bytes), text, static_cast<std::size_t>(len));
  return copy;
}

void LineTable::releaseText(int i) {
  LineRecord& r = (*this)[i];
  r.Text = nullptr;
  r.ReadText = nullptr;
  r.ListText = nullptr;
  r.TextCap = 0;
}

void LineTable::makeSentinel(int i, int otherCount) {
  LineRecord& r = (*this)[i];
  releaseText(i);
  r = LineRecord{};
  r.Anchor = true;
  r.Link = otherCount + 1;
}

}  // namespace kelvarine
