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
  int Top = 0;     // the window's top edge in pixels (settings key Top)
  int Left = 0;    // the window's left edge (Left)
  int Width = 0;   // the window's width (Width)
  int Height = 0;  // the window's height (Height)

  NameHistoryField MnCbNewDirNm;   // the main panel's New name (NewDirNm) and its history (NFCombo)
  NameHistoryField MnCbOldDirNm;   // the main panel's Old name (OldDirNm) and its history (OFCombo)
  NameHistoryField FsTcNewFileNm;  // File Select page: the New file and its history (FSNFCombo)
  NameHistoryField FsTcOldFileNm;  // File Select page: the Old file and its history (FSOFCombo)
  NameHistoryField DsInDirN;       // Dir Select page: the New directory and its history (FSNDCombo)
  NameHistoryField DsInDirO;       // Dir Select page: the Old directory and its history (FSODCombo)

  bool MnCkViewResults = false;      // "Bypass show of Report Panel": a run opens no viewer (ViewResults)
  bool MnCkTurnOffHint = false;      // "Turn off \"All\" Panel Hints": no hints on any page (TurnOffHint)
  bool MnCkOmitIniSv = false;        // "Bypass Ini Update On Exit": no settings save at exit (OmitIniSv)
  bool FsCkNoWarnNoFileChg = false;  // File Select's "No Warn on return ..." box (NoWarnFilC)
  bool DsCkNoWarnNoDirChg = false;   // Dir Select's "No Warn on return ..." box (NoWarnDirC)
  bool NoRtfmShow = false;           // "Do not show this message again" of the .rtf save note (NoRtfmShow)

  std::string PFontSz = "8";   // print font size, at most 2 characters (PFontSz)
  std::string VLFontSz = "8";  // the viewers' list font size, at most 2 characters (VLFontSz)

  // Viewer geometry (settings keys of the same names), at most 4 characters each; empty: the viewer
  // keeps its built-in geometry.
  std::string VLTop1, VLTop2, VHTop2;     // top edge: single (1), dual (VL..2), horizontal (VH..2) viewer
  std::string VLHt1, VLHt2, VHHt2;        // height of the same three viewers
  std::string VLWide1, VLWide2, VHWide2;  // width of the same three viewers
  std::string VLLeft1, VLLeft2, VHLeft2;  // left edge of the same three viewers
  std::string SpSplit, SpSplit2;  // dual viewer's left list width; horizontal viewer's top list height

  std::string OutFn;     // the last report output file name, at most 149 characters (OutFn)
  std::string SvLList;   // names selected in the like-name list window, each followed by ";" (SvLList)
  std::string SvULList;  // pairs selected in the two-list window, each followed by ";" (SvULList)
  bool SbsRp = false;    // the last dual-viewer text layout: true stacked, false side by side (SbsRp)

  bool operator==(const MainPanelState&) const = default;
};

}  // namespace kelvarine
