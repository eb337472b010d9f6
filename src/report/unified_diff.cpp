#include "report/unified_diff.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string_view>

#include "engine/ascii_case.h"
#include "engine/compare_context.h"
#include "engine/text_reader.h"
#include "report/listing_lines.h"

namespace kelvarine {

namespace {

constexpr std::int64_t kCopyBlock = 65536;

// A chunk's bytes of one file and where each of its records lies in them.
struct ChunkBytes {
  std::vector<char> bytes;
  std::int64_t start = 0;  // file position of bytes[0]

  // Record i's raw bytes, line end included.
  std::string_view record(const LineTable& table, int i) const {
    const std::int64_t from = i == 1 ? start : table[i - 1].EndPos;
    const std::int64_t to = table[i].EndPos;
    const auto size = static_cast<std::int64_t>(bytes.size());
    const std::int64_t a = std::clamp<std::int64_t>(from - start, 0, size);
    const std::int64_t b = std::clamp<std::int64_t>(to - start, a, size);
    return {bytes.data() + a, static_cast<std::size_t>(b - a)};
  }
};

void readRange(InputFile* file, std::int64_t from, std::int64_t to, std::vector<char>& out) {
  out.resize(static_cast<std::size_t>(std::max<std::int64_t>(to - from, 0)));
  std::size_t got = 0;
  if (file != nullptr && !out.empty()) {
    file->seek(from);
    while (got < out.size()) {
      const std::int64_t n = file->read(out.data() + got, static_cast<std::int64_t>(out.size() - got));
      if (n <= 0) break;
      got += static_cast<std::size_t>(n);
    }
  }
  out.resize(got);
}

// The line as the engine holds it: line end cut off, TAB as one blank, an empty line one blank.
int engineText(std::string_view raw, std::array<char, TextInput::kMaxLineLen>& out) {
  std::size_t len = raw.size();
  if (len > 0 && raw[len - 1] == '\n') --len;
  if (len > 0 && raw[len - 1] == '\r') --len;
  len = std::min<std::size_t>(len, out.size());
  for (std::size_t i = 0; i < len; ++i)
    out[i] = raw[i] == '\t' ? ' ' : raw[i];
  if (len == 0) {
    out[0] = ' ';
    len = 1;
  }
  return static_cast<int>(len);
}

// The text the engine's exactness test sees: compare columns under Ccol, lower case under Icas.
int exactText(std::string_view raw, const TextInput& input, const CompareOptions& options,
              std::array<char, TextInput::kMaxLineLen>& out) {
  std::array<char, TextInput::kMaxLineLen> line;
  const int len = engineText(raw, line);
  int written = len;
  if (options.Ccol) {
    written = CompareColumnText(input, line.data(), len, out.data());
  } else {
    std::memcpy(out.data(), line.data(), static_cast<std::size_t>(len));
  }
  if (options.Icas) {
    for (int i = 0; i < written; ++i)
      out[static_cast<std::size_t>(i)] = FoldAscii(out[static_cast<std::size_t>(i)]);
  }
  return written;
}

std::string directoryOf(const std::string& path, std::string& name) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) {
    name = path;
    return ".";
  }
  name = path.substr(slash + 1);
  return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

UnifiedDiffOptions UnifiedDiffCommandOptions(int context, bool recursive, bool newFile, bool allLikeNamed) {
  UnifiedDiffOptions options;
  options.context = context;
  options.pairCommand = context == 3
                            ? std::string("diff -") + (recursive ? "r" : "") + "u" + (newFile ? "N" : "")
                            : std::string("diff ") + (recursive ? "-r " : "") + (newFile ? "-N " : "") +
                                  "--unified=" + std::to_string(context);
  options.listUnpaired = allLikeNamed;
  return options;
}

std::string DiffTimestamp(FileStamp stamp) {
  constexpr std::int64_t kNano = 1'000'000'000;
  std::int64_t seconds = stamp / kNano, nanos = stamp % kNano;
  if (nanos < 0) {
    nanos += kNano;
    --seconds;
  }
  const auto when = static_cast<std::time_t>(seconds);
  const std::tm* local = std::localtime(&when);
  if (local == nullptr) return std::to_string(seconds);
  char date[64], zone[16], fraction[16];
  std::strftime(date, sizeof date, "%Y-%m-%d %H:%M:%S", local);
  std::strftime(zone, sizeof zone, "%z", local);
  std::snprintf(fraction, sizeof fraction, ".%09lld ", static_cast<long long>(nanos));
  return std::string(date) + fraction + zone;
}

// One text pair on its way through: its own handles on both files (the engine's are positioned for
// its own reading), the lines being put together from records, and the hunks.
struct UnifiedDiff::PairDiff {
  // One side's walk: the end of the last record taken, whether a line is still open, and the lines
  // of the current segment (records taken since both sides were last at a line end).
  struct Side {
    std::unique_ptr<InputFile> file;
    std::string label;
    FileStamp stamp = 0;
    std::int64_t pos = 0;
    bool open = false;
    std::int64_t segStart = 0, segLines = 0;
    ChunkBytes chunk;
  };

  PairDiff(DiffOutput& output, int context)
      : out(output), hunks(context, [this](const Hunk& h) { write(h); }) {}

  DiffOutput& out;
  HunkBuilder hunks;
  Side oldSide, newSide;
  std::string pairLine;  // "diff -u OLD NEW" in a directory compare, else empty
  bool headerWritten = false;
  bool clean = true;  // the segment so far is context pairs only
  bool filtered = false;
  std::string text;  // the line being written

  void take(Side& side, std::string_view raw) {
    side.pos += static_cast<std::int64_t>(raw.size());
    side.open = raw.empty() || raw.back() != '\n';
    if (!side.open) ++side.segLines;
  }

  // Both sides at a line end: the segment is one context line, or a change.
  void flush(bool force) {
    if (force) {
      for (Side* side : {&oldSide, &newSide}) {
        if (side->open) ++side->segLines;
        side->open = false;
      }
    }
    if (oldSide.open || newSide.open) return;
    if (clean && oldSide.segLines == 1 && newSide.segLines == 1) {
      hunks.contextLine(oldSide.segStart, oldSide.pos);
    } else {
      hunks.change(oldSide.segStart, oldSide.pos, oldSide.segLines, newSide.segStart, newSide.pos,
                   newSide.segLines);
    }
    oldSide.segStart = oldSide.pos;
    newSide.segStart = newSide.pos;
    oldSide.segLines = newSide.segLines = 0;
    clean = true;
  }

  void pairOf(std::string_view newRaw, std::string_view oldRaw, bool context) {
    clean = clean && context;
    take(oldSide, oldRaw);
    take(newSide, newRaw);
    flush(false);
  }
  void deleted(std::string_view oldRaw) {
    clean = false;
    take(oldSide, oldRaw);
    flush(false);
  }
  void inserted(std::string_view newRaw) {
    clean = false;
    take(newSide, newRaw);
    flush(false);
  }

  void chunk(CompareContext& context);
  bool isContext(CompareContext& context, int n, int o, std::string_view newRaw,
                 std::string_view oldRaw) const;
  void gap(CompareContext& context, int n1, int n2, int o1, int o2);

  void writeHeader() {
    if (headerWritten) return;
    headerWritten = true;
    if (!pairLine.empty()) out.line(DiffLineKind::PairHeader, pairLine);
    out.line(DiffLineKind::OldFileHeader, "--- " + oldSide.label + "\t" + DiffTimestamp(oldSide.stamp));
    out.line(DiffLineKind::NewFileHeader, "+++ " + newSide.label + "\t" + DiffTimestamp(newSide.stamp));
  }

  void write(const Hunk& hunk) {
    writeHeader();
    out.line(DiffLineKind::HunkHeader, HunkHeaderText(hunk));
    for (const HunkItem& item : hunk.items) {
      if (!item.change) {
        copy(oldSide, item.oldStart, item.oldEnd, ' ', DiffLineKind::Context);
        continue;
      }
      copy(oldSide, item.oldStart, item.oldEnd, '-', DiffLineKind::Deletion);
      copy(newSide, item.newStart, item.newEnd, '+', DiffLineKind::Insertion);
    }
  }

  // Writes the lines of [from, to) of a side's file, each behind `prefix`.
  void copy(Side& side, std::int64_t from, std::int64_t to, char prefix, DiffLineKind kind) {
    if (from >= to || !side.file) return;
    std::vector<char> block(static_cast<std::size_t>(std::min(kCopyBlock, to - from)));
    side.file->seek(from);
    text.assign(1, prefix);
    for (std::int64_t pos = from; pos < to;) {
      const std::int64_t got = side.file->read(
          block.data(), std::min<std::int64_t>(to - pos, static_cast<std::int64_t>(block.size())));
      if (got <= 0) break;
      pos += got;
      const char* p = block.data();
      const char* end = p + got;
      while (p < end) {
        const char* lf = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
        if (lf == nullptr) {
          text.append(p, end);
          break;
        }
        text.append(p, lf);
        out.line(kind, text);
        text.assign(1, prefix);
        p = lf + 1;
      }
    }
    if (text.size() > 1) {
      out.line(kind, text);
      out.line(DiffLineKind::NoNewline, "\\ No newline at end of file");
    }
  }
};

bool UnifiedDiff::PairDiff::isContext(CompareContext& context, int n, int o, std::string_view newRaw,
                                      std::string_view oldRaw) const {
  if (newRaw == oldRaw) return true;
  if (!filtered) return false;
  const CompareOptions& options = context.options();
  const LineRecord& newLine = context.newTable[n];
  const LineRecord& oldLine = context.oldTable[o];
  // A Dp comment part was left out of the compare: the pairing is trusted.
  if (newLine.PartDp || oldLine.PartDp) return true;
  if (options.Rovr || newLine.CcolShort || oldLine.CcolShort) return true;
  std::array<char, TextInput::kMaxLineLen> a, b;
  const int la = exactText(newRaw, context.newInput, options, a);
  const int lb = exactText(oldRaw, context.oldInput, options, b);
  return ExactMatch({a.data(), static_cast<std::size_t>(la)}, {b.data(), static_cast<std::size_t>(lb)});
}

// New records [n1, n2) and Old records [o1, o2) between two pairs: deleted and inserted, except Dp
// lines at either end of the gap that are the same on both sides.
void UnifiedDiff::PairDiff::gap(CompareContext& context, int n1, int n2, int o1, int o2) {
  const LineTable& nt = context.newTable;
  const LineTable& ot = context.oldTable;
  const auto same = [&](int n, int o) {
    return nt[n].DpLine && ot[o].DpLine && newSide.chunk.record(nt, n) == oldSide.chunk.record(ot, o);
  };
  for (; n1 < n2 && o1 < o2 && same(n1, o1); ++n1, ++o1)
    pairOf(newSide.chunk.record(nt, n1), oldSide.chunk.record(ot, o1), true);
  int tailN = n2, tailO = o2;
  while (tailN > n1 && tailO > o1 && same(tailN - 1, tailO - 1)) {
    --tailN;
    --tailO;
  }
  for (int o = o1; o < tailO; ++o)
    deleted(oldSide.chunk.record(ot, o));
  for (int n = n1; n < tailN; ++n)
    inserted(newSide.chunk.record(nt, n));
  for (; tailN < n2; ++tailN, ++tailO)
    pairOf(newSide.chunk.record(nt, tailN), oldSide.chunk.record(ot, tailO), true);
}

void UnifiedDiff::PairDiff::chunk(CompareContext& context) {
  const LineTable& nt = context.newTable;
  const LineTable& ot = context.oldTable;
  const int newCount = std::clamp(context.newInput.Count, 0, LineTable::kMaxLines);
  const int oldCount = std::clamp(context.oldInput.Count, 0, LineTable::kMaxLines);
  const auto load = [](Side& side, const TextInput& input, const LineTable& table, int count) {
    side.chunk.start = input.ChunkStart;
    readRange(side.file.get(), input.ChunkStart, count > 0 ? table[count].EndPos : input.ChunkStart,
              side.chunk.bytes);
  };
  load(newSide, context.newInput, nt, newCount);
  load(oldSide, context.oldInput, ot, oldCount);

  if (!context.pair().FilesDiffer) {
    // Read alike line by line: line i pairs with line i.
    for (int i = 1; i <= std::min(newCount, oldCount); ++i) {
      const std::string_view newRaw = newSide.chunk.record(nt, i), oldRaw = oldSide.chunk.record(ot, i);
      pairOf(newRaw, oldRaw, isContext(context, i, i, newRaw, oldRaw));
    }
    return;
  }
  // The engine's pairs in order; a pair out of order or moved is a deletion and an insertion.
  int gapN = 1, o = 1;
  for (int n = 1; n <= newCount; ++n) {
    const LineRecord& record = nt[n];
    if (!record.Matched || record.Moved || record.DpLine) continue;
    const int p = record.Link;
    if (p < o || p > oldCount || !ot[p].Matched || ot[p].Moved) continue;
    gap(context, gapN, n, o, p);
    const std::string_view newRaw = newSide.chunk.record(nt, n), oldRaw = oldSide.chunk.record(ot, p);
    pairOf(newRaw, oldRaw, isContext(context, n, p, newRaw, oldRaw));
    gapN = n + 1;
    o = p + 1;
  }
  gap(context, gapN, newCount + 1, o, oldCount + 1);
}

UnifiedDiff::UnifiedDiff(const AppState& app, DiffOutput& out, UnifiedDiffOptions options)
    : app_(app), out_(out), options_(std::move(options)) {}

UnifiedDiff::~UnifiedDiff() = default;

void UnifiedDiff::writeOnlyIn(const std::string* before) {
  if (!onlyInListed_) {
    onlyInListed_ = true;
    if (options_.listUnpaired) {
      const auto add = [&](const std::vector<std::string>& names, const std::vector<std::string>& paired,
                           bool isNew) {
        std::vector<std::string> sorted(paired);
        std::sort(sorted.begin(), sorted.end());
        for (const std::string& name : names)
          if (!std::binary_search(sorted.begin(), sorted.end(), name)) onlyIn_.push_back({name, isNew});
      };
      add(app_.NewDirNames, app_.NewFileList, true);
      add(app_.OldDirNames, app_.OldFileList, false);
      std::stable_sort(onlyIn_.begin(), onlyIn_.end(),
                       [](const OnlyIn& a, const OnlyIn& b) { return PathOrderLess(a.name, b.name); });
    }
  }
  for (; onlyInWritten_ < onlyIn_.size(); ++onlyInWritten_) {
    const OnlyIn& entry = onlyIn_[onlyInWritten_];
    if (before != nullptr && !PathOrderLess(entry.name, *before)) break;
    differences_ = true;
    if (options_.absentAsEmpty != nullptr && writeAgainstEmpty(entry)) continue;
    std::string name;
    const std::string directory =
        directoryOf(joinPath(entry.isNew ? app_.NewDirName : app_.OldDirName, entry.name), name);
    out_.line(DiffLineKind::Message, "Only in " + directory + ": " + name);
  }
}

// As diff -N: the whole file inserted into (or deleted from) an empty file named /dev/null, nothing for
// an empty file, the binary-files line for a file the first-line test finds binary. False, writing
// nothing, when the file cannot be opened.
bool UnifiedDiff::writeAgainstEmpty(const OnlyIn& entry) {
  const std::string newPath = joinPath(app_.NewDirName, entry.name);
  const std::string oldPath = joinPath(app_.OldDirName, entry.name);
  const std::string& path = entry.isNew ? newPath : oldPath;
  TextInput input;
  input.FileName = path;
  input.Stream = options_.absentAsEmpty->openForReading(path);
  if (!input.Stream) return false;
  if (input.Stream->size() == 0) return true;
  const std::string oldLabel = entry.isNew ? "/dev/null" : oldPath;
  const std::string newLabel = entry.isNew ? newPath : "/dev/null";
  out_.line(DiffLineKind::PairHeader, options_.pairCommand + " " + oldPath + " " + newPath);
  CompareOptions probe;
  probe.Abin = app_.choices.isChecked(Pref::Abin);
  probe.Txal = app_.choices.isChecked(Pref::Txal);
  if (!IsTextFile(input, probe)) {
    out_.line(DiffLineKind::Message, "Binary files " + oldLabel + " and " + newLabel + " differ");
    return true;
  }
  const std::string stamp = "\t" + DiffTimestamp(input.Stream->stamp());
  out_.line(DiffLineKind::OldFileHeader, "--- " + oldLabel + (entry.isNew ? "" : stamp));
  out_.line(DiffLineKind::NewFileHeader, "+++ " + newLabel + (entry.isNew ? stamp : ""));
  // The lines are counted first, for the hunk header, then written.
  std::vector<char> block(static_cast<std::size_t>(kCopyBlock));
  std::int64_t lines = 0;
  char last = '\n';
  for (std::int64_t n; (n = input.Stream->read(block.data(), kCopyBlock)) > 0; last = block[n - 1])
    lines += std::count(block.data(), block.data() + n, '\n');
  if (last != '\n') ++lines;
  const std::string range = lines == 1 ? "1" : "1," + std::to_string(lines);
  out_.line(DiffLineKind::HunkHeader,
            entry.isNew ? "@@ -0,0 +" + range + " @@" : "@@ -" + range + " +0,0 @@");
  const char prefix = entry.isNew ? '+' : '-';
  const DiffLineKind kind = entry.isNew ? DiffLineKind::Insertion : DiffLineKind::Deletion;
  input.Stream->seek(0);
  std::string text(1, prefix);
  for (std::int64_t n; (n = input.Stream->read(block.data(), kCopyBlock)) > 0;) {
    for (const char* p = block.data(); p < block.data() + n; ++p) {
      if (*p != '\n') {
        text += *p;
        continue;
      }
      out_.line(kind, text);
      text.assign(1, prefix);
    }
  }
  if (text.size() > 1) {
    out_.line(kind, text);
    out_.line(DiffLineKind::NoNewline, "\\ No newline at end of file");
  }
  return true;
}

void UnifiedDiff::finishSet() {
  writeOnlyIn(nullptr);
}

void UnifiedDiff::startPair(CompareContext& context) {
  pairIndex_ = app_.CurrentPairIndex;
  const auto index = static_cast<std::size_t>(pairIndex_);
  if (index < app_.NewFileList.size()) writeOnlyIn(&app_.NewFileList[index]);
  pair_ = std::make_unique<PairDiff>(out_, options_.context);
  const CompareOptions& options = context.options();
  pair_->filtered = options.DpActive || options.Icas || options.Ccol || options.Rovr || options.Xtab;
  pair_->oldSide.label = context.oldInput.FileName;
  pair_->newSide.label = context.newInput.FileName;
  pair_->oldSide.stamp = context.oldInput.FileDate;
  pair_->newSide.stamp = context.newInput.FileDate;
  if (app_.RunAllLikeNamed || app_.RunFromLikeNameList || app_.RunFromTwoLists)
    pair_->pairLine = options_.pairCommand + " " + pair_->oldSide.label + " " + pair_->newSide.label;
}

void UnifiedDiff::GenerateReport(CompareContext& context) {
  const PairState& pair = context.pair();
  if (pair_ == nullptr || app_.CurrentPairIndex != pairIndex_) startPair(context);
  PairDiff& diff = *pair_;
  if (pair.Binary) {
    if (pair.FilesDiffer && pair.ReturnCode == 1) {
      out_.line(DiffLineKind::Message,
                "Binary files " + diff.oldSide.label + " and " + diff.newSide.label + " differ");
      differences_ = true;
    }
  } else if (!pair.AeqfEqual && !context.app.StopRequested) {
    if (!diff.oldSide.file) diff.oldSide.file = context.files.openForReading(context.oldInput.FileName);
    if (!diff.newSide.file) diff.newSide.file = context.files.openForReading(context.newInput.FileName);
    diff.chunk(context);
    if (pair.AllRead) {
      diff.flush(true);
      diff.hunks.finish();
      differences_ = differences_ || diff.hunks.wroteHunk();
      // The lines end at an end-of-file character; what follows it differs and no hunk can show it.
      if (pair.EofCharTailsDiffer) {
        out_.line(DiffLineKind::Message,
                  "Files " + diff.oldSide.label + " and " + diff.newSide.label +
                      " differ after the end-of-file character (26) ending their text");
        differences_ = true;
      }
    }
  }
  if (pair.AllRead) {
    diff.oldSide.file.reset();
    diff.newSide.file.reset();
    diff.oldSide.chunk.bytes = {};
    diff.newSide.chunk.bytes = {};
  }
}

}  // namespace kelvarine
