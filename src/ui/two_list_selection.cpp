#include "ui/two_list_selection.h"

#include "engine/ascii_case.h"
#include "ui/compare_set_run.h"
#include "ui/wildcard_mask.h"

namespace kelvarine {

std::pair<std::string, std::string> SplitPairEntry(std::string_view entry) {
  const std::size_t blanked = entry.find(" : ");
  if (blanked != std::string_view::npos)
    return {std::string(entry.substr(0, blanked)), std::string(entry.substr(blanked + 3))};
  const std::size_t colon = entry.find(':');
  if (colon == std::string_view::npos) return {};
  const std::string_view newPart = colon == 0 ? std::string_view{} : entry.substr(0, colon - 1);
  const std::string_view oldPart = colon + 2 <= entry.size() ? entry.substr(colon + 2) : std::string_view{};
  return {std::string(newPart), std::string(oldPart)};
}

void TwoListSelection::relist(FileSystem& files, Side& side) {
  side.files.clear();
  for (std::string& name : ListTreeFiles(files, side.directory, side.mask, side.tree))
    side.files.insertSorted(std::move(name));
}

void TwoListSelection::open(FileSystem& files, const std::string& newDirectory,
                            const std::string& oldDirectory, TreeChoice tree) {
  new_.directory = newDirectory;
  old_.directory = oldDirectory;
  for (Side* side : {&new_, &old_}) {
    side->mask = "*.*";
    side->tree = tree;
    relist(files, *side);
  }
}

void TwoListSelection::applySavedSelection(std::string& saved) {
  if (saved.empty()) return;
  pairs_.clear();
  for (const std::string& piece : SavedSelectionPieces(saved)) {
    auto [newPart, oldPart] = SplitPairEntry(piece);
    pairs_.append(newPart + " : " + oldPart);
  }
  saved.clear();
}

bool TwoListSelection::bothListed(const std::string& entry) const {
  const auto [newPart, oldPart] = SplitPairEntry(entry);
  return new_.files.contains(newPart) && old_.files.contains(oldPart);
}

void TwoListSelection::dropStalePairs() {
  for (std::size_t i = pairs_.size(); i-- > 0;)
    if (!bothListed(pairs_[i])) pairs_.removeAt(i);
}

void TwoListSelection::showPaths() {
  new_.label = new_.directory;
  old_.label = old_.directory;
}

void TwoListSelection::highlightFile(PairSide side, std::size_t index) {
  PickList& list = part(side).files;
  list.clearHighlights();
  if (index < list.size()) list.setHighlighted(index, true);
}

bool TwoListSelection::highlightFile(PairSide side, std::string_view name) {
  PickList& list = part(side).files;
  list.clearHighlights();
  return list.highlight(name);
}

std::string TwoListSelection::highlightedName(PairSide side) const {
  const Side& s = part(side);
  for (std::size_t i = 0; i < s.files.size(); ++i)
    if (s.files.highlighted(i)) return s.files[i];
  return s.mask;
}

void TwoListSelection::selectPair(Host& host) {
  const std::string newName = highlightedName(PairSide::New);
  const std::string oldName = highlightedName(PairSide::Old);
  if (newName.find('*') != std::string::npos || oldName.find('*') != std::string::npos) {
    host.showMessage(
        "The Compare files must be individually selected. \rSelect each separate component and then \rpress "
        "the \"Select New-Old Pair\" arrow");
    return;
  }
  pairs_.append(newName + " : " + oldName);
}

void TwoListSelection::undoSelected(Host& host) {
  if (!pairs_.anyHighlighted()) {
    host.showMessage("No file pairs have been selected to undo");
    return;
  }
  for (std::size_t i = pairs_.size(); i-- > 0;)
    if (pairs_.highlighted(i)) pairs_.removeAt(i);
}

void TwoListSelection::changeFilter(FileSystem& files, PairSide side, std::string text) {
  Side& s = part(side);
  s.mask = s.filter.enter(std::move(text));
  relist(files, s);
}

FlowResult TwoListSelection::startCompare(FlowServices& flow) {
  if (pairs_.empty()) {
    flow.host.showMessage(
        "No paired filenames have been selected.\rHighlight one or more Like Named Paired Files,\r and "
        "\"Select New-Old Pair\" button to transfer components to \"Selected List\".");
    return {FlowOutcome::Refused, {}};
  }
  for (const std::string& entry : pairs_.items()) {
    if (!bothListed(entry)) continue;
    // Each file as listed (a pair saved in another letter case names the listed file).
    const auto [newPart, oldPart] = SplitPairEntry(entry);
    flow.app.NewFileList.push_back(new_.files[new_.files.indexOf(newPart)]);
    flow.app.OldFileList.push_back(old_.files[old_.files.indexOf(oldPart)]);
  }
  lastStart_ = RunCompareSet(flow);
  return {FlowOutcome::Ran, *lastStart_};
}

}  // namespace kelvarine
