// Drives the desktop program's real main window as a person does: names in the two fields, a listing
// type picked, Start clicked. Prints the time from the click to the first paint of the report viewer,
// beside kelvarine-cli's time for the same compare (report to /dev/null), medians of --repeat runs.
// Runs on the platform it is given (Xvfb through bench/desktop, or QT_QPA_PLATFORM=offscreen).
//
//   desktop_bench [--dir DIR] [--lines N] [--repeat R] [--cli PATH] [--listing Chng,Long]
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QEvent>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "app/posix_file_system.h"
#include "ui/qt/gui_session.h"
#include "ui/qt/main_window.h"
#include "ui/qt/viewer_window.h"

namespace fs = std::filesystem;
using namespace kelvarine;

namespace {

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

// Old: `lines` lines of about 60 characters; New: the same with every 100th line changed.
void generate(const fs::path& dir, long lines) {
  if (fs::exists(dir / "new.txt") && fs::exists(dir / "old.txt") && fs::exists(dir / std::to_string(lines)))
    return;
  fs::create_directories(dir);
  std::ofstream newFile(dir / "new.txt", std::ios::binary), oldFile(dir / "old.txt", std::ios::binary);
  std::mt19937_64 rng(20261207);
  for (long i = 0; i < lines; ++i) {
    const std::string line = makeLine(rng, i);
    oldFile << line << '\n';
    newFile << (i % 100 == 50 ? makeLine(rng, -i) : line) << '\n';
  }
  std::ofstream(dir / std::to_string(lines)) << lines << '\n';
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

double secondsOf(const std::string& command) {
  const auto start = std::chrono::steady_clock::now();
  const int status = std::system(command.c_str());
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (status == -1) std::fprintf(stderr, "could not run: %s\n", command.c_str());
  return seconds;
}

// Stops the clock at the first paint inside a report viewer and closes that viewer.
class ViewerPaint : public QObject {
 public:
  explicit ViewerPaint(QElapsedTimer& clock) : clock_(clock) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::Paint || ms >= 0 || !watched->isWidgetType()) return false;
    auto* viewer = qobject_cast<ViewerWindow*>(static_cast<QWidget*>(watched)->window());
    if (viewer == nullptr) return false;
    ms = static_cast<double>(clock_.nsecsElapsed()) / 1e6;
    QTimer::singleShot(0, viewer, [viewer] { viewer->reject(); });
    return false;
  }
  double ms = -1;

 private:
  QElapsedTimer& clock_;
};

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  fs::path dir = fs::temp_directory_path() / "kelvarine-desktop-bench";
  long lines = 1'000'000;
  int repeat = 3;
  std::string cli = KELVARINE_CLI_PATH;
  std::string listings = "Chng,Long";
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string flag = argv[i];
    if (flag == "--dir") dir = argv[i + 1];
    if (flag == "--lines") lines = std::atol(argv[i + 1]);
    if (flag == "--repeat") repeat = std::max(1, std::atoi(argv[i + 1]));
    if (flag == "--cli") cli = argv[i + 1];
    if (flag == "--listing") listings = argv[i + 1];
  }
  generate(dir, lines);
  // The program's settings stay out of the user's own.
  const fs::path config = dir / "config";
  fs::create_directories(config);
  qputenv("XDG_CONFIG_HOME", config.string().c_str());

  QApplication application(argc, argv);
  PosixFileSystem files;
  GuiSession session(files);
  MainWindow window(session);
  const std::string newName = (dir / "new.txt").string(), oldName = (dir / "old.txt").string();
  window.startUp(newName, oldName);
  window.show();
  QElapsedTimer settle;
  settle.start();
  while (settle.elapsed() < 500)
    QApplication::processEvents(QEventLoop::AllEvents, 50);

  auto* listType = window.findChild<QComboBox*>("MnCbListType");
  auto* compareType = window.findChild<QComboBox*>("MnCbCompareType");
  auto* start = window.findChild<QPushButton*>("MnButStart");
  std::printf("platform %s, %ld lines, every 100th changed, medians of %d\n",
              qPrintable(QGuiApplication::platformName()), lines, repeat);
  std::printf("%-8s %12s %12s %8s   %s\n", "listing", "cli s", "desktop s", "ratio", "status");
  std::stringstream names(listings);
  for (std::string listing; std::getline(names, listing, ',');) {
    std::vector<double> cliRuns, guiRuns;
    std::string status;
    for (int r = 0; r < repeat; ++r) {
      cliRuns.push_back(secondsOf("'" + cli + "' -l " + listing + " --no-progress '" + newName + "' '" +
                                  oldName + "' >/dev/null 2>&1"));
      listType->setCurrentText(QString::fromStdString(listing));
      compareType->setCurrentIndex(0);
      QElapsedTimer clock;
      ViewerPaint paint(clock);
      application.installEventFilter(&paint);
      clock.start();
      start->click();  // returns once the viewer has been painted and closed again
      application.removeEventFilter(&paint);
      guiRuns.push_back(paint.ms / 1000.0);
      status = window.host().statusText();
    }
    const double cliSeconds = median(cliRuns), guiSeconds = median(guiRuns);
    std::printf("%-8s %12.3f %12.3f %7.2fx   %s\n", listing.c_str(), cliSeconds, guiSeconds,
                guiSeconds / cliSeconds, status.c_str());
    std::fflush(stdout);
  }
  return 0;
}
