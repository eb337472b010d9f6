// The pages and windows that pick the files to compare, driven as a user drives them on real
// directories: Dir Select and File Select handing names to the main panel (by button and by drop), and
// the selection windows of compare types 3 and 4 (names picked by keys and mouse, Start, refusals).

#include <QtTest>
#include <QtWidgets>
#include <memory>
#include <string>

#include "engine/compare_choices.h"
#include "qt/support/modal_answer.h"
#include "qt/support/test_session.h"
#include "qt/support/widget_finder.h"
#include "support/temp_directory.h"
#include "ui/qt/dir_select_page.h"
#include "ui/qt/file_select_page.h"
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

QStringList rows(QWidget* window, const char* list) {
  QStringList texts;
  auto* widget = child<QListWidget>(window, list);
  for (int i = 0; i < widget->count(); ++i)
    texts << widget->item(i)->text();
  return texts;
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
    QDir::setCurrent(QString::fromStdString(dir_->root.string()));
    session_ = std::make_unique<TestSession>();
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
    QDir::setCurrent(QDir::tempPath());
    dir_.reset();
  }

  // Entered with a file name: the directory shown; Return asks about the unchanged Old name; the tree's
  // directory handed to New by the button and another dropped on " To Main Old Dir"; Cancel restores.
  void dirSelectHandsTheSelectedDirectoryToMain() {
    setNames("new/b.txt", path("old"));
    session_->app.choices.compareType = kCompareTypes[0];
    DirSelectPage page(*session_, host_);
    page.show();
    page.enter(memory_);
    QCOMPARE(child<QLabel>(&page, "DsLblSelected")->text(), path("new") + "/");
    auto* tree = child<QTreeView>(&page, "DsTree");
    QCOMPARE(static_cast<QFileSystemModel*>(tree->model())->filePath(tree->currentIndex()), path("new"));
    QCOMPARE(child<QComboBox>(&page, "DsInDirO")->currentText(), path("old"));

    QSignalSpy leave(&page, &DirSelectPage::leaveRequested);
    QString asked;
    testing::answerNextMessageBox(QMessageBox::No, &asked);
    child<QPushButton>(&page, "DsButReturn")->click();
    QCOMPARE(asked, "The Old Dir Name \"" + path("old") + "\" remains the same as upon entry.  Exit anyway?");
    QCOMPARE(leave.count(), 0);

    tree->setCurrentIndex(static_cast<QFileSystemModel*>(tree->model())->index(path("old")));
    QCOMPARE(child<QLabel>(&page, "DsLblSelected")->text(), path("old"));
    child<QPushButton>(&page, "DsButToNew")->click();
    QCOMPARE(QString::fromStdString(session_->panel.MnCbNewDirNm.text), path("old"));
    QCOMPARE(child<QComboBox>(&page, "DsInDirN")->currentText(), path("old"));

    QVERIFY(testing::dragAndDrop(child<QPushButton>(&page, "DsButToOld"), {path("new")}));
    QCOMPARE(QString::fromStdString(session_->panel.MnCbOldDirNm.text), path("new"));

    child<QPushButton>(&page, "DsButCancel")->click();
    QCOMPARE(leave.count(), 1);
    QCOMPARE(QString::fromStdString(session_->panel.MnCbNewDirNm.text), QString("new/b.txt"));
    QCOMPARE(QString::fromStdString(session_->panel.MnCbOldDirNm.text), path("old"));
  }

  void fileSelectHandsTheClickedFileToMain() {
    setNames(path("new/a.txt"), "");
    session_->app.choices.compareType = kCompareTypes[1];
    FileSelectPage page(*session_, host_);
    page.show();
    page.enter(memory_);
    auto* label = child<QLabel>(&page, "FsLblSelected");
    QCOMPARE(label->text(), path("new/a.txt"));
    auto* list = child<QListView>(&page, "FsList");
    QCOMPARE(list->currentIndex().data().toString(), QStringLiteral("a.txt"));

    QModelIndexList b;  // once the directory is read
    QTRY_VERIFY(
        !(b = list->model()->match(list->model()->index(0, 0, list->rootIndex()), Qt::DisplayRole, "b.txt"))
             .isEmpty());
    list->setCurrentIndex(b.first());
    QCOMPARE(label->text(), path("new/b.txt"));
    child<QPushButton>(&page, "FsButToNew")->click();
    QCOMPARE(QString::fromStdString(session_->panel.MnCbNewDirNm.text), path("new/b.txt"));
    QCOMPARE(child<QComboBox>(&page, "FsTcNewFileNm")->currentText(), path("new/b.txt"));

    // The filter narrows the list; a file name typed into the Old field moves the list to it.
    auto* filter = child<QLineEdit>(&page, "FsEdFilter");
    filter->setText("A*");
    emit filter->editingFinished();
    QVERIFY(testing::waitFor([&] { return list->model()->rowCount(list->rootIndex()) == 1; }));
    QCOMPARE(label->text(), path("new/a.txt"));
    auto* oldField = child<QComboBox>(&page, "FsTcOldFileNm");
    oldField->setFocus();
    QTest::keyClicks(oldField->lineEdit(), "old/a.txt");
    QTest::keyClick(oldField->lineEdit(), Qt::Key_Return);
    QCOMPARE(QString::fromStdString(session_->panel.MnCbOldDirNm.text), path("old/a.txt"));
    QCOMPARE(label->text(), path("old/a.txt"));
    QCOMPARE(list->currentIndex().data().toString(), QStringLiteral("a.txt"));

    // The New field takes a dropped file (which the list moves to), never a directory.
    QLineEdit* newEdit = child<QComboBox>(&page, "FsTcNewFileNm")->lineEdit();
    QVERIFY(!testing::dragAndDrop(newEdit, {path("old")}));
    QCOMPARE(QString::fromStdString(session_->panel.MnCbNewDirNm.text), path("new/b.txt"));
    QVERIFY(testing::dragAndDrop(newEdit, {path("new/a.txt")}));
    QCOMPARE(QString::fromStdString(session_->panel.MnCbNewDirNm.text), path("new/a.txt"));
    QCOMPARE(label->text(), path("new/a.txt"));
  }

  // Compare type 3: Start with nothing picked refused (the window stays, its message shown with its line
  // breaks), a filter typed and entered, names picked with the keyboard and the mouse, one put back with
  // Delete, Start: exactly the picked names run, in name order, and the window closes.
  void likeNameSetRunsThePickedNames() {
    QString caption, refusal, filterEntry, countsAfterFilter, picked;
    bool scrollsSideways = false, stayedOpen = false;
    whenModalOpens([&](QWidget* window) {
      caption = window->windowTitle();
      scrollsSideways = child<QListWidget>(window, "LNListPaired")->horizontalScrollBar()->maximum() > 0;
      answerNextMessageBox(QMessageBox::Ok, &refusal);
      child<QAbstractButton>(window, "LNButStart")->click();
      activate(window);
      auto* filter = child<QComboBox>(window, "LNCbFilter");
      filter->setFocus();
      filter->lineEdit()->selectAll();
      QTest::keyClicks(filter, "*.t*");
      QTest::keyClick(filter, Qt::Key_Return);
      stayedOpen = window->isVisible();
      filterEntry = filter->itemText(0);
      countsAfterFilter = child<QLabel>(window, "LNLblPairedCount")->text() +
                          child<QLabel>(window, "LNLblSelectedCount")->text();

      key(window, "LNListPaired", Qt::Key_Space);  // a.txt, the current row on entry
      key(window, "LNListPaired", Qt::Key_Down, Qt::ControlModifier);
      key(window, "LNListPaired", Qt::Key_Down, Qt::ControlModifier);
      key(window, "LNListPaired", Qt::Key_Space, Qt::ControlModifier);  // and c.txt
      key(window, "LNListPaired", Qt::Key_Return);
      clickRow(window, "LNListPaired", "b.txt");
      child<QAbstractButton>(window, "LNButMove")->click();
      key(window, "LNListSelected", Qt::Key_End);
      key(window, "LNListSelected", Qt::Key_Up);  // b.txt
      key(window, "LNListSelected", Qt::Key_Delete);
      picked = rows(window, "LNListSelected").join(',') + " " +
               child<QLabel>(window, "LNLblSelectedCount")->text() + " " +
               rows(window, "LNListPaired").join(',').left(12);
      child<QAbstractButton>(window, "LNButStart")->click();
    });
    const FlowResult result = start(3);

    QCOMPARE(caption, QString("Kelvarn File Selection of Like Named File Pairs For Comparison"));
    QVERIFY(scrollsSideways);
    QCOMPARE(
        refusal,
        "No paired filenames have been selected.\nHighlight one or more Like Named Paired File and repeat.");
    QVERIFY(stayedOpen);
    QCOMPARE(filterEntry, QString("*.t*"));
    QCOMPARE(countsAfterFilter, QString("(4)(0)"));  // d.pas filtered out
    QCOMPARE(picked, QString("a.txt,c.txt (2) b.txt,nnnnnn"));
    checkRan(result, {"new/a.txt", "old/a.txt", "new/c.txt", "old/c.txt"});
    QVERIFY(!windows_->likeNameWindow()->isVisible());
  }

  // Compare type 4: a pair refused while no file is highlighted (the window stays), one file of each
  // side highlighted by keys or a click, the pair added by Enter or the button, a doubled pair removed
  // with Delete, Start: the pairs run in the order of the list.
  void twoListSetRunsThePairsInListOrder() {
    QString refusal, fieldsPicked, pairs;
    bool stayedOpen = false;
    whenModalOpens([&](QWidget* window) {
      answerNextMessageBox(QMessageBox::Ok, &refusal);
      child<QAbstractButton>(window, "ULButPair")->click();
      stayedOpen = window->isVisible();
      activate(window);
      key(window, "ULListNew", Qt::Key_Home);
      key(window, "ULListNew", Qt::Key_Down);  // b.txt
      key(window, "ULListOld", Qt::Key_End);   // x.txt
      fieldsPicked = child<QLineEdit>(window, "ULEdNewHighlighted")->text() + " " +
                     child<QLineEdit>(window, "ULEdOldHighlighted")->text();
      key(window, "ULListOld", Qt::Key_Return);
      key(window, "ULListNew", Qt::Key_Up);  // a.txt
      clickRow(window, "ULListOld", "c.txt");
      child<QAbstractButton>(window, "ULButPair")->click();
      child<QAbstractButton>(window, "ULButPair")->click();
      key(window, "ULListPairs", Qt::Key_End);
      key(window, "ULListPairs", Qt::Key_Delete);
      pairs = rows(window, "ULListPairs").join(',') + " " + child<QLabel>(window, "ULLblPairCount")->text();
      child<QAbstractButton>(window, "ULButStart")->click();
    });
    const FlowResult result = start(4);

    QCOMPARE(refusal,
             "The Compare files must be individually selected. \nSelect each separate component and "
             "then \npress the \"Select New-Old Pair\" arrow");
    QVERIFY(stayedOpen);
    QCOMPARE(fieldsPicked, QString("b.txt x.txt"));
    QCOMPARE(pairs, QString("b.txt : x.txt,a.txt : c.txt (2)"));
    checkRan(result, {"new/b.txt", "old/x.txt", "new/a.txt", "old/c.txt"});
    QVERIFY(!windows_->twoListWindow()->isVisible());
  }

 private:
  QString path(const char* relative) const { return QString::fromStdString(dir_->path(relative)); }
  void setNames(const QString& newName, const QString& oldName) {
    session_->panel.MnCbNewDirNm.text = newName.toStdString();
    session_->panel.MnCbOldDirNm.text = oldName.toStdString();
    memory_.savedNewName = session_->panel.MnCbNewDirNm.text;
    memory_.savedOldName = session_->panel.MnCbOldDirNm.text;
  }
  FlowResult start(int compareType) {
    session_->app.choices.compareType = kCompareTypes[static_cast<std::size_t>(compareType - 1)];
    return MnButStartClick(controller_->flow(), dir_->path("new"), dir_->path("old"));
  }
  // The run compared the New and Old file of each pair of `files` in turn (the report's pair headers),
  // ended with the differences status and opened the viewer once, the selection window hidden.
  void checkRan(const FlowResult& result, const QStringList& files) {
    QCOMPARE(result.outcome, FlowOutcome::Ran);
    const QDir root(QString::fromStdString(dir_->root.string()));
    QStringList ran;
    for (const std::string& line : session_->app.reportLines.lines())
      if (const QString text = QString::fromStdString(line);
          text.startsWith("New File(") || text.startsWith("Old File("))
        ran << root.relativeFilePath(text.section("  ", 0, 0).section(" = ", 1));
    QCOMPARE(ran, files);
    QCOMPARE(QString::fromStdString(host_.statusText()),
             QString("INFORM: The processed files have differences."));
    QCOMPARE(viewerOpenings_, 1);
    QVERIFY(!selectionShownUnderViewer_);
  }

  std::unique_ptr<TempDirectory> dir_;
  GuiHost host_;
  std::unique_ptr<TestSession> session_;
  std::unique_ptr<RunController> controller_;
  std::unique_ptr<GuiSelectionWindows> windows_;
  PageMemory memory_;
  int viewerOpenings_ = 0;
  bool selectionShownUnderViewer_ = false;
};

}  // namespace kelvarine

QTEST_MAIN(kelvarine::SelectionWindowsTest)
#include "selection_windows_test.moc"
