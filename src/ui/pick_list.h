#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "engine/ascii_case.h"

namespace kelvarine {

// The entries of a list box with their highlight marks, as the selection windows hold them.
class PickList {
 public:
  static constexpr std::size_t npos = static_cast<std::size_t>(-1);

  const std::vector<std::string>& items() const { return items_; }
  const std::string& operator[](std::size_t i) const { return items_[i]; }
  std::size_t size() const { return items_.size(); }
  bool empty() const { return items_.empty(); }
  // The list's count as its label shows it: "(" + count + ")".
  std::string countText() const { return "(" + std::to_string(items_.size()) + ")"; }

  bool highlighted(std::size_t i) const { return marks_[i]; }
  void setHighlighted(std::size_t i, bool on) { marks_[i] = on; }
  bool anyHighlighted() const;
  void clearHighlights();
  // Highlights the first entry spelt `name` that is not yet highlighted, else the first equal to it
  // ignoring case; false when there is none.
  bool highlight(std::string_view name);

  void append(std::string item);
  // Inserts after every entry that is not greater ignoring case, keeping a name-ordered list so.
  void insertSorted(std::string item);
  void removeAt(std::size_t i);
  void replaceAt(std::size_t i, std::string item) { items_[i] = std::move(item); }
  void swapEntries(std::size_t i, std::size_t j);
  void clear();
  // Orders the entries by name ignoring case, equal names keeping their order.
  void sortByName();

  // Position of the first entry spelt `name`, else of the first equal to it ignoring case, or npos.
  std::size_t indexOf(std::string_view name) const;
  bool contains(std::string_view name) const { return indexOf(name) != npos; }

 private:
  std::size_t find(std::string_view name, bool unmarkedOnly) const;

  std::vector<std::string> items_;
  std::vector<bool> marks_;
};

// An editable filter field with its drop-down entries.
class FilterField {
 public:
  const std::string& text() const { return text_; }
  const std::vector<std::string>& entries() const { return entries_; }
  // Takes a newly entered text: an empty text becomes "*.*", and a text not yet among the entries
  // (ignoring case) becomes the first entry. Returns the text, which is the listing mask from now on.
  const std::string& enter(std::string text);

 private:
  std::string text_ = "*.*";
  std::vector<std::string> entries_ = {"*.*", "*.txt", "*.pas", "*.ini", "*.cpp", "*.html", "*.htm"};
};

// Cuts a saved selection into its ";"-terminated pieces; text after the last ";" is not a piece.
std::vector<std::string> SavedSelectionPieces(std::string_view saved);

// Every entry of the list, each followed by ";": the settings value of a saved selection.
std::string SavedSelectionText(const PickList& list);

}  // namespace kelvarine
