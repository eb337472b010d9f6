#pragma once

#include <filesystem>
#include <string>

#include "engine/app_state.h"
#include "engine/file_system.h"
#include "engine/host.h"
#include "ui/main_panel_state.h"

namespace kelvarine {

class LikeNameSelection;
class TwoListSelection;

// The name of the settings file and of its one section.
inline constexpr const char* kSettingsFileName = "Kelvarn.ini";
inline constexpr const char* kSettingsSection = "Kelvarn";

// The message of both settings dialogs for a name without the ".ini" extension.
inline constexpr const char* kIniExtensionMessage = "Must specify a file with an .ini extension";
// The status text shown after a load.
inline constexpr const char* kSettingsLoadedStatus =
    "Waiting for information to be set, verified, and completed.";

// What the settings file reads and writes: the main panel's controls and the compare choices with
// their options string (app.choices, app.optionsString).
struct SettingsServices {
  MainPanelState& panel;
  AppState& app;
  FileSystem& files;  // existence tests of history names
  Host& host;
  // The selection windows whose current selections a save writes (SvLList, SvULList); without them
  // the panel's values are written as they stand.
  const LikeNameSelection* likeNames = nullptr;
  const TwoListSelection* twoLists = nullptr;
};

// Every load ends with this: the selections read (panel.SvLList, panel.SvULList, empty when the file
// has none) wait in app.SavedLikeNameSelection / SavedPairSelection for the next opening of their window.
void HandSavedSelections(const MainPanelState& panel, AppState& app);
// Every save starts with this: each saved selection becomes the one still waiting from a load, else the
// window's current selection (each entry followed by ";"), else stays as it is when there is no window.
void TakeSavedSelections(MainPanelState& panel, const AppState& app, const LikeNameSelection* likeNames,
                         const TwoListSelection* twoLists);

// The directory of the running program ("" when it cannot be found).
std::filesystem::path ExecutableDirectory();

// The settings file to use at start and for the save at close when none was chosen: Kelvarn.ini
// beside the program when it exists there, else $XDG_CONFIG_HOME/kelvarine/Kelvarn.ini (when that
// variable holds an absolute path), else $HOME/.config/kelvarine/Kelvarn.ini. Null variables count as
// unset; with neither variable usable the name is relative to the working directory.
std::filesystem::path DefaultSettingsPath(const std::filesystem::path& executableDirectory,
                                          const char* xdgConfigHome, const char* home);
// The same, with the running program's directory and the process environment.
std::filesystem::path DefaultSettingsPath();

// Reads the "Kelvarn" section of the file (found ignoring letter case) into the panel and the choices
// (unusable lines are skipped; history names already listed are not added again), hands the saved
// selections over, normalises the Subc text and shows the loaded status text. Returns false, changing
// nothing, when the file cannot be read.
bool LoadSettings(SettingsServices& settings, const std::filesystem::path& path);

// Writes the settings as the "Kelvarn" section of the file (an existing file whose name differs only in
// letter case is the one written), keeping every other section byte for byte; the selections are taken
// (TakeSavedSelections) and the entry equal to each main name field's text first leaves that field's
// history.
// The file is written beside the target under a temporary name and renamed over it, so that a failed
// save leaves the old file as it was; a failure shows a message and returns false.
bool SaveSettings(SettingsServices& settings, const std::filesystem::path& path);

// True when the file name has the extension ".ini" (letter case ignored).
bool HasIniExtension(const std::filesystem::path& path);

// Puts the choices that "Load User Ini" resets back to their defaults: all preference boxes and the
// three main-panel check boxes off, Xtab "4", Subc "\".\"", compare columns "1:eol" and empty, Dp
// option and options string "None".
void ResetForUserIni(MainPanelState& panel, CompareChoices& choices, std::string& optionsString);

// "Load User Ini" with the file the user picked: refuses a name without ".ini" (message, nothing
// changed); otherwise makes it the settings path, resets and loads. Returns true when it loaded.
bool LoadUserIni(SettingsServices& settings, const std::filesystem::path& picked,
                 std::filesystem::path& settingsPath);

// "Sv User Ini" with the file name the user picked: refuses a name without ".ini"; otherwise makes it
// the settings path and saves. Returns true when it saved.
bool SaveUserIni(SettingsServices& settings, const std::filesystem::path& picked,
                 std::filesystem::path& settingsPath);

// Start of the program: compare type item 2 and font sizes "8"; then, when the default file exists,
// it becomes the settings path and is loaded. Returns true when a file was loaded.
bool LoadSettingsAtStart(SettingsServices& settings, const std::filesystem::path& defaultPath,
                         std::filesystem::path& settingsPath);

// The command-line names given at start replace the loaded ones, letter case kept, and go to the front
// of the main fields' histories when they exist; the compare type follows them as on the command line
// (CompareTypeForStartNames). An empty name leaves its field alone; with none the type stays.
void ApplyStartNames(SettingsServices& settings, const std::string& newName, const std::string& oldName);

// Close of the main window on the main panel: saves unless "Bypass Ini Update On Exit" is checked, to
// the settings path, or to the default path when none was loaded or chosen. Returns false only when
// a save was tried and failed.
bool SaveSettingsAtClose(SettingsServices& settings, const std::filesystem::path& settingsPath,
                         const std::filesystem::path& defaultPath);

}  // namespace kelvarine
