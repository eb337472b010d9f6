#include "report/unified_hunks.h"

namespace kelvarine {

namespace {

std::string rangeText(std::int64_t first, std::int64_t lines) {
  if (lines == 0) return std::to_string(first - 1) + ",0";
  if (lines == 1) return std::to_string(first);
  return std::to_string(first) + "," + std::to_string(lines);
}

}  // namespace

std::string HunkHeaderText(const Hunk& hunk) {
  return "@@ -" + rangeText(hunk.oldFirst, hunk.oldLines) + " +" + rangeText(hunk.newFirst, hunk.newLines) +
         " @@";
}

void HunkBuilder::addContext(const Span& span) {
  ++hunk_.oldLines;
  ++hunk_.newLines;
  if (!hunk_.items.empty() && !hunk_.items.back().change && hunk_.items.back().oldEnd == span.start) {
    hunk_.items.back().oldEnd = span.end;
    ++hunk_.items.back().oldLines;
    return;
  }
  HunkItem item;
  item.oldStart = span.start;
  item.oldEnd = span.end;
  item.oldLines = item.newLines = 1;
  hunk_.items.push_back(item);
}

void HunkBuilder::contextLine(std::int64_t start, std::int64_t end) {
  ++oldLine_;
  ++newLine_;
  recent_.push_back({start, end});
  if (!inHunk_) {
    if (recent_.size() > context_) recent_.pop_front();
  } else if (recent_.size() > 2 * context_) {
    // More context than two hunks share: this one ends, its last lines lead the next.
    close(context_);
  }
}

void HunkBuilder::change(std::int64_t oldStart, std::int64_t oldEnd, std::int64_t oldLines,
                         std::int64_t newStart, std::int64_t newEnd, std::int64_t newLines) {
  if (oldLines == 0 && newLines == 0) return;
  if (inHunk_ && !recent_.empty() && hunk_.items.size() >= maxRuns_) {
    close(recent_.size());
    recent_.clear();
  }
  if (!inHunk_) {
    inHunk_ = true;
    hunk_ = Hunk{};
    const auto leading = static_cast<std::int64_t>(recent_.size());
    hunk_.oldFirst = oldLine_ - leading + 1;
    hunk_.newFirst = newLine_ - leading + 1;
  }
  for (const Span& span : recent_)
    addContext(span);
  recent_.clear();
  oldLine_ += oldLines;
  newLine_ += newLines;
  hunk_.oldLines += oldLines;
  hunk_.newLines += newLines;
  if (!hunk_.items.empty() && hunk_.items.back().change) {
    HunkItem& last = hunk_.items.back();
    if (oldLines > 0) {
      if (last.oldLines == 0) last.oldStart = oldStart;
      last.oldEnd = oldEnd;
      last.oldLines += oldLines;
    }
    if (newLines > 0) {
      if (last.newLines == 0) last.newStart = newStart;
      last.newEnd = newEnd;
      last.newLines += newLines;
    }
    return;
  }
  hunk_.items.push_back({true, oldStart, oldEnd, newStart, newEnd, oldLines, newLines});
}

void HunkBuilder::close(std::size_t trailing) {
  for (std::size_t i = 0; i < trailing && i < recent_.size(); ++i)
    addContext(recent_[i]);
  while (recent_.size() > context_)
    recent_.pop_front();
  inHunk_ = false;
  wrote_ = true;
  write_(hunk_);
  hunk_ = Hunk{};
}

void HunkBuilder::finish() {
  if (inHunk_) close(context_);
  recent_.clear();
}

}  // namespace kelvarine
