#pragma once

#include <map>
#include <optional>
#include <string>

#include "engine/file_system.h"
#include "engine/host.h"
#include "ui/file_tree.h"
#include "ui/flow_services.h"
#include "ui/pick_list.h"

namespace kelvarine {

enum class LikeNameSort { FileName, Extension };

// The like-name selection window of compare type 3 as plain state: the names present in both
// directories (paired list), the names chosen (selected list), the filter, the sort choice and the
// path labels. Created once and kept between openings; the front end shows it and forwards clicks.
class LikeNameSelection {
 public:
  static constexpr const char* kCaption = "Kelvarn File Selection of Like Named File Pairs For Comparison";

  // Points both directory listings at the two directories (with subdirectories and excludes as
  // `tree` says) and sets their mask to "*.*" (the filter field keeps its text).
  void pointAt(const std::string& newDirectory, const std::string& oldDirectory, TreeChoice tree = {});
  // Rebuilds the paired list from the two listings with the current mask: the New name of every pair
  // PairNames makes (exact spelling first, then ignoring case), as on disk; ordered by the sort choice.
  // Returns its count.
  int BuildLikeNameList(FileSystem& files);
  // With the "Extension" choice and a non-empty paired list: leaves name order and orders the paired
  // list by extension (names without one first), ties by the whole name, both ignoring case.
  void SortLikeNamesByExtension();
  // Applies a saved selection (";"-terminated names) when it is not empty: it replaces the selected
  // list and is emptied (it applies once).
  void applySavedSelection(std::string& saved);
  // Walking the selected list from the end: a name still paired leaves the paired list (a name shows in
  // one list only, spelt as listed); a name no longer paired leaves the selected list.
  void reconcileSelection();
  // Shows the directory texts as the path labels.
  void showPaths();

  // The buttons and fields of the window; refusals are messages through `host`.
  void selectHighlighted(Host& host);
  void unselectHighlighted(Host& host);
  void selectAllPaired();
  void unselectAllSelected(Host& host);
  void chooseSort(LikeNameSort sort);
  // A changed filter text (or Enter in the field): relists both directories with it as the mask.
  void changeFilter(FileSystem& files, std::string text);
  // Start Compare: refuses an empty selection with a message (the window stays open); otherwise fills
  // the file-pair list with the selected names and their Old partners and runs the set. The window closes
  // when it ran.
  FlowResult startCompare(FlowServices& flow);

  // Called as the window opens; lastStart() tells afterwards whether Start ran a set.
  void beginShowing() { lastStart_.reset(); }
  const std::optional<RunStatus>& lastStart() const { return lastStart_; }

  PickList& paired() { return paired_; }
  PickList& selected() { return selected_; }
  const PickList& paired() const { return paired_; }
  const PickList& selected() const { return selected_; }
  const FilterField& filter() const { return filter_; }
  LikeNameSort sortChoice() const { return sort_; }
  bool inNameOrder() const { return nameOrdered_; }
  const std::string& mask() const { return mask_; }
  const std::string& newPathLabel() const { return newPathLabel_; }
  const std::string& oldPathLabel() const { return oldPathLabel_; }
  // The settings value SvLList: every selected name followed by ";" (empty when nothing is selected).
  std::string savedSelection() const { return SavedSelectionText(selected_); }

 private:
  // Adds a name to the paired list, in name order while that ordering is on.
  void addPaired(std::string name);

  PickList paired_, selected_;
  FilterField filter_;
  LikeNameSort sort_ = LikeNameSort::FileName;
  bool nameOrdered_ = true;
  std::string newDirectory_, oldDirectory_, mask_ = "*.*";
  TreeChoice tree_;
  std::string newPathLabel_, oldPathLabel_;
  std::optional<RunStatus> lastStart_;
  std::map<std::string, std::string> oldNameOf_;  // the Old partner of each listed New name
};

}  // namespace kelvarine
