#include "engine/read_ahead.h"

#include "engine/prepared_file.h"
#include "engine/text_reader.h"

#include <algorithm>
#include <system_error>
#include <utility>

namespace kelvarine {

namespace {

// `file` whole in memory, or null when it is missing or larger than `limit`.
std::unique_ptr<InputFile> inMemory(std::unique_ptr<InputFile> file, std::int64_t limit) {
  if (!file || file->size() > limit) return nullptr;
  const std::int64_t size = file->size();
  std::string bytes;
  if (const auto held = file->contents()) {
    bytes.assign(*held);
  } else {
    bytes.resize(static_cast<std::size_t>(size));
    std::int64_t got = 0;
    while (got < size) {
      const std::int64_t n = file->read(bytes.data() + got, size - got);
      if (n <= 0) break;
      got += n;
    }
    bytes.resize(static_cast<std::size_t>(got));
  }
  return InputFileFromBytes(std::move(bytes), size, file->stamp());
}

std::int64_t heldBytes(const std::unique_ptr<InputFile>& file) {
  const auto bytes = file ? file->contents() : std::nullopt;
  const auto* prepared = dynamic_cast<const PreparedFile*>(file.get());
  return (bytes ? static_cast<std::int64_t>(bytes->size()) : 0) +
         (prepared != nullptr ? static_cast<std::int64_t>(prepared->linesHeld()) : 0);
}

}  // namespace

ReadAhead::~ReadAhead() {
  stop();
}

void ReadAhead::start(std::vector<std::array<std::string, 2>> paths, int first, int helpers, bool aeqf,
                      std::optional<LinePreparation> lines) {
  stop();
  const std::lock_guard<std::mutex> lock(mutex_);
  paths_ = std::move(paths);
  aeqf_ = aeqf;
  lines_ = std::move(lines);
  slots_.clear();
  slots_.resize(paths_.size());
  next_ = std::max(first, current_ + 1);
  dropped_ = 0;
  held_ = 0;
  stopping_ = false;
  // A helper the system cannot give leaves its pairs to the others, or to the run.
  try {
    for (int i = 0; i < helpers; ++i)
      helpers_.emplace_back([this] { help(); });
  } catch (const std::system_error&) {
  }
}

void ReadAhead::setCurrentPair(int pair) {
  std::vector<std::unique_ptr<InputFile>> unused;  // freed outside the lock
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    current_ = pair;
    for (; dropped_ < pair && dropped_ < static_cast<int>(slots_.size()); ++dropped_) {
      Slot& slot = slots_[static_cast<std::size_t>(dropped_)];
      for (auto& file : slot.files)
        if (file) unused.push_back(std::move(file));
      held_ -= slot.bytes;
      slot.bytes = 0;
    }
    // A pair no helper has begun is the run's own.
    next_ = std::max(next_, pair + 1);
    if (!worthWaking()) return;
  }
  wake_.notify_all();
}

int ReadAhead::roomAhead() const {
  if (held_ >= kBytesAhead) return 0;
  return std::max(0, std::min(static_cast<int>(slots_.size()), current_ + kPairsAhead) - next_);
}

bool ReadAhead::worthWaking() const {
  const int room = roomAhead();
  return sleeping_ > 0 && room > 0 &&
         (room >= kWakeBatch || current_ + kPairsAhead >= static_cast<int>(slots_.size()));
}

void ReadAhead::stop() {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  ready_.notify_all();
  for (std::thread& helper : helpers_)
    helper.join();
  helpers_.clear();
  const std::lock_guard<std::mutex> lock(mutex_);
  slots_.clear();
  held_ = 0;
}

std::unique_ptr<InputFile> ReadAhead::openForReading(const std::string& path) {
  std::unique_ptr<InputFile> file;
  bool wake = false;
  {
    std::unique_lock<std::mutex> lock(mutex_);
    const auto pair = static_cast<std::size_t>(current_);
    if (pair < slots_.size() && slots_[pair].state != State::Waiting) {
      ready_.wait(lock, [&] { return stopping_ || slots_[pair].state == State::Ready; });
      Slot& slot = slots_[pair];
      for (std::size_t side = 0; side < 2 && !file; ++side) {
        if (!slot.files[side] || paths_[pair][side] != path) continue;
        const std::int64_t bytes = heldBytes(slot.files[side]);
        file = std::move(slot.files[side]);
        held_ -= bytes;
        slot.bytes -= bytes;
      }
      wake = file && worthWaking();
    }
  }
  if (!file) return files_.openForReading(path);
  if (wake) wake_.notify_all();
  return file;
}

void ReadAhead::help() {
  std::unique_lock<std::mutex> lock(mutex_);
  while (true) {
    ++sleeping_;
    wake_.wait(lock, [&] { return stopping_ || roomAhead() > 0; });
    --sleeping_;
    if (stopping_) return;
    const int pair = next_++;
    slots_[static_cast<std::size_t>(pair)].state = State::Reading;
    lock.unlock();
    std::array<std::unique_ptr<InputFile>, 2> files = readPair(pair);
    const std::int64_t bytes = heldBytes(files[0]) + heldBytes(files[1]);
    lock.lock();
    Slot& slot = slots_[static_cast<std::size_t>(pair)];
    slot.state = State::Ready;
    // A pair the run has passed meanwhile is dropped at once (below, outside the lock).
    if (pair >= current_) {
      slot.files = std::move(files);
      slot.bytes = bytes;
      held_ += bytes;
    }
    ready_.notify_all();
    lock.unlock();
    files = {};
    lock.lock();
  }
}

std::array<std::unique_ptr<InputFile>, 2> ReadAhead::readPair(int pair) const {
  const auto& paths = paths_[static_cast<std::size_t>(pair)];
  try {
    // As the run: no Old file when the New one cannot be used.
    std::unique_ptr<InputFile> newFile = files_.openForReading(paths[0]);
    if (!newFile) return {};
    std::unique_ptr<InputFile> oldFile = files_.openForReading(paths[1]);
    if (aeqf_ && oldFile && newFile->stamp() == oldFile->stamp() && newFile->size() == oldFile->size())
      return {};
    std::array<std::unique_ptr<InputFile>, 2> files = {inMemory(std::move(newFile), kFileLimit),
                                                       inMemory(std::move(oldFile), kFileLimit)};
    prepareLines(files);
    return files;
  } catch (...) {
    // The run opens and reads the pair itself, and meets the failure there.
    return {};
  }
}

void ReadAhead::prepareLines(std::array<std::unique_ptr<InputFile>, 2>& files) const {
  if (!lines_ || !files[0] || !files[1]) return;
  const auto newBytes = files[0]->contents();
  const auto oldBytes = files[1]->contents();
  if (!newBytes || !oldBytes) return;
  if (files[0]->size() >= lines_->sizeBelow || files[1]->size() >= lines_->sizeBelow) return;
  if (std::max(files[0]->size(), files[1]->size()) < kLinesFrom) return;
  if (!lines_->identicalToo && *newBytes == *oldBytes) return;
  if (!lines_->textAlways && !StartsLikeText(*newBytes)) return;
  for (std::size_t side = 0; side < 2; ++side)
    files[side] = std::make_unique<PreparedFile>(std::move(files[side]), lines_->options[side]);
}

}  // namespace kelvarine
