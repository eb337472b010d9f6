#include "support/chunk_builder.h"

#include "engine/compare_key.h"

namespace kelvarine {

namespace {

// Stores the lines as the reader and the line preparation leave them; a Dp line makes Dp options active.
void fill(LineTable& table, TextInput& input, const std::vector<std::string>& lines, int otherCount,
          CompareOptions& options) {
  table.clear();
  int i = 0;
  for (const std::string& text : lines) {
    ++i;
    std::string stored = text.empty() ? std::string(" ") : text;
    table.setText(i, stored.data(), static_cast<int>(stored.size()));
    LineRecord& r = table[i];
    r.Len = static_cast<int>(stored.size());
    r.EndPos = i;
    r.DpLine = stored.starts_with("#dp");
    options.DpActive = options.DpActive || r.DpLine;
    if (!r.DpLine) PrepareCompareKey(r, options.Icas, false);
  }
  input.Count = i;
  table.makeSentinel(i + 1, otherCount);
}

}  // namespace

CompareContext& ChunkBuilder::build(const std::vector<std::string>& newLines,
                                    const std::vector<std::string>& oldLines, bool lastChunk) {
  context_ = std::make_unique<CompareContext>(app, host, files, report);
  CompareContext& c = *context_;
  int n = static_cast<int>(newLines.size()), m = static_cast<int>(oldLines.size());
  fill(c.newTable, c.newInput, newLines, m, app.options);
  fill(c.oldTable, c.oldInput, oldLines, n, app.options);
  app.pair.NewLines = n;
  app.pair.OldLines = m;
  app.pair.AllRead = lastChunk;
  app.pair.FilesDiffer = true;
  return c;
}

}  // namespace kelvarine
