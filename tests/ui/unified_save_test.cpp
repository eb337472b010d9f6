// The unified diff that the viewers save (its bytes are checked against kelvarine-cli's in tests/qt).
#include "ui/unified_save.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>

#include "report/report_generator.h"
#include "support/memory_file_system.h"
#include "support/recording_host.h"
#include "support/temp_directory.h"
#include "ui/compare_flows.h"

namespace kelvarine {
namespace {

// Halt during the second run leaves an existing file as it was, with nothing left beside it.
TEST(UnifiedSaveTest, HaltKeepsTheFile) {
  MemoryFileSystem files;
  files.add("new/a.txt", "b\n");
  files.add("old/a.txt", "c\n");
  AppState app;
  RecordingHost host;
  ReportGenerator report;
  FlowServices flow{app, host, files, report};
  app.choices.compareType = kCompareTypes[1];
  ASSERT_EQ(MnButStartClick(flow, "new", "old").outcome, FlowOutcome::Ran);

  TempDirectory dir;
  const std::string target = dir.write("kept.diff", "before\n");
  AppState rerun = UnifiedDiffRerun(app);
  host.onProcessEvents = [&] { rerun.StopRequested = true; };
  EXPECT_EQ(SaveUnifiedDiff(target, rerun, host, files), SaveOutcome::Halted);
  EXPECT_EQ(readFile(target), "before\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.root), {}), 1);
}

}  // namespace
}  // namespace kelvarine
