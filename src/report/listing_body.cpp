#include "report/listing_body.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "engine/compare_key.h"
#include "engine/dp_filters.h"
#include "engine/text_reader.h"
#include "report/chng_context.h"
#include "report/listing_lines.h"
#include "report/report_lines.h"

namespace kelvarine {

namespace {

// The text of a line once the listing has read it again: a Dp or part-Dp line with its comment
// blanked (ListText); any other line as read.
const char* cutText(const LineRecord& record) {
  return (record.DpLine || record.PartDp) && record.ListText != nullptr ? record.ListText : record.ReadText;
}

ListingText listingText(const char* text, const LineRecord& record) {
  return {text, text == nullptr ? 0 : record.Len};
}

// True when the lines 1..count of the chunk still read as they did when the chunk was loaded: the texts
// kept with them are then what reading them again gives.
bool chunkUnchanged(TextInput& input, const LineTable& table, int count) {
  if (count == 0 || !input.Stream) return false;
  return input.Feed.unchanged(*input.Stream, input.ChunkStart, table[count].EndPos + 2);
}

// Reads line i of the current chunk again into record i's ReadText. A file that has lost lines since
// it was first read gives one blank for each missing line.
void rereadLine(TextInput& input, LineTable& table, int i, bool ieof) {
  const bool read = ReadLine(input, ieof);
  const int len = read ? input.LineLen : 1;
  table[i].ReadText = table.copyText(read ? input.LineBuf.data() : " ", len);
  table[i].Len = len;
}

// Blanks the Dp comment of a line read again, in a copy that becomes its ListText, keeping the line's
// Dp marks as the matcher saw them so that the walks and the matcher agree on which lines are Dp lines.
void cutDpComment(CompareContext& context, TextInput& input, LineTable& table, LineRecord& record) {
  record.Text = table.copyText(record.ReadText, record.Len);
  record.TextCap = PaddedTextBytes(record.Len);
  const bool dpLine = record.DpLine, partDp = record.PartDp;
  ClassifyDpLine(input, record, context.options(), context.blankLine);
  record.DpLine = dpLine;
  record.PartDp = partDp;
  record.ListText = record.Text;
}

// A line's text for the exactness test: its compare columns under Ccol, lower-cased under Icas.
// Returns the length written to `out`.
int exactnessText(ListingText line, const TextInput& input, const CompareOptions& options,
                  std::array<char, TextInput::kMaxLineLen>& out) {
  if (line.text == nullptr) return 0;
  const int len = std::clamp(line.len, 0, TextInput::kMaxLineLen);
  if (len == 0) return 0;
  int written = len;
  if (options.Ccol) {
    written = CompareColumnText(input, line.text, len, out.data());
  } else {
    std::memcpy(out.data(), line.text, static_cast<std::size_t>(len));
  }
  if (options.Icas) {
    for (int i = 0; i < written; ++i) {
      const char c = out[static_cast<std::size_t>(i)];
      if (c >= 'A' && c <= 'Z') out[static_cast<std::size_t>(i)] = static_cast<char>(c - 'A' + 'a');
    }
  }
  return written;
}

// The listing of one chunk: both tables read again with their runs and pair counters, then the
// Long/Chng walk or the Delta/Ovsum walk. The listing steps keep their established names
// (WriteMatchedLine, WriteBlockHeader ...); the class's own helpers are camelCase.
class ListingBody {
 public:
  explicit ListingBody(CompareContext& context)
      : context_(context),
        options_(context.options()),
        pair_(context.pair()),
        newTable_(context.newTable),
        oldTable_(context.oldTable),
        newInput_(context.newInput),
        oldInput_(context.oldInput),
        newCount_(std::clamp(context.newInput.Count, 0, LineTable::kMaxLines)),
        oldCount_(std::clamp(context.oldInput.Count, 0, LineTable::kMaxLines)),
        news_(newTable_.rows(newCount_ + 1)),
        olds_(oldTable_.rows(oldCount_ + 1)) {}

  void run() {
    if (pair_.FilesDiffer || options_.DpActive || options_.Ccol) rereadOld();
    rereadNew();
    markReformatRuns();
    if (options_.ListDelta || options_.ListOvsum) {
      if (context_.app.StopRequested) return;
      walkDelta();
    } else {
      walkLong();
      if (options_.ListChng) KeepChngHeldLines(context_);
    }
    PadReportLists(context_);
  }

 private:
  // ---- Positions --------------------------------------------------------------------------------

  // Record i: from the arrays of the chunk's records and sentinels, else through the table (whose range
  // check throws outside 1..8001).
  LineRecord& newLine(int i) const {
    return static_cast<unsigned>(i - 1) <= static_cast<unsigned>(newCount_) ? news_[i] : newTable_[i];
  }
  LineRecord& oldLine(int i) const {
    return static_cast<unsigned>(i - 1) <= static_cast<unsigned>(oldCount_) ? olds_[i] : oldTable_[i];
  }

  int nextNew(int i) const { return context_.newSteps().next(i); }
  int nextOld(int i) const { return context_.oldSteps().next(i); }
  // Steps `count` non-Dp lines on from i.
  int skipNew(int i, int count) const {
    for (int k = 0; k < count && i <= newCount_; ++k)
      i = nextNew(i + 1);
    return i;
  }
  int skipOld(int i, int count) const {
    for (int k = 0; k < count && i <= oldCount_; ++k)
      i = nextOld(i + 1);
    return i;
  }

  bool inserted(int n) const { return n >= 1 && n <= newCount_ && !newLine(n).Matched && !newLine(n).DpLine; }
  bool deleted(int o) const { return o >= 1 && o <= oldCount_ && !oldLine(o).Matched && !oldLine(o).DpLine; }
  bool matchedNew(int n) const { return n >= 1 && n <= newCount_ && newLine(n).Matched; }
  bool matchedOld(int o) const { return o >= 1 && o <= oldCount_ && oldLine(o).Matched; }
  // The Old partner of matched New line n (the sentinel index when the link is out of range).
  int partner(int n) const { return std::clamp(newLine(n).Link, 1, oldCount_ + 1); }

  // ---- Re-read, runs and counters
  // ----------------------------------------------------------------------------

  // A line as read: the text kept since the chunk was loaded (`stored`), else read again. A Dp or
  // part-Dp line gets its comment blanked in ListText.
  void reread(TextInput& input, LineTable& table, int i, std::int32_t& partDpCount, bool stored) {
    LineRecord& record = table[i];
    record.ListText = nullptr;
    if (!stored) rereadLine(input, table, i, options_.Ieof);
    if (!record.PartDp && !record.DpLine) return;
    if (record.PartDp) ++partDpCount;
    cutDpComment(context_, input, table, record);
  }

  void rereadOld() {
    if (oldCount_ == 0) return;
    const bool stored = chunkUnchanged(oldInput_, oldTable_, oldCount_);
    if (stored) {
      oldInput_.clearDpCarry();
    } else {
      ResetInput(oldInput_, /*continuing=*/false);
    }
    int runStart = 0;
    for (int o = 1; o <= oldCount_; ++o) {
      reread(oldInput_, oldTable_, o, pair_.OldPartDpCount, stored);
      LineRecord& record = oldLine(o);
      if (record.Matched) {
        runStart = 0;
      } else if (record.DpLine) {
        ++pair_.OldDpCount;
      } else {
        if (runStart == 0) {
          runStart = o;
          record.RunLen = 0;
        }
        if (record.Moved) ++pair_.MovedCount;
        ++oldLine(runStart).RunLen;
        ++pair_.DeleteCount;
      }
    }
  }

  // Matched lines are exact when their texts (Dp comments blanked) agree over the shorter length.
  bool exact(const LineRecord& newLine, const LineRecord& oldLine) const {
    if (options_.Rovr || newLine.CcolShort || oldLine.CcolShort) return true;
    const ListingText a = listingText(cutText(newLine), newLine), b = listingText(cutText(oldLine), oldLine);
    if (!options_.Ccol && !options_.Icas) {
      if (a.len == b.len && a.len > 0) return SameBytes(a.text, b.text, static_cast<std::size_t>(a.len));
      return ExactMatch({a.text, static_cast<std::size_t>(std::max(a.len, 0))},
                        {b.text, static_cast<std::size_t>(std::max(b.len, 0))});
    }
    std::array<char, TextInput::kMaxLineLen> ta, tb;
    const int la = exactnessText(a, newInput_, options_, ta);
    const int lb = exactnessText(b, oldInput_, options_, tb);
    return ExactMatch({ta.data(), static_cast<std::size_t>(la)}, {tb.data(), static_cast<std::size_t>(lb)});
  }

  void rereadNew() {
    if (newCount_ == 0) return;
    const bool stored = chunkUnchanged(newInput_, newTable_, newCount_);
    if (stored) {
      newInput_.clearDpCarry();
    } else {
      ResetInput(newInput_, /*continuing=*/false);
    }
    int insertStart = 0, matchStart = 0, lastPartner = 0;
    for (int n = 1; n <= newCount_; ++n) {
      reread(newInput_, newTable_, n, pair_.NewPartDpCount, stored);
      LineRecord& record = newLine(n);
      if (record.Matched) {
        insertStart = 0;
        const int o = partner(n);
        LineRecord& partnerLine = oldLine(o);
        if (!exact(record, partnerLine)) {
          record.Reformat = true;
          partnerLine.Reformat = true;
          matchStart = 0;
          ++pair_.ReformatCount;
          record.RunLen = 1;
        } else {
          if (matchStart == 0 || nextOld(lastPartner + 1) != o) matchStart = n;
          lastPartner = o;
          ++pair_.MatchCount;
          ++newLine(matchStart).RunLen;
        }
      } else if (record.DpLine) {
        ++pair_.NewDpCount;
      } else {
        matchStart = 0;
        if (insertStart == 0) insertStart = n;
        ++newLine(insertStart).RunLen;
        ++pair_.InsertCount;
      }
    }
  }

  // Reformat runs: consecutive reformatted New lines whose partners are consecutive reformatted Old
  // lines (Dp lines skipped on both sides); the run's first New line holds its length.
  void markReformatRuns() {
    int n = nextNew(1), o = nextOld(1), runStart = 0;
    while (n <= newCount_ && o <= oldCount_) {
      if (!newLine(n).Reformat) {
        runStart = 0;
        n = nextNew(n + 1);
      } else if (!oldLine(o).Reformat) {
        runStart = 0;
        o = nextOld(o + 1);
      } else {
        if (runStart == 0) {
          runStart = n;
          newLine(n).RunLen = 1;
        } else {
          ++newLine(runStart).RunLen;
        }
        o = nextOld(std::max(o, partner(n)) + 1);
        n = nextNew(n + 1);
      }
    }
  }

  // ---- Line writers -----------------------------------------------------------------------------

  int newRef(int n) const { return n + newInput_.LineBase; }
  // The text a line is listed with: as read, or with Xdpl as the Dp filter cut it.
  ListingText shown(const LineRecord& record) const {
    return listingText(options_.Xdpl ? cutText(record) : record.ReadText, record);
  }
  int oldRef(int o) const { return o + oldInput_.LineBase; }

  void emit(std::string line) {
    if (options_.ListDelta) {
      AppendListingLine(context_, std::move(line));
    } else {
      HoldChngLine(context_, std::move(line));
    }
  }

  // The matched line n with its partner o; k (its place in the match run) adds nothing to the line.
  void WriteMatchedLine(int n, int o) {
    if (options_.ListDelta) {
      emit(MatchedLine(shown(newLine(n)), options_.Fscl, newRef(n), oldRef(o)));
    } else {
      HoldChngMatchedLine(context_, shown(newLine(n)), newRef(n), oldRef(o));
    }
  }

  void WriteReformatLines(int n, int o) {
    if (!options_.Lorl) {
      emit(ReformatNewLine(shown(newLine(n)), options_.Fscl, newRef(n)));
      return;
    }
    beginFacing();
    faceLater(listed([&] { emit(ReformatNewLine(shown(newLine(n)), options_.Fscl, newRef(n))); },
                     context_.app.reportLines));
    faceNext(listed([&] { emit(ReformatOldLine(shown(oldLine(o)), options_.Fscl, oldRef(o))); }, oldList()));
    endFacing();
  }

  // An inserted line; a deleted line written later in the same facing group faces it unless either moved.
  void WriteInsertedLine(int n, int k) {
    const LineRecord& record = newLine(n);
    if (record.Moved) {
      emit(MovedInsertedLine(shown(record), options_.Fscl, newRef(n), oldRef(record.Link)));
      faceLater(-1);
    } else {
      faceLater(
          listed([&] { emit(InsertedLine(shown(record), options_.Fscl, newRef(n), k == 0, record.RunLen)); },
                 context_.app.reportLines));
    }
  }

  void WriteDeletedLine(int o, int k) {
    const LineRecord& record = oldLine(o);
    if (record.Moved) {
      emit(MovedDeletedLine(shown(record), options_.Fscl, newRef(record.Link), oldRef(o)));
      faceNext(-1);
    } else {
      faceNext(
          listed([&] { emit(DeletedLine(shown(record), options_.Fscl, oldRef(o), k == 0, record.RunLen)); },
                 oldList()));
    }
  }

  // ---- Facing rows ------------------------------------------------------------------------------
  // Paired change lines face each other in order: within a group (an insert run and the delete run after
  // it, or one reformat), the k-th listed deleted line faces the k-th listed inserted line. While a group
  // is open the report line list keeps its lines, so that a sink writing them can read both rows.

  bool facingWanted() const { return context_.app.FacingRowsWanted; }
  LineList& oldList() const { return options_.Sbsl ? context_.app.oldSideLines : context_.app.reportLines; }

  // Runs `write`; the row its line took in `list`, or -1 when it took none (not wanted, or the list is full).
  template <typename Write>
  std::int64_t listed(Write write, const LineList& list) {
    if (!facingWanted()) {
      write();
      return -1;
    }
    const std::size_t before = list.size();
    write();
    if (options_.ReportNoteSet || list.size() == before) return -1;
    return static_cast<std::int64_t>(list.size() - 1);
  }

  void beginFacing() {
    facingNew_.clear();
    facingNext_ = 0;
    if (facingWanted()) context_.app.reportLines.pin(context_.app.reportLines.size());
  }
  void endFacing() {
    facingNew_.clear();
    facingNext_ = 0;
    if (facingWanted()) context_.app.reportLines.unpin();
  }
  // The New line just listed at `newRow` waits for the Old line that will face it.
  void faceLater(std::int64_t newRow) {
    if (facingWanted()) facingNew_.push_back(newRow);
  }
  // The Old line just listed at `oldRow` faces the next New line of the group.
  void faceNext(std::int64_t oldRow) {
    if (facingNext_ >= facingNew_.size()) return;
    const std::int64_t newRow = facingNew_[facingNext_++];
    if (newRow >= 0 && oldRow >= 0) context_.app.facingRows.add(newRow, oldRow);
  }

  void WriteDpLine(int n) { emit(DpListingLine(shown(newLine(n)), options_.Fscl, newRef(n))); }

  // In the Chng listing, passes over the first of the `count` matched lines from n on that the context
  // window would only count as not shown (it holds the six that may show before the next change), when
  // all of them are listed one after the other; returns how many it passed.
  int passMatchedLines(int n, int count) {
    if (options_.DpActive) return 0;
    const int passable = ChngLinesToPass(context_, count);
    if (passable == 0) return 0;
    for (int i = n; i < n + count; ++i)
      if (!matchedNew(i) || newLine(i).Reformat) return 0;
    PassChngLines(context_, passable);
    return passable;
  }

  // Lists the New Dp lines from n on (unless Xdpl) and returns the first line after them.
  int writeDpLines(int n) {
    while (n <= newCount_ && newLine(n).DpLine) {
      if (!options_.Xdpl) WriteDpLine(n);
      ++n;
    }
    return n;
  }

  // ---- Long and Chng walk -----------------------------------------------------------------------

  void walkLong() {
    int n = 1, o = nextOld(1);
    while (n <= newCount_ || o <= oldCount_) {
      const int passN = n, passO = o;
      n = writeDpLines(n);
      beginFacing();
      if (inserted(n) && deleted(o) && newLine(n).RunLen > 0 && newLine(n).RunLen == oldLine(o).RunLen) {
        const int k = newLine(n).RunLen;
        pair_.PairedChanges += k;
        for (int i = 0; i < k; ++i) {
          if (i > 0) n = writeDpLines(n);
          if (!inserted(n) || !deleted(o)) break;
          WriteInsertedLine(n, i);
          ++n;
          WriteDeletedLine(o, i);
          o = nextOld(o + 1);
        }
      }
      if (inserted(n)) {
        const int k = std::max(1, newLine(n).RunLen);
        if (deleted(o)) pair_.PairedChanges += std::min(newLine(n).RunLen, oldLine(o).RunLen);
        for (int i = 0; i < k; ++i) {
          if (i > 0) n = writeDpLines(n);
          if (!inserted(n)) break;
          WriteInsertedLine(n, i);
          ++n;
        }
      }
      if (deleted(o)) {
        const int k = std::max(1, oldLine(o).RunLen);
        for (int i = 0; i < k && deleted(o); ++i) {
          WriteDeletedLine(o, i);
          o = nextOld(o + 1);
        }
      }
      endFacing();
      while (matchedNew(n) && matchedOld(o)) {
        const int k = std::max(1, newLine(n).RunLen);
        if (newLine(n).Reformat) {
          for (int i = 0; i < k && matchedNew(n) && newLine(n).Reformat; ++i) {
            o = partner(n);
            WriteReformatLines(n, o);
            o = nextOld(o + 1);
            ++n;
            n = writeDpLines(n);
          }
        } else {
          for (int i = 0; i < k; ++i) {
            if (i > 0) n = writeDpLines(n);
            if (!matchedNew(n) || newLine(n).Reformat) break;
            if (const int passed = passMatchedLines(n, k - i); passed > 0) {
              n += passed;
              i += passed - 1;
              o = nextOld(partner(n - 1) + 1);
              continue;
            }
            const int p = partner(n);
            WriteMatchedLine(n, p);
            o = nextOld(p + 1);
            ++n;
          }
        }
      }
      // Tables that break the matcher's contract must not stall the walk.
      if (n == passN && o == passO) {
        if (n <= newCount_) {
          ++n;
        } else {
          o = nextOld(o + 1);
        }
      }
    }
  }

  // ---- Delta and Ovsum walk ---------------------------------------------------------------------

  // The Delta block header; with Fscl it shows where the block starts instead of its counts.
  void WriteBlockHeader(const BlockCounts& counts, int insertStart, int deleteStart, int reformatNew,
                        int reformatOld) {
    PadReportLists(context_);
    if (!options_.Fscl) {
      AppendPrintLine(context_, BlockHeaderLine(counts));
      return;
    }
    int left = counts.inserts > 0 ? insertStart : 0;
    int right = counts.deletes > 0 ? deleteStart : 0;
    if (counts.reformats > 0) {
      if (counts.inserts == 0 || reformatNew < insertStart) left = reformatNew;
      if (counts.deletes == 0 || reformatOld < deleteStart) right = reformatOld;
    }
    const int longest = std::max(newInput_.LongestLine, oldInput_.LongestLine);
    AppendPrintLine(
        context_, ReferenceBlockHeaderLine(longest, counts.inserts > 0 || counts.reformats > 0, newRef(left),
                                           counts.deletes > 0 || counts.reformats > 0, oldRef(right)));
  }

  void walkDelta() {
    int n = nextNew(1), o = nextOld(1);
    while (n <= newCount_ || o <= oldCount_) {
      const int passN = n, passO = o;
      BlockCounts counts;
      int reformatNew = 0, reformatOld = 0, insertStart = 0, deleteStart = 0;
      if (matchedNew(n) && matchedOld(o) && !newLine(n).Reformat && newLine(n).RunLen > 0) {
        counts.matches = newLine(n).RunLen;
        n = skipNew(n, counts.matches);
        o = skipOld(o, counts.matches);
      }
      if (matchedNew(n) && matchedOld(o) && newLine(n).Reformat && oldLine(o).Reformat) {
        counts.reformats = std::max(1, newLine(n).RunLen);
        reformatNew = n;
        reformatOld = o;
        n = skipNew(n, counts.reformats);
        o = skipOld(o, counts.reformats);
      }
      if (inserted(n) && newLine(n).RunLen > 0) {
        counts.inserts = newLine(n).RunLen;
        insertStart = n;
        n = skipNew(n, counts.inserts);
      }
      if (deleted(o) && oldLine(o).RunLen > 0) {
        counts.deletes = oldLine(o).RunLen;
        deleteStart = o;
        o = skipOld(o, counts.deletes);
      }
      pair_.PairedChanges += std::min(counts.inserts, counts.deletes);

      if (options_.ListDelta && counts.matches + counts.inserts + counts.deletes + counts.reformats > 0) {
        if (!pair_.AllRead && counts.inserts + counts.deletes + counts.reformats == 0) {
          options_.CarriedMatches += counts.matches;
        } else {
          counts.matches += options_.CarriedMatches;
          options_.CarriedMatches = 0;
          WriteBlockHeader(counts, insertStart, deleteStart, reformatNew, reformatOld);
          writeBlock(counts, insertStart, deleteStart, reformatNew);
        }
      }
      if (n == passN && o == passO) {
        if (n <= newCount_) {
          n = nextNew(n + 1);
        } else {
          o = nextOld(o + 1);
        }
      }
    }
  }

  // The lines of one Delta block: reformats, then inserted/deleted pairs when the two runs are as
  // long, else all inserted lines and then all deleted lines.
  void writeBlock(const BlockCounts& counts, int insertStart, int deleteStart, int reformatNew) {
    int n = reformatNew;
    for (int k = 0; k < counts.reformats && matchedNew(n); ++k) {
      WriteReformatLines(n, partner(n));
      n = nextNew(n + 1);
    }
    n = insertStart;
    int o = deleteStart;
    beginFacing();
    if (counts.inserts == counts.deletes && counts.inserts > 0) {
      for (int k = 0; k < counts.inserts && inserted(n) && deleted(o); ++k) {
        WriteInsertedLine(n, k);
        WriteDeletedLine(o, k);
        n = nextNew(n + 1);
        o = nextOld(o + 1);
      }
    } else {
      for (int k = 0; k < counts.inserts && inserted(n); ++k) {
        WriteInsertedLine(n, k);
        n = nextNew(n + 1);
      }
      for (int k = 0; k < counts.deletes && deleted(o); ++k) {
        WriteDeletedLine(o, k);
        o = nextOld(o + 1);
      }
    }
    endFacing();
  }

  CompareContext& context_;
  CompareOptions& options_;
  PairState& pair_;
  LineTable& newTable_;
  LineTable& oldTable_;
  TextInput& newInput_;
  TextInput& oldInput_;
  const int newCount_;
  const int oldCount_;
  LineRecord* const news_;
  LineRecord* const olds_;
  std::vector<std::int64_t> facingNew_;  // rows of the open group's inserted lines (-1: faces none)
  std::size_t facingNext_ = 0;           // the next of them a deleted line faces
};

}  // namespace

void WriteListingBody(CompareContext& context) {
  ListingBody(context).run();
}

void ListIdenticalFiles(CompareContext& context) {
  const CompareOptions& options = context.options();
  TextInput& input = context.newInput;
  LineTable& newTable = context.newTable;
  LineTable& oldTable = context.oldTable;
  const int count = std::clamp(input.Count, 0, LineTable::kMaxLines);
  const int oldCount = std::clamp(context.oldInput.Count, 0, LineTable::kMaxLines);
  if (count == 0) return;
  const bool stored = chunkUnchanged(input, newTable, count);
  if (stored) {
    input.clearDpCarry();
  } else {
    ResetInput(input, /*continuing=*/false);
  }
  for (int i = 1; i <= count; ++i) {
    if (!stored) rereadLine(input, newTable, i, options.Ieof);
    LineRecord& record = newTable[i];
    const bool hasOld = i <= oldCount;
    if (options.DpActive) {
      record.Text = newTable.copyText(record.ReadText, record.Len);
      record.TextCap = PaddedTextBytes(record.Len);
      ClassifyDpLine(input, record, options, context.blankLine);
      if (hasOld) {
        oldTable[i].DpLine = record.DpLine;
        oldTable[i].PartDp = record.PartDp;
      }
    }
    if (record.DpLine) continue;
    record.Matched = true;
    record.Link = i;
    if (hasOld) {
      oldTable[i].Matched = true;
      oldTable[i].Link = i;
    }
  }
}

void ListAeqfPair(CompareContext& context) {
  const CompareOptions& options = context.options();
  PairState& pair = context.pair();
  AppState& app = context.app;
  TextInput& input = context.newInput;
  if (options.ListLong) {
    ArmPairHeader(context);
    AppendPrintLine(context, " ");
  }

  input.ChunkStart = 0;
  ResetInput(input, /*continuing=*/false);
  std::vector<char> text(TextInput::kMaxLineLen + 4, 0);
  bool firstFound = false;
  std::size_t firstMatched = 0;  // report line of the first counted matched line
  // That line gets its count only at the end: it must stay in the list until then.
  struct Unpin {
    LineList& list;
    ~Unpin() { list.unpin(); }
  } unpin{app.reportLines};
  if (options.ListLong && !options.Fscl) app.reportLines.pin(app.reportLines.size());
  int number = 0;
  while (ReadLine(input, options.Ieof)) {
    ++number;
    ++pair.NewLinesProcessed;
    const int len = std::clamp(input.LineLen, 1, TextInput::kMaxLineLen);
    std::memcpy(text.data(), input.LineBuf.data(), static_cast<std::size_t>(len));
    LineRecord record;
    record.Text = text.data();
    record.TextCap = static_cast<std::int32_t>(text.size());
    record.Len = len;
    if (options.DpActive) {
      // The Cobol comment mark is the reader's own test, made on the line as read.
      if (options.Dcob && len >= 7 && text[6] == '*') record.DpLine = true;
      ClassifyDpLine(input, record, options, context.blankLine);
      if (record.DpLine) {
        ++pair.NewDpCount;
      } else if (record.PartDp) {
        ++pair.NewPartDpCount;
      }
    }
    if (!record.DpLine) ++pair.MatchCount;
    if (!options.ListLong || (record.DpLine && options.Xdpl)) continue;
    const std::size_t before = app.reportLines.size();
    AppendListingLine(context, MatchedLine({record.Text, record.Len}, options.Fscl, number, number));
    if (!firstFound && !record.DpLine && app.reportLines.size() > before) {
      firstFound = true;
      firstMatched = app.reportLines.size() - 1;
    }
  }

  // The run length column: the count of matched lines on the first of them (there is no such
  // column in the Fscl layout).
  if (options.ListLong && !options.Fscl && firstFound && firstMatched < app.reportLines.size()) {
    char count[32];
    std::snprintf(count, sizeof count, "   %-5d", pair.MatchCount);
    app.reportLines[firstMatched] += count;
  }
  pair.OldLinesProcessed = pair.NewLinesProcessed;
  pair.OldDpCount = pair.NewDpCount;
  pair.OldPartDpCount = pair.NewPartDpCount;
}

void FinishDeltaCarry(CompareContext& context) {
  CompareOptions& options = context.options();
  if (options.CarriedMatches == 0) return;
  const BlockCounts counts{options.CarriedMatches, 0, 0, 0};
  options.CarriedMatches = 0;
  if (!context.pair().FilesDiffer) return;
  PadReportLists(context);
  const int longest = std::max(context.newInput.LongestLine, context.oldInput.LongestLine);
  AppendPrintLine(context, options.Fscl ? ReferenceBlockHeaderLine(longest, false, 0, false, 0)
                                        : BlockHeaderLine(counts));
}

}  // namespace kelvarine
