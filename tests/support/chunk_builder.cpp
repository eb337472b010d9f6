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

std::string CheckMatcherInvariants(const CompareContext& c) {
  const int newCount = c.newInput.Count, oldCount = c.oldInput.Count;
  int lastPartner = 0, matchedNew = 0, matchedOld = 0;
  for (int n = 1; n <= newCount; ++n) {
    const LineRecord& line = c.newTable[n];
    const std::string at = "New line " + std::to_string(n) + ": ";
    if (line.DpLine && (line.Matched || line.Moved)) return at + "a Dp line is paired";
    if (line.Matched && line.Moved) return at + "both matched and moved";
    if (!line.Matched && !line.Moved) continue;
    if (line.Link < 1 || line.Link > oldCount) return at + "partner outside the Old table";
    const LineRecord& partner = c.oldTable[line.Link];
    if (partner.Link != n) return at + "link is not symmetric";
    if (!SameCompareText(line, partner)) return at + "partner has another compare text";
    if (line.Matched) {
      ++matchedNew;
      if (!partner.Matched) return at + "partner not matched";
      if (line.Link <= lastPartner) return at + "matched pairs out of order";
      lastPartner = line.Link;
    } else if (!partner.Moved) {
      return at + "partner not moved";
    }
  }
  for (int o = 1; o <= oldCount; ++o) {
    const LineRecord& line = c.oldTable[o];
    if (line.DpLine && (line.Matched || line.Moved))
      return "Old line " + std::to_string(o) + ": a Dp line is paired";
    if (line.Matched) ++matchedOld;
    if ((line.Matched || line.Moved) && (line.Link < 1 || line.Link > newCount))
      return "Old line " + std::to_string(o) + ": partner outside the New table";
    if (line.Moved && !c.newTable[line.Link].Moved) return "Old line " + std::to_string(o) + ": moved alone";
  }
  if (matchedNew != matchedOld) return "matched counts differ";
  return "";
}

}  // namespace kelvarine
