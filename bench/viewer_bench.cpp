// Opens a 1,000,000-line report in the desktop program's viewer on the offscreen platform and prints:
// the time from showReport to the list's first paint (the change map's marks found and painted
// within it; also timed alone), the jumps between the first row and the last change, 1,000 change navigations
// (worst and mean step), a step across 500,000 unchanged rows, and the memory the report keeps beside its
// text bytes.
//
//   viewer_bench [--dir DIR] [--lines N]
#include <sys/resource.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QListView>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "app/posix_file_system.h"
#include "engine/quiet_host.h"
#include "ui/change_map.h"
#include "ui/compare_flows.h"
#include "ui/qt/gui_session.h"
#include "ui/qt/report_viewers.h"
#include "ui/qt/single_viewer.h"

namespace fs = std::filesystem;
using namespace kelvarine;

namespace {

// A host that shows nothing: the "No more ..." messages at the ends of the report are counted.
class CountingHost : public QuietHost {
 public:
  void showMessage(const std::string&) override { ++messages; }
  bool askYesNo(const std::string&) override { return true; }
  std::string formatDateTime(FileStamp) override { return "12/06/26 12:00:00"; }
  int messages = 0;
};

std::string makeLine(std::mt19937_64& rng, long number) {
  static const char* const kWords[] = {"alpha", "beta",   "gamma",  "delta",  "value", "count",
                                       "index", "buffer", "result", "return", "if",    "else",
                                       "for",   "while",  "size",   "line"};
  char head[32];
  std::snprintf(head, sizeof head, "%07ld: ", number);
  std::string line = head;
  while (line.size() < 52) {
    line += kWords[rng() % 16];
    line += ' ';
  }
  return line + std::to_string(rng() % 100000);
}

// Old: `lines` lines. New: the same with every 5th line replaced in the first and the last quarter
// (10% in all), so that the middle half holds no change: one navigation step crosses it.
void generate(const fs::path& dir, long lines) {
  fs::create_directories(dir);
  std::ofstream newFile(dir / "new.txt", std::ios::binary), oldFile(dir / "old.txt", std::ios::binary);
  std::mt19937_64 rng(20261206);
  for (long i = 0; i < lines; ++i) {
    const std::string line = makeLine(rng, i);
    oldFile << line << '\n';
    const bool quiet = i >= lines / 4 && i < lines - lines / 4;
    newFile << (!quiet && i % 5 == 2 ? makeLine(rng, -i) : line) << '\n';
  }
}

long rssKb() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

long peakRssKb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// Catches the first paint of the list's viewport.
class FirstPaint : public QObject {
 public:
  explicit FirstPaint(QElapsedTimer& clock) : clock_(clock) {}
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint && ms < 0) ms = static_cast<double>(clock_.nsecsElapsed()) / 1e6;
    return false;
  }
  double ms = -1;

 private:
  QElapsedTimer& clock_;
};

// Runs `step` and lets the view repaint; milliseconds.
template <typename Step>
double timed(Step step) {
  QElapsedTimer clock;
  clock.start();
  step();
  QApplication::processEvents();
  return static_cast<double>(clock.nsecsElapsed()) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  fs::path dir = fs::temp_directory_path() / "kelvarine-viewer-bench";
  long lines = 1'000'000;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string flag = argv[i];
    if (flag == "--dir") dir = argv[i + 1];
    if (flag == "--lines") lines = std::atol(argv[i + 1]);
  }
  generate(dir, lines);

  PosixFileSystem files;
  GuiSession session(files);
  CountingHost host;
  AppState& app = session.app;
  app.choices.listType = "Long";
  app.choices.compareType = kCompareTypes[0];
  FlowServices flow{app, host, session.files, session.report};
  const long rssBefore = rssKb();
  QElapsedTimer compareClock;
  compareClock.start();
  const FlowResult result = MnButStartClick(flow, (dir / "new.txt").string(), (dir / "old.txt").string());
  const double compareSeconds = static_cast<double>(compareClock.nsecsElapsed()) / 1e9;
  const long rssReport = rssKb() - rssBefore;
  double textBytes = 0;
  for (const std::string& line : app.reportLines.lines())
    textBytes += static_cast<double>(line.size());

  ReportViewers viewers(session, host, nullptr);
  SingleViewer& viewer = viewers.single();
  QElapsedTimer openClock;
  FirstPaint firstPaint(openClock);
  viewer.firstList()->viewport()->installEventFilter(&firstPaint);
  viewer.resize(1000, 700);

  std::int64_t gapFrom = 0, gapTo = 0;
  double toBottom = 0, toLastChange = 0, toTop = 0, gapStep = 0, worst = 0, total = 0;
  double findChanges = 0, mergeMarks = 0;
  std::size_t marks = 0, spans = 0;
  int steps = 0;
  long rssOpen = 0;
  QTimer::singleShot(0, [&] {
    // Wait for the first paint, then drive the open viewer.
    while (firstPaint.ms < 0)
      QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    rssOpen = rssKb() - rssBefore;
    ReportChanges changes;
    findChanges = timed([&] { changes = FindReportChanges(*viewer.model()); });
    mergeMarks = timed([&] { MapPixelRows(changes, 1200); });
    marks = changes.marks.size();
    spans = changes.starts.size();
    toBottom = timed([&] { viewer.toBottom(); });
    toLastChange = timed([&] { viewer.previousChange(); });
    toTop = timed([&] { viewer.toTop(); });
    for (steps = 0; steps < 1000; ++steps) {
      const double ms = timed([&] { viewer.nextChange(); });
      worst = std::max(worst, ms);
      total += ms;
    }
    // From the middle of the report (unchanged) up to the last change before it, then one step down
    // across the unchanged rows to the first change after them.
    viewer.model()->select(static_cast<std::int64_t>(app.reportLines.size() / 2));
    viewer.previousChange();
    gapFrom = viewer.model()->selected();
    gapStep = timed([&] { viewer.nextChange(); });
    gapTo = viewer.model()->selected();
    viewer.reject();
  });
  openClock.start();
  viewers.showReport();

  std::printf("report: %zu lines, %.1f MB of text, Long listing of %ld-line files, compare %.2f s (%s)\n",
              app.reportLines.size(), textBytes / 1e6, lines, compareSeconds, result.status.text.c_str());
  std::printf("%-44s %10.1f ms\n", "showReport to first paint", firstPaint.ms);
  std::printf("%-44s %10.1f ms (%zu marks, %zu spans)\n", "change map: the report's changes found",
              findChanges, marks, spans);
  std::printf("%-44s %10.1f ms\n", "change map: marks merged for 1,200 pixel rows", mergeMarks);
  std::printf("%-44s %10.2f ms\n", "To Btm (first row to last row)", toBottom);
  std::printf("%-44s %10.2f ms\n", "last row up to the last change", toLastChange);
  std::printf("%-44s %10.2f ms\n", "To Top", toTop);
  std::printf("%-44s %10.3f ms worst, %.3f ms mean\n", "1,000 forward change navigations", worst,
              total / std::max(steps, 1));
  std::printf("%-44s %10.2f ms (row %lld to row %lld)\n", "one step across the unchanged half", gapStep,
              static_cast<long long>(gapFrom), static_cast<long long>(gapTo));
  std::printf("%-44s %10.1f MB (%.2f x text)\n", "RSS kept for the report", rssReport / 1024.0,
              rssReport * 1024.0 / textBytes);
  std::printf("%-44s %10.1f MB\n", "RSS added with the viewer open", rssOpen / 1024.0);
  std::printf("%-44s %10.1f MB\n", "peak RSS of the process", peakRssKb() / 1024.0);
  std::printf("messages shown: %d\n", host.messages);
  std::error_code ec;
  fs::remove_all(dir, ec);
  return 0;
}
