// The main window as a person uses it: seeded random use of the whole program (KELVARINE_RANDOM_SEED and
// KELVARINE_RANDOM_ACTIONS override seed and count), files dropped, Preferences and Dp Options left by
// Cancel and Return, settings saved at close and read at start, closing on another page, Halt and
// closing during a run.
#include <QtTest>
#include <QtWidgets>
#include <filesystem>
#include <memory>
#include <random>
#include <string>

#include "qt/support/modal_answer.h"
#include "qt/support/test_session.h"
#include "qt/support/widget_finder.h"
#include "support/temp_directory.h"
#include "ui/qt/gui_session.h"
#include "ui/qt/main_window.h"

namespace kelvarine {

using testing::answerNextMessageBox;
using testing::waitFor;
using testing::whenModalOpens;

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

void typeName(QComboBox* field, const std::string& text) {
  field->setFocus();
  field->lineEdit()->selectAll();
  QTest::keyClicks(field->lineEdit(), QString::fromStdString(text));
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QVERIFY(config_.isValid());
    qputenv("XDG_CONFIG_HOME", config_.path().toLocal8Bit());
  }
  void init() { window_ = makeWindow(session_); }
  void cleanup() {
    session_->panel.MnCkOmitIniSv = true;
    window_->showPage(Page::MainPanel);
    window_->close();
    window_.reset();
    session_.reset();
    std::filesystem::remove(settingsFile());
  }

  void dropsSetTheNames_data() {
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<int>("belowOldTop");  // drop position, in pixels below the Old field's top edge
    QTest::addColumn<bool>("running");
    QTest::addColumn<QStringList>("names");  // New and Old afterwards
    const QStringList one{"/Data/One.TXT"};
    QTest::newRow("one above Old") << one << -1 << false << QStringList{"/Data/One.TXT", "old"};
    QTest::newRow("one at Old's top") << one << 0 << false << QStringList{"new", "/Data/One.TXT"};
    QTest::newRow("three anywhere") << QStringList{"/A/First.c", "/B/second.C", "/C/third"} << -40 << false
                                    << QStringList{"/A/First.c", "/B/second.C"};
    QTest::newRow("refused during a run") << one << 0 << true << QStringList{"new", "old"};
  }
  void dropsSetTheNames() {
    QFETCH(QStringList, files);
    QFETCH(int, belowOldTop);
    QFETCH(bool, running);
    session_->panel.MnCbNewDirNm.text = "new";
    session_->panel.MnCbOldDirNm.text = "old";
    window_->showAllPages();
    window_->runController().setRunning(running);
    const QPoint spot = at<QWidget>("MnCbOldDirNm")->mapTo(window_.get(), QPoint(5, belowOldTop));
    QCOMPARE(testing::dragAndDrop(window_.get(), files, spot), !running);
    window_->runController().setRunning(false);

    QFETCH(QStringList, names);
    QCOMPARE(at<QComboBox>("MnCbNewDirNm")->currentText(), names[0]);
    QCOMPARE(at<QComboBox>("MnCbOldDirNm")->currentText(), names[1]);
    QCOMPARE(QString::fromStdString(session_->panel.MnCbOldDirNm.text), names[1]);
  }

  void preferencesAndDpOptionsCancelRestore() {
    session_->app.choices.setChecked(Pref::Fmvl, true);
    window_->showPage(Page::Preferences);
    auto* fmvl = at<QCheckBox>("PrCkFmvl");
    QVERIFY(fmvl->isChecked());
    fmvl->click();
    at<QCheckBox>("PrCkIcas")->click();
    QVERIFY(session_->app.choices.isChecked(Pref::Icas));
    at<QAbstractButton>("PrButCancel")->click();
    QCOMPARE(window_->currentPage(), Page::MainPanel);
    QCOMPARE(at<QLabel>("MnlblOptsUsed")->text(), QString("Fmvl"));

    // Reset unchecks every box; Return keeps what the page shows.
    window_->showPage(Page::Preferences);
    at<QAbstractButton>("PrButReset")->click();
    QVERIFY(!fmvl->isChecked());
    at<QAbstractButton>("PrButReturn")->click();
    QCOMPARE(at<QLabel>("MnlblOptsUsed")->text(), QString("None"));

    // Dp Options: Return shows the choice beside a box checked elsewhere; Cancel restores the choice.
    session_->app.choices.setChecked(Pref::Icas, true);
    window_->showPage(Page::DpOptions);
    QVERIFY(at<QAbstractButton>("DpRbNone")->isChecked());  // no choice yet: None
    at<QAbstractButton>("DpRbDcpp")->click();
    at<QAbstractButton>("DpButReturn")->click();
    QCOMPARE(at<QLabel>("MnlblOptsUsed")->text(), QString("Dcpp Icas"));
    window_->showPage(Page::DpOptions);
    at<QAbstractButton>("DpRbDblk")->click();
    at<QAbstractButton>("DpButCancel")->click();
    QVERIFY(at<QAbstractButton>("DpRbDcpp")->isChecked());
  }

  void settingsSavedAtCloseAndReadAtStart() {
    QTemporaryDir data;
    const QString newDir = data.filePath("New Dir");
    QVERIFY(QDir().mkpath(newDir));
    at<QComboBox>("MnCbNewDirNm")->setEditText(newDir);
    at<QCheckBox>("MnCkSubDirs")->click();
    QTest::keyClicks(at<QLineEdit>("MnEdExclude"), "build;*.o");
    window_->showPage(Page::Preferences);
    at<QCheckBox>("PrCkIcas")->click();
    window_->showPage(Page::MainPanel);

    // Bypassed: nothing is written.
    at<QCheckBox>("MnCkOmitIniSv")->click();
    QVERIFY(window_->close());
    QVERIFY(!std::filesystem::exists(settingsFile()));
    window_->show();
    at<QCheckBox>("MnCkOmitIniSv")->click();
    window_->setGeometry(30, 40, 520, 380);
    at<QAbstractButton>("MnButExit")->click();
    QVERIFY(!window_->isVisible());
    QVERIFY(std::filesystem::exists(settingsFile()));

    std::unique_ptr<TestSession> next;
    std::unique_ptr<MainWindow> restarted = makeWindow(next);
    QWidget* in = restarted.get();
    QCOMPARE(restarted->geometry(), QRect(30, 40, 520, 380));
    QCOMPARE(at<QComboBox>("MnCbNewDirNm", in)->currentText().toLower(), newDir.toLower());
    QVERIFY(at<QCheckBox>("MnCkSubDirs", in)->isChecked());
    QCOMPARE(at<QLineEdit>("MnEdExclude", in)->text(), QString("build;*.o"));
    QCOMPARE(at<QLabel>("MnlblOptsUsed", in)->text(), QString("Icas"));
    next->panel.MnCkOmitIniSv = true;
    restarted->close();
  }

  void closingOnAnotherPageReturnsToTheMainPanel() {
    session_->panel.MnCkOmitIniSv = false;  // a close that went through would write the settings
    for (Page page : {Page::Preferences, Page::DpOptions, Page::About, Page::OverView}) {
      window_->showPage(page);
      QVERIFY(!window_->close());
      QCOMPARE(window_->currentPage(), Page::MainPanel);
    }
    // The assistant pages ask their Return question first; No keeps the page.
    for (Page page : {Page::DirSelect, Page::FileSelect}) {
      window_->showPage(page);
      QString question;
      answerNextMessageBox(QMessageBox::No, &question);
      QVERIFY(!window_->close());
      QVERIFY(question.endsWith(" the same as upon entry.  Exit anyway?"));
      QCOMPARE(window_->currentPage(), page);
    }
    QVERIFY(!std::filesystem::exists(settingsFile()));
  }

  // Ctrl+Tab over Dir Select and File Select changes neither names nor type (a directory handed over
  // stays); a file dropped on a field follows the window's rule; typing offers history names, fills none.
  void namesChangeOnlyAsAsked() {
    TempDirectory dir;
    const QString names = setNames(dir.write("new/a.txt", "x\n"), dir.write("old/b.txt", "y\n"), 1);
    for (int i = 0; i < 3; ++i)
      QTest::keyClick(window_->findChild<QTabWidget*>(), Qt::Key_Tab, Qt::ControlModifier);
    window_->showPage(Page::MainPanel);
    QCOMPARE(setNames({}, {}, -1), names);
    window_->showPage(Page::DirSelect);
    at<QAbstractButton>("DsButToNew")->click();  // the New file's directory, selected on entry
    window_->showPage(Page::MainPanel);
    QVERIFY(setNames({}, {}, -1).startsWith(QString::fromStdString(dir.path("new/")) + " | "));
    auto* old = at<QComboBox>("MnCbOldDirNm");
    QVERIFY(testing::dragAndDrop(old->lineEdit(), {"/Data/One.TXT"}));
    QCOMPARE(old->currentText(), QString("/Data/One.TXT"));
    old->addItem("/lib/python3.13/json");  // in the history
    window_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    typeName(old, "/lib/python3.13");
    QVERIFY(!old->lineEdit()->hasSelectedText() && old->completer()->popup()->isVisible());
    QTest::keyClick(old->completer()->popup(), Qt::Key_Tab);  // an open list takes the keys
    QCOMPARE(old->currentText(), QString("/lib/python3.13"));
  }

  // Sv User Ini writes where the window is now; Load User Ini puts it where the file says.
  void userIniKeepsTheWindowsPlace() {
    QTemporaryDir dir;
    const auto pick = [ini = dir.filePath("mine.ini")](QWidget* dialog) {
      testing::child<QLineEdit>(dialog, "fileNameEdit")->setText(ini);  // typed, as a person does
      QMetaObject::invokeMethod(dialog, "accept");
    };
    window_->setGeometry(140, 90, 500, 360);
    const QRect place = window_->frameGeometry();
    whenModalOpens(pick);
    at<QAbstractButton>("MnButSaveIni")->click();
    window_->setGeometry(10, 20, 600, 400);
    whenModalOpens(pick);
    at<QAbstractButton>("MnButLoadIni")->click();
    QCOMPARE(window_->frameGeometry(), place);
  }

  // A name that cannot be used is refused with the system's reason after the message. Re-Show is enabled
  // by a run, not by a listing of trees that finds no pair, and shows the last report, focusing Exit.
  void refusalsAndReShow() {
    TempDirectory dir;
    const std::string newFile = dir.write("new/sub/a.txt", "a\n"),
                      oldFile = dir.write("old/sub/b.txt", "b\n");
    setNames(dir.path("missing.txt"), oldFile, 0);
    QString message;
    answerNextMessageBox(QMessageBox::Ok, &message);
    at<QAbstractButton>("MnButStart")->click();
    QCOMPARE(message, QString("Invalid New Input File Name \"%1\" specified.\n%1: No such file or directory")
                          .arg(QString::fromStdString(dir.path("missing.txt"))));
    setNames(dir.path("new"), dir.path("old"), 1);
    at<QCheckBox>("MnCkSubDirs")->setChecked(true);
    answerNextMessageBox(QMessageBox::Ok);  // no pair: no run
    at<QAbstractButton>("MnButStart")->click();
    auto* reShow = at<QAbstractButton>("MnButRshow");
    QVERIFY(!reShow->isEnabled());
    // The single viewer opens on the whole report, within the screen whatever size it asks.
    setNames(newFile, oldFile, 0);
    int rows = 0;
    bool fits = false;
    whenModalOpens([&](QWidget* viewer) {
      rows = testing::child<QListView>(viewer, "VsList")->model()->rowCount();
      fits = viewer->screen()->availableGeometry().contains(viewer->frameGeometry());
      viewer->close();
    });
    at<QAbstractButton>("MnButStart")->click();
    QCOMPARE(rows, static_cast<int>(session_->app.reportLines.size()));
    QVERIFY(fits);
    QCOMPARE(at<QLabel>("MnLblStatus")->text(), QString("INFORM: The processed files have differences."));
    at<QComboBox>("MnCbNewDirNm")->setFocus();
    whenModalOpens([](QWidget* viewer) { viewer->close(); });
    reShow->click();
    QCOMPARE(window_->focusWidget(), at<QWidget>("MnButExit"));  // focused when the window is active again
  }

  // A long directory compare (a few seconds) ended by Halt: the halt status, the window ready again; then
  // closing the window during a second run halts it and closes once it has ended.
  void haltAndCloseDuringARun() {
    TempDirectory dir;
    std::string oldText, newText;
    for (int i = 1; i <= 20000; ++i) {
      const std::string rest = std::to_string(i) + " of a generated file with some text to compare\n";
      oldText += "line " + rest;
      newText += (i % 7 == 0 ? "changed line " : "line ") + rest;
    }
    for (int i = 0; i < 120; ++i) {
      dir.write("new/file" + std::to_string(i) + ".txt", newText);
      dir.write("old/file" + std::to_string(i) + ".txt", oldText);
    }
    typeName(at<QComboBox>("MnCbNewDirNm"), dir.path("new"));
    typeName(at<QComboBox>("MnCbOldDirNm"), dir.path("old"));
    at<QComboBox>("MnCbCompareType")->setCurrentIndex(1);
    session_->panel.MnCkOmitIniSv = true;
    bool halt = true;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
      QAbstractButton* stop = at<QAbstractButton>("MnButStop");
      if (session_->app.PairCount == 0 || !stop->isVisible()) return;
      watcher.stop();
      halt ? stop->click() : void(window_->close());
    });
    at<QCheckBox>("MnCkViewResults")->setChecked(true);  // no viewer, should the run end first
    watcher.start(20);
    at<QAbstractButton>("MnButStart")->click();
    QCOMPARE(at<QLabel>("MnLblStatus")->text(),
             QString("INFORM: The User requested a premature program stop. "));
    QVERIFY(!at<QAbstractButton>("MnButStop")->isVisible() && at<QAbstractButton>("MnButStart")->isEnabled());
    halt = false;
    watcher.start(20);
    at<QAbstractButton>("MnButStart")->click();
    QVERIFY(waitFor([&] { return !window_->isVisible(); }));
    QVERIFY(session_->app.StopRequested);
  }

  // Clicks, keys, page changes and choices at random over whatever window is on top, with real runs of
  // two small directories: nothing may crash or assert, and the window still runs a compare afterwards.
  void randomUseLeavesAWorkingWindow() {
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
    // A big pair keeps runs going long enough for actions to land inside them, on the host's throttled path.
    std::string big;
    for (int line = 0; line < 200000; ++line)
      big += "big line " + std::to_string(line) + "\n";
    dir.write("new/big.txt", big + "new end\n");
    dir.write("old/big.txt", big);
    dir.write("new/only-new.txt", "x\n");
    dir.write("old/only-old.txt", "y\n");
    dir.write("work/.keep", "");
    QDir::setCurrent(QString::fromStdString(dir.path("work")));  // a print to file lands here

    window_.reset();
    window_ = makeWindow(session_, dir.path("new"), dir.path("old"));
    MainWindow& window = *window_;
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
    session_->panel.MnCkViewResults = true;  // no viewer: the status is enough
    window.findChild<QCheckBox*>("MnCkViewResults")->setChecked(true);
    window.findChild<QComboBox*>("MnCbNewDirNm")->setEditText(QString::fromStdString(dir.path("new")));
    window.findChild<QComboBox*>("MnCbOldDirNm")->setEditText(QString::fromStdString(dir.path("old")));
    window.findChild<QComboBox*>("MnCbCompareType")->setCurrentIndex(1);
    window.findChild<QCheckBox*>("MnCkSubDirs")->setChecked(false);  // listing a tree counts as a run too
    window.findChild<QLineEdit*>("MnEdExclude")->clear();
    whenModalOpens([](QWidget* modal) { modal->close(); });
    auto* start = window.findChild<QAbstractButton*>("MnButStart");
    QVERIFY(start->isEnabled());
    const int runsBefore = runs;
    start->click();
    QCOMPARE(runs, runsBefore + 1);
    const QString status = window.findChild<QLabel*>("MnLblStatus")->text();
    QVERIFY2(status.startsWith("INFORM: ") || status.startsWith("ERROR: "), qPrintable(status));
  }

 private:
  template <typename T>
  T* at(const char* name, QWidget* in = nullptr) {
    return testing::child<T>(in != nullptr ? in : window_.get(), name);
  }
  // Sets the main names (unless empty) and compare type item `type` (from 0, unless negative); returns
  // the two names and the type as the fields show them.
  QString setNames(const std::string& newName, const std::string& oldName, int type) {
    if (!newName.empty()) at<QComboBox>("MnCbNewDirNm")->setEditText(QString::fromStdString(newName));
    if (!oldName.empty()) at<QComboBox>("MnCbOldDirNm")->setEditText(QString::fromStdString(oldName));
    if (type >= 0) at<QComboBox>("MnCbCompareType")->setCurrentIndex(type);
    return QStringList{at<QComboBox>("MnCbNewDirNm")->currentText(),
                       at<QComboBox>("MnCbOldDirNm")->currentText(),
                       at<QComboBox>("MnCbCompareType")->currentText()}
        .join(" | ");
  }
  std::filesystem::path settingsFile() const {
    return std::filesystem::path(config_.path().toStdString()) / "kelvarine" / "Kelvarn.ini";
  }
  static std::unique_ptr<MainWindow> makeWindow(std::unique_ptr<TestSession>& session,
                                                const std::string& newName = {},
                                                const std::string& oldName = {}) {
    session = std::make_unique<TestSession>();
    auto window = std::make_unique<MainWindow>(*session);
    window->startUp(newName, oldName);
    window->show();
    return window;
  }

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

  QTemporaryDir config_;
  std::unique_ptr<TestSession> session_;
  std::unique_ptr<MainWindow> window_;
};

}  // namespace kelvarine

QTEST_MAIN(kelvarine::MainWindowTest)
#include "main_window_test.moc"
