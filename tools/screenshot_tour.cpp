// Takes pictures of the desktop program as a person sees it: each main-window page, then the single,
// dual and horizontal viewers (with their change maps), the single viewer's pair list open and a pair
// chosen from it, the legend and find windows beside the viewer, the print preview, the save dialog and
// the two selection windows on the report of two directories. Run it under a real X server
// (scripts/screenshots uses Xvfb): the pictures are grabbed from the screen, not rendered offscreen. Usage:
// kelvarine_screenshot_tour OUTDIR NEW OLD
#include <QtWidgets>
#include <cstdio>
#include <functional>

#include "app/posix_file_system.h"
#include "qt/support/modal_answer.h"
#include "ui/qt/find_dialog.h"
#include "ui/qt/gui_session.h"
#include "ui/qt/main_window.h"
#include "ui/qt/change_span_delegate.h"

namespace {

using kelvarine::testing::waitFor;
using kelvarine::testing::whenModalOpens;

QString outputDirectory;
int failures = 0;

void fail(const QString& what) {
  std::fprintf(stderr, "screenshot_tour: %s\n", qPrintable(what));
  ++failures;
}

void settle(int ms) {
  QElapsedTimer timer;
  timer.start();
  waitFor([&] { return timer.elapsed() >= ms; }, ms + 1000);
}

// Grabs the widget's window from the screen into OUTDIR/NAME.png.
void grab(QWidget* widget, const QString& name) {
  QWidget* window = widget->window();
  window->raise();
  window->activateWindow();
  settle(400);
  const QRect frame = window->frameGeometry();
  const QRect area = window->screen()->availableGeometry();
  if (!area.contains(frame)) {
    fail(QString("%1: %2x%3 at %4,%5 does not fit the screen's %6x%7")
             .arg(name)
             .arg(frame.width())
             .arg(frame.height())
             .arg(frame.x())
             .arg(frame.y())
             .arg(area.width())
             .arg(area.height()));
  }
  const QPixmap picture =
      window->screen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
  const QString path = outputDirectory + "/" + name + ".png";
  if (picture.isNull() || !picture.save(path)) return fail("cannot write " + path);
  std::printf("%s\n", qPrintable(path));
}

// Grabs the whole screen into OUTDIR/NAME.png: where windows stand beside each other.
// Scrolls every report list of `viewer` so that the first row with marks inside it stands near the top.
void showFirstMarkedRow(QWidget* viewer) {
  for (QListView* list : viewer->findChildren<QListView*>()) {
    const QAbstractItemModel* rows = list->model();
    for (int row = 0; rows != nullptr && row < rows->rowCount(); ++row) {
      if (rows->index(row, 0).data(kelvarine::kChangedSpansRole).toList().isEmpty()) continue;
      list->scrollTo(rows->index(std::max(row - 3, 0), 0), QAbstractItemView::PositionAtTop);
      break;
    }
  }
  QApplication::processEvents();
}

void grabScreen(QWidget* widget, const QString& name) {
  settle(400);
  const QPixmap picture = widget->screen()->grabWindow(0);
  const QString path = outputDirectory + "/" + name + ".png";
  if (picture.isNull() || !picture.save(path)) return fail("cannot write " + path);
  std::printf("%s\n", qPrintable(path));
}

QAbstractButton* button(QWidget* parent, const char* objectName) {
  auto* found = parent->findChild<QAbstractButton*>(objectName);
  if (found == nullptr) fail(QString("no button ") + objectName);
  return found;
}

// Clicks the button, which opens a modal window, photographs that window and closes it again.
void photographModal(QWidget* parent, const char* buttonName, const QString& name) {
  QAbstractButton* opener = button(parent, buttonName);
  if (opener == nullptr) return;
  QWidget* below = QApplication::activeModalWidget();
  bool seen = false;
  whenModalOpens([&, below](QWidget* modal) {
    if (modal == below) return;
    seen = true;
    grab(modal, name);
    if (auto* dialog = qobject_cast<QDialog*>(modal))
      dialog->reject();
    else
      modal->close();
  });
  opener->click();
  if (!seen) fail(QString(buttonName) + " opened no window");
}

// Presses Start and, when the viewer opens, hands it to `inViewer`, which must close it.
void runAndShow(kelvarine::MainWindow& window, const std::function<void(QWidget*)>& inViewer) {
  bool shown = false;
  whenModalOpens([&](QWidget* viewer) {
    shown = true;
    inViewer(viewer);
  });
  if (QAbstractButton* start = button(&window, "MnButStart")) start->click();
  if (!waitFor([&] { return shown && QApplication::activeModalWidget() == nullptr; }, 60000))
    fail("no viewer opened");
}

void tour(kelvarine::GuiSession& session, kelvarine::MainWindow& window) {
  auto* tabs = window.findChild<QTabWidget*>();
  auto* compareType = window.findChild<QComboBox*>("MnCbCompareType");
  if (tabs == nullptr || compareType == nullptr) return fail("no pages");
  const QStringList names = {"main-panel", "dir-select", "file-select", "preferences",
                             "dp-options", "about",      "overview"};
  for (int page = 0; page < tabs->count() && page < names.size(); ++page) {
    tabs->setCurrentIndex(page);
    grab(&window, QString("page-%1-%2").arg(page + 1).arg(names[page]));
  }
  tabs->setCurrentIndex(0);
  compareType->setCurrentIndex(1);
  runAndShow(window, [](QWidget* viewer) {
    grab(viewer, "viewer-single");
    // What changed inside paired lines, marked on a tint of the row colour.
    showFirstMarkedRow(viewer);
    grab(viewer, "viewer-single-inline-changes");
    // Jumps to a later change in a narrower viewer scrolled sideways: the change stands in the upper
    // third of the list, and the ruler moves with the rows.
    const QSize size = viewer->size();
    viewer->resize(720, 480);
    if (QAbstractButton* next = button(viewer, "VsButNextChg"))
      for (int jump = 0; jump < 4; ++jump)
        next->click();
    if (auto* list = viewer->findChild<QListView*>("VsList")) {
      list->horizontalScrollBar()->setValue(list->horizontalScrollBar()->maximum() / 2);
      grab(viewer, "viewer-single-next-change-scrolled");
      list->horizontalScrollBar()->setValue(0);
    }
    viewer->resize(size);
    // The pair list of the directory compare: open, then a pair chosen (its section at the top third).
    if (auto* pairs = viewer->findChild<QComboBox*>("VsCbPair"); pairs != nullptr && pairs->isVisible()) {
      pairs->showPopup();
      grabScreen(viewer, "screen-viewer-pair-list");  // the screen: raising the viewer would close it
      pairs->hidePopup();
      for (int i = pairs->count() - 1; i >= 0; --i) {
        const auto* items = qobject_cast<QStandardItemModel*>(pairs->model());
        if (items == nullptr || !items->item(i)->isEnabled() || pairs->itemText(i).contains("summary"))
          continue;
        pairs->setCurrentIndex(i);
        emit pairs->activated(i);
        break;
      }
      grab(viewer, "viewer-single-pair-chosen");
    } else {
      fail("no pair list in the single viewer");
    }
    QWidget* legendWindow = nullptr;
    if (QAbstractButton* legend = button(viewer, "VsButLegend")) {
      legend->click();
      settle(300);
      for (QWidget* top : QApplication::topLevelWidgets())
        if (top->isVisible() && top->windowTitle() == "Kelvarine Change Flagging Legend") {
          grab(top, "legend");
          legendWindow = top;
        }
    }
    if (QAbstractButton* find = button(viewer, "VsButFind")) {
      find->click();
      settle(300);
      if (auto* dialog = viewer->findChild<kelvarine::FindDialog*>();
          dialog != nullptr && dialog->isVisible()) {
        grab(dialog, "find");
        grabScreen(viewer, "screen-viewer-legend-find");
        dialog->close();
      }
    }
    if (legendWindow != nullptr) legendWindow->close();
    if (auto* size = viewer->findChild<QComboBox*>("VsCbPFontSz")) size->setCurrentText("12");
    photographModal(viewer, "VsButPrint", "print-preview");
    photographModal(viewer, "VsButSaveAs", "save-dialog");
    viewer->close();
  });

  // The selection windows of compare types 3 and 4.
  compareType->setCurrentIndex(2);
  photographModal(&window, "MnButStart", "select-like-names");
  compareType->setCurrentIndex(3);
  photographModal(&window, "MnButStart", "select-two-lists");
  compareType->setCurrentIndex(1);

  session.app.choices.setChecked(kelvarine::Pref::Sbsl, true);
  runAndShow(window, [](QWidget* dual) {
    grab(dual, "viewer-dual");
    showFirstMarkedRow(dual);
    grab(dual, "viewer-dual-inline-changes");
    whenModalOpens([](QWidget* horizontal) {
      grab(horizontal, "viewer-horizontal");
      horizontal->close();
    });
    if (QAbstractButton* hsplit = button(dual, "VdButHSplit")) hsplit->click();
    dual->close();
  });
  session.app.choices.setChecked(kelvarine::Pref::Sbsl, false);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  if (argc != 4) {
    std::fprintf(stderr, "usage: kelvarine_screenshot_tour OUTDIR NEW OLD\n");
    return 2;
  }
  outputDirectory = QString::fromLocal8Bit(argv[1]);
  QDir().mkpath(outputDirectory);
  QTemporaryDir config;  // the tour never reads or writes the user's own settings
  qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());

  kelvarine::PosixFileSystem files;
  kelvarine::GuiSession session(files);
  kelvarine::MainWindow window(session);
  window.startUp(argv[2], argv[3]);
  window.show();
  QTimer::singleShot(300, [&] {
    tour(session, window);
    session.panel.MnCkOmitIniSv = true;
    window.close();
    QApplication::quit();
  });
  QApplication::exec();
  return failures == 0 ? 0 : 1;
}
