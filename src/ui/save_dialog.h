#pragma once

#include <array>
#include <optional>
#include <string>

#include "engine/file_system.h"
#include "engine/host.h"

namespace kelvarine {

// One entry of the save dialog's filter list.
struct SaveFilter {
  const char* text;
  const char* pattern;
};
// The fifth entry saves the last run's unified diff instead of the report; its pattern holds two masks.
inline constexpr std::array<SaveFilter, 5> kSaveFilters = {
    {{"Colored Html,[*.Html]", "*.Html"},
     {"Colored Rtf,[*.Rtf)", "*.Rtf"},
     {"Mono BlackTxt, (*.Txt)", "*.Txt"},
     {"All,(*.*)", "*.*"},
     {"Unified diff (*.diff *.patch)", "*.diff *.patch"}}};
inline constexpr int kUnifiedDiffFilter = 5;

// What the save dialog opens with.
struct SaveDialogStart {
  std::string directory;  // ends in "/" unless empty
  std::string fileName;
  int filterIndex = 4;  // 1-based into kSaveFilters
};

// The dialog's start: the last saved name `outFn` when it or its directory exists, else the directory
// of the New name field's text with "Kelvarine.html" (single viewer) or "Brisolan.html" (dual viewer).
SaveDialogStart SaveDialogInitialValues(const std::string& outFn, const std::string& newNameText, bool dual,
                                        FileSystem& files);

// `name` with the extension forced by filter 1, 2 or 3 (".html", ".rtf", ".txt") or by the unified diff's
// filter (".diff", unless the name ends in ".patch"); "All" leaves it. An extension that already matches
// ignoring case is kept as typed.
std::string ForceFilterExtension(const std::string& name, int filterIndex);

// After the dialog: forces the filter's extension (asking whether to accept a changed name), asks before
// replacing an existing file (one whose name differs only in letter case included: the name becomes its
// spelling), and on acceptance stores its full path in `outFn` and returns the name to save to. Empty
// when a question was answered No.
std::optional<std::string> ConfirmSaveName(const std::string& chosen, int filterIndex, Host& host,
                                           FileSystem& files, std::string& outFn);

}  // namespace kelvarine
