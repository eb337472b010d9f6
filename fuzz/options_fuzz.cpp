// The options-string and compare-column parsers: the input holds, separated by newlines, an options
// string and four Ccol range texts; both must parse without fault and give consistent results.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/compare_choices.h"
#include "engine/options_capture.h"

namespace {

void require(bool condition) {
  if (!condition) std::abort();
}

void checkSide(const kelvarine::CcolSide& side) {
  if (!side.firstValid) return;
  require(side.start1 >= 1 && side.end1 >= 0);  // an end of 0 is end of line
  if (side.twoRanges) require(side.start2 >= 1 && side.end2 >= 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (parts.size() < 4) {
    const std::size_t end = text.find('\n', start);
    if (end == std::string::npos) break;
    parts.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  parts.push_back(text.substr(std::min(start, text.size())));
  parts.resize(5);

  kelvarine::CompareChoices choices;
  const std::string matched = kelvarine::ApplyOptionsString(choices, parts[0]);
  // Reading back what was matched gives the same string: the parser is stable on its own output.
  kelvarine::CompareChoices again;
  require(kelvarine::ApplyOptionsString(again, matched) == matched);
  kelvarine::RebuildOptionsString(choices);

  choices.ccolNew1 = parts[1];
  choices.ccolNew2 = parts[2];
  choices.ccolOld1 = parts[3];
  choices.ccolOld2 = parts[4];
  const kelvarine::CcolValidation ccol = kelvarine::ValidateCcolRanges(choices);
  checkSide(ccol.newSide);
  checkSide(ccol.oldSide);
  require(!ccol.valid || (ccol.newSide.firstValid && ccol.oldSide.firstValid));
  return 0;
}
