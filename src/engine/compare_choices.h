#pragma once

#include <array>
#include <cstddef>
#include <string>

namespace kelvarine {

// The eighteen preference check boxes, by tag (the tag indexes the keyword table).
enum class Pref {
  Icas = 0,
  Rovr,
  Fmvl,
  Xdpl,
  Xtab,
  Lorl,
  Noss,
  Ieof,
  Subc,
  Sbsl,
  Txal,
  Abin,
  Aeqf,
  Fscl,
  Chgo,
  Inpn,
  Txfo,
  Ccol
};
constexpr std::size_t kPrefCount = 18;

// Keyword of each tag ("Icas" for tag 0 ...).
extern const std::array<const char*, kPrefCount> kPrefKeywords;
// The check boxes in panel order; this order decides the order of keywords in the options string.
extern const std::array<Pref, kPrefCount> kPanelOrder;

// The Dp options of the radio group, by index; index 0 is "None".
constexpr int kDpOptionCount = 11;
extern const std::array<const char*, kDpOptionCount> kDpOptionNames;

// The listing types and the compare-type items as the main panel offers them.
extern const std::array<const char*, 4> kListTypes;
extern const std::array<const char*, 4> kCompareTypes;

// The user's choices as the main window's pages hold them, before they are captured. The GUI and
// the command line fill it; the defaults are those of a fresh start.
struct CompareChoices {
  std::string listType = "Chng";
  std::string compareType = kCompareTypes[1];
  int dpIndex = -1;  // selected Dp radio item, -1 when none is selected (counts as "None")
  std::array<bool, kPrefCount> checked{};  // by tag
  std::string subcText = "\".\"";
  std::string xtabText = "4";
  std::string ccolNew1 = "1:eol", ccolNew2, ccolOld1 = "1:eol", ccolOld2;
  std::string dudcTag = "#";
  std::string dudcYesNo = "No";
  // Directory compares: descend into subdirectories; names of files and directories left out (";"-separated
  // masks).
  bool includeSubdirs = false;
  std::string excludeMasks;

  bool isChecked(Pref p) const { return checked[static_cast<std::size_t>(p)]; }
  void setChecked(Pref p, bool on) { checked[static_cast<std::size_t>(p)] = on; }
};

// Rebuilds the options string from the check boxes and the Dp option: the Dp name (if any) and the
// checked keywords in panel order, blank-separated, or "None". Checking Abin first unchecks Txal,
// Txfo, Sbsl and Noss.
std::string RebuildOptionsString(CompareChoices& choices);

// Normalises the Subc text when its field loses the focus: empty becomes "\".\"", a three-character
// text starting with a double quote stays, anything else becomes its first character in quotes.
std::string NormaliseSubcText(const std::string& text);

// Reads an options string back into choices (as the settings file's stored options are loaded):
// selects Dp "None", then takes four-character words each followed by one separator; a word that
// starts with "d"/"D" selects the Dp option of that name, any other checks the box of that keyword
// (case ignored); unmatched words are skipped. Returns the options string of the matched words.
std::string ApplyOptionsString(CompareChoices& choices, const std::string& text);

}  // namespace kelvarine
