#pragma once

#include <cstddef>
#include <functional>
#include <limits>
#include <string>
#include <vector>

namespace kelvarine {

// An ordered list of report lines with a capacity: add() refuses a line instead of growing past
// it, which is how the report notices an overflow. The capacity is set in this one place.
//
// Where the report goes out as it is made (the command line) rather than to a viewer, the list can
// hand its lines to a sink: they are then written out in batches and dropped, so that memory does not
// grow with the report. Indices and size() still count every line ever added.
class LineList {
 public:
  static constexpr std::size_t kDefaultCapacity = 20'000'000;
  // Receives each line with its index in the list.
  using Sink = std::function<void(std::size_t, const std::string&)>;

  explicit LineList(std::size_t capacity = kDefaultCapacity) : capacity_(capacity) {}

  // Appends a line; false (and nothing appended) when the list is full.
  bool add(std::string line);
  // Appends whatever the capacity: used for the run's final status line.
  void addAlways(std::string line);

  // From now on, lines are handed to `sink` in order, in batches, unless pinned. While it runs, every
  // line of the batch and after it can still be read by index.
  void spillTo(Sink sink) { sink_ = std::move(sink); }
  // Lines from `index` on stay in the list until unpin(): a line that is still to be completed.
  void pin(std::size_t index) { pinned_ = index; }
  void unpin() { pinned_ = kNone; }
  // Hands every line still held to the sink (nothing without one).
  void flush();

  void clear();
  std::size_t size() const { return spilled_ + lines_.size(); }
  bool empty() const { return size() == 0; }
  std::size_t capacity() const { return capacity_; }
  void setCapacity(std::size_t capacity) { capacity_ = capacity; }

  // Whether line i is in the list and not yet handed to the sink.
  bool holds(std::size_t i) const { return i >= spilled_ && i < size(); }
  // Line i; throws std::out_of_range for a line already handed to the sink.
  const std::string& operator[](std::size_t i) const { return lines_.at(held(i)); }
  std::string& operator[](std::size_t i) { return lines_.at(held(i)); }
  const std::string& back() const { return lines_.back(); }
  // The lines held: every line, unless a sink has taken some.
  const std::vector<std::string>& lines() const { return lines_; }

 private:
  static constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();
  static constexpr std::size_t kSpillBatch = 4096;

  std::size_t held(std::size_t i) const;
  void spill(std::size_t count);

  std::size_t capacity_;
  std::vector<std::string> lines_;
  Sink sink_;
  std::size_t spilled_ = 0;  // lines handed to the sink, all before lines_[0]
  std::size_t pinned_ = kNone;
};

}  // namespace kelvarine
