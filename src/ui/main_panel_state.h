#pragma once

#include <string>

#include "ui/name_history.h"

namespace kelvarine {

// Every control value the settings file keeps that is not a compare choice. The compare choices
// (listing and compare type, preferences, Dp option, Subc, Xtab, compare columns, Dudc) and the
// options string stay where the flows read them, in AppState::choices and AppState::optionsString;
// the settings file reads and writes both this record and those. The GUI copies its controls into
// this record before a save and shows it after a load; the command line uses it as it is.
struct MainPanelState {
  // Position and size of the main window; a size of 0 (from a file written before the size was
  // kept) leaves the window at its built-in size.
  int Top = 0;
  int Left = 0;
  int Width = 0;
  int Height = 0;

  // The main panel's New and Old name fields, and the assistant pages' fields with their histories.
  NameHistoryField MnCbNewDirNm, MnCbOldDirNm;
  NameHistoryField FsTcNewFileNm, FsTcOldFileNm;  // File Select page: files only
  NameHistoryField DsInDirN, DsInDirO;            // Dir Select page: directories only

  // Check boxes: "Bypass show of Report Panel", "Turn off \"All\" Panel Hints", "Bypass Ini Update On
  // Exit", the two assistant pages' "No Warn on return ..." boxes, and the switch "Do not show this
  // message again" of the note before an .rtf save.
  bool MnCkViewResults = false;
  bool MnCkTurnOffHint = false;
  bool MnCkOmitIniSv = false;
  bool FsCkNoWarnNoFileChg = false;
  bool DsCkNoWarnNoDirChg = false;
  bool NoRtfmShow = false;

  // Print font size and viewer list font size (at most 2 characters each).
  std::string PFontSz = "8";
  std::string VLFontSz = "8";

  // Viewer geometry (at most 4 characters each): single viewer (…1), dual viewer (VL…2) and
  // horizontal viewer (VH…2); SpSplit is the dual viewer's left list width, SpSplit2 the horizontal
  // viewer's top list height. Empty: the viewer keeps its built-in geometry.
  std::string VLTop1, VLTop2, VHTop2;
  std::string VLHt1, VLHt2, VHHt2;
  std::string VLWide1, VLWide2, VHWide2;
  std::string VLLeft1, VLLeft2, VHLeft2;
  std::string SpSplit, SpSplit2;

  // The last report output file name (at most 149 characters), the saved selections of the like-name
  // list window and of the two-list window (each entry followed by ";"), and the last dual-viewer text
  // layout (true: stacked, false: side by side).
  std::string OutFn;
  std::string SvLList;
  std::string SvULList;
  bool SbsRp = false;

  bool operator==(const MainPanelState&) const = default;
};

}  // namespace kelvarine
