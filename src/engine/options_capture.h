#pragma once

#include "engine/compare_choices.h"
#include "engine/compare_options.h"
#include "engine/pair_state.h"
#include "engine/text_input.h"

namespace kelvarine {

// The compare-column ranges of one file after validation. An end of 0 means end of line.
struct CcolSide {
  bool firstValid = false;
  int start1 = 0, end1 = 0;
  bool twoRanges = false;  // a valid second range exists
  int start2 = 0, end2 = 0;
};

struct CcolValidation {
  CcolSide newSide, oldSide;
  bool valid = false;  // what Ccol becomes when its box is checked
};

// Validates the four range texts "start:stop" (stop a number or "eol" in any case).
CcolValidation ValidateCcolRanges(const CompareChoices& choices);

// Captures the choices into `options` (which is reset first). An invalid Ccol range with Ccol checked
// sets the pair's ReturnCode 1 and StopSet; valid ranges go into both text inputs. A non-integer
// Xtab text or a Subc text shorter than two characters, with its box checked, throws EngineFault.
void CaptureCompareOptions(const CompareChoices& choices, CompareOptions& options, PairState& pair,
                           TextInput& newInput, TextInput& oldInput);

}  // namespace kelvarine
