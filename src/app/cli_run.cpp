#include "app/cli_run.h"

#include <algorithm>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "app/cli_options.h"
#include "app/refusal.h"
#include "ui/ini_file.h"
#include "ui/main_panel_state.h"
#include "ui/settings_file.h"

namespace kelvarine {

namespace {
constexpr const char* kHelpHint = "\nRun with --help for more information.";
}

void SetUpRun(const CliOptions& options, AppState& app) {
  app.choices = options.choices;
  app.optionsString = options.optionsString;
  app.Jobs =
      options.jobs > 0 ? options.jobs : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}

bool LoadSettingsFile(const CliOptions& options, AppState& app, FileSystem& files, Host& host,
                      RunInputs& inputs, std::string* why) {
  MainPanelState panel;
  SettingsServices services{panel, app, files, host};
  std::filesystem::path settingsPath;
  app.choices.compareType.clear();  // stays empty when the file names no compare type
  if (!LoadUserIni(services, options.settingsFile, settingsPath)) return false;
  // The desktop program skips a compare or listing type it does not know; here it is an error.
  std::ifstream in(settingsPath, std::ios::binary);
  const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (!ApplySettingsTypes(IniFile(text).sectionEntries(kSettingsSection), app.choices, why)) {
    if (why != nullptr) *why += kHelpHint;
    return false;
  }
  // A hand-written selection may leave out the ";" after its last entry.
  for (std::string* saved : {&app.SavedLikeNameSelection, &app.SavedPairSelection})
    if (!saved->empty() && saved->back() != ';') *saved += ';';
  ApplyGivenChoices(options, app.choices, app.optionsString);
  if (inputs.newName.empty()) inputs.newName = panel.MnCbNewDirNm.text;
  if (inputs.oldName.empty()) inputs.oldName = panel.MnCbOldDirNm.text;
  inputs.loadedCompareType = app.choices.compareType;
  return (!inputs.newName.empty() && !inputs.oldName.empty()) ||
         Refuse(why, "NEW and OLD are given neither on the command line nor in the settings file");
}

CommandLineFileSystem::Staging StageInputs(CommandLineFileSystem& files, const RunInputs& inputs,
                                           const std::function<bool()>& halted, std::string* why) {
  for (const std::string& name : {inputs.newName, inputs.oldName}) {
    std::string problem;
    const auto staging = files.stage(name, halted, &problem);
    if (staging == CommandLineFileSystem::Staging::Failed) Refuse(why, name + ": " + problem);
    if (staging != CommandLineFileSystem::Staging::Ready) return staging;
  }
  return CommandLineFileSystem::Staging::Ready;
}

bool ChooseCompareType(const CliOptions& options, FileSystem& files, RunInputs& inputs,
                       CompareChoices& choices, std::string* why) {
  if (options.compareType != 0) {
    choices.compareType = kCompareTypes[static_cast<std::size_t>(options.compareType - 1)];
    return true;
  }
  if (!inputs.loadedCompareType.empty()) return true;  // the settings file's type stands
  if (!PairDirectoryWithFile(files, inputs.newName, inputs.oldName, why)) return false;
  const int compareType = DefaultCompareType(files, inputs.newName, inputs.oldName);
  choices.compareType = kCompareTypes[static_cast<std::size_t>(compareType - 1)];
  return true;
}

bool CheckChoicesFit(const CliOptions& options, const CompareChoices& choices, std::string* why) {
  // The Old-side list exists only with Sbsl: without it the file is refused before it is ever opened.
  if (!options.oldListFile.empty() && !choices.isChecked(Pref::Sbsl))
    return Refuse(why, std::string("--old-list needs Sbsl among the options (-o Sbsl)") + kHelpHint);
  // A unified diff has no report to lay out side by side or in source columns.
  if (options.unified >= 0 && (choices.isChecked(Pref::Sbsl) || choices.isChecked(Pref::Fscl)))
    return Refuse(why,
                  std::string("-u writes a diff, not a report: the Sbsl and Fscl options cannot go with it") +
                      kHelpHint);
  return true;
}

int CompareTypeNumber(const std::string& compareType) {
  for (std::size_t i = 0; i + 1 < kCompareTypes.size(); ++i)
    if (compareType == kCompareTypes[i]) return static_cast<int>(i) + 1;
  return static_cast<int>(kCompareTypes.size());
}

bool StopsWhenDecided(const CliOptions& options) {
  return options.quiet && options.unified < 0 && options.saveFile.empty() && options.oldListFile.empty();
}

bool FindUnusableNames(FileSystem& files, const RunInputs& inputs, std::vector<std::string>& named) {
  bool unusable = false;
  for (const std::string& name : {inputs.newName, inputs.oldName}) {
    std::string why;
    if (files.nameUsable(name, &why)) continue;
    if (files.kind(name) != FileSystem::Kind::File) named.push_back(name + ": " + why);
    unusable = true;
  }
  return unusable;
}

int ExitStatusWithoutRun(FlowOutcome outcome, bool unusableName, bool anyFile, bool halted) {
  if (outcome == FlowOutcome::NoPairs && !unusableName) return anyFile ? kExitDifferent : kExitEquivalent;
  return halted ? kExitHalted : kExitError;
}

int ExitStatusForRun(const RunEnd& end) {
  if (end.halted || end.status == RunStatusCode::Halted) return kExitHalted;
  int status = kExitError;
  switch (end.status) {
    case RunStatusCode::Equal:
    case RunStatusCode::FilteredEqual:
    case RunStatusCode::NothingCompared:
      status = end.diffDiffers || end.fileOnOneSide ? kExitDifferent : kExitEquivalent;
      break;
    case RunStatusCode::Different:
      status = kExitDifferent;
      break;
    default:
      break;
  }
  return end.unreadableDirectory || end.outputFailed ? kExitError : status;
}

}  // namespace kelvarine
