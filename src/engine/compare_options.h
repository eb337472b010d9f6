#pragma once

#include <cstdint>
#include <string>

namespace kelvarine {

// Every choice of one compare set, captured at its first pair, and the set totals that the report
// adds to. All fields start zero/false; counters only grow during a set.
struct CompareOptions {
  // Listing type; at most one is true.
  bool ListOvsum = false, ListDelta = false, ListChng = false, ListLong = false;

  // Preference flags. Ccol is true only when the column ranges passed validation.
  bool Icas = false, Rovr = false, Fmvl = false, Xdpl = false, Lorl = false, Noss = false, Ieof = false,
       Subc = false, Xtab = false, Inpn = false, Sbsl = false, Txal = false, Aeqf = false, Fscl = false,
       Chgo = false, Txfo = false, Ccol = false, Abin = false;

  // The Dp option: DpActive when one other than "None" is selected; at most one flag is true.
  bool DpActive = false;
  bool Dsem = false, Drem = false, Dblk = false, Ddlc = false, Dcpp = false, Dvbc = false, Dcob = false,
       Ddl2 = false, Dhtm = false, Dudc = false;

  std::int32_t XtabWidth = 0;  // 1..8 when Xtab is set
  char SubcChar = 0;           // replacement character when Subc is set
  std::string ListTypeName;    // the listing-type text as captured, up to 5 characters
  std::string DudcTag;         // the Dudc comment tag text (its first character is the tag)
  std::string DudcYesNo;       // the Dudc embedded-use text, "Yes" or "No"

  // Report state (set and read by the report).
  std::string ReportNote;  // trouble text, up to 100 characters
  bool PairHeaderArmed = false, PairHeaderPending = false;
  bool ReportNoteSet = false;  // ReportNote holds a trouble text; cleared when a text pair starts

  bool InputTooLarge = false;   // an input of this set was 2 GB or larger
  bool InputOpenError = false;  // an input of this set could not be opened

  // Set totals.
  std::int32_t BinaryPairs = 0;
  std::int32_t AeqfEqualPairs = 0;
  std::int32_t TotNewLines = 0, TotOldLines = 0, TotMatches = 0, TotReformats = 0, TotInserts = 0,
               TotDeletes = 0, TotNewDpLines = 0;
  std::int32_t TxfoSkipped = 0;
  std::int64_t TotNewBinBytes = 0, TotOldBinBytes = 0;  // 64-bit: several large binary pairs add up
  std::int32_t DiffPairs = 0;
  std::int32_t HighestCode = 0;
  std::int32_t LongestNewLine = 0, LongestOldLine = 0;
  std::int32_t TotNewPartDpLines = 0, TotOldDpLines = 0, TotOldPartDpLines = 0, TotChanges = 0,
               TotPairedChanges = 0, TotMoved = 0;
  std::int32_t CarriedMatches = 0;  // Delta listing: matches not yet reported in a block header
};

}  // namespace kelvarine
