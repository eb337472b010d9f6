#include "ui/settings_file.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdlib>
#include <fstream>
#include <functional>
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

// One load rule: the key's beginning as the load tests it, and what its value does.
struct LoadRule {
  const char* prefix;
  std::function<void(std::string_view)> apply;
};

class SettingsLoader {
 public:
  explicit SettingsLoader(SettingsServices& s) : s_(s), panel_(s.panel), choices_(s.app.choices) {}

  void load(const std::vector<std::string>& lines) {
    panel_.MnCbNewDirNm.history.clear();
    panel_.MnCbOldDirNm.history.clear();
    // A file without saved selections hands none over.
    panel_.SvLList.clear();
    panel_.SvULList.clear();
    const std::vector<LoadRule> rules = buildRules();
    for (const std::string& line : lines) {
      for (const LoadRule& rule : rules) {
        const std::string_view prefix = rule.prefix;
        if (line.size() < prefix.size() ||
            !EqualIgnoringCase(std::string_view(line).substr(0, prefix.size()), prefix))
          continue;
        const std::size_t equals = line.find('=');
        if (equals != std::string::npos) rule.apply(std::string_view(line).substr(equals + 1));
        break;
      }
    }
    s_.app.optionsString = options_.empty() ? "None" : options_;
    choices_.subcText = NormaliseSubcText(choices_.subcText);
    HandSavedSelections(panel_, s_.app);
    s_.host.setStatusText(kSettingsLoadedStatus);
  }

 private:
  std::function<void(std::string_view)> text(std::string& field, std::size_t limit = std::string::npos) {
    return [&field, limit](std::string_view v) { field = std::string(v.substr(0, limit)); };
  }
  std::function<void(std::string_view)> flag(bool& field) {
    return [&field](std::string_view v) { field = !v.empty() && v.front() == '1'; };
  }
  // A history name is kept as spelled; one already listed (ignoring case) is not listed twice, so that
  // loading a file again, or a file that lists a name twice, leaves each name once.
  std::function<void(std::string_view)> history(NameHistoryField& field) {
    return [this, &field](std::string_view v) {
      std::string name(v);
      if (!NameQualifiesForHistory(s_.files, name, HistoryAccepts::FilesOrDirectories)) return;
      if (std::ranges::any_of(field.history,
                              [&](const std::string& entry) { return EqualIgnoringCase(entry, name); }))
        return;
      field.history.push_back(std::move(name));
    };
  }
  std::function<void(std::string_view)> columns(std::string& field) {
    return [&field](std::string_view v) {
      field = v.find(':') == std::string_view::npos ? std::string() : std::string(v);
    };
  }

  std::vector<LoadRule> buildRules() {
    constexpr std::size_t kFont = 2, kGeometry = 4, kOutFn = 149;
    MainPanelState& p = panel_;
    CompareChoices& c = choices_;
    return {
        {"Top=", [&p](std::string_view v) { parseInt(v, p.Top); }},
        {"Left=", [&p](std::string_view v) { parseInt(v, p.Left); }},
        {"NewDirNm=", text(p.MnCbNewDirNm.text)},
        {"OldDirNm=", text(p.MnCbOldDirNm.text)},
        {"NFCombo", history(p.MnCbNewDirNm)},
        {"OFCombo", history(p.MnCbOldDirNm)},
        {"FsNFCombo", history(p.FsTcNewFileNm)},
        {"FsOFCombo", history(p.FsTcOldFileNm)},
        {"FsNDCombo", history(p.DsInDirN)},
        {"FsODCombo", history(p.DsInDirO)},
        // An empty compare type is kept (Start then does nothing); other texts must be an item.
        {"CompareType=",
         [&c](std::string_view v) {
           if (v.empty() || isOneOf(v, kCompareTypes)) c.compareType = std::string(v);
         }},
        {"ListType=",
         [&c](std::string_view v) {
           if (isOneOf(v, kListTypes)) c.listType = std::string(v);
         }},
        {"SubC=", text(c.subcText)},
        {"XTab=",
         [&c](std::string_view v) {
           if (!v.empty() && v.front() >= '1' && v.front() <= '8') c.xtabText = std::string(1, v.front());
         }},
        {"ViewResults=", flag(p.MnCkViewResults)},
        {"TurnOffHint=", flag(p.MnCkTurnOffHint)},
        {"NoRtfmShow=", flag(p.NoRtfmShow)},
        {"OmitIniSv=", flag(p.MnCkOmitIniSv)},
        {"NoWarnFilC=", flag(p.FsCkNoWarnNoFileChg)},
        {"NoWarnDirC=", flag(p.DsCkNoWarnNoDirChg)},
        {"PFontSz=", text(p.PFontSz, kFont)},
        {"VLFontSz=", text(p.VLFontSz, kFont)},
        {"VLTop1=", text(p.VLTop1, kGeometry)},
        {"VLTop2=", text(p.VLTop2, kGeometry)},
        {"VHTop2=", text(p.VHTop2, kGeometry)},
        {"SpSplit=", text(p.SpSplit, kGeometry)},
        {"SpSplit2=", text(p.SpSplit2, kGeometry)},
        {"VLHt1=", text(p.VLHt1, kGeometry)},
        {"VLHt2=", text(p.VLHt2, kGeometry)},
        {"VHHt2=", text(p.VHHt2, kGeometry)},
        {"VLWide1=", text(p.VLWide1, kGeometry)},
        {"VLWide2=", text(p.VLWide2, kGeometry)},
        {"VHWide2=", text(p.VHWide2, kGeometry)},
        {"VLLeft1=", text(p.VLLeft1, kGeometry)},
        {"VLLeft2=", text(p.VLLeft2, kGeometry)},
        {"VHLeft2=", text(p.VHLeft2, kGeometry)},
        {"DpEdUdc=", text(c.dudcTag)},
        {"UdcYN=", text(c.dudcYesNo)},
        {"CmpSt1Col=", columns(c.ccolNew1)},
        {"CmpSt2Col=", columns(c.ccolNew2)},
        {"CmpOSt1Col=", columns(c.ccolOld1)},
        {"CmpOSt2Col=", columns(c.ccolOld2)},
        {"OutFn=", text(p.OutFn, kOutFn)},
        {"SvLList=", text(p.SvLList)},
        {"SvULList=", text(p.SvULList)},
        {"SbsRp=", flag(p.SbsRp)},
        {"SubDirs=", flag(c.includeSubdirs)},
        {"ExclMask=", text(c.excludeMasks)},
        {"Width=", [&p](std::string_view v) { parseInt(v, p.Width); }},
        {"Height=", [&p](std::string_view v) { parseInt(v, p.Height); }},
        {"OptsUsed=",
         [this](std::string_view v) {
           const std::string built = ApplyOptionsString(choices_, std::string(v));
           options_ = built == "None" ? std::string() : built;
         }},
    };
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

Entries buildEntries(const MainPanelState& p, const CompareChoices& c, const std::string& optionsString) {
  const auto flag = [](bool on) { return std::string(on ? "1" : "0"); };
  Entries e;
  e.emplace_back("Top", std::to_string(p.Top));
  e.emplace_back("Left", std::to_string(p.Left));
  e.emplace_back("NewDirNm", p.MnCbNewDirNm.text);
  addHistory(e, "NFCombo", p.MnCbNewDirNm.history);
  e.emplace_back("OldDirNm", p.MnCbOldDirNm.text);
  addHistory(e, "OFCombo", p.MnCbOldDirNm.history);
  addHistory(e, "FSNFCombo", p.FsTcNewFileNm.history);
  addHistory(e, "FSOFCombo", p.FsTcOldFileNm.history);
  addHistory(e, "FSNDCombo", p.DsInDirN.history);
  addHistory(e, "FSODCombo", p.DsInDirO.history);
  e.emplace_back("CompareType", c.compareType);
  e.emplace_back("ListType", c.listType);
  e.emplace_back("SubC", c.subcText);
  e.emplace_back("XTab", c.xtabText);
  e.emplace_back("ViewResults", flag(p.MnCkViewResults));
  e.emplace_back("TurnOffHint", flag(p.MnCkTurnOffHint));
  e.emplace_back("NoWarnFilC", flag(p.FsCkNoWarnNoFileChg));
  e.emplace_back("NoWarnDirC", flag(p.DsCkNoWarnNoDirChg));
  e.emplace_back("NoRtfmShow", flag(p.NoRtfmShow));
  e.emplace_back("OptsUsed", optionsString);
  e.emplace_back("PFontSz", p.PFontSz);
  e.emplace_back("VLFontSz", p.VLFontSz);
  for (const auto& [key, value] :
       std::vector<std::pair<const char*, const std::string*>>{{"VLTop1", &p.VLTop1},
                                                               {"VLTop2", &p.VLTop2},
                                                               {"VHTop2", &p.VHTop2},
                                                               {"VLHt1", &p.VLHt1},
                                                               {"VLHt2", &p.VLHt2},
                                                               {"VHHt2", &p.VHHt2},
                                                               {"VLWide1", &p.VLWide1},
                                                               {"VLWide2", &p.VLWide2},
                                                               {"VHWide2", &p.VHWide2},
                                                               {"VLLeft1", &p.VLLeft1},
                                                               {"VLLeft2", &p.VLLeft2},
                                                               {"VHLeft2", &p.VHLeft2},
                                                               {"SpSplit", &p.SpSplit},
                                                               {"SpSplit2", &p.SpSplit2}})
    e.emplace_back(key, *value);
  e.emplace_back("DpEdUdc", c.dudcTag);
  e.emplace_back("UdcYN", c.dudcYesNo);
  e.emplace_back("CmpSt1Col", c.ccolNew1);
  e.emplace_back("CmpSt2Col", c.ccolNew2);
  e.emplace_back("CmpOSt1Col", c.ccolOld1);
  e.emplace_back("CmpOSt2Col", c.ccolOld2);
  if (!p.SvULList.empty()) e.emplace_back("SvULList", p.SvULList);
  if (!p.SvLList.empty()) e.emplace_back("SvLList", p.SvLList);
  e.emplace_back("OutFn", p.OutFn);
  e.emplace_back("SbsRp", flag(p.SbsRp));
  e.emplace_back("SubDirs", flag(c.includeSubdirs));
  e.emplace_back("ExclMask", c.excludeMasks);
  // The main window's size goes last, with the other keys a file may lack, so that the keys above keep
  // their order.
  e.emplace_back("Width", std::to_string(p.Width));
  e.emplace_back("Height", std::to_string(p.Height));
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
