#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "engine/file_system.h"
#include "engine/line_splitter.h"

namespace kelvarine {

class LineReadAhead;

// The lines of one file of a text pair for the chunk loader, split and (without a Dp option) keyed
// from the bytes it reads. By default it reads on the caller's thread when a line is asked for, and
// each chunk reads on from where the last one's lines end, as reading chunk by chunk does. Attached to
// a LineReadAhead, a helper thread reads and prepares the lines ahead while the caller matches and lists.
// It keeps the bytes the lines came from, so that the listing can check them against the file.
class LineFeed {
 public:
  LineFeed() = default;
  LineFeed(const LineFeed&) = delete;
  LineFeed& operator=(const LineFeed&) = delete;
  LineFeed(LineFeed&& other) noexcept;
  LineFeed& operator=(LineFeed&& other) noexcept;
  ~LineFeed();

  // Prepares the next chunk, which starts with the line at file position `pos` (the first chunk of a
  // pair: where reading starts). `keep`: lines split beyond `pos` for the last chunk may start this one
  // (no Dp option: their keys are their own); reading on the caller's thread, the file is otherwise read
  // again from `pos`, and always from behind the last line the last chunk took. `file` is the file to
  // read on the caller's thread.
  void startChunk(InputFile* file, std::int64_t pos, bool keep, const SplitOptions& options);
  // The next line, null when the file's text has ended. Its record's text and key stay where they are
  // until the chunk after next starts.
  const FeedLine* next() {
    if (batch_ != nullptr && curLine_ < batch_->Lines.size()) return &batch_->Lines[curLine_++];
    return nextInNextBatch();
  }
  // After next() found no line: an end-of-file character with data behind it ended the text, and
  // where it is (-1: none did).
  bool endPrematureEof() const;
  std::int64_t endEofCharAt() const;

  // True when the bytes [from, to) of the file, read now through `file`, are still those that the lines
  // were split from (and the file still ends where it ended then, where that decided a line's end).
  bool unchanged(InputFile& file, std::int64_t from, std::int64_t to);

  // Forgets the pair (keeps memory for the next one). Not while a LineReadAhead is attached.
  void reset();

  // Splits (and keys) the whole text of `file` now, from its start, on the calling thread: a feed moved
  // into an input then gives its first chunk, started at 0 with the same options, these lines without
  // reading. Bytes held, to bound what waits prepared.
  void prepareWhole(InputFile* file, const SplitOptions& options);
  bool prepared() const { return prepared_; }
  const SplitOptions& preparedOptions() const { return producer_.options; }
  std::size_t bytesHeld() const { return heldBytes_; }
  bool attached() const { return ahead_ != nullptr; }

 private:
  friend class LineReadAhead;

  // The reading side: where it is in the file and the bytes of a line it has not finished.
  struct Producer {
    InputFile* file = nullptr;
    SplitOptions options;
    std::int64_t readPos = 0;       // next byte to read
    std::int64_t pendingStart = 0;  // file position of pending[0]
    std::vector<char> pending;      // bytes read after the last line split
    bool eof = false;               // a read found the end of the file
    bool done = false;              // the last batch (the end of the text) was made
  };

  void restart(std::int64_t pos);
  // Splits the next batch from the producer's position; `batch` is empty.
  void produce(FeedBatch& batch);
  // Adds a batch just made (under the helper's lock when there is one).
  void publish(std::unique_ptr<FeedBatch> batch);
  const FeedLine* nextInNextBatch();
  // Makes the batch after the current one available (producing it, or waiting for the helper).
  bool advance();
  // Releases the lines that end at or before `pos` and puts the cursor on the line starting there;
  // false when no kept line does.
  bool seek(std::int64_t pos);
  void popFront();
  std::unique_ptr<FeedBatch> freeBatch();
  void recycle(std::unique_ptr<FeedBatch> batch);
  std::size_t heldBytes(const FeedBatch& batch) const;

  Producer producer_;
  bool started_ = false;
  bool prepared_ = false;  // prepareWhole made every line; the first startChunk takes them
  std::deque<std::unique_ptr<FeedBatch>> batches_;  // from the current chunk's first line on
  std::vector<std::unique_ptr<FeedBatch>> pool_;
  bool ended_ = false;                   // the batch that ends the text is in batches_
  std::int64_t nextStart_ = 0;           // where the next batch made will start
  FeedBatch* batch_ = nullptr;           // the batch of the next line (null: the first batch, not there yet)
  std::size_t cur_ = 0;                  // its place in batches_
  std::size_t curLine_ = 0;              // the next line in it
  const FeedBatch* endBatch_ = nullptr;  // the batch whose end next() met
  // With a LineReadAhead (under its lock): lines and bytes held, whether the caller waits for a batch, and a
  // failure of the helper's reading.
  LineReadAhead* ahead_ = nullptr;
  std::size_t heldLines_ = 0, heldBytes_ = 0;
  bool waiting_ = false;
  std::exception_ptr error_;
};

// A helper thread that reads and prepares the lines of both files of a pair ahead of the chunk loader,
// each file through its own view (SharedInputFile) of the open file. Stops and detaches at destruction.
class LineReadAhead {
 public:
  LineReadAhead(LineFeed& newFeed, InputFile& newFile, LineFeed& oldFeed, InputFile& oldFile,
                std::int64_t newPos, std::int64_t oldPos, const SplitOptions& newOptions,
                const SplitOptions& oldOptions);
  LineReadAhead(const LineReadAhead&) = delete;
  LineReadAhead& operator=(const LineReadAhead&) = delete;
  ~LineReadAhead();

 private:
  friend class LineFeed;

  void run();
  // The feed to prepare a batch for next: one the caller waits for, else the one least far ahead.
  LineFeed* pick();

  LineFeed* feeds_[2];
  std::mutex mutex_;
  std::condition_variable changed_;
  bool stop_ = false;
  std::thread thread_;
};

// One open file read from two threads, each through a SharedInputFile with its own position: every
// read positions the file first, under one lock.
class SharedFile {
 public:
  explicit SharedFile(std::unique_ptr<InputFile> file) : file_(std::move(file)) {}
  std::int64_t readAt(std::int64_t pos, char* buffer, std::int64_t count);
  const InputFile& file() const { return *file_; }
  std::unique_ptr<InputFile> release() { return std::move(file_); }

 private:
  std::unique_ptr<InputFile> file_;
  std::mutex mutex_;
};

class SharedInputFile : public InputFile {
 public:
  explicit SharedInputFile(SharedFile& shared) : shared_(shared) {}
  std::int64_t size() const override { return shared_.file().size(); }
  FileStamp stamp() const override { return shared_.file().stamp(); }
  std::int64_t read(char* buffer, std::int64_t count) override;
  void seek(std::int64_t offset) override { pos_ = offset; }

 private:
  SharedFile& shared_;
  std::int64_t pos_ = 0;
};

}  // namespace kelvarine
