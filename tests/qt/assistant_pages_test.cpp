// The Dir Select and File Select pages on real directories: entering, the tree and list, the
// "To Main" hand-over (by button and by drop), Return's question and Cancel.
#include <QtTest>
#include <QtWidgets>
#include <memory>

#include "qt/support/modal_answer.h"
#include "qt/support/widget_finder.h"
#include "support/temp_directory.h"
#include "ui/qt/dir_select_page.h"
#include "ui/qt/file_select_page.h"
#include "ui/qt/gui_host.h"

namespace kelvarine {

using testing::child;

class AssistantPagesTest : public QObject {
  Q_OBJECT

 private:
  QString path(const char* relative) const { return QString::fromStdString(dir_->path(relative)); }
  void setNames(const QString& newName, const QString& oldName) {
    session_->panel.MnCbNewDirNm.text = newName.toStdString();
    session_->panel.MnCbOldDirNm.text = oldName.toStdString();
    memory_.savedNewName = session_->panel.MnCbNewDirNm.text;
    memory_.savedOldName = session_->panel.MnCbOldDirNm.text;
  }

  QString startDirectory_;
  std::unique_ptr<TempDirectory> dir_;
  std::unique_ptr<GuiSession> session_;
  GuiHost host_;
  PageMemory memory_;

 private slots:
  void init() {
    dir_ = std::make_unique<TempDirectory>();
    dir_->write("New/a.txt", "a\n");
    dir_->write("New/b.txt", "b\n");
    dir_->write("Old/a.txt", "a\n");
    startDirectory_ = QDir::currentPath();
    QDir::setCurrent(QString::fromStdString(dir_->root.string()));
    session_ = std::make_unique<GuiSession>();
    memory_ = PageMemory{};
  }
  void cleanup() { QDir::setCurrent(startDirectory_); }

  // Entered with a file name: the directory shown; Return asks about the unchanged Old name; the tree's
  // directory handed to New by the button and another dropped on " To Main Old Dir"; Cancel restores.
  void dirSelectHandsTheSelectedDirectoryToMain() {
    setNames("New/b.txt", path("Old"));
    session_->app.choices.compareType = kCompareTypes[0];
    DirSelectPage page(*session_, host_);
    page.show();
    page.enter(memory_);
    QCOMPARE(QString::fromStdString(session_->panel.MnCbNewDirNm.text), path("New") + "/");
    QCOMPARE(child<QLabel>(page, "DsLblSelected")->text(), path("New") + "/");
    auto* tree = child<QTreeView>(page, "DsTree");
    QCOMPARE(static_cast<QFileSystemModel*>(tree->model())->filePath(tree->currentIndex()), path("New"));
    QCOMPARE(child<QComboBox>(page, "DsInDirO")->currentText(), path("Old"));

    QSignalSpy leave(&page, &DirSelectPage::leaveRequested);
    QString asked;
    testing::answerNextMessageBox(QMessageBox::No, &asked);
    child<QPushButton>(page, "DsButReturn")->click();
    QCOMPARE(asked, "The Old Dir Name \"" + path("Old") + "\" remains the same as upon entry.  Exit anyway?");
    QCOMPARE(leave.count(), 0);

    tree->setCurrentIndex(static_cast<QFileSystemModel*>(tree->model())->index(path("Old")));
    QCOMPARE(child<QLabel>(page, "DsLblSelected")->text(), path("Old"));
    child<QPushButton>(page, "DsButToNew")->click();
    QCOMPARE(QString::fromStdString(session_->panel.MnCbNewDirNm.text), path("Old"));
    QCOMPARE(child<QComboBox>(page, "DsInDirN")->currentText(), path("Old"));

    QVERIFY(testing::dragAndDrop(child<QPushButton>(page, "DsButToOld"), {path("New")}));
    QCOMPARE(QString::fromStdString(session_->panel.MnCbOldDirNm.text), path("New"));

    child<QPushButton>(page, "DsButCancel")->click();
    QCOMPARE(leave.count(), 1);
    QCOMPARE(QString::fromStdString(session_->panel.MnCbNewDirNm.text), QString("New/b.txt"));
    QCOMPARE(QString::fromStdString(session_->panel.MnCbOldDirNm.text), path("Old"));
  }

  void fileSelectHandsTheClickedFileToMain() {
    setNames(path("New/a.txt"), "");
    session_->app.choices.compareType = kCompareTypes[1];
    FileSelectPage page(*session_, host_);
    page.show();
    page.enter(memory_);
    QCOMPARE(session_->app.choices.compareType, std::string(kCompareTypes[0]));
    auto* label = child<QLabel>(page, "FsLblSelected");
    QCOMPARE(label->text(), path("New/a.txt"));
    auto* list = child<QListView>(page, "FsList");
    QCOMPARE(list->currentIndex().data().toString(), QStringLiteral("a.txt"));

    QModelIndex b;
    QVERIFY(testing::waitFor([&] {
      for (int row = 0; row < list->model()->rowCount(list->rootIndex()); ++row)
        if (const QModelIndex index = list->model()->index(row, 0, list->rootIndex());
            index.data() == "b.txt")
          b = index;
      return b.isValid();
    }));
    list->setCurrentIndex(b);
    QCOMPARE(label->text(), path("New/b.txt"));
    child<QPushButton>(page, "FsButToNew")->click();
    QCOMPARE(QString::fromStdString(session_->panel.MnCbNewDirNm.text), path("New/b.txt"));
    QCOMPARE(child<QComboBox>(page, "FsTcNewFileNm")->currentText(), path("New/b.txt"));

    // The filter narrows the list; a file name typed into the Old field moves the list to it.
    auto* filter = child<QLineEdit>(page, "FsEdFilter");
    filter->setText("A*");
    emit filter->editingFinished();
    QVERIFY(testing::waitFor([&] { return list->model()->rowCount(list->rootIndex()) == 1; }));
    QCOMPARE(label->text(), path("New/a.txt"));
    auto* oldField = child<QComboBox>(page, "FsTcOldFileNm");
    oldField->setFocus();
    QTest::keyClicks(oldField->lineEdit(), "Old/a.txt");
    QTest::keyClick(oldField->lineEdit(), Qt::Key_Return);
    QCOMPARE(QString::fromStdString(session_->panel.MnCbOldDirNm.text), path("Old/a.txt"));
    QCOMPARE(label->text(), path("Old/a.txt"));
    QCOMPARE(list->currentIndex().data().toString(), QStringLiteral("a.txt"));

    // The New field takes a dropped file (which the list moves to), never a directory.
    QLineEdit* newEdit = child<QComboBox>(page, "FsTcNewFileNm")->lineEdit();
    QVERIFY(!testing::dragAndDrop(newEdit, {path("Old")}));
    QCOMPARE(QString::fromStdString(session_->panel.MnCbNewDirNm.text), path("New/b.txt"));
    QVERIFY(testing::dragAndDrop(newEdit, {path("New/a.txt")}));
    QCOMPARE(QString::fromStdString(session_->panel.MnCbNewDirNm.text), path("New/a.txt"));
    QCOMPARE(QString::fromStdString(session_->panel.MnCbOldDirNm.text), path("Old/a.txt"));
    QCOMPARE(label->text(), path("New/a.txt"));
  }
};

}  // namespace kelvarine

QTEST_MAIN(kelvarine::AssistantPagesTest)
#include "assistant_pages_test.moc"
