// Sets compared with helper threads reading ahead: what the run shows and reports is one thread's.

#include "engine/read_ahead.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "engine/run_status.h"
#include "support/memory_set.h"

namespace kelvarine {
namespace {

// The memory file system, noting each open and whether the run's own thread made it.
class WatchedFileSystem : public MemoryFileSystem {
 public:
  std::unique_ptr<InputFile> openForReading(const std::string& path) override {
    const std::lock_guard<std::mutex> lock(mutex);
    opens.emplace_back(path, std::this_thread::get_id() == runThread);
    helperOpens += opens.back().second ? 0 : 1;
    return MemoryFileSystem::openForReading(path);
  }
  void waitForHelpers(int count) {  // a while at most
    for (int i = 0; i < 2000 && helperOpens < count; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  std::mutex mutex;
  std::vector<std::pair<std::string, bool>> opens;  // path, opened by the run
  std::atomic<int> helperOpens = 0;
  std::thread::id runThread = std::this_thread::get_id();
};

using Set = MemorySet<RecordingReport, WatchedFileSystem>;

std::string lines(int first, int count) {
  return joinLines(numbered("line ", first, first + count - 1));
}

// A set with every kind of pair a directory compare meets, run with `jobs`, halted at the `haltAt`th
// event pass; the status, the report calls, the events, messages and totals.
std::vector<std::string> runMixed(int jobs, int haltAt = 0) {
  Set set;
  for (const std::string n : {"0", "1", "2", "3"}) {
    set.addPair("same" + n, lines(0, 300), lines(0, 300));
    set.addPair("changed" + n, lines(0, 9000), lines(0, 8000) + lines(20000, 900));  // two chunks
    set.addPair("bin" + n, std::string(12, '\x01') + n, std::string(12, '\x01') + "x");
    set.addPair("empty" + n, "", "");
    set.fs.add("new/gone" + n, "a\n");  // its Old file cannot be opened; "missing" has no file at all
    set.fs.problems["old/gone" + n] = "Permission denied";
    set.app.NewFileList.insert(set.app.NewFileList.end(), {"gone" + n, "missing" + n});
    set.app.OldFileList.insert(set.app.OldFileList.end(), {"gone" + n, "missing" + n});
    set.addPair("big" + n, lines(0, 40), lines(1, 40));
    set.fs.find("new/big" + n)->reportedSize = ReadAhead::kFileLimit + 1;  // too big to be read ahead
  }
  set.addPair("zz", "a\n", "b\n");
  set.fs.find("old/zz")->failReads = true;  // the run meets the failure, not a helper
  if (haltAt > 0)
    set.host.onProcessEvents = [&] { set.app.StopRequested = set.host.processEventsCalls >= haltAt; };
  set.app.Jobs = jobs;
  std::vector<std::string> out{set.run(), std::to_string(set.host.processEventsCalls),
                               std::to_string(set.app.options.TotInserts)};
  for (const ReportCall& call : set.report.calls)
    out.push_back(std::to_string(call.pair) + ":" + std::to_string(call.newNumbers.size()));
  out.insert(out.end(), set.host.events.begin(), set.host.events.end());
  out.insert(out.end(), set.host.messages.begin(), set.host.messages.end());
  return out;
}

TEST(ReadAhead, AnyNumberOfJobsShowsAndReportsWhatOneThreadDoes) {
  const std::vector<std::string> one = runMixed(1);
  EXPECT_EQ(one[0], kRunFault);  // the last pair's read failure
  const int events = std::stoi(one[1]);
  for (int jobs : {2, 3, 8})
    EXPECT_EQ(runMixed(jobs), one) << jobs << " jobs";
  for (int haltAt : {3, events / 2, events - 1})
    EXPECT_EQ(runMixed(2, haltAt), runMixed(1, haltAt)) << "halted at " << haltAt;
}

// The run takes every file but its first pair's from the helpers (it waits for them here), except one
// too big to be read ahead; whenever it reports a pair, the helper is at most kPairsAhead pairs ahead
// and holds no more bytes than the budget and what it has in hand.
TEST(ReadAhead, HelpersReadAheadWithinBoundsAndTheRunTakesTheirFiles) {
  Set set;
  const std::string large(1 << 20, 'x');
  for (int i = 0; i < 120; ++i)
    set.addPair("f" + std::to_string(i), i % 3 == 0 ? large : "a\n", i % 3 == 0 ? large : "a\n");
  set.fs.find("new/f7")->reportedSize = ReadAhead::kFileLimit + 1;
  int furthest = -1, worstPairs = 0;
  std::int64_t worstBytes = 0;
  set.report.onCall = [&](CompareContext& c) {
    const int at = c.app.CurrentPairIndex;
    set.fs.waitForHelpers(2 * std::min(at + 1, 119));
    const std::lock_guard<std::mutex> lock(set.fs.mutex);
    std::int64_t bytes = 0;
    for (const auto& [path, run] : set.fs.opens) {
      const int pair = run ? -1 : std::stoi(path.substr(path.rfind('f') + 1));
      furthest = std::max(furthest, pair);
      bytes += pair > at ? static_cast<std::int64_t>(set.fs.find(path)->content.size()) : 0;
    }
    worstBytes = std::max(worstBytes, bytes);
    worstPairs = std::max(worstPairs, furthest - at);
  };
  set.app.Jobs = 2;
  EXPECT_EQ(set.run(), kRunEqual);
  std::vector<std::string> byRun;
  for (const auto& [path, run] : set.fs.opens)
    if (run) byRun.push_back(path);
  EXPECT_EQ(byRun, (std::vector<std::string>{"new/f0", "old/f0", "new/f7"}));
  EXPECT_LE(worstPairs, ReadAhead::kPairsAhead);
  EXPECT_LE(worstBytes, ReadAhead::kBytesAhead + 2 * ReadAhead::kFileLimit);
}

}  // namespace
}  // namespace kelvarine
