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

char* LineTable::allocate(std::size_t bytes) {
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
    blocks_.push_back(std::make_unique<char[]>(size));
    blockSizes_.push_back(size);
    block_ = blocks_.size() - 1;
    used_ = 0;
  }
}

void LineTable::setText(int i, const char* text, int len) {
  LineRecord& r = (*this)[i];
  std::size_t bytes = static_cast<std::size_t>(len) + 4;
  if (r.Text == nullptr || static_cast<std::size_t>(r.TextCap) < bytes) {
    r.Text = allocate(bytes);
    r.TextCap = static_cast<std::int32_t>(bytes);
  }
  std::memcpy(r.Text, text, static_cast<std::size_t>(len));
  std::memset(r.Text + len, 0, static_cast<std::size_t>(r.TextCap - len));
}

void LineTable::setListText(int i, const char* text, int len) {
  LineRecord& r = (*this)[i];
  std::size_t bytes = static_cast<std::size_t>(len) + 4;
  r.ListText = allocate(bytes);
  std::memcpy(r.ListText, text, static_cast<std::size_t>(len));
  std::memset(r.ListText + len, 0, 4);
}

void LineTable::releaseText(int i) {
  LineRecord& r = (*this)[i];
  r.Text = nullptr;
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

int LineSteps::next(int i) const {
  if (i > count) return count + 1;
  if (i < 1) i = 1;
  if (!dpActive) return i;
  while (i <= count && table[i].DpLine)
    ++i;
  return i;
}

int LineSteps::prev(int i) const {
  if (!dpActive || i < 2) return i;
  if (i > count + 1) i = count + 1;
  while (i > 1 && table[i].DpLine)
    --i;
  return i;
}

}  // namespace kelvarine
