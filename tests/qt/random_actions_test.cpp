// Seeded random use of the desktop program: clicks, key presses, page changes and choices over the
// main window and whatever window is on top (viewers, message boxes, selection windows), on real runs of
// two small directories. Nothing may crash or assert, and the window must still answer at the end.
// KELVARINE_RANDOM_SEED and KELVARINE_RANDOM_ACTIONS override the seed and the count.

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdio>
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
  for (const QWidget* w = widget; w != nullptr; w = w->parentWidget()) {
    const QString name = w->objectName();
    if (name == "DsTree" || name == "FsList" || name == "FsCbDrive" || name == "FsDirTree" ||
        name == "FsEdFilter" || name == "DsInDirN" || name == "DsInDirO" || name == "FsTcNewFileNm" ||
        name == "FsTcOldFileNm")
      return true;
  }
  return qobject_cast<const QFileDialog*>(widget->window()) != nullptr;
}

template <typename T>
QList<T*> usable(QWidget* top) {
  QList<T*> found;
  for (T* widget : top->findChildren<T*>()) {
    if (widget->isVisible() && widget->isEnabled() && !offLimits(widget)) found.append(widget);
  }
  return found;
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

    const unsigned seed = qEnvironmentVariableIsSet("KELVARINE_RANDOM_SEED")
                              ? qEnvironmentVariableIntValue("KELVARINE_RANDOM_SEED")
                              : 20261206u;
    const int total = qEnvironmentVariableIsSet("KELVARINE_RANDOM_ACTIONS")
                          ? qEnvironmentVariableIntValue("KELVARINE_RANDOM_ACTIONS")
                          : 2000;
    int runs = 0;
    connect(&window.runController(), &RunController::runningChanged, [&](bool running) { runs += running; });
    std::mt19937 random(seed);
    int done = 0;
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
      if (QWidget* modal = QApplication::activeModalWidget()) {
        if (auto* dialog = qobject_cast<QDialog*>(modal)) {
          dialog->reject();
        } else {
          modal->close();
        }
      }
      if (QApplication::activeModalWidget() == nullptr && !window.runController().running()) {
        settled = true;
      } else {
        QTimer::singleShot(10, step);
      }
    };
    QTimer::singleShot(0, step);
    QVERIFY2(testing::waitFor([&] { return settled; }, 600000), "the actions did not finish");
    qInfo("%d actions, %d compare runs", done, runs);
    QVERIFY(runs > 0);

    window.show();
    auto* tabs = window.findChild<QTabWidget*>();
    QVERIFY(tabs != nullptr);
    tabs->setCurrentIndex(0);
    session.panel.MnCkViewResults = true;  // no viewer: the status is enough
    if (auto* bypass = window.findChild<QCheckBox*>("MnCkViewResults")) bypass->setChecked(true);
    window.findChild<QComboBox*>("MnCbNewDirNm")->setEditText(QString::fromStdString(dir.path("new")));
    window.findChild<QComboBox*>("MnCbOldDirNm")->setEditText(QString::fromStdString(dir.path("old")));
    window.findChild<QComboBox*>("MnCbCompareType")->setCurrentIndex(1);
    testing::whenModalOpens([](QWidget* modal) { modal->close(); });
    auto* start = window.findChild<QAbstractButton*>("MnButStart");
    QVERIFY(start != nullptr && start->isEnabled());
    const int runsBefore = runs;
    start->click();
    // The random choices (options, compare columns) decide the outcome; a set ran and ended with a status.
    QCOMPARE(runs, runsBefore + 1);
    const QString status = window.findChild<QLabel*>("MnLblStatus")->text();
    QVERIFY2(status.startsWith("INFORM: ") || status.startsWith("ERROR: "), qPrintable(status));
    session.panel.MnCkOmitIniSv = true;
  }

 private:
  const bool trace_ = qEnvironmentVariableIsSet("KELVARINE_RANDOM_TRACE");

  // One random action on the window on top.
  void act(MainWindow& window, std::mt19937& random) {
    QWidget* top = QApplication::activeModalWidget();
    if (top == nullptr) {
      if (!window.isVisible()) window.show();
      top = &window;
    }
    // The windows a viewer opens beside itself (find dialog, legend) take their share of the actions.
    QList<QWidget*> beside;
    for (QWidget* candidate : QApplication::topLevelWidgets()) {
      if (candidate != top && candidate->isVisible() && !candidate->isModal() &&
          qobject_cast<QDialog*>(candidate) != nullptr && !offLimits(candidate))
        beside.append(candidate);
    }
    for (QDialog* child : top->findChildren<QDialog*>(Qt::FindDirectChildrenOnly)) {
      if (child->isVisible() && !child->isModal() && !beside.contains(child)) beside.append(child);
    }
    if (!beside.isEmpty() && random() % 4 == 0) top = beside[static_cast<int>(random() % beside.size())];
    if (trace_) {
      QWidget* focus = QApplication::focusWidget();
      std::fprintf(
          stderr, "top=%s focus=%s\n", qPrintable(top->objectName() + "/" + top->metaObject()->className()),
          focus != nullptr ? qPrintable(focus->objectName() + "/" + focus->metaObject()->className()) : "-");
    }
    if (auto* files = qobject_cast<QFileDialog*>(top)) {  // never pick files at random
      files->reject();
      return;
    }
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    switch (pick(6)) {
      case 0:
      case 1: {
        const QList<QAbstractButton*> buttons = usable<QAbstractButton>(top);
        if (!buttons.isEmpty()) buttons[pick(static_cast<int>(buttons.size()))]->click();
        break;
      }
      case 2: {
        if (auto* tabs = top->findChild<QTabWidget*>(); tabs != nullptr && top == &window)
          tabs->setCurrentIndex(pick(tabs->count()));
        break;
      }
      case 3: {
        const QList<QComboBox*> combos = usable<QComboBox>(top);
        if (combos.isEmpty()) break;
        QComboBox* combo = combos[pick(static_cast<int>(combos.size()))];
        if (combo->count() > 0) combo->setCurrentIndex(pick(combo->count()));
        break;
      }
      case 4: {
        const QList<QAbstractItemView*> views = usable<QAbstractItemView>(top);
        if (views.isEmpty()) break;
        QAbstractItemView* view = views[pick(static_cast<int>(views.size()))];
        const QPoint at(pick(std::max(1, view->viewport()->width())),
                        pick(std::max(1, view->viewport()->height())));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
        break;
      }
      default: {
        static const Qt::Key keys[] = {Qt::Key_Return,   Qt::Key_Escape, Qt::Key_Down, Qt::Key_Up,
                                       Qt::Key_PageDown, Qt::Key_Home,   Qt::Key_End,  Qt::Key_Tab,
                                       Qt::Key_A,        Qt::Key_Space};
        QWidget* focus = QApplication::focusWidget();
        if (focus == nullptr || offLimits(focus) || focus->window() != top) focus = top;
        QTest::keyClick(focus, keys[pick(static_cast<int>(std::size(keys)))]);
        break;
      }
    }
  }
};

}  // namespace kelvarine

QTEST_MAIN(kelvarine::RandomActionsTest)
#include "random_actions_test.moc"
