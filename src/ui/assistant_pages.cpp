#include "ui/assistant_pages.h"

#include <algorithm>
#include <filesystem>
#include <vector>

#include "engine/ascii_case.h"
#include "ui/compare_flows.h"
#include "ui/wildcard_mask.h"

namespace kelvarine {
namespace {

using Kind = FileSystem::Kind;

NameHistoryField& mainField(PageServices& services, NameSide side) {
  return side == NameSide::New ? services.panel.MnCbNewDirNm : services.panel.MnCbOldDirNm;
}

// Enters a copy of the field's own text: AddToNameHistory rewrites the text it is given.
void archiveText(NameHistoryField& field, FileSystem& files, HistoryAccepts accepts) {
  const std::string text = field.text;
  AddToNameHistory(field, text, files, accepts);
}

// Enters the main name and the page field's current texts into their histories, then both show
// `name`.
void handOver(PageServices& services, NameHistoryField& page, HistoryAccepts pageAccepts, NameSide side,
              const std::string& name) {
  NameHistoryField& main = mainField(services, side);
  archiveText(main, services.files, HistoryAccepts::FilesOrDirectories);
  archiveText(page, services.files, pageAccepts);
  page.text = name;
  main.text = name;
}

bool isAbsolute(const std::string& name) {
  return !name.empty() && name.front() == '/';
}

// The Return question when a main name is still the one remembered on entry; `what` is "Dir" or
// "File". True when the page may be left; leaving by Return keeps what the page shows.
bool confirmReturn(PageServices& services, PageMemory& memory, bool noWarn, const std::string& what) {
  const std::string& newName = services.panel.MnCbNewDirNm.text;
  const std::string& oldName = services.panel.MnCbOldDirNm.text;
  const bool newSame = newName == memory.savedNewName;
  const bool oldSame = oldName == memory.savedOldName;
  bool leave = noWarn || (!newSame && !oldSame);
  if (!leave) {
    std::string question;
    if (newSame && oldSame)
      question = "The New and Old " + what + " Names - \"" + newName + "\" and \"" + oldName + "\" remain";
    else if (newSame)
      question = "The New " + what + " Name \"" + newName + "\" remains";
    else
      question = "The Old " + what + " Name \"" + oldName + "\" remains";
    leave = services.host.askYesNo(question + " the same as upon entry.  Exit anyway?");
  }
  if (leave) memory.assistantUsed = true;
  return leave;
}

// The list moves to the directory of `path` with that file selected.
void showFile(FileSelectState& state, const std::string& path) {
  state.directory = std::filesystem::path(path).parent_path().string();
  state.selectedFile = path;
  state.label = path;
}

NameHistoryField& fileField(PageServices& services, NameSide side) {
  return side == NameSide::New ? services.panel.FsTcNewFileNm : services.panel.FsTcOldFileNm;
}

NameHistoryField& dirField(PageServices& services, NameSide side) {
  return side == NameSide::New ? services.panel.DsInDirN : services.panel.DsInDirO;
}

}  // namespace

std::string FullPath(const std::string& name, const std::string& startDirectory) {
  const std::string full = isAbsolute(name) ? name : joinPath(startDirectory, name);
  return std::filesystem::path(full).lexically_normal().string();
}

std::string EnterDirSelect(PageServices& services, DirSelectState& state) {
  if (services.app.choices.compareType == kCompareTypes[0])
    services.app.choices.compareType = kCompareTypes[1];
  MainPanelState& panel = services.panel;
  for (NameHistoryField* field : {&panel.MnCbNewDirNm, &panel.MnCbOldDirNm}) {
    const std::string full = FullPath(field->text, services.startDirectory);
    if (!field->text.empty() && services.files.kind(full) == Kind::File) field->text = DirectoryPart(full);
  }
  const auto qualifies = [&](const std::string& name) {
    return isAbsolute(name) && services.files.kind(name) == Kind::Directory;
  };
  state.selectedDirectory.clear();
  if (qualifies(panel.MnCbNewDirNm.text)) {
    archiveText(panel.DsInDirN, services.files, HistoryAccepts::DirectoriesOnly);
    archiveText(panel.DsInDirO, services.files, HistoryAccepts::DirectoriesOnly);
    state.selectedDirectory = panel.MnCbNewDirNm.text;
  } else if (qualifies(panel.MnCbOldDirNm.text)) {
    archiveText(panel.DsInDirO, services.files, HistoryAccepts::DirectoriesOnly);
    state.selectedDirectory = panel.MnCbOldDirNm.text;
  }
  panel.DsInDirN.text = panel.MnCbNewDirNm.text;
  panel.DsInDirO.text = panel.MnCbOldDirNm.text;
  if (state.selectedDirectory.empty()) state.selectedDirectory = services.startDirectory;
  return state.selectedDirectory;
}

bool DirSelectToMain(PageServices& services, const DirSelectState& state, NameSide side) {
  if (state.selectedDirectory.empty()) return false;
  handOver(services, dirField(services, side), HistoryAccepts::DirectoriesOnly, side,
           state.selectedDirectory);
  return true;
}

std::optional<std::string> DirSelectFieldChanged(PageServices& services, DirSelectState& state,
                                                 NameSide side) {
  NameHistoryField& field = dirField(services, side);
  const std::string typed = field.text;
  if (typed.empty()) return std::nullopt;
  const std::string full = FullPath(typed, services.startDirectory);
  if (services.files.kind(full) != Kind::Directory) return std::nullopt;
  AddToNameHistory(field, typed, services.files, HistoryAccepts::DirectoriesOnly);
  field.text = typed;
  state.selectedDirectory = full;
  mainField(services, side).text = full;
  return full;
}

bool DirSelectReturn(PageServices& services, PageMemory& memory) {
  return confirmReturn(services, memory, services.panel.DsCkNoWarnNoDirChg, "Dir");
}

std::string FirstListedFile(FileSystem& files, const std::string& directory, const std::string& filter) {
  std::vector<std::string> names = ListFilesByMask(files, directory, filter);
  if (names.empty()) return {};
  return *std::min_element(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    const std::string la = LowerAscii(a), lb = LowerAscii(b);
    return la != lb ? la < lb : a < b;
  });
}

void EnterFileSelect(PageServices& services, FileSelectState& state) {
  services.app.choices.compareType = kCompareTypes[0];
  MainPanelState& panel = services.panel;
  for (NameHistoryField* field : {&panel.MnCbNewDirNm, &panel.MnCbOldDirNm}) {
    const std::string full = FullPath(field->text, services.startDirectory);
    if (!field->text.empty() && services.files.kind(full) == Kind::File) field->text = full;
  }
  const auto isFile = [&](const std::string& name) {
    return isAbsolute(name) && services.files.kind(name) == Kind::File;
  };
  state.label.clear();
  state.selectedFile.clear();
  if (isFile(panel.MnCbNewDirNm.text)) {
    archiveText(panel.FsTcNewFileNm, services.files, HistoryAccepts::FilesOnly);
    AddToNameHistory(panel.FsTcOldFileNm, panel.MnCbOldDirNm.text, services.files, HistoryAccepts::FilesOnly);
    showFile(state, panel.MnCbNewDirNm.text);
  } else if (isFile(panel.MnCbOldDirNm.text)) {
    archiveText(panel.FsTcOldFileNm, services.files, HistoryAccepts::FilesOnly);
    showFile(state, panel.MnCbOldDirNm.text);
  }
  panel.FsTcNewFileNm.text = panel.MnCbNewDirNm.text;
  panel.FsTcOldFileNm.text = panel.MnCbOldDirNm.text;
  if (state.label.empty()) FileSelectDirectoryChanged(services, state, services.startDirectory);
}

void FileSelectClicked(FileSelectState& state, const std::string& name) {
  state.selectedFile = joinPath(state.directory, name);
  state.label = state.selectedFile;
}

void FileSelectDirectoryChanged(PageServices& services, FileSelectState& state,
                                const std::string& directory) {
  state.directory = directory;
  state.selectedFile.clear();
  state.label = directory;
  const std::string first = FirstListedFile(services.files, directory, state.filter);
  if (!first.empty()) FileSelectClicked(state, first);
}

void FileSelectFilterChanged(PageServices& services, FileSelectState& state, const std::string& filter) {
  state.filter = filter;
  const std::string name = std::filesystem::path(state.selectedFile).filename().string();
  if (state.selectedFile.empty() || !MatchesMask(name, filter))
    FileSelectDirectoryChanged(services, state, state.directory);
}

bool FileSelectToMain(PageServices& services, const FileSelectState& state, NameSide side) {
  if (state.selectedFile.empty()) return false;
  handOver(services, fileField(services, side), HistoryAccepts::FilesOnly, side, state.selectedFile);
  return true;
}

bool FileSelectFieldChanged(PageServices& services, FileSelectState& state, NameSide side) {
  NameHistoryField& field = fileField(services, side);
  const std::string typed = field.text;
  if (typed.empty()) return false;
  const std::string full = FullPath(typed, services.startDirectory);
  if (services.files.kind(full) != Kind::File) return false;
  AddToNameHistory(field, typed, services.files, HistoryAccepts::FilesOnly);
  field.text = typed;
  showFile(state, full);
  mainField(services, side).text = full;
  return true;
}

bool FileSelectReturn(PageServices& services, PageMemory& memory) {
  return confirmReturn(services, memory, services.panel.FsCkNoWarnNoFileChg, "File");
}

void AssistantCancel(PageServices& services, const PageMemory& memory) {
  services.panel.MnCbNewDirNm.text = memory.savedNewName;
  services.panel.MnCbOldDirNm.text = memory.savedOldName;
  services.app.choices.compareType = memory.savedCompareType;
}

}  // namespace kelvarine
