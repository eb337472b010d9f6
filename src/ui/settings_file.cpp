#include "ui/settings_file.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "engine/ascii_case.h"
#include "engine/std_file_system.h"
#include "ui/ini_file.h"
#include "ui/like_name_selection.h"
#include "ui/main_panel_pages.h"
#include "ui/two_list_selection.h"

namespace fs = std::filesystem;

namespace kelvarine {
namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;

bool readWholeFile(const fs::path& path, std::string& text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream buffer;
  buffer << in.rdbuf();
  if (in.bad()) return false;
  text = buffer.str();
  return true;
}

bool parseInt(std::string_view text, int& value) {
  int parsed = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed);
  if (error != std::errc() || end != text.data() + text.size() || text.empty()) return false;
  value = parsed;
  return true;
}

bool isOneOf(std::string_view text, const std::array<const char*, 4>& items) {
  for (const char* item : items)
    if (text == item) return true;
  return false;
}

// How a key's value is written and read back.
enum class KeyKind {
  Number,        // an int written in decimal; a value that is not one leaves the field
  Text,          // the text, cut to the key's limit on load
  TextIfSet,     // a text written only when not empty (the saved selections)
  Flag,          // "1" or "0"; any value that does not start with "1" is off
  ReadOnlyFlag,  // a flag read, never written: "Bypass Ini Update On Exit" stays a per-session choice
  History,       // a name history, written as key0, key1, ... in list order
  Columns,       // a compare-column range; a value without ":" is empty
  CompareType,   // an item of the compare type list, or empty
  ListType,      // an item of the listing type list
  Xtab,          // the first character, when it is 1 to 8
  Options,       // the options string
};

// One key of the program's section: its name as written (the load compares it ignoring case, as a
// prefix for histories, else followed by "="), the kind of its value and the field that holds it.
struct SettingsKey {
  const char* name;
  KeyKind kind;
  void* field;  // int, std::string, bool or NameHistoryField, as the kind says
  std::size_t limit = std::string::npos;
};

// Every key the settings file has, in the order the save writes them. `options` stands for the
// options string: the save writes it, the load builds it anew from the flags it names.
std::vector<SettingsKey> settingsKeys(MainPanelState& p, CompareChoices& c, std::string& options) {
  constexpr std::size_t kFont = 2, kGeometry = 4, kOutFn = 149;
  using K = KeyKind;
  return {
      {"Top", K::Number, &p.Top},
      {"Left", K::Number, &p.Left},
      {"NewDirNm", K::Text, &p.MnCbNewDirNm.text},
      {"NFCombo", K::History, &p.MnCbNewDirNm},
      {"OldDirNm", K::Text, &p.MnCbOldDirNm.text},
      {"OFCombo", K::History, &p.MnCbOldDirNm},
      {"FSNFCombo", K::History, &p.FsTcNewFileNm},
      {"FSOFCombo", K::History, &p.FsTcOldFileNm},
      {"FSNDCombo", K::History, &p.DsInDirN},
      {"FSODCombo", K::History, &p.DsInDirO},
      {"CompareType", K::CompareType, &c.compareType},
      {"ListType", K::ListType, &c.listType},
      {"SubC", K::Text, &c.subcText},
      {"XTab", K::Xtab, &c.xtabText},
      {"ViewResults", K::Flag, &p.MnCkViewResults},
      {"TurnOffHint", K::Flag, &p.MnCkTurnOffHint},
      {"OmitIniSv", K::ReadOnlyFlag, &p.MnCkOmitIniSv},
      {"NoWarnFilC", K::Flag, &p.FsCkNoWarnNoFileChg},
      {"NoWarnDirC", K::Flag, &p.DsCkNoWarnNoDirChg},
      {"NoRtfmShow", K::Flag, &p.NoRtfmShow},
      {"OptsUsed", K::Options, &options},
      {"PFontSz", K::Text, &p.PFontSz, kFont},
      {"VLFontSz", K::Text, &p.VLFontSz, kFont},
      {"VLTop1", K::Text, &p.VLTop1, kGeometry},
      {"VLTop2", K::Text, &p.VLTop2, kGeometry},
      {"VHTop2", K::Text, &p.VHTop2, kGeometry},
      {"VLHt1", K::Text, &p.VLHt1, kGeometry},
      {"VLHt2", K::Text, &p.VLHt2, kGeometry},
      {"VHHt2", K::Text, &p.VHHt2, kGeometry},
      {"VLWide1", K::Text, &p.VLWide1, kGeometry},
      {"VLWide2", K::Text, &p.VLWide2, kGeometry},
      {"VHWide2", K::Text, &p.VHWide2, kGeometry},
      {"VLLeft1", K::Text, &p.VLLeft1, kGeometry},
      {"VLLeft2", K::Text, &p.VLLeft2, kGeometry},
      {"VHLeft2", K::Text, &p.VHLeft2, kGeometry},
      {"SpSplit", K::Text, &p.SpSplit, kGeometry},
      {"SpSplit2", K::Text, &p.SpSplit2, kGeometry},
      {"DpEdUdc", K::Text, &c.dudcTag},
      {"UdcYN", K::Text, &c.dudcYesNo},
      {"CmpSt1Col", K::Columns, &c.ccolNew1},
      {"CmpSt2Col", K::Columns, &c.ccolNew2},
      {"CmpOSt1Col", K::Columns, &c.ccolOld1},
      {"CmpOSt2Col", K::Columns, &c.ccolOld2},
      {"SvULList", K::TextIfSet, &p.SvULList},
      {"SvLList", K::TextIfSet, &p.SvLList},
      {"OutFn", K::Text, &p.OutFn, kOutFn},
      {"SbsRp", K::Flag, &p.SbsRp},
      {"SubDirs", K::Flag, &c.includeSubdirs},
      {"ExclMask", K::Text, &c.excludeMasks},
      // The main window's size goes last, with the other keys a file may lack, so that the keys above
      // keep their order.
      {"Width", K::Number, &p.Width},
      {"Height", K::Number, &p.Height},
  };
}

class SettingsLoader {
 public:
  explicit SettingsLoader(SettingsServices& s) : s_(s), panel_(s.panel), choices_(s.app.choices) {}

  void load(const std::vector<std::string>& lines) {
    panel_.MnCbNewDirNm.history.clear();
    panel_.MnCbOldDirNm.history.clear();
    // A file without saved selections hands none over.
    panel_.SvLList.clear();
    panel_.SvULList.clear();
    std::string optionsText;
    const std::vector<SettingsKey> keys = settingsKeys(panel_, choices_, optionsText);
    for (const std::string& line : lines) {
      const std::size_t equals = line.find('=');
      if (equals == std::string::npos) continue;
      const std::string_view name = std::string_view(line).substr(0, equals);
      for (const SettingsKey& key : keys) {
        const std::string_view keyName = key.name;
        // A history key is followed by its entry's number.
        const bool matches =
            key.kind == KeyKind::History
                ? name.size() >= keyName.size() && EqualIgnoringCase(name.substr(0, keyName.size()), keyName)
                : EqualIgnoringCase(name, keyName);
        if (!matches) continue;
        apply(key, std::string_view(line).substr(equals + 1));
        break;
      }
    }
    s_.app.optionsString = options_.empty() ? "None" : options_;
    choices_.subcText = NormaliseSubcText(choices_.subcText);
    HandSavedSelections(panel_, s_.app);
    s_.host.setStatusText(kSettingsLoadedStatus);
  }

 private:
  void apply(const SettingsKey& key, std::string_view v) {
    // The field's type follows the kind: each branch reads it only as what it is.
    auto text = [&]() -> std::string& { return *static_cast<std::string*>(key.field); };
    switch (key.kind) {
      case KeyKind::Number:
        parseInt(v, *static_cast<int*>(key.field));
        break;
      case KeyKind::Text:
      case KeyKind::TextIfSet:
        text() = std::string(v.substr(0, key.limit));
        break;
      case KeyKind::Flag:
      case KeyKind::ReadOnlyFlag:
        *static_cast<bool*>(key.field) = !v.empty() && v.front() == '1';
        break;
      case KeyKind::History:
        addToHistory(*static_cast<NameHistoryField*>(key.field), std::string(v));
        break;
      case KeyKind::Columns:
        text() = v.find(':') == std::string_view::npos ? std::string() : std::string(v);
        break;
      case KeyKind::CompareType:
        // An empty compare type is kept (Start then does nothing); other texts must be an item.
        if (v.empty() || isOneOf(v, kCompareTypes)) text() = std::string(v);
        break;
      case KeyKind::ListType:
        if (isOneOf(v, kListTypes)) text() = std::string(v);
        break;
      case KeyKind::Xtab:
        if (!v.empty() && v.front() >= '1' && v.front() <= '8') text() = std::string(1, v.front());
        break;
      case KeyKind::Options: {
        const std::string built = ApplyOptionsString(choices_, std::string(v));
        options_ = built == "None" ? std::string() : built;
        break;
      }
    }
  }

  // A history name is kept as spelled; one already listed (ignoring case) is not listed twice, so that
  // loading a file again, or a file that lists a name twice, leaves each name once.
  void addToHistory(NameHistoryField& field, std::string name) {
    if (!NameQualifiesForHistory(s_.files, name, HistoryAccepts::FilesOrDirectories)) return;
    if (std::ranges::any_of(field.history,
                            [&](const std::string& entry) { return EqualIgnoringCase(entry, name); }))
      return;
    field.history.push_back(std::move(name));
  }

  SettingsServices& s_;
  MainPanelState& panel_;
  CompareChoices& choices_;
  std::string options_;  // the options string built from OptsUsed, empty when nothing matched
};

// A history as the save writes it: key0, key1, ... in list order, leaving out names that hold a line
// end (the file cannot store them, and a cut name would be another file).
void addHistory(Entries& entries, const char* key, const std::vector<std::string>& history) {
  int n = 0;
  for (const std::string& name : history) {
    if (name.find_first_of("\r\n") != std::string::npos) continue;
    entries.emplace_back(key + std::to_string(n++), name);
  }
}

Entries buildEntries(MainPanelState p, CompareChoices c, std::string optionsString) {
  Entries e;
  for (const SettingsKey& key : settingsKeys(p, c, optionsString)) {
    auto text = [&]() -> const std::string& { return *static_cast<const std::string*>(key.field); };
    switch (key.kind) {
      case KeyKind::Number:
        e.emplace_back(key.name, std::to_string(*static_cast<const int*>(key.field)));
        break;
      case KeyKind::Flag:
        e.emplace_back(key.name, *static_cast<const bool*>(key.field) ? "1" : "0");
        break;
      case KeyKind::ReadOnlyFlag:
        break;
      case KeyKind::History:
        addHistory(e, key.name, static_cast<const NameHistoryField*>(key.field)->history);
        break;
      case KeyKind::TextIfSet:
        if (!text().empty()) e.emplace_back(key.name, text());
        break;
      default:
        e.emplace_back(key.name, text());
        break;
    }
  }
  return e;
}

// A main field's current text is saved under its own key: the history entry equal to it (ignoring
// case) leaves the drop-down list before the history is written.
void dropCurrentFromHistory(NameHistoryField& field) {
  std::erase_if(field.history,
                [&](const std::string& entry) { return EqualIgnoringCase(entry, field.text); });
}

// Writes `text` to a new file beside `target` and renames it over the target. On failure the target
// is untouched and `error` says why.
bool replaceFileContent(const fs::path& target, const std::string& text, std::string& error) {
  std::random_device random;
  const fs::path temporary =
      target.parent_path() / (target.filename().string() + ".tmp" + std::to_string(random()));
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) {
      error = "cannot create \"" + temporary.string() + "\"";
      return false;
    }
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    if (!out) {
      std::error_code ignored;
      fs::remove(temporary, ignored);
      error = "cannot write \"" + temporary.string() + "\"";
      return false;
    }
  }
  std::error_code code;
  const fs::file_status old = fs::status(target, code);
  if (!code && fs::exists(old)) fs::permissions(temporary, old.permissions(), code);
  fs::rename(temporary, target, code);
  if (code) {
    std::error_code ignored;
    fs::remove(temporary, ignored);
    error = code.message();
    return false;
  }
  return true;
}

}  // namespace

void HandSavedSelections(const MainPanelState& panel, AppState& app) {
  app.SavedLikeNameSelection = panel.SvLList;
  app.SavedPairSelection = panel.SvULList;
}

void TakeSavedSelections(MainPanelState& panel, const AppState& app, const LikeNameSelection* likeNames,
                         const TwoListSelection* twoLists) {
  // A selection handed over by a load and not yet applied by its window is still the one in force.
  if (!app.SavedLikeNameSelection.empty())
    panel.SvLList = app.SavedLikeNameSelection;
  else if (likeNames != nullptr)
    panel.SvLList = likeNames->savedSelection();
  if (!app.SavedPairSelection.empty())
    panel.SvULList = app.SavedPairSelection;
  else if (twoLists != nullptr)
    panel.SvULList = twoLists->savedSelection();
}

fs::path ExecutableDirectory() {
  std::error_code code;
  const fs::path self = fs::read_symlink("/proc/self/exe", code);
  return code ? fs::path() : self.parent_path();
}

fs::path DefaultSettingsPath(const fs::path& executableDirectory, const char* xdgConfigHome,
                             const char* home) {
  if (!executableDirectory.empty()) {
    const fs::path beside = executableDirectory / kSettingsFileName;
    std::error_code code;
    if (fs::is_regular_file(beside, code)) return beside;
  }
  if (xdgConfigHome != nullptr && fs::path(xdgConfigHome).is_absolute())
    return fs::path(xdgConfigHome) / "kelvarine" / kSettingsFileName;
  if (home != nullptr && *home != '\0') return fs::path(home) / ".config" / "kelvarine" / kSettingsFileName;
  return fs::path(".config") / "kelvarine" / kSettingsFileName;
}

fs::path DefaultSettingsPath() {
  return DefaultSettingsPath(ExecutableDirectory(), std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
}

bool LoadSettings(SettingsServices& settings, const fs::path& path) {
  std::string text;
  if (!readWholeFile(ResolvePathIgnoringCase(path.string()), text)) return false;
  SettingsLoader(settings).load(IniFile(text).sectionEntries(kSettingsSection));
  return true;
}

bool SaveSettings(SettingsServices& settings, const fs::path& path) {
  const auto fail = [&](const std::string& why) {
    settings.host.showMessage("Could not save the settings file \"" + path.string() + "\": " + why + ".");
    return false;
  };
  std::error_code code;
  // An existing file whose name differs only in letter case is the one written. Through a link the
  // file it names is replaced, not the link.
  fs::path target = ResolveTargetPath(path.string());
  if (fs::symlink_status(target, code).type() == fs::file_type::symlink) {
    target = fs::weakly_canonical(target, code);
    if (code) return fail(code.message());
  }
  code.clear();
  if (target.has_parent_path() && !fs::exists(target.parent_path(), code)) {
    fs::create_directories(target.parent_path(), code);
    if (code) return fail("cannot create its directory (" + code.message() + ")");
  }
  std::string old;
  if (fs::exists(target, code) && !readWholeFile(target, old))
    return fail("the existing file cannot be read");
  IniFile ini(old);
  TakeSavedSelections(settings.panel, settings.app, settings.likeNames, settings.twoLists);
  dropCurrentFromHistory(settings.panel.MnCbNewDirNm);
  dropCurrentFromHistory(settings.panel.MnCbOldDirNm);
  ini.replaceSection(kSettingsSection,
                     buildEntries(settings.panel, settings.app.choices, settings.app.optionsString));
  std::string error;
  if (!replaceFileContent(target, ini.text(), error)) return fail(error);
  return true;
}

bool HasIniExtension(const fs::path& path) {
  // A name that is only the extension (".ini") has it too, unlike what fs::path::extension() says.
  const std::string name = path.filename().string();
  constexpr std::string_view kExtension = ".ini";
  return name.size() >= kExtension.size() &&
         EqualIgnoringCase(std::string_view(name).substr(name.size() - kExtension.size()), kExtension);
}

void ResetForUserIni(MainPanelState& panel, CompareChoices& choices, std::string& optionsString) {
  choices.checked.fill(false);
  panel.MnCkViewResults = false;
  panel.MnCkTurnOffHint = false;
  panel.MnCkOmitIniSv = false;
  choices.xtabText = "4";
  choices.subcText = "\".\"";
  choices.ccolNew1 = "1:eol";
  choices.ccolOld1 = "1:eol";
  choices.ccolNew2.clear();
  choices.ccolOld2.clear();
  choices.dpIndex = 0;
  optionsString = "None";
}

bool LoadUserIni(SettingsServices& settings, const fs::path& picked, fs::path& settingsPath) {
  if (!HasIniExtension(picked)) {
    settings.host.showMessage(kIniExtensionMessage);
    return false;
  }
  std::string text;
  const fs::path resolved = ResolvePathIgnoringCase(picked.string());
  if (!readWholeFile(resolved, text)) {
    settings.host.showMessage("Could not read the settings file \"" + picked.string() + "\".");
    return false;
  }
  settingsPath = resolved;
  ResetForUserIni(settings.panel, settings.app.choices, settings.app.optionsString);
  SettingsLoader(settings).load(IniFile(text).sectionEntries(kSettingsSection));
  return true;
}

bool SaveUserIni(SettingsServices& settings, const fs::path& picked, fs::path& settingsPath) {
  if (!HasIniExtension(picked)) {
    settings.host.showMessage(kIniExtensionMessage);
    return false;
  }
  settingsPath = ResolveTargetPath(picked.string());
  return SaveSettings(settings, settingsPath);
}

bool LoadSettingsAtStart(SettingsServices& settings, const fs::path& defaultPath, fs::path& settingsPath) {
  settings.app.choices.compareType = kCompareTypes[1];
  settings.panel.PFontSz = "8";
  settings.panel.VLFontSz = "8";
  if (defaultPath.empty()) return false;
  const fs::path resolved = ResolvePathIgnoringCase(defaultPath.string());
  std::error_code code;
  if (!fs::is_regular_file(resolved, code)) return false;
  settingsPath = resolved;
  return LoadSettings(settings, resolved);
}

void ApplyStartNames(SettingsServices& settings, const std::string& newName, const std::string& oldName) {
  const auto apply = [&](NameHistoryField& field, const std::string& name) {
    if (name.empty()) return;
    // The name keeps its letter case: on Linux another spelling may name another file.
    AddToNameHistory(field, name, settings.files, HistoryAccepts::FilesOrDirectories);
    field.text = name;
  };
  apply(settings.panel.MnCbNewDirNm, newName);
  apply(settings.panel.MnCbOldDirNm, oldName);
  if (newName.empty() && oldName.empty()) return;
  std::string& type = settings.app.choices.compareType;
  type = CompareTypeForStartNames(settings.files, type, settings.panel.MnCbNewDirNm.text,
                                  settings.panel.MnCbOldDirNm.text);
}

bool SaveSettingsAtClose(SettingsServices& settings, const fs::path& settingsPath,
                         const fs::path& defaultPath) {
  if (settings.panel.MnCkOmitIniSv) return true;
  return SaveSettings(settings, settingsPath.empty() ? defaultPath : settingsPath);
}

}  // namespace kelvarine
