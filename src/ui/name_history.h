#pragma once

#include <string>
#include <vector>

#include "engine/file_system.h"

namespace kelvarine {

// An editable name field with its drop-down history: newest first, no two entries equal ignoring
// case, each kept as spelled. `enteredText` is the text remembered when the field got the focus.
struct NameHistoryField {
  std::string text;
  std::vector<std::string> history;
  std::string enteredText;

  bool operator==(const NameHistoryField&) const = default;
};

// Which names a field's history takes: the main fields take files and directories, the Dir Select
// fields directories, the File Select fields files.
enum class HistoryAccepts { FilesOrDirectories, DirectoriesOnly, FilesOnly };

// True when `name` exists as a kind of entry the field accepts.
bool NameQualifiesForHistory(FileSystem& files, const std::string& name, HistoryAccepts accepts);

// Puts `name`, as spelled, first in the field's history (removing an older copy that equals it ignoring
// case) and shows it in the field. Nothing happens when the name does not qualify or already is the
// first entry with the same spelling. Returns true when the history changed.
bool AddToNameHistory(NameHistoryField& field, const std::string& name, FileSystem& files,
                      HistoryAccepts accepts);

// The field got the focus: its text is remembered.
void NameFieldEnter(NameHistoryField& field);
// The field lost the focus: a changed text that names an existing entry goes into the history.
void NameFieldLeave(NameHistoryField& field, FileSystem& files, HistoryAccepts accepts);
// The drop-down opens: the current text goes into the history so that it is listed.
void NameFieldDropDown(NameHistoryField& field, FileSystem& files, HistoryAccepts accepts);

}  // namespace kelvarine
