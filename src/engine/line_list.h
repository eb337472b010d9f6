#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace kelvarine {

// An ordered list of report lines with a capacity: add() refuses a line instead of growing past
// it, which is how the report notices an overflow. The capacity is set in this one place.
class LineList {
 public:
  static constexpr std::size_t kDefaultCapacity = 20'000'000;

  explicit LineList(std::size_t capacity = kDefaultCapacity) : capacity_(capacity) {}

  // Appends a line; false (and nothing appended) when the list is full.
  bool add(std::string line);
  // Appends whatever the capacity: used for the run's final status line.
  void addAlways(std::string line) { lines_.push_back(std::move(line)); }

  void clear() { lines_.clear(); }
  std::size_t size() const { return lines_.size(); }
  bool empty() const { return lines_.empty(); }
  std::size_t capacity() const { return capacity_; }
  void setCapacity(std::size_t capacity) { capacity_ = capacity; }

  const std::string& operator[](std::size_t i) const { return lines_[i]; }
  std::string& operator[](std::size_t i) { return lines_[i]; }
  const std::string& back() const { return lines_.back(); }
  const std::vector<std::string>& lines() const { return lines_; }

 private:
  std::size_t capacity_;
  std::vector<std::string> lines_;
};

}  // namespace kelvarine
