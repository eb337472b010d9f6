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

// Reads up to one block into the input's read buffer; the count becomes the input's FileSize.
std::int64_t readBlock(TextInput& input) {
  if (input.ReadBuf.size() < static_cast<std::size_t>(kBlock)) input.ReadBuf.resize(kBlock);
  std::int64_t n = input.Stream ? input.Stream->read(input.ReadBuf.data(), kBlock) : 0;
  input.FileSize = std::clamp<std::int64_t>(n, 0, kBlock);
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

  if (n.FileSize != o.FileSize) {
    pair.FilesDiffer = true;
    pair.ReturnCode = 1;
    return;
  }
  // Only equal date stamps and sizes make a pair equal without reading it.
  if (pair.AeqfEqual) return;

  std::int64_t offset = 0;
  std::int64_t total = 0;
  const std::int64_t size = n.FileSizeKept;
  const bool showProgress = size > kProgressThreshold || app.PairCount == 1;
  const std::string name = baseName(n.FileName);

  while (n.FileSize == o.FileSize && n.FileSize != 0 && !pair.FilesDiffer && !app.StopRequested) {
    readBlock(n);
    offset += kBlock;
    if (offset % kStatusInterval == 0) {
      char tail[96];
      std::snprintf(tail, sizeof tail, "\" File-Pair(%d) File-Offset(%" PRId64 ")", app.CurrentPairIndex,
                    offset);
      host.setStatusText("Binary Read \"" + name + tail);
      host.toggleActivityImages();
    }
    host.processEvents();
    readBlock(o);
    if (n.FileSize != o.FileSize) {
      pair.FilesDiffer = true;
      pair.ReturnCode = 1;
    } else if (n.FileSize > 0) {
      const auto count = static_cast<std::size_t>(n.FileSize);
      if (std::memcmp(n.ReadBuf.data(), o.ReadBuf.data(), count) != 0) {
        pair.FilesDiffer = true;
        pair.ReturnCode = 1;
      }
      host.processEvents();
      if (showProgress) {
        total += n.FileSize;
        // A file that grows while it is read can take the total past its size.
        const std::int64_t position = size > 0 ? std::clamp<std::int64_t>(total * 100 / size, 0, 100) : 0;
        host.setProgressPosition(static_cast<int>(position));
        host.setPercentText(std::to_string(position) + "%");
        host.setProgressTitle("File Progress");
        host.toggleActivityImages();
      }
    }
  }
}

}  // namespace kelvarine
