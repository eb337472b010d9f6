// A whole text pair compare: the first byte picks the listing type and a few preferences, the rest
// is split at the first 0xFF byte (or in the middle) into the New and the Old file. The report must
// keep its lines to 132 characters and end with exactly one status line.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/compare_choices.h"
#include "engine/compare_run.h"
#include "report/report_generator.h"
#include "support/memory_file_system.h"
#include "support/recording_host.h"

namespace {

void require(bool condition) {
  if (!condition) std::abort();
}

bool isStatusLine(const std::string& line) {
  return line.starts_with("INFORM: ") || line.starts_with("ERROR: ");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using kelvarine::Pref;
  if (size < 2) return 0;
  const std::uint8_t mode = data[0], prefs = data[1];
  const std::string rest(reinterpret_cast<const char*>(data) + 2, size - 2);
  std::size_t cut = rest.find('\xff');
  const std::string newText =
      cut == std::string::npos ? rest.substr(0, rest.size() / 2) : rest.substr(0, cut);
  const std::string oldText = cut == std::string::npos ? rest.substr(rest.size() / 2) : rest.substr(cut + 1);

  kelvarine::AppState app;
  kelvarine::RecordingHost host;
  kelvarine::MemoryFileSystem files;
  kelvarine::ReportGenerator generator;
  files.add("new/a.txt", newText, 100);
  files.add("old/a.txt", oldText, 200);
  app.NewDirName = "new";
  app.OldDirName = "old";
  app.NewFileList = {"a.txt"};
  app.OldFileList = {"a.txt"};
  app.choices.listType = kelvarine::kListTypes[mode % 4];
  app.choices.compareType = kelvarine::kCompareTypes[0];
  app.choices.dpIndex = (mode >> 2) % kelvarine::kDpOptionCount;
  const Pref kPrefs[] = {Pref::Icas, Pref::Fmvl, Pref::Ieof, Pref::Sbsl,
                         Pref::Xdpl, Pref::Rovr, Pref::Chgo, Pref::Txal};
  for (int bit = 0; bit < 8; ++bit)
    app.choices.setChecked(kPrefs[bit], ((prefs >> bit) & 1) != 0);
  app.optionsString = kelvarine::RebuildOptionsString(app.choices);
  app.newNameText = "new/a.txt";
  app.oldNameText = "old/a.txt";

  kelvarine::CompareSet(app, host, files, generator);
  const auto& lines = app.reportLines.lines();
  require(!lines.empty() && isStatusLine(lines.back()));
  for (std::size_t i = 0; i < lines.size(); ++i) {
    require(lines[i].size() <= 132);
    require(i + 1 == lines.size() || !isStatusLine(lines[i]));
  }
  return 0;
}
