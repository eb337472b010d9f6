// Each Dp filter on arbitrary lines: the first byte picks the option (and the Dudc tag and embedded
// use), the rest is split at newlines into a sequence of lines classified in order, so that comments
// and strings carry from line to line.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/dp_filters.h"

namespace {

void require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using kelvarine::CompareOptions;
  if (size < 2) return 0;
  static bool CompareOptions::*const kOptions[] = {
      &CompareOptions::Dsem, &CompareOptions::Drem, &CompareOptions::Dblk, &CompareOptions::Ddlc,
      &CompareOptions::Dcpp, &CompareOptions::Dvbc, &CompareOptions::Dcob, &CompareOptions::Ddl2,
      &CompareOptions::Dhtm, &CompareOptions::Dudc};
  CompareOptions options;
  options.DpActive = options.*kOptions[data[0] % 10] = true;
  options.DudcTag = std::string(1, static_cast<char>(data[1]));
  options.DudcYesNo = (data[0] & 0x80) != 0 ? "Yes" : "No";
  const std::string blankLine(kelvarine::TextInput::kMaxLineLen, ' ');
  const std::string text(reinterpret_cast<const char*>(data) + 2, size - 2);

  kelvarine::LineTable table;
  kelvarine::TextInput input;
  std::size_t start = 0;
  for (int i = 1; i <= kelvarine::LineTable::kMaxLines && start <= text.size(); ++i) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line =
        text.substr(start, std::min<std::size_t>(end - start, kelvarine::TextInput::kMaxLineLen));
    if (line.empty()) line = " ";  // the reader stores an empty line as one blank
    start = end + 1;
    table.setText(i, line.data(), static_cast<int>(line.size()));
    kelvarine::LineRecord& record = table[i];
    record.Len = static_cast<int>(line.size());
    kelvarine::ClassifyDpLine(input, record, options, blankLine);
    require(!(record.DpLine && record.PartDp));
    require(record.Text[record.Len] == '\0');  // nothing written behind the line
    for (int k = 0; k < record.Len; ++k)       // a filter only blanks characters
      require(record.Text[k] == line[static_cast<std::size_t>(k)] || record.Text[k] == ' ');
  }
  return 0;
}
