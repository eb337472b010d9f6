#include "engine/line_feed.h"

#include <algorithm>
#include <cstring>

#include "engine/engine_fault.h"
#include "engine/line_table.h"

namespace kelvarine {

namespace {

constexpr std::int64_t kBlock = kTextReadBlock;
// How far the helper reads ahead of the first line of the current chunk: enough for this chunk and the
// next, within a memory bound (it reads on when the caller waits, whatever the bound).
constexpr std::size_t kAheadLines = 2 * (LineTable::kMaxLines + 1);
constexpr std::size_t kAheadBytes = std::size_t{4} << 20;
// The most lines a batch holds.
constexpr std::size_t kBatchLines = 2048;

}  // namespace

LineFeed::LineFeed(LineFeed&& other) noexcept {
  *this = std::move(other);
}

LineFeed& LineFeed::operator=(LineFeed&& other) noexcept {
  producer_ = std::move(other.producer_);
  started_ = other.started_;
  prepared_ = other.prepared_;
  batches_ = std::move(other.batches_);
  pool_ = std::move(other.pool_);
  ended_ = other.ended_;
  nextStart_ = other.nextStart_;
  batch_ = other.batch_;
  cur_ = other.cur_;
  curLine_ = other.curLine_;
  endBatch_ = other.endBatch_;
  ahead_ = nullptr;
  heldLines_ = other.heldLines_;
  heldBytes_ = other.heldBytes_;
  waiting_ = false;
  error_ = other.error_;
  other.started_ = other.prepared_ = false;
  other.batch_ = nullptr;
  other.endBatch_ = nullptr;
  return *this;
}

LineFeed::~LineFeed() = default;

std::unique_ptr<FeedBatch> LineFeed::freeBatch() {
  if (pool_.empty()) return std::make_unique<FeedBatch>();
  std::unique_ptr<FeedBatch> batch = std::move(pool_.back());
  pool_.pop_back();
  batch->clear();
  return batch;
}

void LineFeed::recycle(std::unique_ptr<FeedBatch> batch) {
  // All are kept: no more are ever made than were held at once (which the read-ahead bounds), and
  // memory given back and taken again costs a page fault for every page.
  pool_.push_back(std::move(batch));
}

std::size_t LineFeed::heldBytes(const FeedBatch& batch) const {
  return batch.Raw.capacity() + batch.TextsUsed + batch.Lines.capacity() * sizeof(FeedLine);
}

void LineFeed::reset() {
  restart(0);
  std::vector<char> pending = std::move(producer_.pending);
  producer_ = Producer{};
  producer_.pending = std::move(pending);
  started_ = prepared_ = false;
  heldLines_ = heldBytes_ = 0;
  error_ = nullptr;
}

void LineFeed::popFront() {
  heldLines_ -= batches_.front()->Lines.size();
  heldBytes_ -= heldBytes(*batches_.front());
  if (endBatch_ == batches_.front().get()) endBatch_ = nullptr;
  recycle(std::move(batches_.front()));
  batches_.pop_front();
  cur_ = cur_ > 0 ? cur_ - 1 : 0;
}

void LineFeed::restart(std::int64_t pos) {
  while (!batches_.empty())
    popFront();
  producer_.readPos = producer_.pendingStart = nextStart_ = pos;
  producer_.pending.clear();
  producer_.eof = producer_.done = ended_ = false;
  batch_ = nullptr;
  cur_ = curLine_ = 0;
  endBatch_ = nullptr;
}

void LineFeed::publish(std::unique_ptr<FeedBatch> batch) {
  heldLines_ += batch->Lines.size();
  heldBytes_ += heldBytes(*batch);
  nextStart_ = batch->LinesEnd;
  ended_ = batch->Last;
  waiting_ = false;  // the caller asks again if this one is not the batch it waits for
  batches_.push_back(std::move(batch));
}

void LineFeed::produce(FeedBatch& batch) {
  Producer& p = producer_;
  if (p.file == nullptr) throw EngineFault("a line feed without its file");
  batch.Start = p.pendingStart;
  batch.Raw.reserve(p.pending.size() + static_cast<std::size_t>(kBlock));  // no more: a chunk holds many
  batch.Raw.assign(p.pending.begin(), p.pending.end());
  // A block is read when fewer bytes than one are left over; a batch holds a bounded number of lines.
  bool read = batch.Raw.size() < static_cast<std::size_t>(kBlock);
  std::size_t used = 0;
  while (true) {
    if (read && !p.eof) {
      const std::size_t have = batch.Raw.size();
      batch.Raw.resize(have + static_cast<std::size_t>(kBlock));
      p.file->seek(p.readPos);
      const std::int64_t got =
          std::clamp<std::int64_t>(p.file->read(batch.Raw.data() + have, kBlock), 0, kBlock);
      batch.Raw.resize(have + static_cast<std::size_t>(got));
      p.readPos += got;
      p.eof = got == 0;
    }
    used = SplitLines(batch, p.eof, p.options, kBatchLines);
    if (!batch.Lines.empty() || batch.Last) break;
    read = true;
  }
  batch.EndOfFile = p.eof;
  p.pending.assign(batch.Raw.begin() + static_cast<std::ptrdiff_t>(used), batch.Raw.end());
  p.pendingStart = batch.LinesEnd;
  if (batch.Last) p.done = true;
}

bool LineFeed::advance() {
  const std::size_t want = batch_ == nullptr ? 0 : cur_ + 1;
  // With a helper, held until the cursor is set: the helper appends to batches_ and reads the cursor.
  std::unique_lock<std::mutex> lock;
  if (ahead_ == nullptr) {
    if (want >= batches_.size()) {
      if (ended_) return false;
      std::unique_ptr<FeedBatch> batch = freeBatch();
      produce(*batch);
      publish(std::move(batch));
    }
  } else {
    lock = std::unique_lock(ahead_->mutex_);
    while (want >= batches_.size() && !ended_ && error_ == nullptr) {
      waiting_ = true;
      ahead_->changed_.notify_all();
      ahead_->changed_.wait(lock);
    }
    waiting_ = false;
    if (want >= batches_.size()) {
      if (error_ != nullptr) std::rethrow_exception(error_);
      return false;
    }
  }
  cur_ = want;
  batch_ = batches_[want].get();
  curLine_ = 0;
  return true;
}

const FeedLine* LineFeed::nextInNextBatch() {
  while (true) {
    if (batch_ != nullptr) {
      if (curLine_ < batch_->Lines.size()) return &batch_->Lines[curLine_++];
      if (batch_->Last) {
        endBatch_ = batch_;
        return nullptr;
      }
    }
    if (!advance()) return nullptr;
  }
}

bool LineFeed::endPrematureEof() const {
  return endBatch_ != nullptr && endBatch_->EndPrematureEof;
}

std::int64_t LineFeed::endEofCharAt() const {
  return endBatch_ != nullptr ? endBatch_->EndEofCharAt : -1;
}

bool LineFeed::seek(std::int64_t pos) {
  while (!batches_.empty() && !batches_.front()->Last && batches_.front()->LinesEnd <= pos)
    popFront();
  batch_ = nullptr;
  cur_ = curLine_ = 0;
  endBatch_ = nullptr;
  if (batches_.empty()) return nextStart_ == pos;
  batch_ = batches_.front().get();
  const auto& lines = batch_->Lines;
  const auto at = std::partition_point(lines.begin(), lines.end(),
                                       [pos](const FeedLine& l) { return l.Record.EndPos <= pos; });
  curLine_ = static_cast<std::size_t>(at - lines.begin());
  return (curLine_ == 0 ? batch_->Start : lines[curLine_ - 1].Record.EndPos) == pos;
}

void LineFeed::startChunk(InputFile* file, std::int64_t pos, bool keep, const SplitOptions& options) {
  if (ahead_ != nullptr) {
    std::lock_guard lock(ahead_->mutex_);
    if (!seek(pos)) throw EngineFault("a chunk starts inside a line the reader split");
    ahead_->changed_.notify_all();
    return;
  }
  producer_.file = file;
  if (prepared_) {
    // Lines made ahead with other options are not this pair's lines.
    prepared_ = false;
    const bool same = producer_.options == options;
    producer_.options = options;
    if (!same || !seek(pos)) restart(pos);
    return;
  }
  producer_.options = options;
  if (!started_) {
    started_ = true;
    restart(pos);
    return;
  }
  // Reading chunk by chunk: the lines split beyond the last one taken, and the bytes behind it, are
  // read again.
  if (!keep || batch_ == nullptr || curLine_ == 0) {
    restart(pos);
    return;
  }
  while (batches_.size() > cur_ + 1) {
    heldLines_ -= batches_.back()->Lines.size();
    heldBytes_ -= heldBytes(*batches_.back());
    recycle(std::move(batches_.back()));
    batches_.pop_back();
  }
  FeedBatch& last = *batches_.back();
  heldLines_ -= last.Lines.size() - curLine_;
  last.Lines.resize(curLine_);
  last.LinesEnd = last.Lines.back().Record.EndPos;
  last.Last = last.EndOfFile = false;
  producer_.readPos = producer_.pendingStart = nextStart_ = last.LinesEnd;
  producer_.pending.clear();
  producer_.eof = producer_.done = ended_ = false;
  if (!seek(pos)) restart(pos);
}

void LineFeed::prepareWhole(InputFile* file, const SplitOptions& options) {
  if (ahead_ != nullptr) throw EngineFault("a line feed prepared while a helper reads it");
  producer_.file = file;
  producer_.options = options;
  started_ = true;
  restart(0);
  while (!ended_) {
    std::unique_ptr<FeedBatch> batch = freeBatch();
    produce(*batch);
    publish(std::move(batch));
  }
  prepared_ = true;
}

bool LineFeed::unchanged(InputFile& file, std::int64_t from, std::int64_t to) {
  // A file held in memory cannot change: the lines were split from the very bytes it holds.
  if (&file == producer_.file && file.contents()) return true;
  // The stretch of the file each batch holds: from its start to where the next one starts, and the
  // last one all it read.
  struct Stretch {
    const FeedBatch* batch;
    std::int64_t end;
  };
  std::vector<Stretch> stretches;
  {
    std::unique_lock<std::mutex> lock;
    if (ahead_ != nullptr) lock = std::unique_lock(ahead_->mutex_);
    for (std::size_t i = 0; i < batches_.size(); ++i) {
      const FeedBatch& b = *batches_[i];
      const bool final = i + 1 == batches_.size();
      stretches.push_back({&b, final ? b.Start + static_cast<std::int64_t>(b.Raw.size()) : b.LinesEnd});
    }
  }
  std::vector<char> now(static_cast<std::size_t>(std::clamp<std::int64_t>(to - from, 0, kBlock)));
  std::int64_t pos = from;
  for (const Stretch& s : stretches) {
    if (s.end <= pos) continue;
    if (s.batch->Start > pos) return false;
    const std::int64_t end = std::min(s.end, to);
    while (pos < end) {
      const std::int64_t count = std::min(end - pos, kBlock);
      file.seek(pos);
      std::int64_t got = 0;
      while (got < count) {
        const std::int64_t n = file.read(now.data() + got, count - got);
        if (n <= 0) return false;
        got += n;
      }
      if (std::memcmp(now.data(), s.batch->Raw.data() + (pos - s.batch->Start),
                      static_cast<std::size_t>(count)) != 0)
        return false;
      pos += count;
    }
    if (pos >= to) return true;
  }
  // Fewer bytes were read than asked for: where the end of the file ended a line, it must still end there.
  if (stretches.empty() || !stretches.back().batch->EndOfFile || pos != stretches.back().end) return true;
  char probe = 0;
  file.seek(pos);
  return file.read(&probe, 1) <= 0;
}

LineReadAhead::LineReadAhead(LineFeed& newFeed, InputFile& newFile, LineFeed& oldFeed, InputFile& oldFile,
                             std::int64_t newPos, std::int64_t oldPos, const SplitOptions& newOptions,
                             const SplitOptions& oldOptions)
    : feeds_{&newFeed, &oldFeed} {
  const auto attach = [this](LineFeed& feed, InputFile& file, std::int64_t pos, const SplitOptions& options) {
    feed.reset();
    feed.started_ = true;
    feed.producer_.file = &file;
    feed.producer_.options = options;
    feed.restart(pos);
    feed.ahead_ = this;
  };
  attach(newFeed, newFile, newPos, newOptions);
  attach(oldFeed, oldFile, oldPos, oldOptions);
  thread_ = std::thread([this] { run(); });
}

LineReadAhead::~LineReadAhead() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
    changed_.notify_all();
  }
  thread_.join();
  for (LineFeed* feed : feeds_) {
    feed->ahead_ = nullptr;
    feed->started_ = false;
    feed->producer_.file = nullptr;
  }
}

LineFeed* LineReadAhead::pick() {
  LineFeed* best = nullptr;
  for (LineFeed* feed : feeds_) {
    if (feed->producer_.done || feed->error_ != nullptr) continue;
    if (feed->waiting_) return feed;
    if (feed->heldLines_ >= kAheadLines || feed->heldBytes_ >= kAheadBytes) continue;
    if (best == nullptr || feed->heldLines_ < best->heldLines_) best = feed;
  }
  return best;
}

void LineReadAhead::run() {
  std::unique_lock lock(mutex_);
  while (!stop_) {
    LineFeed* feed = pick();
    if (feed == nullptr) {
      changed_.wait(lock);
      continue;
    }
    std::unique_ptr<FeedBatch> batch = feed->freeBatch();
    lock.unlock();
    std::exception_ptr error;
    try {
      feed->produce(*batch);
    } catch (...) {
      error = std::current_exception();
    }
    lock.lock();
    if (error != nullptr) {
      feed->error_ = error;
    } else {
      feed->publish(std::move(batch));
    }
    changed_.notify_all();
  }
}

std::int64_t SharedFile::readAt(std::int64_t pos, char* buffer, std::int64_t count) {
  std::lock_guard lock(mutex_);
  file_->seek(pos);
  return file_->read(buffer, count);
}

std::int64_t SharedInputFile::read(char* buffer, std::int64_t count) {
  const std::int64_t got = shared_.readAt(pos_, buffer, count);
  if (got > 0) pos_ += got;
  return got;
}

}  // namespace kelvarine
