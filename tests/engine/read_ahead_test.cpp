// Sets compared with helper threads reading ahead: what the run shows and reports is the one-thread
// run's, the helpers only open and read, and what they hold ahead stays bounded.

#include "engine/read_ahead.h"

#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "engine/compare_run.h"
#include "engine/run_status.h"
#include "support/memory_file_system.h"
#include "support/recording_host.h"
#include "support/recording_report.h"

namespace kelvarine {
namespace {

// The memory file system, noting each open: the path and whether the run's own thread made it.
class WatchedFileSystem : public MemoryFileSystem {
 public:
  std::unique_ptr<InputFile> openForReading(const std::string& path) override {
    {
      const std::lock_guard<std::mutex> lock(mutex);
      opens.push_back({path, std::this_thread::get_id() == runThread});
    }
    return MemoryFileSystem::openForReading(path);
  }
  struct Open {
    std::string path;
    bool byRun;
  };
  std::mutex mutex;
  std::vector<Open> opens;
  std::thread::id runThread = std::this_thread::get_id();
};

struct Set {
  AppState app;
  WatchedFileSystem fs;
  RecordingHost host;
  RecordingReport report;

  Set() {
    app.NewDirName = "new";
    app.OldDirName = "old/";
  }
  void addPair(const std::string& name, const std::string& newText, const std::string& oldText,
               FileStamp newStamp = 1, FileStamp oldStamp = 2) {
    fs.add("new/" + name, newText, newStamp);
    fs.add("old/" + name, oldText, oldStamp);
    app.NewFileList.push_back(name);
    app.OldFileList.push_back(name);
  }
  std::string run(int jobs) {
    app.Jobs = jobs;
    return CompareSet(app, host, fs, report);
  }
};

std::string lines(int first, int count, const std::string& prefix = "line ") {
  std::string text;
  for (int i = first; i < first + count; ++i)
    text += prefix + std::to_string(i) + "\n";
  return text;
}

// Every kind of pair a directory compare meets, `copies` times over.
void addMixedPairs(Set& set, int copies) {
  for (int c = 0; c < copies; ++c) {
    const std::string n = std::to_string(c);
    set.addPair("same" + n, lines(c, 300), lines(c, 300));
    set.addPair("changed" + n, lines(c, 9000), lines(c, 8000) + lines(20000, 900));  // two chunks
    set.addPair("bin" + n, std::string(12, '\x01') + n, std::string(12, '\x01') + "x");
    set.addPair("empty" + n, "", "");
    // An Old file that cannot be opened, and a pair of which neither file exists.
    set.fs.add("new/gone" + n, "a\n");
    set.fs.problems["old/gone" + n] = "Permission denied";
    for (const char* name : {"gone", "missing"}) {
      set.app.NewFileList.push_back(name + n);
      set.app.OldFileList.push_back(name + n);
    }
    set.addPair("big" + n, lines(0, 40), lines(1, 40));
    set.fs.find("new/big" + n)->reportedSize = ReadAhead::kFileLimit + 1;  // too big to be read ahead
  }
}

// Waits (a while at most) until the helpers have opened `count` files.
void waitForHelpers(WatchedFileSystem& fs, std::size_t count) {
  for (int i = 0; i < 2000; ++i) {
    {
      const std::lock_guard<std::mutex> lock(fs.mutex);
      std::size_t byHelpers = 0;
      for (const auto& open : fs.opens)
        byHelpers += open.byRun ? 0 : 1;
      if (byHelpers >= count) return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

struct Seen {
  std::string status;
  std::vector<std::string> calls, events, messages;
  int toggles = 0, processEvents = 0;
  friend bool operator==(const Seen&, const Seen&) = default;
};

Seen seen(Set& set, const std::string& status) {
  Seen out{status, {}, set.host.events, set.host.messages, set.host.toggles, set.host.processEventsCalls};
  for (const ReportCall& call : set.report.calls) {
    std::string text =
        std::to_string(call.pair) + (call.binary ? " binary" : "") + (call.allRead ? " all" : "");
    for (int line : call.newNumbers)
      text += " n" + std::to_string(line);
    for (int line : call.oldNumbers)
      text += " o" + std::to_string(line);
    out.calls.push_back(text);
  }
  out.messages.push_back(std::to_string(set.app.options.TotInserts) + " " +
                         std::to_string(set.app.options.TotDeletes));
  return out;
}

Seen runMixed(int jobs, int haltAtEvent = 0) {
  Set set;
  addMixedPairs(set, 4);
  if (haltAtEvent > 0)
    set.host.onProcessEvents = [&set, haltAtEvent] {
      set.app.StopRequested = set.host.processEventsCalls >= haltAtEvent;
    };
  const std::string status = set.run(jobs);
  return seen(set, status);
}

TEST(ReadAhead, AnyNumberOfJobsShowsAndReportsWhatOneThreadDoes) {
  const Seen one = runMixed(1);
  EXPECT_EQ(one.status, kRunOpenError);
  for (int jobs : {2, 3, 8}) {
    SCOPED_TRACE(jobs);
    EXPECT_EQ(runMixed(jobs), one);
  }
}

TEST(ReadAhead, AHaltStopsWhereItStopsOneThread) {
  const int events = runMixed(1).processEvents;
  for (int haltAt : {3, events / 2, events - 2}) {
    SCOPED_TRACE(haltAt);
    const Seen one = runMixed(1, haltAt);
    EXPECT_EQ(one.status, std::string(kRunHalted).substr(0, 70));
    EXPECT_EQ(runMixed(2, haltAt), one);
  }
}

TEST(ReadAhead, HelpersOpenAndReadTheNextPairsTheRunTakesThemFromMemory) {
  Set set;
  for (int i = 0; i < 30; ++i)
    set.addPair("f" + std::to_string(i), lines(i, 50), lines(i + 1, 50));
  set.fs.find("new/f7")->reportedSize = ReadAhead::kFileLimit + 1;
  // The run stays at the first pair until the helpers have opened the other pairs' files.
  set.report.onCall = [&set](CompareContext& c) {
    if (c.app.CurrentPairIndex == 0) waitForHelpers(set.fs, 58);
  };
  EXPECT_EQ(set.run(2), kRunDifferent);
  std::vector<std::string> byRun;
  for (const auto& open : set.fs.opens)
    if (open.byRun) byRun.push_back(open.path);
  // The first pair is the run's own; a file too big to be held is opened by the run again.
  EXPECT_EQ(byRun, (std::vector<std::string>{"new/f0", "old/f0", "new/f7"}));
  EXPECT_EQ(set.fs.opens.size(), 61u);
}

// How far ahead the helpers are whenever the run reports a pair: at most kPairsAhead pairs, and no
// more bytes than the budget and what the helpers have in hand.
TEST(ReadAhead, WhatIsHeldAheadStaysBounded) {
  Set set;
  const int pairs = 120;
  const std::string large(1 << 20, 'x');  // 1 MiB on each side: the byte budget binds first
  for (int i = 0; i < pairs; ++i) {
    const bool big = i % 3 == 0;
    set.addPair("f" + std::to_string(i), big ? large : lines(0, 3), big ? large : lines(0, 3));
  }
  int furthest = -1;
  std::int64_t worstBytes = 0;
  int worstPairs = 0;
  set.report.onCall = [&](CompareContext& c) {
    const int at = c.app.CurrentPairIndex;
    if (at == 0) waitForHelpers(set.fs, 2 * 16);
    const std::lock_guard<std::mutex> lock(set.fs.mutex);
    std::int64_t bytes = 0;
    for (const auto& open : set.fs.opens) {
      if (open.byRun) continue;
      const int pair = std::stoi(open.path.substr(open.path.rfind('f') + 1));
      furthest = std::max(furthest, pair);
      if (pair > at) bytes += static_cast<std::int64_t>(set.fs.find(open.path)->content.size());
    }
    worstBytes = std::max(worstBytes, bytes);
    worstPairs = std::max(worstPairs, furthest - at);
  };
  EXPECT_EQ(set.run(3), kRunEqual);
  EXPECT_GT(furthest, 10);  // the helpers did read ahead
  EXPECT_LE(worstPairs, ReadAhead::kPairsAhead);
  EXPECT_LE(worstBytes, ReadAhead::kBytesAhead + 2 * 2 * ReadAhead::kFileLimit);
}

}  // namespace
}  // namespace kelvarine
