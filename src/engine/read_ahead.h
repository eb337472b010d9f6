#pragma once

#include <array>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "engine/file_system.h"
#include "engine/line_splitter.h"

namespace kelvarine {

// What the helpers make of a text pair's lines besides reading its files: each side's lines split
// (and keyed) with its options, as the chunk loader would, for pairs whose files are both below
// `sizeBelow` bytes and whose New file starts like text (`textAlways`: any file), and not for two
// files of equal bytes unless `identicalToo` (their report then reads no lines).
struct LinePreparation {
  std::array<SplitOptions, 2> options;
  std::int64_t sizeBelow = 0;
  bool textAlways = false;
  bool identicalToo = false;
};

// The file system of a compare set that reads its next pairs' files ahead on helper threads while the
// calling thread compares and reports the current pair. The run opens its files as ever; a file read
// ahead is then handed over from memory, with the size and stamp it had when it was read, and any
// other file (not read ahead, too big, not openable) is opened by the run itself, as without helpers,
// so that its messages and reasons come from the run. The helpers do nothing but open and read: every
// host call, status text and report line stays on the calling thread, in pair order.
class ReadAhead : public FileSystem {
 public:
  static constexpr std::int64_t kFileLimit = std::int64_t{4} << 20;    // larger files are not read ahead
  static constexpr std::int64_t kBytesAhead = std::int64_t{32} << 20;  // bytes held for pairs not reached
  static constexpr int kPairsAhead = 64;
  static constexpr int kWakeBatch = 16;  // sleeping helpers are woken for this many pairs at once
  // Lines are prepared for pairs with a file this big: for smaller ones making them costs more than it
  // saves the run.
  static constexpr std::int64_t kLinesFrom = 8192;

  explicit ReadAhead(FileSystem& files) : files_(files) {}
  ~ReadAhead() override;
  ReadAhead(const ReadAhead&) = delete;
  ReadAhead& operator=(const ReadAhead&) = delete;

  // Starts `helpers` threads reading the files of pairs `first` on (`paths`: each pair's New and Old
  // path as the run opens them), ahead of the pair the run is at; with `lines`, they prepare its lines
  // too. With `aeqf`, a pair whose files have equal stamps and sizes is not read: the run takes it as
  // equal without reading.
  void start(std::vector<std::array<std::string, 2>> paths, int first, int helpers, bool aeqf,
             std::optional<LinePreparation> lines = std::nullopt);
  // The run is at pair `pair`: what was read for the pairs before it is dropped, and a pair no helper
  // has begun is left to the run.
  void setCurrentPair(int pair);
  // Ends the helpers (a pair being read is finished first) and drops what they read.
  void stop();

  // The current pair's New or Old file from memory when it was read ahead; otherwise the file system's.
  std::unique_ptr<InputFile> openForReading(const std::string& path) override;
  Kind kind(const std::string& path) override { return files_.kind(path); }
  std::vector<std::string> listFiles(const std::string& directory) override {
    return files_.listFiles(directory);
  }
  bool listDirectory(const std::string& directory, DirectoryEntries& entries, std::string* why) override {
    return files_.listDirectory(directory, entries, why);
  }
  bool nameUsable(const std::string& path, std::string* why) override { return files_.nameUsable(path, why); }
  std::string resolveForWriting(const std::string& path) override { return files_.resolveForWriting(path); }
  bool opensConcurrently() const override { return files_.opensConcurrently(); }

 private:
  enum class State { Waiting, Reading, Ready };
  struct Slot {
    State state = State::Waiting;
    std::array<std::unique_ptr<InputFile>, 2> files;  // in memory; null: the run opens the file itself
    std::int64_t bytes = 0;
  };

  // A helper's loop: takes the next pair while there is room ahead, reads it, hands it over.
  void help();
  // Pairs a helper may take now; whether that is worth waking a sleeping helper for (calls under the lock).
  int roomAhead() const;
  bool worthWaking() const;
  // The pair's two files in memory (null for each that the run is to open itself), with their lines
  // when they are to be prepared.
  std::array<std::unique_ptr<InputFile>, 2> readPair(int pair) const;
  void prepareLines(std::array<std::unique_ptr<InputFile>, 2>& files) const;

  FileSystem& files_;
  std::vector<std::array<std::string, 2>> paths_;
  bool aeqf_ = false;
  std::optional<LinePreparation> lines_;

  std::mutex mutex_;
  std::condition_variable wake_;   // helpers: room ahead, or stop
  std::condition_variable ready_;  // the run: a pair was read
  std::vector<Slot> slots_;
  int next_ = 0;     // the next pair a helper takes
  int current_ = 0;  // the pair the run is at
  int dropped_ = 0;  // pairs before this one hold nothing
  std::int64_t held_ = 0;
  int sleeping_ = 0;  // helpers waiting for room
  bool stopping_ = false;
  std::vector<std::thread> helpers_;
};

}  // namespace kelvarine
