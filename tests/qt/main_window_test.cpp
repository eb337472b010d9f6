// The main window as a person uses it: files dropped on the window, Preferences and Dp Options left by
// Cancel and Return, the settings saved at close and read at the next start, the hint switch, closing on
// another page or during a run, two typed files compared and read in the viewer, Halt on a long run.
#include <QtTest>
#include <QtWidgets>
#include <filesystem>
#include <memory>

#include "qt/support/modal_answer.h"
#include "qt/support/widget_finder.h"
#include "support/temp_directory.h"
#include "ui/qt/gui_session.h"
#include "ui/qt/main_window.h"

namespace kelvarine {

using testing::answerNextMessageBox;
using testing::waitFor;
using testing::whenModalOpens;

namespace {

// Counts the tool-tip requests that reach the object it watches.
class ToolTipCounter : public QObject {
 public:
  int count = 0;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::ToolTip) ++count;
    return QObject::eventFilter(watched, event);
  }
};

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
    QVERIFY(session_->app.choices.isChecked(Pref::Fmvl) && !session_->app.choices.isChecked(Pref::Icas));
    QCOMPARE(at<QLabel>("MnlblOptsUsed")->text(), QString("Fmvl"));

    // Reset unchecks every box; Return keeps what the page shows.
    window_->showPage(Page::Preferences);
    at<QAbstractButton>("PrButReset")->click();
    QVERIFY(!fmvl->isChecked());
    at<QAbstractButton>("PrButReturn")->click();
    QCOMPARE(at<QLabel>("MnlblOptsUsed")->text(), QString("None"));

    // Entering Dp Options shows a box checked elsewhere in the options string at once.
    session_->app.choices.setChecked(Pref::Icas, true);
    window_->showPage(Page::DpOptions);
    QCOMPARE(session_->app.optionsString, std::string("Icas"));
    at<QAbstractButton>("DpRbDcpp")->click();
    at<QAbstractButton>("DpButReturn")->click();
    QCOMPARE(at<QLabel>("MnlblOptsUsed")->text(), QString("Dcpp Icas"));
    window_->showPage(Page::DpOptions);
    at<QAbstractButton>("DpRbDblk")->click();
    at<QAbstractButton>("DpButCancel")->click();
    QCOMPARE(session_->app.choices.dpIndex, 6);
    QVERIFY(at<QAbstractButton>("DpRbDcpp")->isChecked());
  }

  void settingsSavedAtCloseAndReadAtStart() {
    QTemporaryDir data;
    const QString newDir = data.filePath("New Dir");
    QVERIFY(QDir().mkpath(newDir));
    at<QComboBox>("MnCbNewDirNm")->setEditText(newDir);
    at<QComboBox>("MnCbListType")->setEditText("Long");
    at<QCheckBox>("MnCkViewResults")->click();
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
    at<QAbstractButton>("MnButExit")->click();
    QVERIFY(!window_->isVisible());
    QVERIFY(std::filesystem::exists(settingsFile()));

    std::unique_ptr<GuiSession> next;
    std::unique_ptr<MainWindow> restarted = makeWindow(next);
    QWidget* in = restarted.get();
    QCOMPARE(at<QComboBox>("MnCbNewDirNm", in)->currentText().toLower(), newDir.toLower());
    QCOMPARE(at<QComboBox>("MnCbListType", in)->currentText(), QString("Long"));
    QVERIFY(at<QCheckBox>("MnCkViewResults", in)->isChecked());
    QVERIFY(at<QCheckBox>("MnCkSubDirs", in)->isChecked());
    QCOMPARE(at<QLineEdit>("MnEdExclude", in)->text(), QString("build;*.o"));
    QCOMPARE(at<QLabel>("MnlblOptsUsed", in)->text(), QString("Icas"));
    restarted->showPage(Page::Preferences);
    QVERIFY(at<QCheckBox>("PrCkIcas", in)->isChecked());
    restarted->showPage(Page::MainPanel);
    next->panel.MnCkOmitIniSv = true;
    restarted->close();
  }

  void hintSwitchSwallowsToolTips() {
    auto* start = at<QWidget>("MnButStart");
    ToolTipCounter counter;
    start->installEventFilter(&counter);
    auto* hintSwitch = at<QCheckBox>("MnCkTurnOffHint");
    for (int expected : {1, 1, 2}) {  // shown; switched off; switched on again
      QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), start->mapToGlobal(QPoint(2, 2)));
      QApplication::sendEvent(start, &help);
      QCOMPARE(counter.count, expected);
      hintSwitch->click();
    }
    QVERIFY(session_->panel.MnCkTurnOffHint);  // clicked three times
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
      QVERIFY(window_->isVisible());
    }
    QVERIFY(!std::filesystem::exists(settingsFile()));
  }

  // Two files typed, the compare type switched by the question, Start: the single viewer opens on the
  // whole report, and the status and Re-Show follow the run.
  void twoTypedFilesOpenTheSingleViewer() {
    TempDirectory dir;
    typeName(at<QComboBox>("MnCbNewDirNm"), dir.write("new.txt", "same\ninserted one\nsame again\n"));
    typeName(at<QComboBox>("MnCbOldDirNm"), dir.write("old.txt", "same\nsame again\n"));
    int rows = 0;
    answerNextMessageBox(QMessageBox::Yes);  // compare type 2 with two files: switch to 1 (text ui-tested)
    whenModalOpens([&](QWidget* viewer) {
      rows = testing::child<QListView>(viewer, "VsList")->model()->rowCount();
      viewer->close();
    });
    at<QAbstractButton>("MnButStart")->click();

    QCOMPARE(rows, static_cast<int>(session_->app.reportLines.size()));
    QCOMPARE(at<QLabel>("MnLblStatus")->text(), QString("INFORM: The processed files have differences."));
    QVERIFY(at<QAbstractButton>("MnButRshow")->isEnabled());
  }

  // Halt pressed once a long directory compare runs: the halt status, no viewer, the window usable.
  void haltEndsALongRun() {
    TempDirectory dir;
    startLongRun(dir, [this] {
      QAbstractButton* halt = at<QAbstractButton>("MnButStop");
      if (!halt->isVisible()) return false;
      halt->click();
      return true;
    });
    QCOMPARE(at<QLabel>("MnLblStatus")->text(),
             QString("INFORM: The User requested a premature program stop. "));
    QVERIFY(!viewerOpened_);
    QVERIFY(!at<QAbstractButton>("MnButStop")->isVisible());
    QVERIFY(at<QAbstractButton>("MnButStart")->isEnabled() && at<QAbstractButton>("MnButRshow")->isEnabled());
  }

  // Closing the window during a run halts the run and closes once it has ended.
  void closeDuringARunHaltsFirst() {
    TempDirectory dir;
    session_->panel.MnCkOmitIniSv = true;
    startLongRun(dir, [this] {
      window_->close();
      return true;
    });
    QVERIFY(waitFor([&] { return !window_->isVisible(); }));
    QVERIFY(session_->app.StopRequested);
  }

 private:
  template <typename T>
  T* at(const char* name, QWidget* in = nullptr) {
    return testing::child<T>(in != nullptr ? in : window_.get(), name);
  }
  std::filesystem::path settingsFile() const {
    return std::filesystem::path(config_.path().toStdString()) / "kelvarine" / "Kelvarn.ini";
  }
  static std::unique_ptr<MainWindow> makeWindow(std::unique_ptr<GuiSession>& session) {
    session = std::make_unique<GuiSession>();
    auto window = std::make_unique<MainWindow>(*session);
    window->startUp({}, {});
    window->show();
    return window;
  }

  // Compares two directories of like-named files, enough for a run of a few seconds, and calls `during`
  // every 20 ms once the pairs are counted until it returns true; returns when Start's click does.
  void startLongRun(TempDirectory& dir, const std::function<bool()>& during) {
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
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
      if (session_->app.PairCount > 0 && during()) watcher.stop();
    });
    watcher.start(20);
    viewerOpened_ = false;
    whenModalOpens([this](QWidget* modal) {
      viewerOpened_ = true;
      modal->close();
    });
    at<QAbstractButton>("MnButStart")->click();
  }

  QTemporaryDir config_;
  std::unique_ptr<GuiSession> session_;
  std::unique_ptr<MainWindow> window_;
  bool viewerOpened_ = false;
};

}  // namespace kelvarine

QTEST_MAIN(kelvarine::MainWindowTest)
#include "main_window_test.moc"
