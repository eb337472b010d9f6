#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "engine/file_system.h"
#include "engine/host.h"
#include "ui/file_tree.h"
#include "ui/flow_services.h"
#include "ui/pick_list.h"

namespace kelvarine {

enum class PairSide { New, Old };

// The New and Old names of a pair entry "new : old": split at the first " : " (file names may hold
// ":"); an entry without one is split at its first ":" with one character cut on either side.
std::pair<std::string, std::string> SplitPairEntry(std::string_view entry);

// The two-list selection window of compare type 4 as plain state: the files of both directories, the
// pairs chosen from them, a filter per side and the labels. Created once and kept between openings.
class TwoListSelection {
 public:
  static constexpr const char* kCaption =
      "Kelvarn File Selection of Unlike/Like Named File Pairs for Comparison";

  // Points both file lists at the directories with the mask "*.*" and lists them (the filter fields
  // keep their texts).
  void open(FileSystem& files, const std::string& newDirectory, const std::string& oldDirectory,
            TreeChoice tree = {});
  // Applies a saved selection (";"-terminated pair entries) when it is not empty: it replaces the
  // selected-pair list and is emptied (it applies once).
  void applySavedSelection(std::string& saved);
  // Walking from the end, removes each pair entry whose New or Old file is not listed (ignoring case).
  void dropStalePairs();
  // Shows the directory texts as the directory labels.
  void showPaths();

  // Highlights one file of a side (the list highlights one file at a time); by name ignoring case,
  // false when it is not listed.
  void highlightFile(PairSide side, std::size_t index);
  bool highlightFile(PairSide side, std::string_view name);
  // The highlighted-name field of a side: the highlighted file's name, or the side's mask.
  std::string highlightedName(PairSide side) const;

  // The buttons and fields of the window; refusals are messages through `host`.
  void selectPair(Host& host);
  void undoSelected(Host& host);
  // A changed filter text of one side (or Enter in it): relists that side with it as the mask. The
  // selected pairs are not checked against the new list.
  void changeFilter(FileSystem& files, PairSide side, std::string text);
  // Start Compare: refuses an empty pair list with a message (the window stays open); otherwise fills
  // the file-pair list with the entries whose two files are listed and runs the set.
  FlowResult startCompare(FlowServices& flow);

  // Called as the window opens; lastStart() tells afterwards whether Start ran a set.
  void beginShowing() { lastStart_.reset(); }
  const std::optional<RunStatus>& lastStart() const { return lastStart_; }

  const PickList& files(PairSide side) const { return part(side).files; }
  PickList& pairs() { return pairs_; }
  const PickList& pairs() const { return pairs_; }
  const FilterField& filter(PairSide side) const { return part(side).filter; }
  const std::string& mask(PairSide side) const { return part(side).mask; }
  const std::string& directoryLabel(PairSide side) const { return part(side).label; }
  // The settings value SvULList: every pair entry followed by ";" (empty when there is none).
  std::string savedSelection() const { return SavedSelectionText(pairs_); }

 private:
  struct Side {
    std::string directory, mask = "*.*", label;
    TreeChoice tree;
    FilterField filter;
    PickList files;
  };
  Side& part(PairSide side) { return side == PairSide::New ? new_ : old_; }
  const Side& part(PairSide side) const { return side == PairSide::New ? new_ : old_; }
  static void relist(FileSystem& files, Side& side);
  // True when both files of the entry are listed.
  bool bothListed(const std::string& entry) const;

  Side new_, old_;
  PickList pairs_;
  std::optional<RunStatus> lastStart_;
};

}  // namespace kelvarine
