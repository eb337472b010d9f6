#include "ui/compare_flows.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <vector>

#include "engine/ascii_case.h"
#include "engine/compare_choices.h"
#include "engine/compare_run.h"
#include "engine/name_pairing.h"
#include "engine/run_status.h"
#include "ui/file_tree.h"
#include "ui/like_name_selection.h"
#include "ui/two_list_selection.h"
#include "ui/viewer_model.h"
#include "ui/wildcard_mask.h"

namespace kelvarine {

namespace {

constexpr int kProgressEvery = 60;  // names of the pairing walk between two progress texts

// The text of compare-type item 1..4.
const char* itemText(int item) {
  return kCompareTypes[static_cast<std::size_t>(item - 1)];
}

bool isFile(FlowServices& flow, const std::string& path) {
  return flow.files.kind(path) == FileSystem::Kind::File;
}

bool isDirectory(FlowServices& flow, const std::string& path) {
  return flow.files.kind(path) == FileSystem::Kind::Directory;
}

void focus(FlowServices& flow, FocusTarget target) {
  if (flow.window != nullptr) flow.window->focus(target);
}

// Shows the refusal and, when the refusal names a field, moves the input focus there.
FlowResult refuse(FlowServices& flow, const std::string& message,
                  std::optional<FocusTarget> target = std::nullopt) {
  flow.host.showMessage(message);
  if (target) focus(flow, *target);
  return {FlowOutcome::Refused, {}};
}

// The refusal of a name that names nothing usable, with the reason when the window wants it.
std::string unusable(FlowServices& flow, const std::string& message, const std::string& name) {
  return flow.nameReasons ? WithReason(flow.files, message, name) : message;
}

// One side of a directory compare must name an existing directory; a refusal focuses that side's field.
bool checkDirectory(FlowServices& flow, const std::string& text, const std::string& compareType,
                    const char* invalidMessage, FocusTarget field) {
  if (isDirectory(flow, text)) return true;
  if (isFile(flow, text)) {
    refuse(flow,
           "The specified Compare type \"" + compareType +
               "\" requires a directory path name not a file name. Use the Select DirSelect Tab to select a "
               "valid Dir Name or change compare type.",
           field);
  } else {
    refuse(flow, unusable(flow, invalidMessage, text), field);
  }
  return false;
}

// Every file of the directory (with subdirectories: under it, as relative paths), in name order,
// each once. Unreadable subdirectories are counted; an empty result when a halt ended the listing.
std::vector<std::string> sortedNames(FlowServices& flow, const std::string& directory) {
  const CompareChoices& choices = flow.app.choices;
  TreeListing listing = ListFileTree(flow.files, directory, "*.*",
                                     {choices.includeSubdirs, choices.excludeMasks}, &flow.host, &flow.app);
  flow.app.UnreadableDirCount += static_cast<std::int32_t>(listing.unreadable.size());
  std::vector<std::string>& names = listing.files;
  std::sort(names.begin(), names.end(), PathOrderLess);
  names.erase(std::unique(names.begin(), names.end()), names.end());
  return names;
}

}  // namespace

std::string DirectoryPart(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string FileNamePart(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

FlowResult MnButStartClick(FlowServices& flow, const std::string& newText, const std::string& oldText) {
  AppState& app = flow.app;
  app.NewFileList.clear();
  app.OldFileList.clear();
  app.NewDirNames.clear();
  app.OldDirNames.clear();
  app.newNameText = newText;
  app.oldNameText = oldText;
  app.NewDirName = newText;
  app.OldDirName = oldText;

  if (app.choices.compareType.empty()) return {FlowOutcome::Stopped, {}};
  if (app.choices.compareType != itemText(1) && isFile(flow, newText) && isFile(flow, oldText)) {
    const bool yes = flow.host.askYesNo(
        "Compare type \"" + app.choices.compareType +
        "\" is not valid with two full file names. Do you want the \"Compare type\" to be changed to: \"" +
        itemText(1) + "\" -- Yes (Continue with File Compare of two files) or No (Stop the Compare)?");
    if (!yes) return {FlowOutcome::Stopped, {}};
    app.choices.compareType = itemText(1);
  }

  const std::string& type = app.choices.compareType;
  if (type == itemText(1)) {
    app.NewDirName = DirectoryPart(newText);
    app.OldDirName = DirectoryPart(oldText);
    return StartFilePairCompare(flow);
  }
  if (type == itemText(2)) return StartLikeNameDirCompare(flow, LikeNameMode::AllPairs);
  if (type == itemText(3) || type == itemText(4)) {
    if (flow.selection == nullptr) return {FlowOutcome::NotAvailable, {}};
    return type == itemText(3) ? StartLikeNameDirCompare(flow, LikeNameMode::Select)
                               : StartTwoListSelection(flow);
  }
  return refuse(flow, "Invalid \"Compare Type\". Reselect again from the \"Compare Type\" ComboBox.");
}

FlowResult StartFilePairCompare(FlowServices& flow) {
  AppState& app = flow.app;
  const std::string& newText = app.newNameText;
  const std::string& oldText = app.oldNameText;
  if (isDirectory(flow, newText) || isDirectory(flow, oldText)) {
    return refuse(flow,
                  "The specified Compare type \"" + app.choices.compareType +
                      "\" requires a File Name not a Path Name. Use the Select FileSelect Tab to select a "
                      "valid File Name or change compare type.");
  }
  if (!isFile(flow, newText)) {
    return refuse(flow, unusable(flow, "Invalid New Input File Name \"" + newText + "\" specified.", newText),
                  FocusTarget::NewName);
  }
  if (!isFile(flow, oldText)) {
    return refuse(flow, unusable(flow, "Invalid Old Input File Name \"" + oldText + "\" specified.", oldText),
                  FocusTarget::OldName);
  }
  AddNamesToHistories(flow);

  app.NewFileList.push_back(FileNamePart(newText));
  app.OldFileList.push_back(FileNamePart(oldText));
  return {FlowOutcome::Ran, RunCompareSet(flow)};
}

FlowResult StartLikeNameDirCompare(FlowServices& flow, LikeNameMode mode) {
  AppState& app = flow.app;
  const bool select = mode == LikeNameMode::Select;
  if (select && flow.selection == nullptr) return {FlowOutcome::NotAvailable, {}};
  const std::string& type = app.choices.compareType;
  if (!checkDirectory(flow, app.newNameText, type, "Invalid New Input File Directory Name specified.",
                      FocusTarget::NewName) ||
      !checkDirectory(flow, app.oldNameText, type, "Invalid Old Input File Directory Name specified.",
                      FocusTarget::OldName)) {
    return {FlowOutcome::Refused, {}};
  }
  AddNamesToHistories(flow);

  // Listing big trees takes a while: the window runs meanwhile, so that Halt can end it.
  const bool trees = app.choices.includeSubdirs;
  app.StopRequested = false;
  app.UnreadableDirCount = 0;
  if (trees && flow.window != nullptr) flow.window->setRunning(true);
  const std::vector<std::string> newNames = sortedNames(flow, app.newNameText);
  const std::vector<std::string> oldNames = app.StopRequested ? newNames : sortedNames(flow, app.oldNameText);
  if (trees && flow.window != nullptr) flow.window->setRunning(false);
  if (app.StopRequested) return {FlowOutcome::Stopped, {}};
  const int oldCount = static_cast<int>(oldNames.size());
  for (int i = kProgressEvery - 1; i < oldCount; i += kProgressEvery) {
    char text[80];
    std::snprintf(text, sizeof text, "- Old Dir Num = %d of (%d).", i, oldCount);
    flow.host.setStatusText(std::string("Proc Directories ") + text);
    flow.host.toggleActivityImages();
    flow.host.processEvents();
  }
  NamePairs paired = PairNames(newNames, oldNames);
  app.NewDirNames = newNames;
  app.OldDirNames = oldNames;
  app.UnpairedNewCount = static_cast<std::int32_t>(paired.unpairedNew.size());
  app.UnpairedOldCount = static_cast<std::int32_t>(paired.unpairedOld.size());
  if (paired.pairs.empty()) {
    refuse(flow, "No paired (same name) new/old filenames are found.\rSelect another directory pair.");
    return {FlowOutcome::NoPairs, {}};
  }
  // The window lists the directories again itself, with its own mask.
  if (select) return ShowLikeNameSelection(flow);
  for (auto& [newName, oldName] : paired.pairs) {
    app.NewFileList.push_back(std::move(newName));
    app.OldFileList.push_back(std::move(oldName));
  }
  app.RunAllLikeNamed = true;
  FlowResult result{FlowOutcome::Ran, RunCompareSet(flow)};
  app.RunAllLikeNamed = false;
  return result;
}

FlowResult ShowLikeNameSelection(FlowServices& flow) {
  AppState& app = flow.app;
  if (flow.selection == nullptr) return {FlowOutcome::NotAvailable, {}};
  LikeNameSelection& window = flow.selection->likeNames;
  window.pointAt(app.newNameText, app.oldNameText, {app.choices.includeSubdirs, app.choices.excludeMasks});
  if (window.BuildLikeNameList(flow.files) == 0) {
    return refuse(
        flow,
        "New and Old Input File Directories have no common named files. \r Respecify Directories or "
        "use a different filter mask.",
        FocusTarget::NewName);
  }
  window.applySavedSelection(app.SavedLikeNameSelection);
  window.reconcileSelection();
  window.showPaths();
  window.beginShowing();
  app.RunFromLikeNameList = true;
  flow.selection->windows.showLikeNameSelection(window);
  app.RunFromLikeNameList = false;
  if (!window.lastStart()) return {FlowOutcome::Stopped, {}};
  return {FlowOutcome::Ran, *window.lastStart()};
}

FlowResult StartTwoListSelection(FlowServices& flow) {
  AppState& app = flow.app;
  if (flow.selection == nullptr) return {FlowOutcome::NotAvailable, {}};
  const std::string& type = app.choices.compareType;
  if (!checkDirectory(flow, app.newNameText, type, "Invalid New Input File Directory specified.",
                      FocusTarget::NewName) ||
      !checkDirectory(flow, app.oldNameText, type, "Invalid Old Input File Directory specified.",
                      FocusTarget::OldName)) {
    return {FlowOutcome::Refused, {}};
  }
  AddNamesToHistories(flow);
  TwoListSelection& window = flow.selection->twoLists;
  window.open(flow.files, app.newNameText, app.oldNameText,
              {app.choices.includeSubdirs, app.choices.excludeMasks});
  if (window.files(PairSide::New).empty()) {
    return refuse(flow,
                  "New Input File Directory has no files to compare. \r Respecify the New Directory Name.");
  }
  if (window.files(PairSide::Old).empty()) {
    return refuse(flow,
                  "Old Input File Directory has no files to compare. \r Respecify the Old Directory Name.");
  }
  window.applySavedSelection(app.SavedPairSelection);
  window.dropStalePairs();
  window.showPaths();
  window.beginShowing();
  app.RunFromTwoLists = true;
  flow.selection->windows.showTwoListSelection(window);
  app.RunFromTwoLists = false;
  if (!window.lastStart()) return {FlowOutcome::Stopped, {}};
  return {FlowOutcome::Ran, *window.lastStart()};
}

bool MnBtnRshowClick(FlowServices& flow) {
  if (!ReShowAllowed(flow.app, flow.host)) return false;
  if (flow.window != nullptr) {
    flow.window->showReport();
    flow.window->focus(FocusTarget::ExitButton);
  }
  return true;
}

}  // namespace kelvarine
