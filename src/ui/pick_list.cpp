#include "ui/pick_list.h"

#include <algorithm>
#include <numeric>

#include "engine/ascii_case.h"

namespace kelvarine {

bool PickList::anyHighlighted() const {
  return std::find(marks_.begin(), marks_.end(), true) != marks_.end();
}

void PickList::clearHighlights() {
  std::fill(marks_.begin(), marks_.end(), false);
}

std::size_t PickList::find(std::string_view name, bool unmarkedOnly) const {
  std::size_t folded = npos;
  for (std::size_t i = 0; i < items_.size(); ++i) {
    if (unmarkedOnly && marks_[i]) continue;
    if (items_[i] == name) return i;
    if (folded == npos && EqualIgnoringCase(items_[i], name)) folded = i;
  }
  return folded;
}

bool PickList::highlight(std::string_view name) {
  const std::size_t at = find(name, /*unmarkedOnly=*/true);
  if (at == npos) return false;
  marks_[at] = true;
  return true;
}

void PickList::append(std::string item) {
  items_.push_back(std::move(item));
  marks_.push_back(false);
}

void PickList::insertSorted(std::string item) {
  const auto at = std::upper_bound(items_.begin(), items_.end(), item, [](const auto& a, const auto& b) {
    return CompareIgnoringCase(a, b) < 0;
  });
  const auto offset = at - items_.begin();
  items_.insert(at, std::move(item));
  marks_.insert(marks_.begin() + offset, false);
}

void PickList::removeAt(std::size_t i) {
  items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(i));
  marks_.erase(marks_.begin() + static_cast<std::ptrdiff_t>(i));
}

void PickList::swapEntries(std::size_t i, std::size_t j) {
  std::swap(items_[i], items_[j]);
  const bool mark = marks_[i];
  marks_[i] = marks_[j];
  marks_[j] = mark;
}

void PickList::clear() {
  items_.clear();
  marks_.clear();
}

void PickList::sortByName() {
  std::vector<std::size_t> order(items_.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(), [this](std::size_t a, std::size_t b) {
    return CompareIgnoringCase(items_[a], items_[b]) < 0;
  });
  std::vector<std::string> items;
  std::vector<bool> marks;
  for (std::size_t i : order) {
    items.push_back(std::move(items_[i]));
    marks.push_back(marks_[i]);
  }
  items_ = std::move(items);
  marks_ = std::move(marks);
}

std::size_t PickList::indexOf(std::string_view name) const {
  return find(name, /*unmarkedOnly=*/false);
}

const std::string& FilterField::enter(std::string text) {
  text_ = text.empty() ? std::string("*.*") : std::move(text);
  const bool known = std::any_of(entries_.begin(), entries_.end(), [this](const std::string& entry) {
    return EqualIgnoringCase(entry, text_);
  });
  if (!known) entries_.insert(entries_.begin(), text_);
  return text_;
}

std::vector<std::string> SavedSelectionPieces(std::string_view saved) {
  std::vector<std::string> pieces;
  std::size_t start = 0;
  for (std::size_t end = saved.find(';'); end != std::string_view::npos; end = saved.find(';', start)) {
    pieces.emplace_back(saved.substr(start, end - start));
    start = end + 1;
  }
  return pieces;
}

std::string SavedSelectionText(const PickList& list) {
  std::string text;
  for (const std::string& item : list.items())
    text += item + ";";
  return text;
}

}  // namespace kelvarine
