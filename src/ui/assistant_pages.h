#pragma once

#include <optional>
#include <string>

#include "ui/page_state.h"

namespace kelvarine {

// The two assistant pages of the main window, Dir Select and File Select, without their widgets:
// what entering them does to the name fields, what each control does, and whether Return may leave.
// Names keep their letter case throughout.

enum class NameSide { New, Old };

// `name` as a full path: a relative name is taken from `startDirectory`; "." and ".." steps are
// resolved lexically.
std::string FullPath(const std::string& name, const std::string& startDirectory);

// Dir Select: the selected directory is what the label shows and what the "To Main" buttons hand
// over; the tree shows it.
struct DirSelectState {
  std::string selectedDirectory;
};

// Entering Dir Select: compare type 1 becomes 2, a main name naming a file becomes its directory,
// the page fields show the main names. Returns the directory the tree moves to (also selected).
std::string EnterDirSelect(PageServices& services, DirSelectState& state);
// "To Main New Dir" / "To Main Old Dir" (or the selected directory dropped on a field or button).
// Returns false (nothing changes) when no directory is selected.
bool DirSelectToMain(PageServices& services, const DirSelectState& state, NameSide side);
// The page's New (Old) directory field was changed. When it names an existing directory, the
// directory is selected and taken by the main name; returns where the tree moves, else nothing.
std::optional<std::string> DirSelectFieldChanged(PageServices& services, DirSelectState& state,
                                                 NameSide side);
// Return: asks whether to leave when a main name is the one remembered on entry (unless the page's
// "No Warn" box is checked). True when the window may go back to the Main Panel, keeping the names
// the page shows (the page counts as used).
bool DirSelectReturn(PageServices& services, PageMemory& memory);

// File Select: the directory the list shows, its name filter, the selected file (a full path, empty
// when none) and the selected-file label.
struct FileSelectState {
  std::string directory;
  std::string filter = "*.*";
  std::string selectedFile;
  std::string label;
};

// The first file of `directory` that the filter lets through, in the list's order (ascending
// ignoring case); empty when there is none.
std::string FirstListedFile(FileSystem& files, const std::string& directory, const std::string& filter);

// Entering File Select: the compare type becomes 1, main names naming files become full paths, the
// page fields show the main names, the list moves to a named file or to the start directory.
void EnterFileSelect(PageServices& services, FileSelectState& state);
// A file of the list was clicked (`name` without directory).
void FileSelectClicked(FileSelectState& state, const std::string& name);
// The list moved to another directory: its first file is selected, if any.
void FileSelectDirectoryChanged(PageServices& services, FileSelectState& state, const std::string& directory);
// The name filter changed: a selected file the filter no longer lets through is replaced by the
// first file listed.
void FileSelectFilterChanged(PageServices& services, FileSelectState& state, const std::string& filter);
// "To Main New Filename" / "To Main Old Filename" (or the label dropped on a page field). Returns
// false (nothing changes) when no file is selected.
bool FileSelectToMain(PageServices& services, const FileSelectState& state, NameSide side);
// The page's New (Old) file field was changed: when it names an existing file, the list moves to it
// and selects it, and the label and the main name take it. Returns true when the list moved.
bool FileSelectFieldChanged(PageServices& services, FileSelectState& state, NameSide side);
// Return, as on Dir Select with the File texts and the page's own "No Warn" box.
bool FileSelectReturn(PageServices& services, PageMemory& memory);

// Cancel on either page: the main names and the compare type go back to those remembered on entry.
void AssistantCancel(PageServices& services, const PageMemory& memory);

}  // namespace kelvarine
