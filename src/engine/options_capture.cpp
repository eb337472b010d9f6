#include "engine/options_capture.h"

#include <cctype>
#include <cstdint>
#include <limits>
#include <string_view>

#include "engine/ascii_case.h"
#include "engine/engine_fault.h"

namespace kelvarine {
namespace {

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}

// Reads a decimal integer with an optional sign, blanks allowed around it. Anything else, or a value
// outside the 32-bit range, is not an integer.
bool parseInteger(std::string_view text, std::int32_t& value) {
  std::size_t begin = 0, end = text.size();
  while (begin < end && isBlank(text[begin]))
    ++begin;
  while (end > begin && isBlank(text[end - 1]))
    --end;
  bool negative = false;
  if (begin < end && (text[begin] == '+' || text[begin] == '-')) {
    negative = text[begin] == '-';
    ++begin;
  }
  if (begin == end) return false;
  constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
  std::int64_t magnitude = 0;
  for (std::size_t i = begin; i < end; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    magnitude = magnitude * 10 + (text[i] - '0');
    if (magnitude > kLimit) return false;
  }
  if (!negative && magnitude == kLimit) return false;
  value = static_cast<std::int32_t>(negative ? -magnitude : magnitude);
  return true;
}

// A column number as the range fields give it: a text that is not an integer counts as 0.
std::int32_t columnNumber(std::string_view text) {
  std::int32_t value = 0;
  return parseInteger(text, value) ? value : 0;
}

bool startsWithEol(std::string_view text) {
  if (text.size() < 3) return false;
  return EqualIgnoringCase(text.substr(0, 3), "eol");
}

// Validates the two range texts of one file. An invalid 1st range gives an all-zero side.
CcolSide validateSide(std::string_view first, std::string_view second) {
  CcolSide side;
  std::size_t colon = first.find(':');
  if (colon == std::string_view::npos) return side;
  const std::int32_t start1 = columnNumber(first.substr(0, colon));
  if (start1 < 1) return side;
  std::string_view rest = first.substr(colon + 1);
  std::int32_t end1 = 0;
  if (!startsWithEol(rest)) {
    end1 = columnNumber(rest);
    if (end1 < 1) return side;
  }
  side.firstValid = true;
  side.start1 = start1;
  side.end1 = end1;

  colon = second.find(':');
  if (colon == std::string_view::npos) return side;
  const std::int32_t start2 = columnNumber(second.substr(0, colon));
  if (start2 < 1) return side;
  rest = second.substr(colon + 1);
  std::int32_t end2 = 0;
  if (!startsWithEol(rest)) {
    end2 = columnNumber(rest);
    // A numeric 2nd range must lie wholly behind the 1st stop; otherwise it is dropped silently.
    if (!(end1 < end2 && end1 < start2)) return side;
  }
  side.twoRanges = true;
  side.start2 = start2;
  side.end2 = end2;
  return side;
}

// A 2nd range running to end of line that starts within the 1st range cannot be used.
bool overlaps(const CcolSide& side) {
  return side.twoRanges && side.start2 <= side.end1;
}

void storeColumns(const CcolSide& side, TextInput& input) {
  input.CcolStart1 = side.start1;
  input.CcolEnd1 = side.end1;
  input.CcolTwoRanges = side.twoRanges;
  input.CcolStart2 = side.start2;
  input.CcolEnd2 = side.end2;
}

// The record flag of each preference tag.
bool& prefFlag(CompareOptions& o, Pref p) {
  switch (p) {
    case Pref::Icas:
      return o.Icas;
    case Pref::Rovr:
      return o.Rovr;
    case Pref::Fmvl:
      return o.Fmvl;
    case Pref::Xdpl:
      return o.Xdpl;
    case Pref::Xtab:
      return o.Xtab;
    case Pref::Lorl:
      return o.Lorl;
    case Pref::Noss:
      return o.Noss;
    case Pref::Ieof:
      return o.Ieof;
    case Pref::Subc:
      return o.Subc;
    case Pref::Sbsl:
      return o.Sbsl;
    case Pref::Txal:
      return o.Txal;
    case Pref::Abin:
      return o.Abin;
    case Pref::Aeqf:
      return o.Aeqf;
    case Pref::Fscl:
      return o.Fscl;
    case Pref::Chgo:
      return o.Chgo;
    case Pref::Inpn:
      return o.Inpn;
    case Pref::Txfo:
      return o.Txfo;
    case Pref::Ccol:
      return o.Ccol;
  }
  throw EngineFault("unknown preference tag");
}

// Sets the flag of the Dp option with the given name; false when the name is no Dp option.
bool setDpFlag(CompareOptions& o, std::string_view name) {
  bool* const flags[] = {&o.Dsem, &o.Drem, &o.Dblk, &o.Ddlc, &o.Ddl2,
                         &o.Dcpp, &o.Dvbc, &o.Dhtm, &o.Dcob, &o.Dudc};
  for (int i = 1; i < kDpOptionCount; ++i) {
    if (name == kDpOptionNames[static_cast<std::size_t>(i)]) {
      *flags[i - 1] = true;
      return true;
    }
  }
  return false;
}

}  // namespace

CcolValidation ValidateCcolRanges(const CompareChoices& choices) {
  CcolValidation result;
  result.newSide = validateSide(choices.ccolNew1, choices.ccolNew2);
  result.oldSide = validateSide(choices.ccolOld1, choices.ccolOld2);
  result.valid = !overlaps(result.newSide) && !overlaps(result.oldSide) && result.newSide.firstValid &&
                 result.oldSide.firstValid;
  return result;
}

void CaptureCompareOptions(const CompareChoices& choices, CompareOptions& options, PairState& pair,
                           TextInput& newInput, TextInput& oldInput) {
  options = CompareOptions{};

  // Dp option: no selection counts as "None".
  const int dp = choices.dpIndex > 0 && choices.dpIndex < kDpOptionCount ? choices.dpIndex : 0;
  options.DpActive = dp != 0 && setDpFlag(options, kDpOptionNames[static_cast<std::size_t>(dp)]);
  options.DudcTag = choices.dudcTag;
  options.DudcYesNo = choices.dudcYesNo;

  // Listing type: the captured name (at most five characters) must match exactly.
  options.ListTypeName = choices.listType.substr(0, 5);
  if (options.ListTypeName == "Ovsum") {
    options.ListOvsum = true;
  } else if (options.ListTypeName == "Delta") {
    options.ListDelta = true;
  } else if (options.ListTypeName == "Long") {
    options.ListLong = true;
  } else if (options.ListTypeName == "Chng") {
    options.ListChng = true;
  }

  // Preferences in panel order; the parameter field of an option is read only when it is checked.
  for (Pref p : kPanelOrder) {
    if (!choices.isChecked(p)) continue;
    switch (p) {
      case Pref::Sbsl:
        options.Sbsl = !options.ListOvsum;
        break;
      case Pref::Subc:
        if (choices.subcText.size() < 2)
          throw EngineFault("Subc replacement text \"" + choices.subcText + "\" is too short");
        options.Subc = true;
        options.SubcChar = choices.subcText[1];
        break;
      case Pref::Xtab:
        if (!parseInteger(choices.xtabText, options.XtabWidth))
          throw EngineFault("Xtab width \"" + choices.xtabText + "\" is not an integer");
        options.Xtab = true;
        break;
      case Pref::Ccol: {
        const CcolValidation ccol = ValidateCcolRanges(choices);
        options.Ccol = ccol.valid;
        if (ccol.valid) {
          storeColumns(ccol.newSide, newInput);
          storeColumns(ccol.oldSide, oldInput);
        } else {
          pair.ReturnCode = 1;
          pair.StopSet = true;
        }
        break;
      }
      default:
        prefFlag(options, p) = true;
        break;
    }
  }
}

}  // namespace kelvarine
