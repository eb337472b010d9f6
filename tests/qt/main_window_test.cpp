// The main window's pages as a user meets them: files dropped on the window, Preferences Cancel, the
// options string on entering Dp Options, the settings saved at close and read at the next start, the
// hint switch, and closing on a page other than the Main Panel.

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDropEvent>
#include <QHelpEvent>
#include <QLabel>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <filesystem>
#include <memory>

#include "qt/support/modal_answer.h"
#include "qt/support/widget_finder.h"
#include "ui/qt/gui_session.h"
#include "ui/qt/main_window.h"

namespace kelvarine {

using testing::child;

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
    QTest::addColumn<QString>("newName");
    QTest::addColumn<QString>("oldName");
    const QStringList one{"/Data/One.TXT"};
    QTest::newRow("one above Old") << one << -1 << false << "/Data/One.TXT"
                                   << "old";
    QTest::newRow("one at Old's top") << one << 0 << false << "new"
                                      << "/Data/One.TXT";
    QTest::newRow("one below Old") << one << 30 << false << "new"
                                   << "/Data/One.TXT";
    QTest::newRow("two anywhere") << QStringList{"/A/First.c", "/B/second.C"} << -40 << false << "/A/First.c"
                                  << "/B/second.C";
    QTest::newRow("refused during a run") << one << 0 << true << "new"
                                          << "old";
  }
  void dropsSetTheNames() {
    QFETCH(QStringList, files);
    QFETCH(int, belowOldTop);
    QFETCH(bool, running);
    session_->panel.MnCbNewDirNm.text = "new";
    session_->panel.MnCbOldDirNm.text = "old";
    window_->showAllPages();
    window_->runController().setRunning(running);
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& file : files)
      urls << QUrl::fromLocalFile(file);
    data.setUrls(urls);
    QWidget* oldField = child<QWidget>(window_.get(), "MnCbOldDirNm");
    const QPoint at = oldField->mapTo(window_.get(), QPoint(5, belowOldTop));
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window_.get(), &enter);
    QCOMPARE(enter.isAccepted(), !running);
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window_.get(), &drop);
    window_->runController().setRunning(false);

    QTEST(child<QComboBox>(window_.get(), "MnCbNewDirNm")->currentText(), "newName");
    QTEST(child<QComboBox>(window_.get(), "MnCbOldDirNm")->currentText(), "oldName");
    QTEST(QString::fromStdString(session_->panel.MnCbOldDirNm.text), "oldName");
  }

  void preferencesCancelRestores() {
    session_->app.choices.setChecked(Pref::Fmvl, true);
    window_->showPage(Page::Preferences);
    auto* fmvl = child<QCheckBox>(window_.get(), "PrCkFmvl");
    QVERIFY(fmvl->isChecked());
    fmvl->click();
    child<QCheckBox>(window_.get(), "PrCkIcas")->click();
    QVERIFY(session_->app.choices.isChecked(Pref::Icas));
    child<QAbstractButton>(window_.get(), "PrButCancel")->click();

    QCOMPARE(window_->currentPage(), Page::MainPanel);
    QVERIFY(session_->app.choices.isChecked(Pref::Fmvl));
    QVERIFY(!session_->app.choices.isChecked(Pref::Icas));
    QCOMPARE(child<QLabel>(window_.get(), "MnlblOptsUsed")->text(), QString("Fmvl"));

    // Reset unchecks every box; Return keeps what the page shows.
    window_->showPage(Page::Preferences);
    child<QAbstractButton>(window_.get(), "PrButReset")->click();
    QVERIFY(!fmvl->isChecked());
    child<QAbstractButton>(window_.get(), "PrButReturn")->click();
    QCOMPARE(child<QLabel>(window_.get(), "MnlblOptsUsed")->text(), QString("None"));
  }

  void dpOptionsEnteringRebuildsTheOptions() {
    session_->app.choices.setChecked(Pref::Icas, true);  // not yet in the options string
    window_->showPage(Page::DpOptions);
    QCOMPARE(session_->app.optionsString, std::string("Icas"));
    child<QAbstractButton>(window_.get(), "DpRbDcpp")->click();
    child<QAbstractButton>(window_.get(), "DpButReturn")->click();
    QCOMPARE(child<QLabel>(window_.get(), "MnlblOptsUsed")->text(), QString("Dcpp Icas"));

    window_->showPage(Page::DpOptions);
    child<QAbstractButton>(window_.get(), "DpRbDblk")->click();
    child<QAbstractButton>(window_.get(), "DpButCancel")->click();
    QCOMPARE(session_->app.choices.dpIndex, 6);
    QVERIFY(child<QAbstractButton>(window_.get(), "DpRbDcpp")->isChecked());
  }

  void settingsSavedAtCloseAndReadAtStart() {
    QTemporaryDir data;
    const QString newDir = data.filePath("New Dir");
    QVERIFY(QDir().mkpath(newDir));
    child<QComboBox>(window_.get(), "MnCbNewDirNm")->setEditText(newDir);
    child<QComboBox>(window_.get(), "MnCbListType")->setEditText("Long");
    child<QCheckBox>(window_.get(), "MnCkViewResults")->click();
    window_->showPage(Page::Preferences);
    child<QCheckBox>(window_.get(), "PrCkIcas")->click();
    window_->showPage(Page::MainPanel);

    // Bypassed: nothing is written.
    child<QCheckBox>(window_.get(), "MnCkOmitIniSv")->click();
    QVERIFY(window_->close());
    QVERIFY(!std::filesystem::exists(settingsFile()));
    window_->show();
    child<QCheckBox>(window_.get(), "MnCkOmitIniSv")->click();
    child<QAbstractButton>(window_.get(), "MnButExit")->click();
    QVERIFY(!window_->isVisible());
    QVERIFY(std::filesystem::exists(settingsFile()));

    std::unique_ptr<GuiSession> next;
    std::unique_ptr<MainWindow> restarted = makeWindow(next);
    QCOMPARE(child<QComboBox>(restarted.get(), "MnCbNewDirNm")->currentText().toLower(), newDir.toLower());
    QCOMPARE(child<QComboBox>(restarted.get(), "MnCbListType")->currentText(), QString("Long"));
    QVERIFY(child<QCheckBox>(restarted.get(), "MnCkViewResults")->isChecked());
    QCOMPARE(child<QLabel>(restarted.get(), "MnlblOptsUsed")->text(), QString("Icas"));
    restarted->showPage(Page::Preferences);
    QVERIFY(child<QCheckBox>(restarted.get(), "PrCkIcas")->isChecked());
    restarted->showPage(Page::MainPanel);
    next->panel.MnCkOmitIniSv = true;
    restarted->close();
  }

  void hintSwitchSwallowsToolTips() {
    auto* start = child<QWidget>(window_.get(), "MnButStart");
    ToolTipCounter counter;
    start->installEventFilter(&counter);
    const auto askForHint = [&] {
      QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), start->mapToGlobal(QPoint(2, 2)));
      QApplication::sendEvent(start, &help);
    };
    auto* hintSwitch = child<QCheckBox>(window_.get(), "MnCkTurnOffHint");
    askForHint();
    QCOMPARE(counter.count, 1);
    hintSwitch->click();
    askForHint();
    QCOMPARE(counter.count, 1);
    QVERIFY(session_->panel.MnCkTurnOffHint);
    hintSwitch->click();
    askForHint();
    QCOMPARE(counter.count, 2);
  }

  void closingOnAnotherPageReturnsToTheMainPanel() {
    session_->panel.MnCkOmitIniSv = false;  // a close that went through would write the settings
    for (Page page : {Page::Preferences, Page::DpOptions, Page::About, Page::OverView}) {
      window_->showPage(page);
      QVERIFY(!window_->close());
      QCOMPARE(window_->currentPage(), Page::MainPanel);
    }
    // File Select asks its Return question first; No keeps the page.
    window_->showPage(Page::FileSelect);
    QString question;
    testing::answerNextMessageBox(QMessageBox::No, &question);
    QVERIFY(!window_->close());
    QVERIFY(question.endsWith(" the same as upon entry.  Exit anyway?"));
    QCOMPARE(window_->currentPage(), Page::FileSelect);
    QVERIFY(window_->isVisible());
    QVERIFY(!std::filesystem::exists(settingsFile()));
  }

 private:
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

  QTemporaryDir config_;
  std::unique_ptr<GuiSession> session_;
  std::unique_ptr<MainWindow> window_;
};

}  // namespace kelvarine

QTEST_MAIN(kelvarine::MainWindowTest)
#include "main_window_test.moc"
