// The report viewers driven as a user would: a real compare set over files on disk, then the viewer
// that showReport() opens modally is worked from a timer callback and closed.
#include <QtTest>
#include <QtWidgets>
#include <array>
#include <functional>

#include "qt/support/scripted_host.h"
#include "qt/support/widget_finder.h"
#include "support/temp_directory.h"
#include "ui/compare_flows.h"
#include "ui/qt/dual_viewer.h"
#include "ui/qt/horizontal_viewer.h"
#include "ui/qt/legend_window.h"
#include "ui/qt/report_viewers.h"
#include "ui/qt/single_viewer.h"

namespace kelvarine {

using testing::child;

namespace {

// Runs `open`, which shows a modal viewer and returns when it has closed, and `body` on that viewer
// once it is up; the viewer is closed afterwards whatever `body` did.
void whileOpen(ReportViewers& viewers, const std::function<void()>& open,
               const std::function<void(ViewerWindow&)>& body) {
  ViewerWindow* const outer = viewers.openViewer();
  bool ran = false;
  QTimer::singleShot(0, [&] {
    ViewerWindow* window = viewers.openViewer();
    const auto closer = qScopeGuard([window] {
      if (window != nullptr && window->isVisible()) window->reject();
    });
    QVERIFY(window != nullptr && window != outer);
    QVERIFY(QTest::qWaitForWindowActive(window));
    ran = true;
    body(*window);
  });
  open();
  QVERIFY(ran);
}

void inViewer(ReportViewers& viewers, const std::function<void(ViewerWindow&)>& body) {
  whileOpen(
      viewers, [&] { viewers.showReport(); }, body);
}

const std::vector<std::array<std::string, 3>> kTwoPairs = {
    {"a.txt", "one\ntwo\nnew3\nfour\nfive\nins\n", "one\ntwo\nold3\nfour\nfive\n"},
    {"b.txt", "x\ny\n", "x\nz\n"}};
// The two-pair report with Sbsl has 63 rows (a.txt's changes at 5 and 8, b.txt's at 26) and an
// Old-side list of 39. Without Sbsl the deleted lines are in the one list: a.txt's changes are at 5-6
// and 9, b.txt's header at 23 and its changes at 27-28.
constexpr int kRows = 63, kOldSideRows = 39;

const std::string kForward =
    std::string(28, ' ') + "No more forward change sequences found" + std::string(26, ' ') + ".";
const std::string kSingleSections =
    std::string(43, ' ') + "No more change sections found" + std::string(26, ' ') + ".";

QString text(const std::string& value) {
  return QString::fromStdString(value);
}

int currentRow(const QListView* view) {
  return view->selectionModel()->isSelected(view->currentIndex()) ? view->currentIndex().row() : -1;
}

// Presses Enter where the keyboard focus is, as a user would.
void pressEnter() {
  QWidget* focus = QApplication::focusWidget();
  QVERIFY(focus != nullptr);
  QTest::keyClick(focus, Qt::Key_Return);
}

}  // namespace

class ReportViewersTest : public QObject {
  Q_OBJECT

  // A compare set of the two pairs' like-named files of new/ and old/ in a fresh directory.
  void runSet(bool sbsl) {
    session_ = std::make_unique<GuiSession>();
    dir_ = std::make_unique<TempDirectory>();
    for (const auto& [name, newText, oldText] : kTwoPairs) {
      dir_->write("new/" + name, newText);
      dir_->write("old/" + name, oldText);
    }
    QDir::setCurrent(QString::fromStdString(dir_->root.string()));
    AppState& app = session_->app;
    app.choices.listType = "Chng";
    app.choices.compareType = kCompareTypes[1];
    app.choices.setChecked(Pref::Sbsl, sbsl);
    FlowServices flow{app, host_, session_->files, session_->report};
    QCOMPARE(MnButStartClick(flow, "new", "old").outcome, FlowOutcome::Ran);
  }

  testing::ScriptedHost host_;
  std::unique_ptr<GuiSession> session_;
  std::unique_ptr<TempDirectory> dir_;

 private slots:
  // Rows coloured by kind; a clicked arrow keeps the focus so that Enter repeats it; the legend; Esc
  // ignored and Enter elsewhere pressing Return.
  void singleViewerColoursNavigatesAndRepeatsOnEnter() {
    runSet(false);
    ReportViewers viewers(*session_, host_, nullptr);
    inViewer(viewers, [&](ViewerWindow& viewer) {
      QListView* list = child<QListView>(viewer, "VsList");
      QAbstractItemModel* rows = list->model();
      auto colour = [&](int row) { return rows->data(rows->index(row, 0), Qt::ForegroundRole); };
      QVERIFY(rows->data(rows->index(5, 0)).toString().startsWith("   6  I - new3"));
      QCOMPARE(colour(5).value<QBrush>().color(), QColor(0x0000FF));
      QCOMPARE(colour(6).value<QBrush>().color(), QColor(0xFF0000));
      QVERIFY(!colour(3).isValid());  // the list's own colour

      auto* next = child<QPushButton>(viewer, "VsButNextChg");
      QTest::mouseClick(next, Qt::LeftButton);
      QCOMPARE(currentRow(list), 5);
      QVERIFY(next->hasFocus());
      for (int expected : {9, 27, 27}) {  // past the last span the selection stays
        pressEnter();
        QCOMPARE(currentRow(list), expected);
      }
      QCOMPARE(host_.takeMessages(), std::vector<std::string>{kForward});
      QTest::mouseClick(child<QPushButton>(viewer, "VsButPrevChg"), Qt::LeftButton);
      QCOMPARE(currentRow(list), 9);
      QCOMPARE(viewer.model()->selected(), 9);

      QTest::mouseClick(child<QPushButton>(viewer, "VsButNextFile"), Qt::LeftButton);
      QCOMPARE(currentRow(list), 23);
      pressEnter();
      QCOMPARE(currentRow(list), 23);
      QCOMPARE(host_.takeMessages(), std::vector<std::string>{kSingleSections});

      QTest::mouseClick(child<QPushButton>(viewer, "VsButBtm"), Qt::LeftButton);
      QCOMPARE(currentRow(list), rows->rowCount() - 1);
      QTest::mouseClick(child<QPushButton>(viewer, "VsButLegend"), Qt::LeftButton);
      QVERIFY(viewers.legend().isVisible());
      QCOMPARE(viewers.legend().windowTitle(), QString("Kelvarine Change Flagging Legend"));

      list->setFocus();
      QTest::keyClick(list, Qt::Key_Escape);
      QVERIFY(viewer.isVisible());
      pressEnter();
      QVERIFY(!viewer.isVisible());
    });
    QVERIFY(!viewers.legend().isVisible());
    QVERIFY(host_.messages.empty());
  }

  void dualViewerCouplesItsListsAndOpensTheHorizontalOne() {
    runSet(true);
    session_->panel.VLHt2 = "400";  // short enough that neither list shows all its rows
    ReportViewers viewers(*session_, host_, nullptr);
    inViewer(viewers, [&](ViewerWindow& viewer) {
      QListView* left = child<QListView>(viewer, "VdListLeft");
      QListView* right = child<QListView>(viewer, "VdListRight");
      QTest::mouseClick(child<QPushButton>(viewer, "VdButBtm"), Qt::LeftButton);
      QCOMPARE(currentRow(left), kRows - 1);
      QCOMPARE(currentRow(right), kOldSideRows - 1);
      QVERIFY(left->hasFocus());

      // The right list stops at its last row while the left goes on; the right one leads back.
      QScrollBar* leftBar = left->verticalScrollBar();
      QScrollBar* rightBar = right->verticalScrollBar();
      QVERIFY(rightBar->maximum() > 0 && leftBar->maximum() > rightBar->maximum());
      leftBar->setValue(leftBar->maximum());
      QCOMPARE(rightBar->value(), rightBar->maximum());
      QCOMPARE(leftBar->value(), leftBar->maximum());
      rightBar->setValue(2);
      QCOMPARE(leftBar->value(), 2);

      // A click in one list selects the row in both; navigation starts from it.
      QTest::mouseClick(right->viewport(), Qt::LeftButton, {},
                        right->visualRect(right->model()->index(4, 0)).center());
      QCOMPARE(currentRow(left), 4);
      QCOMPARE(viewer.model()->selected(), 4);
      QTest::mouseClick(child<QPushButton>(viewer, "VdButNextChg"), Qt::LeftButton);
      QCOMPARE(currentRow(left), 5);
      QCOMPARE(currentRow(right), 5);

      auto* hSplit = child<QPushButton>(viewer, "VdButHSplit");
      whileOpen(
          viewers, [&] { QTest::mouseClick(hSplit, Qt::LeftButton); },
          [&](ViewerWindow& horizontal) {
            QCOMPARE(&horizontal, &viewers.horizontal());
            QListView* top = child<QListView>(horizontal, "VhListTop");
            QListView* bottom = child<QListView>(horizontal, "VhListBottom");
            QCOMPARE(top->model()->rowCount(), kRows);
            QCOMPARE(bottom->model()->rowCount(), kOldSideRows);
            QVERIFY(top->model()->data(top->model()->index(3, 0)).toString().startsWith("   1      one"));
            QCOMPARE(bottom->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
            QCOMPARE(top->font(), left->font());
            QTest::keyClick(top, Qt::Key_Escape);
            QVERIFY(!horizontal.isVisible());
          });
      QVERIFY(!viewers.horizontal().isVisible());
      QVERIFY(viewer.isVisible());
    });
    QCOMPARE(text(session_->panel.VHWide2), QString::number(HorizontalViewer::kDesign.width));
    QCOMPARE(text(session_->panel.VLHt2), QString("400"));
  }

  void geometryAndFontSizesComeFromAndGoBackToThePanel() {
    runSet(true);
    MainPanelState& panel = session_->panel;
    panel.VLLeft1 = "30";
    panel.VLTop1 = "20";
    panel.VLWide1 = "800";
    panel.VLFontSz = "10";
    panel.PFontSz = "";
    panel.SpSplit = "300";
    ReportViewers viewers(*session_, host_, nullptr);
    QCOMPARE(text(panel.PFontSz), QString("8"));

    session_->app.choices.setChecked(Pref::Sbsl, false);
    inViewer(viewers, [&](ViewerWindow& viewer) {
      QCOMPARE(viewer.pos(), QPoint(30, 20));
      QCOMPARE(viewer.width(), 800);
      auto* fontSize = child<QComboBox>(viewer, "VsCbFontSz");
      QCOMPARE(fontSize->currentText(), QString("10"));
      QListView* list = viewer.firstList();
      QCOMPARE(list->font().pointSize(), 10);
      const int height = list->visualRect(list->model()->index(1, 0)).height();
      fontSize->setCurrentText("12");
      QTRY_VERIFY(list->visualRect(list->model()->index(1, 0)).height() > height);  // rows grow with it
      QCOMPARE(currentRow(list), 0);
      child<QComboBox>(viewer, "VsCbPFontSz")->setCurrentText("6");
      viewer.resize(900, 450);
    });
    QCOMPARE(text(panel.VLWide1 + " " + panel.VLHt1 + " " + panel.VLFontSz + " " + panel.PFontSz),
             QString("900 450 12 6"));

    session_->app.choices.setChecked(Pref::Sbsl, true);
    inViewer(viewers, [&](ViewerWindow& viewer) {
      QCOMPARE(viewer.splitSize(), 300);
      auto* splitter = child<QSplitter>(viewer, "VdSplitter");
      splitter->setSizes({250, splitter->sizes().value(0) + splitter->sizes().value(1) - 250});
    });
    QCOMPARE(text(panel.SpSplit), QString("250"));
  }
};

}  // namespace kelvarine

QTEST_MAIN(kelvarine::ReportViewersTest)
#include "report_viewers_test.moc"
