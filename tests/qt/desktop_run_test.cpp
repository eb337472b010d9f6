// The desktop program driven as a person drives it: names typed, Start pressed, the report read in the
// viewer; Halt pressed during a long run; the window closed while a run is going.

#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <string>

#include "qt/support/modal_answer.h"
#include "qt/support/widget_finder.h"
#include "support/temp_directory.h"
#include "ui/qt/gui_session.h"
#include "ui/qt/main_window.h"

namespace kelvarine {

using testing::answerNextMessageBox;
using testing::child;
using testing::waitFor;
using testing::whenModalOpens;

namespace {

void typeName(QComboBox* field, const std::string& text) {
  field->setFocus();
  field->lineEdit()->selectAll();
  QTest::keyClicks(field->lineEdit(), QString::fromStdString(text));
}

// Lines "line N" for 1..count, with every `changeEvery`-th line rewritten when `changed`.
std::string numberedLines(int count, int changeEvery, bool changed) {
  std::string text;
  for (int i = 1; i <= count; ++i) {
    text += (changed && i % changeEvery == 0) ? "changed line " : "line ";
    text += std::to_string(i) + " of a generated file with some text to compare\n";
  }
  return text;
}

}  // namespace

class DesktopRunTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    qputenv("XDG_CONFIG_HOME", config_.path().toLocal8Bit());
    session_ = std::make_unique<GuiSession>();
    window_ = std::make_unique<MainWindow>(*session_);
    window_->startUp({}, {});
    window_->show();
  }
  void cleanup() {
    session_->panel.MnCkOmitIniSv = true;
    window_->close();
    window_.reset();
    session_.reset();
  }

  // Two files typed, compare type switched by the question, Start: the single viewer opens on the
  // report, colours a change row and steps between changes by button and by Enter.
  void twoFilesOpenTheSingleViewer() {
    TempDirectory dir;
    const std::string newFile = dir.write("new.txt", "same\ninserted one\nsame again\nlast\nadded\n");
    const std::string oldFile = dir.write("old.txt", "same\nsame again\nlast\n");
    typeName(child<QComboBox>(window_.get(), "MnCbNewDirNm"), newFile);
    typeName(child<QComboBox>(window_.get(), "MnCbOldDirNm"), oldFile);

    QString question;
    answerNextMessageBox(QMessageBox::Yes, &question);  // compare type 2 with two files: switch to 1
    QString caption;
    int rows = 0, firstChange = -1, secondChange = -1;
    QColor changeColour;
    whenModalOpens([&](QWidget* viewer) {
      caption = viewer->windowTitle();
      auto* list = child<QListView>(viewer, "VsList");
      rows = list->model()->rowCount();
      QAbstractButton* next = child<QAbstractButton>(viewer, "VsButNextChg");
      next->setFocus();
      next->click();
      firstChange = list->currentIndex().row();
      changeColour = list->model()->data(list->currentIndex(), Qt::ForegroundRole).value<QBrush>().color();
      QTest::keyClick(next, Qt::Key_Return);  // Enter repeats the last navigation
      secondChange = list->currentIndex().row();
      viewer->close();
    });
    child<QAbstractButton>(window_.get(), "MnButStart")->click();

    QVERIFY(question.startsWith("Compare type \"2. All Like-Name Files from Input Dirs\" is not valid"));
    QVERIFY(caption.startsWith("Kelvarine V1.8 - Single Panel Display of Comparison Report  "));
    QCOMPARE(rows, static_cast<int>(session_->app.reportLines.size()));
    QVERIFY(firstChange > 0);
    QVERIFY(secondChange > firstChange);
    QCOMPARE(changeColour, QColor(0x00, 0x00, 0xFF));  // an inserted line is blue
    QCOMPARE(child<QLabel>(window_.get(), "MnLblStatus")->text(),
             QString("INFORM: The processed files have differences."));
    QVERIFY(child<QAbstractButton>(window_.get(), "MnButRshow")->isEnabled());
  }

  // Halt pressed while a long directory compare runs: the run ends with the halt status, no viewer
  // opens, and the window is usable again.
  void haltEndsALongRun() {
    TempDirectory dir;
    makeLongRun(dir);
    bool viewerOpened = false;
    // Halt is pressed once the set is running (the button is shown and the pairs are counted).
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
      QAbstractButton* halt = child<QAbstractButton>(window_.get(), "MnButStop");
      if (halt->isVisible() && session_->app.PairCount > 0) {
        halt->click();
        watcher.stop();
      }
    });
    watcher.start(20);
    whenModalOpens([&](QWidget* modal) {
      viewerOpened = true;
      modal->close();
    });
    child<QAbstractButton>(window_.get(), "MnButStart")->click();

    QCOMPARE(child<QLabel>(window_.get(), "MnLblStatus")->text(),
             QString("INFORM: The User requested a premature program stop. "));
    QVERIFY(!viewerOpened);
    QVERIFY(!child<QAbstractButton>(window_.get(), "MnButStop")->isVisible());
    QVERIFY(child<QAbstractButton>(window_.get(), "MnButStart")->isEnabled());
    QVERIFY(child<QAbstractButton>(window_.get(), "MnButRshow")->isEnabled());
  }

  // Closing the window during a run halts the run and closes once it has ended.
  void closeDuringARunHaltsFirst() {
    TempDirectory dir;
    makeLongRun(dir);
    session_->panel.MnCkOmitIniSv = true;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
      if (session_->app.PairCount > 0) {
        watcher.stop();
        window_->close();
      }
    });
    watcher.start(20);
    whenModalOpens([](QWidget* modal) { modal->close(); });
    child<QAbstractButton>(window_.get(), "MnButStart")->click();
    QVERIFY(waitFor([&] { return !window_->isVisible(); }));
    QVERIFY(session_->app.StopRequested);
  }

 private:
  // Two directories of like-named text files, enough for a run of a few seconds.
  void makeLongRun(TempDirectory& dir) {
    const std::string oldText = numberedLines(20000, 7, false);
    const std::string newText = numberedLines(20000, 7, true);
    for (int i = 0; i < 120; ++i) {
      dir.write("new/file" + std::to_string(i) + ".txt", newText);
      dir.write("old/file" + std::to_string(i) + ".txt", oldText);
    }
    typeName(child<QComboBox>(window_.get(), "MnCbNewDirNm"), dir.path("new"));
    typeName(child<QComboBox>(window_.get(), "MnCbOldDirNm"), dir.path("old"));
    child<QComboBox>(window_.get(), "MnCbCompareType")->setCurrentIndex(1);
  }

  QTemporaryDir config_;
  std::unique_ptr<GuiSession> session_;
  std::unique_ptr<MainWindow> window_;
};

}  // namespace kelvarine

QTEST_MAIN(kelvarine::DesktopRunTest)
#include "desktop_run_test.moc"
