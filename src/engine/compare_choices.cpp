#include "engine/compare_choices.h"

#include "engine/ascii_case.h"

#include <cctype>
#include <string_view>

namespace kelvarine {

const std::array<const char*, kPrefCount> kPrefKeywords = {"Icas", "Rovr", "Fmvl", "Xdpl", "Xtab", "Lorl",
                                                           "Noss", "Ieof", "Subc", "Sbsl", "Txal", "Abin",
                                                           "Aeqf", "Fscl", "Chgo", "Inpn", "Txfo", "Ccol"};

const std::array<Pref, kPrefCount> kPanelOrder = {Pref::Icas, Pref::Rovr, Pref::Inpn, Pref::Sbsl, Pref::Fmvl,
                                                  Pref::Lorl, Pref::Noss, Pref::Xdpl, Pref::Ieof, Pref::Subc,
                                                  Pref::Xtab, Pref::Txal, Pref::Aeqf, Pref::Fscl, Pref::Chgo,
                                                  Pref::Txfo, Pref::Ccol, Pref::Abin};

const std::array<const char*, kDpOptionCount> kDpOptionNames = {
    "None", "Dsem", "Drem", "Dblk", "Ddlc", "Ddl2", "Dcpp", "Dvbc", "Dhtm", "Dcob", "Dudc"};

const std::array<const char*, 4> kListTypes = {"Chng", "Delta", "Long", "Ovsum"};

const std::array<const char*, 4> kCompareTypes = {
    "1. New and Old Files Specified", "2. All Like-Name Files from Input Dirs",
    "3. Select from 1 Like-Name File List ...", "4. Select from 2 Dir File Name List ..."};

namespace {

// The selected Dp radio item; no selection (or an index outside the group) counts as "None".
int selectedDp(int dpIndex) {
  return dpIndex > 0 && dpIndex < kDpOptionCount ? dpIndex : 0;
}

}  // namespace

std::string RebuildOptionsString(CompareChoices& choices) {
  if (choices.isChecked(Pref::Abin)) {
    for (Pref p : {Pref::Txal, Pref::Txfo, Pref::Sbsl, Pref::Noss})
      choices.setChecked(p, false);
  }
  std::string text;
  const int dp = selectedDp(choices.dpIndex);
  if (dp != 0) {
    text += kDpOptionNames[static_cast<std::size_t>(dp)];
    text += ' ';
  }
  for (Pref p : kPanelOrder) {
    if (!choices.isChecked(p)) continue;
    text += kPrefKeywords[static_cast<std::size_t>(p)];
    text += ' ';
  }
  if (text.empty()) return "None";
  text.pop_back();
  return text;
}

std::string NormaliseSubcText(const std::string& text) {
  if (text.empty()) return "\".\"";
  if (text.size() == 3 && text[0] == '"') return text;
  return std::string{'"', text[0], '"'};
}

std::string ApplyOptionsString(CompareChoices& choices, const std::string& text) {
  choices.dpIndex = 0;
  if (text.starts_with("None")) return "None";
  std::string result;
  // Words of four characters, each followed by one separator character of any kind.
  for (std::size_t pos = 0; pos < text.size(); pos += 5) {
    const std::string_view word = std::string_view(text).substr(pos, 4);
    const char* matched = nullptr;
    if (word[0] == 'd' || word[0] == 'D') {
      for (int i = 1; i < kDpOptionCount && matched == nullptr; ++i) {
        if (EqualIgnoringCase(word, kDpOptionNames[static_cast<std::size_t>(i)])) {
          choices.dpIndex = i;
          matched = kDpOptionNames[static_cast<std::size_t>(i)];
        }
      }
    } else {
      for (std::size_t tag = 0; tag < kPrefCount && matched == nullptr; ++tag) {
        if (EqualIgnoringCase(word, kPrefKeywords[tag])) {
          choices.checked[tag] = true;
          matched = kPrefKeywords[tag];
        }
      }
    }
    // The names are already written with an upper-case first letter and lower-case others.
    if (matched != nullptr) {
      result += matched;
      result += ' ';
    }
  }
  if (result.empty()) return "None";
  result.pop_back();
  return result;
}

}  // namespace kelvarine
