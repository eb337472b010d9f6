#include "ui/main_panel_pages.h"

#include "ui/assistant_pages.h"

namespace kelvarine {

void RebuildShownOptions(AppState& app) {
  app.optionsString = RebuildOptionsString(app.choices);
}

void ChangePage(PageServices& services, PageMemory& memory, Page to) {
  CompareChoices& choices = services.app.choices;
  const bool onAssistant = memory.current == Page::DirSelect || memory.current == Page::FileSelect;
  if (onAssistant && to != memory.current && !memory.assistantUsed) AssistantCancel(services, memory);
  memory.savedNewName = services.panel.MnCbNewDirNm.text;
  memory.savedOldName = services.panel.MnCbOldDirNm.text;
  memory.savedCompareType = choices.compareType;
  memory.assistantUsed = false;
  if (memory.current == Page::Preferences && to != Page::Preferences) RebuildShownOptions(services.app);
  if (to == Page::Preferences) memory.savedChecked = choices.checked;
  if (to == Page::DpOptions) {
    memory.savedDpIndex = choices.dpIndex;
    memory.savedDudcTag = choices.dudcTag;
    memory.savedDudcYesNo = choices.dudcYesNo.substr(0, 3);
    RebuildShownOptions(services.app);
  }
  memory.current = to;
}

void PreferencesCancel(PageServices& services, const PageMemory& memory) {
  services.app.choices.checked = memory.savedChecked;
  RebuildShownOptions(services.app);
}

void PreferencesReset(PageServices& services) {
  services.app.choices.checked.fill(false);
}

void DpOptionsCancel(PageServices& services, const PageMemory& memory) {
  CompareChoices& choices = services.app.choices;
  choices.dpIndex = memory.savedDpIndex;
  choices.dudcTag = memory.savedDudcTag;
  choices.dudcYesNo = memory.savedDudcYesNo;
}

void ApplyDroppedFiles(PageServices& services, const std::vector<std::string>& names,
                       bool atOrBelowOldFieldTop) {
  if (names.empty()) return;
  if (names.size() == 1) {
    (atOrBelowOldFieldTop ? services.panel.MnCbOldDirNm : services.panel.MnCbNewDirNm).text = names[0];
    return;
  }
  services.panel.MnCbNewDirNm.text = names[0];
  services.panel.MnCbOldDirNm.text = names[1];
}

std::string CompareTypeForStartNames(FileSystem& files, const std::string& current,
                                     const std::string& newName, const std::string& oldName) {
  using Kind = FileSystem::Kind;
  const Kind newKind = files.kind(newName);
  if (newKind != files.kind(oldName)) return current;
  if (newKind == Kind::File) return kCompareTypes[0];
  if (newKind == Kind::Directory && current == kCompareTypes[0]) return kCompareTypes[1];
  return current;
}

CloseDecision CloseRequested(const PageMemory& memory) {
  switch (memory.current) {
    case Page::MainPanel:
      return CloseDecision::Close;
    case Page::DirSelect:
    case Page::FileSelect:
      return CloseDecision::RunAssistantReturn;
    default:
      return CloseDecision::ShowMainPanel;
  }
}

}  // namespace kelvarine
