#include "ui/like_name_selection.h"

#include <vector>

#include "engine/ascii_case.h"
#include "engine/name_pairing.h"
#include "ui/compare_set_run.h"
#include "ui/wildcard_mask.h"

namespace kelvarine {

namespace {

constexpr const char* kNothingHighlighted = "No filename highlighted.  Highlight a filename and repeat.";

// The extension of a name: from its last "." on, when no "\", ":" or "/" follows that dot; else empty.
std::string_view extensionOf(std::string_view name) {
  const std::size_t last = name.find_last_of(".:/\\");
  if (last == std::string_view::npos || name[last] != '.') return {};
  return name.substr(last);
}

}  // namespace

void LikeNameSelection::pointAt(const std::string& newDirectory, const std::string& oldDirectory,
                                TreeChoice tree) {
  newDirectory_ = newDirectory;
  oldDirectory_ = oldDirectory;
  tree_ = std::move(tree);
  mask_ = "*.*";
}

void LikeNameSelection::addPaired(std::string name) {
  if (nameOrdered_) {
    paired_.insertSorted(std::move(name));
  } else {
    paired_.append(std::move(name));
  }
}

int LikeNameSelection::BuildLikeNameList(FileSystem& files) {
  paired_.clear();
  oldNameOf_.clear();
  std::vector<std::string> newNames = ListTreeFiles(files, newDirectory_, mask_, tree_);
  std::vector<std::string> oldNames =
      newNames.empty() ? std::vector<std::string>{} : ListTreeFiles(files, oldDirectory_, mask_, tree_);
  for (auto& [newName, oldName] : PairNames(std::move(newNames), std::move(oldNames)).pairs) {
    addPaired(newName);
    oldNameOf_.emplace(std::move(newName), std::move(oldName));
  }
  SortLikeNamesByExtension();
  return static_cast<int>(paired_.size());
}

void LikeNameSelection::SortLikeNamesByExtension() {
  if (paired_.empty() || sort_ != LikeNameSort::Extension) return;
  nameOrdered_ = false;
  const std::size_t n = paired_.size();
  for (std::size_t i = 0; i + 1 < n; ++i) {
    for (std::size_t j = i + 1; j < n; ++j) {
      const int byExtension = CompareIgnoringCase(extensionOf(paired_[i]), extensionOf(paired_[j]));
      if (byExtension > 0 || (byExtension == 0 && CompareIgnoringCase(paired_[i], paired_[j]) > 0))
        paired_.swapEntries(i, j);
    }
  }
}

void LikeNameSelection::applySavedSelection(std::string& saved) {
  if (saved.empty()) return;
  selected_.clear();
  for (std::string& piece : SavedSelectionPieces(saved))
    selected_.insertSorted(std::move(piece));
  saved.clear();
}

void LikeNameSelection::reconcileSelection() {
  for (std::size_t i = selected_.size(); i-- > 0;) {
    const std::size_t at = paired_.indexOf(selected_[i]);
    if (at != PickList::npos) {
      selected_.replaceAt(i, paired_[at]);  // a name saved in another letter case takes the listed one
      paired_.removeAt(at);
    } else {
      selected_.removeAt(i);
    }
  }
}

void LikeNameSelection::showPaths() {
  newPathLabel_ = newDirectory_;
  oldPathLabel_ = oldDirectory_;
}

void LikeNameSelection::selectHighlighted(Host& host) {
  if (!paired_.anyHighlighted()) {
    host.showMessage(kNothingHighlighted);
    return;
  }
  for (std::size_t i = paired_.size(); i-- > 0;) {
    if (!paired_.highlighted(i)) continue;
    selected_.insertSorted(paired_[i]);
    paired_.removeAt(i);
  }
}

void LikeNameSelection::unselectHighlighted(Host& host) {
  if (!selected_.anyHighlighted()) {
    host.showMessage(kNothingHighlighted);
    return;
  }
  for (std::size_t i = selected_.size(); i-- > 0;) {
    if (!selected_.highlighted(i)) continue;
    addPaired(selected_[i]);
    selected_.removeAt(i);
  }
  SortLikeNamesByExtension();
}

void LikeNameSelection::selectAllPaired() {
  for (const std::string& name : paired_.items())
    selected_.insertSorted(name);
  paired_.clear();
}

void LikeNameSelection::unselectAllSelected(Host& host) {
  if (selected_.empty()) {
    host.showMessage("Nothing to Undo");
    return;
  }
  for (std::size_t i = selected_.size(); i-- > 0;)
    addPaired(selected_[i]);
  SortLikeNamesByExtension();
  selected_.clear();
}

void LikeNameSelection::chooseSort(LikeNameSort sort) {
  sort_ = sort;
  if (sort == LikeNameSort::Extension) {
    if (nameOrdered_) {
      nameOrdered_ = false;
      SortLikeNamesByExtension();
    }
  } else if (!nameOrdered_) {
    nameOrdered_ = true;
    paired_.sortByName();
  }
}

void LikeNameSelection::changeFilter(FileSystem& files, std::string text) {
  mask_ = filter_.enter(std::move(text));
  BuildLikeNameList(files);
  if (!paired_.empty()) reconcileSelection();
  showPaths();
}

FlowResult LikeNameSelection::startCompare(FlowServices& flow) {
  if (selected_.empty()) {
    flow.host.showMessage(
        "No paired filenames have been selected.\rHighlight one or more Like Named Paired File and repeat.");
    return {FlowOutcome::Refused, {}};
  }
  for (const std::string& name : selected_.items()) {
    const auto partner = oldNameOf_.find(name);
    flow.app.NewFileList.push_back(name);
    flow.app.OldFileList.push_back(partner == oldNameOf_.end() ? name : partner->second);
  }
  lastStart_ = RunCompareSet(flow);
  return {FlowOutcome::Ran, *lastStart_};
}

}  // namespace kelvarine
