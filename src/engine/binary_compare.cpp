#include "engine/binary_compare.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <string>

namespace kelvarine {

namespace {

constexpr std::int64_t kBlock = 16384;            // eight times the 2048-byte line length
constexpr std::int64_t kStatusInterval = 131072;  // status text every 8 blocks
constexpr std::int64_t kProgressThreshold = 400000;

// Reads one block, or what is left of the file, into the input's read buffer; the count becomes the
// input's FileSize.
std::int64_t readBlock(TextInput& input) {
  if (input.ReadBuf.size() < static_cast<std::size_t>(kBlock)) input.ReadBuf.resize(kBlock);
  std::int64_t got = 0;
  while (input.Stream && got < kBlock) {
    const std::int64_t n = input.Stream->read(input.ReadBuf.data() + got, kBlock - got);
    if (n <= 0) break;
    got += n;
  }
  input.FileSize = std::clamp<std::int64_t>(got, 0, kBlock);
  return input.FileSize;
}

}  // namespace

void CompareBinaryPair(CompareContext& context) {
  PairState& pair = context.pair();
  TextInput& n = context.newInput;
  TextInput& o = context.oldInput;
  Host& host = context.host;
  AppState& app = context.app;

  if (!pair.Binary) return;
  pair.NewBinBytes = n.FileSize;
  pair.OldBinBytes = o.FileSize;
  pair.AllRead = true;

  // Only equal date stamps and sizes make a pair equal without reading it.
  if (pair.AeqfEqual || (n.FileSize == 0 && o.FileSize == 0)) return;

  // Files of different sizes differ, but are still read up to their first difference, to say where.
  std::int64_t offset = 0;
  std::int64_t total = 0;
  std::int64_t equalBytes = 0, newlines = 0;
  const std::int64_t size = n.FileSizeKept;
  const bool showProgress = size > kProgressThreshold || app.PairCount == 1;
  const std::string name = baseName(n.FileName);

  while (!app.StopRequested) {
    const std::int64_t newCount = readBlock(n);
    offset += kBlock;
    if (offset % kStatusInterval == 0) {
      char tail[96];
      std::snprintf(tail, sizeof tail, "\" File-Pair(%d) File-Offset(%" PRId64 ")", app.CurrentPairIndex,
                    offset);
      host.setStatusText("Binary Read \"" + name + tail);
      host.toggleActivityImages();
    }
    host.processEvents();
    const std::int64_t oldCount = readBlock(o);
    const std::int64_t common = std::min(newCount, oldCount);
    const char* a = n.ReadBuf.data();
    const auto at = std::mismatch(a, a + common, o.ReadBuf.data()).first - a;
    newlines += std::count(a, a + at, '\n');
    equalBytes += at;
    if (at < common || newCount != oldCount) {
      pair.FilesDiffer = true;
      pair.ReturnCode = 1;
      pair.FirstDiffByte = equalBytes + 1;
      pair.FirstDiffLine = newlines + 1;
      if (at == common)
        pair.ShorterEnded = newCount < oldCount ? PairState::Ended::New : PairState::Ended::Old;
      return;
    }
    if (newCount == 0) return;
    host.processEvents();
    if (showProgress) {
      total += newCount;
      // A file that grows while it is read can take the total past its size.
      const std::int64_t position = size > 0 ? std::clamp<std::int64_t>(total * 100 / size, 0, 100) : 0;
      host.setProgressPosition(static_cast<int>(position));
      host.setPercentText(std::to_string(position) + "%");
      host.setProgressTitle("File Progress");
      host.toggleActivityImages();
    }
  }
}

}  // namespace kelvarine
