// Seeded random use of the desktop program: clicks, key presses, page changes and choices over the
// main window and whatever window is on top (viewers, message boxes, selection windows), on real runs of
// two small directories. Nothing may crash or assert, and the window must still run a compare at the end.
// KELVARINE_RANDOM_SEED and KELVARINE_RANDOM_ACTIONS override the seed and the count.
#include <QtTest>
#include <QtWidgets>
#include <random>
#include <string>

#include "qt/support/modal_answer.h"
#include "support/temp_directory.h"
#include "ui/qt/gui_session.h"
#include "ui/qt/main_window.h"

namespace kelvarine {

namespace {

// Widgets a random action may not touch: browsing the whole file system could pick a directory such as
// /proc, whose files never end.
bool offLimits(const QWidget* widget) {
  static const QStringList browsers = {"DsTree",   "FsList",   "FsCbDrive",     "FsDirTree",    "FsEdFilter",
                                       "DsInDirN", "DsInDirO", "FsTcNewFileNm", "FsTcOldFileNm"};
  for (const QWidget* w = widget; w != nullptr; w = w->parentWidget())
    if (browsers.contains(w->objectName())) return true;
  return qobject_cast<const QFileDialog*>(widget->window()) != nullptr;
}

template <typename T>
QList<T*> usable(QWidget* top) {
  QList<T*> found;
  for (T* widget : top->findChildren<T*>())
    if (widget->isVisible() && widget->isEnabled() && !offLimits(widget)) found.append(widget);
  return found;
}

int environmentOr(const char* name, int fallback) {
  return qEnvironmentVariableIsSet(name) ? qEnvironmentVariableIntValue(name) : fallback;
}

}  // namespace

class RandomActionsTest : public QObject {
  Q_OBJECT

 private slots:
  void randomUseLeavesAWorkingWindow() {
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    TempDirectory dir;
    for (int i = 0; i < 6; ++i) {
      std::string oldText, newText;
      for (int line = 0; line < 300; ++line) {
        oldText += "line " + std::to_string(line) + (line % 11 == 0 ? " old\n" : "\n");
        newText += "line " + std::to_string(line) + (line % 13 == 0 ? " new\n" : "\n");
      }
      dir.write("new/f" + std::to_string(i) + ".txt", newText);
      dir.write("old/f" + std::to_string(i) + ".txt", i % 2 == 0 ? oldText : newText);
    }
    dir.write("new/only-new.txt", "x\n");
    dir.write("old/only-old.txt", "y\n");
    dir.write("work/.keep", "");
    QDir::setCurrent(QString::fromStdString(dir.path("work")));  // a print to file lands here

    GuiSession session;
    MainWindow window(session);
    window.startUp(dir.path("new"), dir.path("old"));
    window.show();
    const int total = environmentOr("KELVARINE_RANDOM_ACTIONS", 2000);
    int runs = 0, done = 0;
    connect(&window.runController(), &RunController::runningChanged, [&](bool running) { runs += running; });
    const int seed = environmentOr("KELVARINE_RANDOM_SEED", 20261206);
    qInfo("seed %d", seed);
    std::mt19937 random(static_cast<unsigned>(seed));
    bool settled = false;
    // After the last action the same chain closes what is still open, from inside the nested event loop
    // of the window on top (the test's own wait only resumes once those loops have ended).
    std::function<void()> step = [&] {
      if (done < total) {
        ++done;
        QTimer::singleShot(0, step);  // before acting: the action may open a modal window and wait in it
        act(window, random);
        return;
      }
      if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
        dialog->reject();
      else if (QWidget* modal = QApplication::activeModalWidget())
        modal->close();
      settled = QApplication::activeModalWidget() == nullptr && !window.runController().running();
      if (!settled) QTimer::singleShot(10, step);
    };
    QTimer::singleShot(0, step);
    QVERIFY2(testing::waitFor([&] { return settled; }, 600000), "the actions did not finish");
    qInfo("%d actions, %d compare runs", done, runs);
    QVERIFY(runs > 0);

    // The window still runs a compare: the random choices (options, compare columns) decide the outcome,
    // a set ran and ended with a status.
    window.show();
    window.findChild<QTabWidget*>()->setCurrentIndex(0);
    session.panel.MnCkViewResults = true;  // no viewer: the status is enough
    window.findChild<QCheckBox*>("MnCkViewResults")->setChecked(true);
    window.findChild<QComboBox*>("MnCbNewDirNm")->setEditText(QString::fromStdString(dir.path("new")));
    window.findChild<QComboBox*>("MnCbOldDirNm")->setEditText(QString::fromStdString(dir.path("old")));
    window.findChild<QComboBox*>("MnCbCompareType")->setCurrentIndex(1);
    window.findChild<QCheckBox*>("MnCkSubDirs")->setChecked(false);  // listing a tree counts as a run too
    window.findChild<QLineEdit*>("MnEdExclude")->clear();
    testing::whenModalOpens([](QWidget* modal) { modal->close(); });
    auto* start = window.findChild<QAbstractButton*>("MnButStart");
    QVERIFY(start->isEnabled());
    const int runsBefore = runs;
    start->click();
    QCOMPARE(runs, runsBefore + 1);
    const QString status = window.findChild<QLabel*>("MnLblStatus")->text();
    QVERIFY2(status.startsWith("INFORM: ") || status.startsWith("ERROR: "), qPrintable(status));
    session.panel.MnCkOmitIniSv = true;
  }

 private:
  // One random action on the window on top, or now and then on a window a viewer opened beside itself
  // (find dialog, legend).
  void act(MainWindow& window, std::mt19937& random) {
    auto pick = [&](qsizetype n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    QWidget* top = QApplication::activeModalWidget();
    if (top == nullptr) {
      if (!window.isVisible()) window.show();
      top = &window;
    }
    QList<QWidget*> beside;
    for (QWidget* candidate : QApplication::topLevelWidgets())
      if (candidate != top && candidate->isVisible() && !candidate->isModal() &&
          qobject_cast<QDialog*>(candidate) != nullptr && !offLimits(candidate))
        beside.append(candidate);
    for (QDialog* child : top->findChildren<QDialog*>(Qt::FindDirectChildrenOnly))
      if (child->isVisible() && !child->isModal() && !beside.contains(child)) beside.append(child);
    if (!beside.isEmpty() && pick(4) == 0) top = beside[pick(beside.size())];
    if (auto* files = qobject_cast<QFileDialog*>(top)) {  // never pick files at random
      files->reject();
      return;
    }
    switch (pick(6)) {
      case 0:
      case 1:
        if (const auto buttons = usable<QAbstractButton>(top); !buttons.isEmpty())
          buttons[pick(buttons.size())]->click();
        break;
      case 2:
        if (auto* tabs = top->findChild<QTabWidget*>(); tabs != nullptr && top == &window)
          tabs->setCurrentIndex(pick(tabs->count()));
        break;
      case 3:
        if (const auto combos = usable<QComboBox>(top); !combos.isEmpty())
          if (QComboBox* combo = combos[pick(combos.size())]; combo->count() > 0)
            combo->setCurrentIndex(pick(combo->count()));
        break;
      case 4:
        if (const auto views = usable<QAbstractItemView>(top); !views.isEmpty()) {
          QWidget* viewport = views[pick(views.size())]->viewport();
          const QPoint at(pick(std::max(1, viewport->width())), pick(std::max(1, viewport->height())));
          QTest::mouseClick(viewport, Qt::LeftButton, {}, at);
        }
        break;
      default: {
        static const Qt::Key keys[] = {Qt::Key_Return,   Qt::Key_Escape, Qt::Key_Down, Qt::Key_Up,
                                       Qt::Key_PageDown, Qt::Key_Home,   Qt::Key_End,  Qt::Key_Tab,
                                       Qt::Key_A,        Qt::Key_Space};
        QWidget* focus = QApplication::focusWidget();
        if (focus == nullptr || offLimits(focus) || focus->window() != top) focus = top;
        QTest::keyClick(focus, keys[pick(std::size(keys))]);
      }
    }
  }
};

}  // namespace kelvarine

QTEST_MAIN(kelvarine::RandomActionsTest)
#include "random_actions_test.moc"
