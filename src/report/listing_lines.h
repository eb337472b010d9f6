#pragma once

#include <string>
#include <string_view>

namespace kelvarine {

// The text of one listing line as it stands in its line record: `len` characters at `text` (may be
// null when the record has no text).
struct ListingText {
  const char* text = nullptr;
  int len = 0;
};

// The listing lines, each with its ID code in columns 1-3 and the text from column 5. Without Fscl the
// text is cut or blank-padded to 80 characters and the reference columns follow (reference numbers
// with at least five digits); with Fscl the text is cut at 128 characters and nothing follows.
std::string MatchedLine(ListingText line, bool fscl, int newRef, int oldRef);
std::string ReformatNewLine(ListingText line, bool fscl, int newRef);
std::string ReformatOldLine(ListingText line, bool fscl, int oldRef);
// `runLength` is printed on the first line of an insert run (`first`) only.
std::string InsertedLine(ListingText line, bool fscl, int newRef, bool first, int runLength);
std::string MovedInsertedLine(ListingText line, bool fscl, int newRef, int partnerOldRef);
// `runLength` is printed on the first line of a delete run (`first`) only.
std::string DeletedLine(ListingText line, bool fscl, int oldRef, bool first, int runLength);
std::string MovedDeletedLine(ListingText line, bool fscl, int partnerNewRef, int oldRef);
// A New Dp line; one without text gets a blank text field (128 blanks with Fscl).
std::string DpListingLine(ListingText line, bool fscl, int newRef);

// The exactness test of two matched lines' texts: their first min(length) bytes are equal, so that lines
// differing only by trailing characters of the longer one count as exact; but not when those characters
// hold a NUL byte, which pads compare keys (the key of "abc" is that of "abc\0", which differs).
bool ExactMatch(std::string_view a, std::string_view b);

// The counts of one Delta change block.
struct BlockCounts {
  int matches = 0, inserts = 0, deletes = 0, reformats = 0;
};

// The Delta block header without Fscl: 88 blanks and the four counts.
std::string BlockHeaderLine(const BlockCounts& counts);
// The Delta block header with Fscl: blanks up to the text width of the longest line, then the
// left reference (when `showLeft`, else 12 blanks) and the right reference (when `showRight`).
std::string ReferenceBlockHeaderLine(int longestLine, bool showLeft, int leftRef, bool showRight,
                                     int rightRef);

// The Chng listing's gap line with the number of unchanged New lines left out.
std::string NotShownLine(int skipped);

}  // namespace kelvarine
