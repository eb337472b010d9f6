#include "engine/line_feed.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <random>
#include <string>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

#include "engine/compare_choices.h"
#include "engine/run_status.h"
#include "support/memory_set.h"

namespace kelvarine {
namespace {

// What the chunk loop hands each stage: the lines of every chunk with their texts and keys as the
// matcher saw them, the pairs it made, the events the host saw and the pair's flags at the end.
struct Seen {
  std::vector<std::string> chunks;
  int cutChunks = 0;  // chunks the matcher cut short
  std::vector<std::string> events;
  std::string status;
  bool operator==(const Seen&) const = default;
};

std::string describe(const LineRecord& r) {
  std::string out(r.ReadText == nullptr ? "" : std::string(r.ReadText, static_cast<std::size_t>(r.Len)));
  out += "|" + std::to_string(r.EndPos) + "|" + std::to_string(r.Hash) + "|" + std::to_string(r.CmpLen) +
         "|" + std::to_string(r.TwinKey) + "|" + std::to_string(r.Matched) + "|" + std::to_string(r.Link) +
         "|" + std::to_string(r.DpLine) + std::to_string(r.PartDp) + std::to_string(r.CcolShort);
  return out;
}

// The memory file system, counting the files that helper threads open.
class HelperCountingFileSystem : public MemoryFileSystem {
 public:
  std::unique_ptr<InputFile> openForReading(const std::string& path) override {
    if (std::this_thread::get_id() != runThread) ++helperOpens;
    return MemoryFileSystem::openForReading(path);
  }
  std::atomic<int> helperOpens = 0;
  std::thread::id runThread = std::this_thread::get_id();
};

// How the pair's lines are made: on the caller's thread, by a helper reading ahead as the chunks go,
// or whole by the set's helpers before the pair's turn (a small pair goes first).
enum class Reading { Caller, HelperAhead, PreparedBySet };

Seen runPair(const std::string& newText, const std::string& oldText, const std::string& options,
             Reading reading) {
  MemorySet<RecordingReport, HelperCountingFileSystem> set;
  set.app.ReadAheadMinSize = reading == Reading::Caller ? -1 : reading == Reading::HelperAhead ? 0 : 1 << 30;
  set.app.Jobs = 2;
  ApplyOptionsString(set.app.choices, options);
  set.app.choices.ccolNew1 = "2:30";
  set.app.choices.ccolOld1 = "3:40";
  set.addPair("0.txt", "x\n", "y\n");
  set.addPair("a.txt", newText, oldText)->readStep = 1000;  // many short reads
  Seen seen;
  set.report.onCall = [&](CompareContext& c) {
    // The set's helper has begun the pair (the run then waits for its lines) before the run reaches it.
    for (int i = 0; i < 2000 && reading == Reading::PreparedBySet && set.fs.helperOpens < 2; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    std::string chunk;
    for (int i = 1; i <= c.newInput.Count; ++i)
      chunk += "N" + describe(c.newTable[i]) + "\n";
    if (!c.pair().AllRead && c.newInput.Count < LineTable::kMaxLines) ++seen.cutChunks;
    for (int i = 1; i <= c.oldInput.Count; ++i)
      chunk += "O" + describe(c.oldTable[i]) + "\n";
    seen.chunks.push_back(chunk);
  };
  seen.status = set.run();
  seen.events = set.host.events;
  const PairState& p = set.app.pair;
  seen.events.push_back(std::to_string(p.NewCcolShortLines) + " " + std::to_string(p.OldCcolShortLines) +
                        " " + std::to_string(set.app.options.LongestNewLine));
  return seen;
}

// Lines drawn from a few texts, with TABs, blanks, empty lines, a mixture of line ends, comments for
// the Dp filters and the odd long line; the New file changes every 50th line or so, and now and then
// has lines inserted (the matcher cuts chunks of such files short).
std::pair<std::string, std::string> randomPair(std::mt19937& rng, int lines) {
  static const std::vector<std::string> pool = {"  x = y;", "}", "", "\tcall(a, b);", "/* a */ b", "Q // r"};
  static const std::vector<std::string> ends = {"\n", "\n", "\n", "\r\n", "\r"};
  std::string newText, oldText;
  for (int i = 0; i < lines; ++i) {
    const std::string line = rng() % 500 == 0 ? std::string(2100, 'w') : pool[rng() % pool.size()];
    const std::string& end = ends[rng() % ends.size()];
    oldText += line + end;
    newText += (rng() % 50 == 0 ? "changed " + std::to_string(i) : line) + end;
    if (rng() % 2000 == 0)
      for (int k = 0; k < 20; ++k)
        newText += "inserted " + std::to_string(k) + "\n";
  }
  return {newText, oldText};
}

// A helper thread that reads ahead, or the set's helpers that split and key a pair's lines before its
// turn, hand the chunk loop exactly what reading on the caller's thread does: the same chunks, records, keys
// and pairs, and the host sees the same events in the same order.
TEST(LineFeedTest, ReadingAheadOnAHelperThreadChangesNothing) {
  std::mt19937 rng(22);
  for (const char* options : {"None", "Icas Fmvl", "Dcpp", "Ccol", "Dcob Ieof"}) {
    const auto [newText, oldText] = randomPair(rng, 20000);
    SCOPED_TRACE(options);
    const Seen inline_ = runPair(newText, oldText, options, Reading::Caller);
    EXPECT_GT(inline_.cutChunks, 0);  // the lines behind a cut start the next chunk
    EXPECT_EQ(runPair(newText, oldText, options, Reading::HelperAhead), inline_);
    EXPECT_EQ(runPair(newText, oldText, options, Reading::PreparedBySet), inline_);
  }
}

// A file that cannot be read ends the run as a fault, whichever thread reads it.
TEST(LineFeedTest, AReadFailureOfTheHelperEndsTheRunAsOnTheCallersThread) {
  for (const std::int64_t readAheadFrom : {std::int64_t{-1}, std::int64_t{0}}) {
    MemorySet<> set;
    set.app.ReadAheadMinSize = readAheadFrom;
    set.app.Jobs = 2;
    set.addPair("a.txt", "a\nb\n", "a\nc\n");
    set.fs.find("old/a.txt")->failReads = true;  // only the New file is probed for text before
    EXPECT_EQ(set.run(), kRunFault);
  }
}

// A halt while a chunk loads ends the pair at once; the helper stops with it.
TEST(LineFeedTest, AHaltWhileReadingAheadEndsThePair) {
  MemorySet<> set;
  set.app.ReadAheadMinSize = 0;
  set.app.Jobs = 2;
  std::string text;
  for (int i = 0; i < 30000; ++i)
    text += "line " + std::to_string(i) + "\n";
  set.addPair("a.txt", text, text + "more\n");
  set.host.onProcessEvents = [&] {
    if (set.host.statusTexts.size() == 2) set.app.StopRequested = true;
  };
  set.run();
  EXPECT_TRUE(set.report.calls.empty());
}

// The listing's check that a chunk still reads as it did: any changed byte of the stretch, or a file that
// now goes on where its end closed the last line, says no.
TEST(LineFeedTest, UnchangedComparesTheStretchAndTheEndOfTheFile) {
  MemoryFileSystem files;
  auto file = files.add("f", "ab\ncd\nef");
  LineFeed feed;
  std::unique_ptr<InputFile> reader = files.openForReading("f");
  feed.startChunk(reader.get(), 0, false, SplitOptions{});
  int lines = 0;
  while (feed.next() != nullptr)
    ++lines;
  EXPECT_EQ(lines, 3);
  std::unique_ptr<InputFile> check = files.openForReading("f");
  EXPECT_TRUE(feed.unchanged(*check, 0, 10));
  file->content = "ab\ncX\nef";
  EXPECT_FALSE(feed.unchanged(*check, 0, 10));
  EXPECT_TRUE(feed.unchanged(*check, 0, 4));  // the change lies behind the stretch
  file->content = "ab\ncd\nefg";              // the last line, ended by the end of the file, goes on
  EXPECT_FALSE(feed.unchanged(*check, 0, 10));
}

}  // namespace
}  // namespace kelvarine
