// The selection windows of compare types 3 and 4 driven as a user drives them: names picked with the
// keyboard and the mouse, Start pressed, the report read; refusals and Return.

#include <QtTest>
#include <QtWidgets>
#include <memory>
#include <string>

#include "engine/compare_choices.h"
#include "qt/support/modal_answer.h"
#include "qt/support/widget_finder.h"
#include "support/temp_directory.h"
#include "ui/qt/gui_host.h"
#include "ui/qt/gui_session.h"
#include "ui/qt/run_controller.h"
#include "ui/qt/selection_windows.h"

namespace kelvarine {

using testing::answerNextMessageBox;
using testing::child;
using testing::whenModalOpens;

namespace {

const std::string kLongName = std::string(180, 'n') + ".txt";
const QString kDiffers = "INFORM: The processed files have differences.";

QStringList rows(QWidget* window, const char* list) {
  QStringList texts;
  auto* widget = child<QListWidget>(window, list);
  for (int i = 0; i < widget->count(); ++i)
    texts << widget->item(i)->text();
  return texts;
}

QString labelText(QWidget* window, const char* label) {
  return child<QLabel>(window, label)->text();
}

void key(QWidget* window, const char* widget, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
  QWidget* target = child<QWidget>(window, widget);
  target->setFocus();
  QTest::keyClick(target, key, modifiers);
}

void clickRow(QWidget* window, const char* list, const QString& text) {
  auto* widget = child<QListWidget>(window, list);
  const QList<QListWidgetItem*> found = widget->findItems(text, Qt::MatchExactly);
  if (found.isEmpty()) qFatal("no row %s", qPrintable(text));
  QTest::mouseClick(widget->viewport(), Qt::LeftButton, {}, widget->visualItemRect(found.front()).center());
}

// Keys go to the focus widget of the active window: the dialog must be active before it is driven.
void activate(QWidget* window) {
  window->activateWindow();
  if (!QTest::qWaitForWindowActive(window)) qFatal("window %s not active", qPrintable(window->objectName()));
}

void press(QWidget* window, const char* button) {
  child<QAbstractButton>(window, button)->click();
}

}  // namespace

class SelectionWindowsTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    dir_ = std::make_unique<TempDirectory>();
    // Every pair differs, so that each run pair has its header in the report.
    for (const std::string& name : {std::string("a.txt"), std::string("b.txt"), std::string("c.txt"),
                                    std::string("d.pas"), kLongName}) {
      dir_->write("new/" + name, "new " + name + "\n");
      dir_->write("old/" + name, "old " + name + "\n");
    }
    dir_->write("new/only_new.txt", "new\n");
    dir_->write("old/x.txt", "old\n");
    session_ = std::make_unique<GuiSession>();
    controller_ = std::make_unique<RunController>(*session_, host_);
    windows_ = std::make_unique<GuiSelectionWindows>(*session_, host_, controller_->flow(), nullptr);
    controller_->setSelectionWindows(windows_.get());
    viewerOpenings_ = 0;
    controller_->setReportViewer([this] {
      ++viewerOpenings_;
      selectionShownUnderViewer_ =
          windows_->likeNameWindow()->isVisible() || windows_->twoListWindow()->isVisible();
    });
  }
  void cleanup() {
    controller_->setSelectionWindows(nullptr);
    windows_.reset();
    controller_.reset();
    session_.reset();
    dir_.reset();
  }

  // Compare type 3: a filter typed and entered, names picked with the keyboard and the mouse, one put
  // back with Delete, Start: exactly the picked names run, in name order, and the window closes.
  void likeNameSetRunsThePickedNames() {
    QString caption, filterEntry, countsAfterFilter, picked;
    bool scrollsSideways = false, openAfterFilter = false;
    whenModalOpens([&](QWidget* window) {
      activate(window);
      caption = window->windowTitle();
      scrollsSideways = child<QListWidget>(window, "LNListPaired")->horizontalScrollBar()->maximum() > 0;
      auto* filter = child<QComboBox>(window, "LNCbFilter");
      filter->setFocus();
      filter->lineEdit()->selectAll();
      QTest::keyClicks(filter, "*.t*");
      QTest::keyClick(filter, Qt::Key_Return);
      openAfterFilter = window->isVisible();
      filterEntry = filter->itemText(0);
      countsAfterFilter = labelText(window, "LNLblPairedCount") + labelText(window, "LNLblSelectedCount");

      key(window, "LNListPaired", Qt::Key_Space);  // a.txt, the current row on entry
      key(window, "LNListPaired", Qt::Key_Down, Qt::ControlModifier);
      key(window, "LNListPaired", Qt::Key_Down, Qt::ControlModifier);
      key(window, "LNListPaired", Qt::Key_Space, Qt::ControlModifier);  // and c.txt
      key(window, "LNListPaired", Qt::Key_Return);
      clickRow(window, "LNListPaired", "b.txt");
      press(window, "LNButMove");
      key(window, "LNListSelected", Qt::Key_End);
      key(window, "LNListSelected", Qt::Key_Up);  // b.txt
      key(window, "LNListSelected", Qt::Key_Delete);
      picked = rows(window, "LNListSelected").join(',') + " " + labelText(window, "LNLblSelectedCount") +
               " " + rows(window, "LNListPaired").join(',').left(12);
      press(window, "LNButStart");
    });
    const FlowResult result = start(3);

    QCOMPARE(caption, QString("Kelvarn File Selection of Like Named File Pairs For Comparison"));
    QVERIFY(scrollsSideways);
    QVERIFY(openAfterFilter);
    QCOMPARE(filterEntry, QString("*.t*"));
    QCOMPARE(countsAfterFilter, QString("(4)(0)"));  // d.pas filtered out
    QCOMPARE(picked, QString("a.txt,c.txt (2) b.txt,nnnnnn"));
    checkRan(result, {"a.txt", "a.txt", "c.txt", "c.txt"});
    QVERIFY(!windows_->likeNameWindow()->isVisible());
    QVERIFY(!session_->app.RunFromLikeNameList);
  }

  // Compare type 4: one file of each side highlighted by keys or a click, the pair added by Enter or the
  // button, a doubled pair removed with Delete, Start: the pairs run in the order of the list.
  void twoListSetRunsThePairsInListOrder() {
    QString fieldsBefore, fieldsPicked, pairs;
    bool scrollsSideways = false;
    whenModalOpens([&](QWidget* window) {
      activate(window);
      scrollsSideways = child<QListWidget>(window, "ULListOld")->horizontalScrollBar()->maximum() > 0;
      fieldsBefore = child<QLineEdit>(window, "ULEdNewHighlighted")->text() + " " +
                     child<QLineEdit>(window, "ULEdOldHighlighted")->text();
      key(window, "ULListNew", Qt::Key_Home);
      key(window, "ULListNew", Qt::Key_Down);  // b.txt
      key(window, "ULListOld", Qt::Key_End);   // x.txt
      fieldsPicked = child<QLineEdit>(window, "ULEdNewHighlighted")->text() + " " +
                     child<QLineEdit>(window, "ULEdOldHighlighted")->text();
      key(window, "ULListOld", Qt::Key_Return);
      key(window, "ULListNew", Qt::Key_Up);  // a.txt
      clickRow(window, "ULListOld", "c.txt");
      press(window, "ULButPair");
      press(window, "ULButPair");
      key(window, "ULListPairs", Qt::Key_End);
      key(window, "ULListPairs", Qt::Key_Delete);
      pairs = rows(window, "ULListPairs").join(',') + " " + labelText(window, "ULLblPairCount");
      press(window, "ULButStart");
    });
    const FlowResult result = start(4);

    QVERIFY(scrollsSideways);
    QCOMPARE(fieldsBefore, QString("*.* *.*"));
    QCOMPARE(fieldsPicked, QString("b.txt x.txt"));
    QCOMPARE(pairs, QString("b.txt : x.txt,a.txt : c.txt (2)"));
    checkRan(result, {"b.txt", "x.txt", "a.txt", "c.txt"});
    QVERIFY(!windows_->twoListWindow()->isVisible());
  }

  // A refused button leaves the window open with its message shown (line breaks and all) and nothing
  // run; Return then closes it without a run.
  void refusalsKeepTheWindowOpen_data() {
    QTest::addColumn<int>("compareType");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("message");
    QTest::newRow("like-name start") << 3 << "LNButStart"
                                     << "No paired filenames have been selected.\nHighlight one or more Like "
                                        "Named Paired File and repeat.";
    QTest::newRow("two-list pair")
        << 4 << "ULButPair"
        << "The Compare files must be individually selected. \nSelect each separate "
           "component and then \npress the \"Select New-Old Pair\" arrow";
  }
  void refusalsKeepTheWindowOpen() {
    QFETCH(int, compareType);
    QFETCH(QString, button);
    QFETCH(QString, message);
    QString seen;
    bool openAfter = false;
    whenModalOpens([&](QWidget* window) {
      answerNextMessageBox(QMessageBox::Ok, &seen);
      press(window, qPrintable(button));
      openAfter = window->isVisible();
      press(window, compareType == 3 ? "LNButReturn" : "ULButReturn");
    });
    const FlowResult result = start(compareType);

    QCOMPARE(seen, message);
    QVERIFY(openAfter);
    QCOMPARE(result.outcome, FlowOutcome::Stopped);
    QVERIFY(session_->app.reportLines.empty());
  }

 private:
  FlowResult start(int compareType) {
    session_->app.choices.compareType = kCompareTypes[static_cast<std::size_t>(compareType - 1)];
    return MnButStartClick(controller_->flow(), dir_->path("new"), dir_->path("old"));
  }
  // The run compared the New and Old file of each pair of `files` in turn (the report's pair headers,
  // without their date-time stamps), ended with the differences status and opened the viewer once,
  // with the selection window hidden.
  void checkRan(const FlowResult& result, const QStringList& files) {
    QCOMPARE(result.outcome, FlowOutcome::Ran);
    QStringList headers, expected;
    for (const std::string& line : session_->app.reportLines.lines())
      if (const QString text = QString::fromStdString(line);
          text.startsWith("New File(") || text.startsWith("Old File("))
        headers << text.section("  ", 0, 0);
    for (int i = 0; i < files.size(); ++i)
      expected << QString("%1 File(%2) = %3")
                      .arg(i % 2 ? "Old" : "New")
                      .arg(i / 2 + 1)
                      .arg(QString::fromStdString(
                          dir_->path((i % 2 ? "old/" : "new/") + files[i].toStdString())));
    QCOMPARE(headers, expected);
    QCOMPARE(QString::fromStdString(host_.statusText()), kDiffers);
    QCOMPARE(QString::fromStdString(session_->app.reportLines.back()), kDiffers);
    QCOMPARE(viewerOpenings_, 1);
    QVERIFY(!selectionShownUnderViewer_);
  }

  std::unique_ptr<TempDirectory> dir_;
  GuiHost host_;
  std::unique_ptr<GuiSession> session_;
  std::unique_ptr<RunController> controller_;
  std::unique_ptr<GuiSelectionWindows> windows_;
  int viewerOpenings_ = 0;
  bool selectionShownUnderViewer_ = false;
};

}  // namespace kelvarine

QTEST_MAIN(kelvarine::SelectionWindowsTest)
#include "selection_windows_test.moc"
