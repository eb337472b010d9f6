#include "ui/name_history.h"

#include <algorithm>

#include "engine/ascii_case.h"

namespace kelvarine {

bool NameQualifiesForHistory(FileSystem& files, const std::string& name, HistoryAccepts accepts) {
  if (name.empty()) return false;
  const FileSystem::Kind kind = files.kind(name);
  switch (accepts) {
    case HistoryAccepts::FilesOrDirectories:
      return kind == FileSystem::Kind::File || kind == FileSystem::Kind::Directory;
    case HistoryAccepts::DirectoriesOnly:
      return kind == FileSystem::Kind::Directory;
    case HistoryAccepts::FilesOnly:
      return kind == FileSystem::Kind::File;
  }
  return false;
}

bool AddToNameHistory(NameHistoryField& field, const std::string& name, FileSystem& files,
                      HistoryAccepts accepts) {
  if (!NameQualifiesForHistory(files, name, accepts)) return false;
  if (!field.history.empty() && field.history.front() == name) return false;
  // The name keeps its spelling (on Linux another spelling may be another file); a copy that differs
  // only in letter case is the same entry and gives way to the newer spelling.
  std::erase_if(field.history, [&](const std::string& entry) { return EqualIgnoringCase(entry, name); });
  field.history.insert(field.history.begin(), name);
  field.text = field.history.front();
  return true;
}

void NameFieldEnter(NameHistoryField& field) {
  field.enteredText = field.text;
}

void NameFieldLeave(NameHistoryField& field, FileSystem& files, HistoryAccepts accepts) {
  if (field.text != field.enteredText) AddToNameHistory(field, field.text, files, accepts);
}

void NameFieldDropDown(NameHistoryField& field, FileSystem& files, HistoryAccepts accepts) {
  AddToNameHistory(field, field.text, files, accepts);
}

}  // namespace kelvarine
