// The report viewers driven as a user would: a real compare set over files on disk, then the viewer
// that showReport() opens modally is worked from a timer callback and closed. Their Find dialog,
// printing (to a PDF read back with pdftotext, Halt pressed while printing) and saving.
#include <QtPrintSupport>
#include <QtTest>
#include <QtWidgets>
#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "qt/support/modal_answer.h"
#include "qt/support/scripted_host.h"
#include "qt/support/test_session.h"
#include "qt/support/widget_finder.h"
#include "support/temp_directory.h"
#include "ui/compare_flows.h"
#include "ui/qt/change_map_strip.h"
#include "ui/qt/change_span_delegate.h"
#include "ui/qt/find_dialog.h"
#include "ui/qt/help_window.h"
#include "ui/qt/horizontal_viewer.h"
#include "ui/qt/legend_window.h"
#include "ui/qt/print_flow.h"
#include "ui/qt/printer_canvas.h"
#include "ui/qt/report_viewers.h"
#include "ui/qt/save_flow.h"
#include "ui/save_dialog.h"

namespace kelvarine {

using testing::child;
using testing::ScriptedHost;
using testing::whenModalOpens;

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

QString text(const std::string& value) {
  return QString::fromStdString(value);
}

int currentRow(const QListView* view) {
  return view->selectionModel()->isSelected(view->currentIndex()) ? view->currentIndex().row() : -1;
}

bool inUpperThird(const QListView* list, int row) {
  const int top = list->visualRect(list->model()->index(row, 0)).top();
  return top >= 0 && top <= list->viewport()->height() / 3;
}

// Presses Enter where the keyboard focus is, as a user would.
void pressEnter() {
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
}

const std::string kCaption = "Kelvarine V1.8 - Single Panel Display of Comparison Report  06/12/2026 12:00";
const auto kSaved = std::optional<SaveOutcome>(SaveOutcome::Saved);

// The text of each page of a PDF, as pdftotext lays it out.
QStringList pdfPages(const QString& pdf) {
  QProcess process;
  process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
  process.waitForFinished(60000);
  QStringList pages = QString::fromUtf8(process.readAllStandardOutput()).split(QLatin1Char('\f'));
  if (!pages.isEmpty() && pages.last().trimmed().isEmpty()) pages.removeLast();
  return pages;
}

// Answers the save dialog as a user does: picks filter `filter` (1-based), types `path` into the
// focused name field and presses Save.
void answerFileDialog(QWidget* modal, const std::string& path, int filter) {
  auto* dialog = qobject_cast<QFileDialog*>(modal);
  if (dialog == nullptr) return;
  testing::waitFor([dialog] { return dialog->isActiveWindow(); });
  dialog->selectNameFilter(SaveDialogNameFilters().at(filter - 1));
  auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
  name->setFocus();
  name->setText(QString::fromStdString(path));
  dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Save)->click();
}

}  // namespace

class ReportViewersTest : public QObject {
  Q_OBJECT

  // A compare set of the pairs' like-named files of new/ and old/ in a fresh directory.
  void runSet(bool sbsl, const std::vector<std::array<std::string, 3>>& pairs = kTwoPairs) {
    session_ = std::make_unique<TestSession>();
    dir_ = std::make_unique<TempDirectory>();
    for (const auto& [name, newText, oldText] : pairs) {
      dir_->write("new/" + name, newText);
      dir_->write("old/" + name, oldText);
    }
    QDir::setCurrent(QString::fromStdString(dir_->root.string()));
    AppState& app = session_->app;
    app.choices.listType = "Chng";
    app.choices.compareType = kCompareTypes[1];
    app.choices.setChecked(Pref::Sbsl, sbsl);
    FlowServices flow{app, *host_, session_->files, session_->report};
    QCOMPARE(MnButStartClick(flow, "new", "old").outcome, FlowOutcome::Ran);
  }

 private slots:
  void init() {
    session_ = std::make_unique<TestSession>();
    host_ = std::make_unique<ScriptedHost>();
    viewer_ = std::make_unique<QWidget>();
    halt_ = new QPushButton(QStringLiteral("Halt"), viewer_.get());
    halt_->hide();
    return_ = new QPushButton(QStringLiteral("Return"), viewer_.get());
    print_ = new QPushButton(QStringLiteral("Print..."), viewer_.get());
    print_->move(0, 40);
    controls_ = {halt_, {return_, print_}, return_};
  }
  void cleanup() {
    viewer_.reset();
    host_.reset();
    session_.reset();
  }

  // What changed inside a paired change line: the model gives it as character positions of the row (a
  // UTF-8 character before it counts once) and the row is painted with a tint of its colour behind it.
  void pairedChangeRowsAreMarkedInside() {
    runSet(false, {{"a.txt", "caf\xc3\xa9 = 1;\nsame\n", "caf\xc3\xa9 = 2;\nsame\n"}});
    ReportViewers viewers(*session_, *host_, nullptr);
    inViewer(viewers, [&](ViewerWindow& viewer) {
      QListView* list = viewer.firstList();
      const QAbstractItemModel* rows = list->model();
      const QModelIndexList found =
          rows->match(rows->index(0, 0), Qt::DisplayRole, QStringLiteral("I - "), 1, Qt::MatchContains);
      QVERIFY(!found.isEmpty());
      const QModelIndex inserted = found.first();
      const QString shown = rows->data(inserted).toString();
      QVERIFY(shown.contains(QString::fromUtf8("I - caf\xc3\xa9 = 1;")));
      const int at = static_cast<int>(shown.indexOf(QLatin1Char('1')));
      QCOMPARE(rows->data(inserted, kChangedSpansRole).toList(), QVariantList{QPoint(at, at + 1)});
      const int matched = inserted.row() + 2;  // "same"
      // The tint: blue over white, light enough to read the text on.
      const QImage image = list->viewport()->grab().toImage();
      auto tinted = [&](int row) {
        const QRect area = list->visualRect(rows->index(row, 0));
        for (int x = area.left(); x < std::min(area.right(), image.width()); ++x) {
          const QColor pixel = image.pixelColor(x, area.top() + 1);
          if (pixel.blue() == 255 && pixel.red() > 150 && pixel.red() < 230) return true;
        }
        return false;
      };
      QVERIFY(tinted(inserted.row()));
      QVERIFY(!tinted(matched));
    });
  }

  // Placed and with its font from the panel, which gets its size and font sizes back at close; rows
  // coloured by kind; a clicked arrow keeps the focus so that Enter repeats it; the legend; Esc ignored
  // and Enter elsewhere pressing Return.
  void singleViewerColoursNavigatesAndRepeatsOnEnter() {
    runSet(false);
    MainPanelState& panel = session_->panel;
    panel.VLLeft1 = "30";
    panel.VLTop1 = "20";
    panel.VLFontSz = "10";
    QGuiApplication::styleHints()->setWheelScrollLines(7);  // the desktop's wheel step, kept as it is
    ReportViewers viewers(*session_, *host_, nullptr);
    QCOMPARE(QApplication::wheelScrollLines(), 7);
    QGuiApplication::styleHints()->setWheelScrollLines(3);
    inViewer(viewers, [&](ViewerWindow& viewer) {
      QCOMPARE(viewer.pos(), QPoint(30, 20));
      QListView* list = viewer.firstList();
      QCOMPARE(list->font().pointSize(), 10);
      child<QComboBox>(&viewer, "VsCbFontSz")->setCurrentText("12");
      QCOMPARE(list->font().pointSize(), 12);
      child<QComboBox>(&viewer, "VsCbPFontSz")->setCurrentText("6");
      viewer.resize(900, 450);
      QAbstractItemModel* rows = list->model();
      auto colour = [&](int row) { return rows->data(rows->index(row, 0), Qt::ForegroundRole); };
      QVERIFY(rows->data(rows->index(5, 0)).toString().startsWith("   6  I - new3"));
      QCOMPARE(colour(5).value<QBrush>().color(), QColor(0x0000FF));
      QVERIFY(!colour(3).isValid());  // the list's own colour

      auto* next = child<QPushButton>(&viewer, "VsButNextChg");
      QTest::mouseClick(next, Qt::LeftButton);
      QCOMPARE(currentRow(list), 5);
      QVERIFY(next->hasFocus());
      for (int expected : {9, 27, 27}) {  // past the last span the selection stays
        pressEnter();
        QCOMPARE(currentRow(list), expected);
        QVERIFY(inUpperThird(list, expected));  // with the rows after it in sight
      }
      QCOMPARE(std::exchange(host_->messages, {}), std::vector<std::string>{kForward});
      QTest::mouseClick(child<QPushButton>(&viewer, "VsButPrevChg"), Qt::LeftButton);
      QCOMPARE(currentRow(list), 9);
      QTest::mouseClick(child<QPushButton>(&viewer, "VsButNextFile"), Qt::LeftButton);
      QCOMPARE(currentRow(list), 23);
      QVERIFY(inUpperThird(list, 23));

      // The ruler moves with the rows when the list is scrolled sideways.
      QLabel* ruler = child<QLabel>(&viewer, "VsLbHeader");
      const QImage before = ruler->grab().toImage();
      list->horizontalScrollBar()->setValue(40);
      const QImage after = ruler->grab().toImage();
      QVERIFY(after != before);
      QCOMPARE(after.copy(0, 0, 300, after.height()), before.copy(40, 0, 300, before.height()));
      QTest::mouseClick(child<QPushButton>(&viewer, "VsButBtm"), Qt::LeftButton);
      QCOMPARE(currentRow(list), rows->rowCount() - 1);
      QTest::mouseClick(child<QPushButton>(&viewer, "VsButLegend"), Qt::LeftButton);
      QVERIFY(viewers.legend().isVisible());
      const QRect legend = viewers.legend().frameGeometry();  // below the viewer: the screen is 800 wide
      QVERIFY(viewer.screen()->availableGeometry().contains(legend) &&
              !legend.intersects(viewer.frameGeometry()));

      list->setFocus();
      QTest::keyClick(list, Qt::Key_Escape);
      QVERIFY(viewer.isVisible());
      pressEnter();
      QVERIFY(!viewer.isVisible());
    });
    QVERIFY(!viewers.legend().isVisible());
    QVERIFY(host_->messages.empty());
    QCOMPARE(text(panel.VLWide1 + " " + panel.VLHt1 + " " + panel.VLFontSz + " " + panel.PFontSz),
             QString("900 450 12 6"));
  }

  void dualViewerCouplesItsListsAndOpensTheHorizontalOne() {
    runSet(true);
    session_->panel.VLHt2 = "400";  // short enough that neither list shows all its rows
    session_->panel.SpSplit = "300";
    ReportViewers viewers(*session_, *host_, nullptr);
    inViewer(viewers, [&](ViewerWindow& viewer) {
      QListView* left = child<QListView>(&viewer, "VdListLeft");
      QListView* right = child<QListView>(&viewer, "VdListRight");
      QTest::mouseClick(child<QPushButton>(&viewer, "VdButBtm"), Qt::LeftButton);
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
      QTest::mouseClick(child<QPushButton>(&viewer, "VdButNextChg"), Qt::LeftButton);
      QCOMPARE(currentRow(left), 5);
      QCOMPARE(currentRow(right), 5);

      auto* hSplit = child<QPushButton>(&viewer, "VdButHSplit");
      whileOpen(
          viewers, [&] { QTest::mouseClick(hSplit, Qt::LeftButton); },
          [&](ViewerWindow& horizontal) {
            QCOMPARE(&horizontal, &viewers.horizontal());
            QListView* top = child<QListView>(&horizontal, "VhListTop");
            QListView* bottom = child<QListView>(&horizontal, "VhListBottom");
            QCOMPARE(top->model()->rowCount(), kRows);
            QCOMPARE(bottom->model()->rowCount(), kOldSideRows);
            QVERIFY(top->model()->data(top->model()->index(3, 0)).toString().startsWith("   1      one"));
            QCOMPARE(top->font(), left->font());
            QTest::keyClick(top, Qt::Key_Escape);
            QVERIFY(!horizontal.isVisible());
          });
      QVERIFY(!viewers.horizontal().isVisible());
      QVERIFY(viewer.isVisible());
      QCOMPARE(viewer.splitSize(), 300);
      auto* splitter = child<QSplitter>(&viewer, "VdSplitter");
      splitter->setSizes({250, splitter->sizes().value(0) + splitter->sizes().value(1) - 250});
    });
    QCOMPARE(text(session_->panel.VHWide2), QString::number(HorizontalViewer::kDesign.width));
    QCOMPARE(text(session_->panel.SpSplit), QString("250"));
  }

  // The change counter follows the selection, the pair list jumps to a pair's section and follows the
  // file-section button, and a click on the change map scrolls the list to that part of the report.
  void changeMapCounterAndPairListFollowTheReport() {
    runSet(false);
    session_->panel.VLHt1 = "420";  // short enough that the list does not show all its rows
    ReportViewers viewers(*session_, *host_, nullptr);
    inViewer(viewers, [&](ViewerWindow& viewer) {
      QListView* list = viewer.firstList();
      auto* counter = child<QLabel>(&viewer, "VsLbChgCount");
      auto* pairs = child<QComboBox>(&viewer, "VsCbPair");
      QCOMPARE(counter->text(), QString("3 changes"));
      QCOMPARE(pairs->currentIndex(), 0);  // the report starts with a.txt's section, then b.txt's
      QTest::mouseClick(child<QPushButton>(&viewer, "VsButNextChg"), Qt::LeftButton);
      QCOMPARE(counter->text(), QString("Change 1 of 3"));

      pairs->setFocus();
      QTest::keyClick(pairs, Qt::Key_Down);
      QCOMPARE(currentRow(list), 23);
      QCOMPARE(counter->text(), QString("Change 2 of 3"));
      QTest::keyClick(pairs, Qt::Key_Up);
      QCOMPARE(currentRow(list), 0);
      QTest::mouseClick(child<QPushButton>(&viewer, "VsButNextFile"), Qt::LeftButton);
      QCOMPARE(pairs->currentIndex(), 1);

      ChangeMapStrip* map = viewer.changeMap();
      QScrollBar* bar = list->verticalScrollBar();
      QVERIFY(map->isVisible() && bar->maximum() > 0);
      QTest::mousePress(map, Qt::LeftButton, {}, QPoint(3, 1));
      QCOMPARE(bar->value(), 0);
      QTest::mouseMove(map, QPoint(3, map->height() - 1));  // dragged with the button held
      QCOMPARE(bar->value(), bar->maximum());
      QTest::mouseRelease(map, Qt::LeftButton, {}, QPoint(3, map->height() - 1));
    });
  }

  // Save As with the unified diff filter writes what kelvarine-cli -ru writes for the last run, with
  // that run's choices even when the pages hold others by then; for a pair, as kelvarine-cli -u does.
  void unifiedDiffSaveIsTheCommandLinesDiff() {
    TempDirectory dir;
    const std::string examples = std::string(KELVARINE_SOURCE_DIR) + "/examples/";
    const auto commandLine = [](const QStringList& arguments) {
      QProcess cli;
      cli.start(QStringLiteral(KELVARINE_CLI), arguments);
      cli.waitForFinished(60000);
      return cli.readAllStandardOutput().toStdString();
    };
    const auto saveUnified = [&](const std::string& name) {
      whenModalOpens([&](QWidget* modal) { answerFileDialog(modal, dir.path(name), kUnifiedDiffFilter); });
      ReportSaveFlow flow(*session_, *host_);
      return flow.saveAs(viewer_.get(), {true, kCaption, "06/12/2026 12:00", "3"}, examples, controls_);
    };
    AppState& app = session_->app;
    FlowServices flow{app, *host_, session_->files, session_->report};
    app.choices.compareType = kCompareTypes[1];
    app.choices.includeSubdirs = true;
    app.choices.setChecked(Pref::Sbsl, true);  // shapes the report only: the diff goes without it
    QCOMPARE(MnButStartClick(flow, examples + "new", examples + "old").outcome, FlowOutcome::Ran);
    app.choices.includeSubdirs = false;
    QCOMPARE(saveUnified("examples.diff"), kSaved);
    const std::string directories = commandLine({"-ru", text(examples + "new"), text(examples + "old")});
    QVERIFY(directories.find("diff -ru ") != std::string::npos);
    QCOMPARE(readFile(dir.path("examples.diff")), directories);

    app.choices.compareType = kCompareTypes[0];
    app.choices.setChecked(Pref::Rovr, true);
    const std::string newFile = examples + "new/station.ini", oldFile = examples + "old/station.ini";
    QCOMPARE(MnButStartClick(flow, newFile, oldFile).outcome, FlowOutcome::Ran);
    app.choices.setChecked(Pref::Rovr, false);
    QCOMPARE(saveUnified("station.patch"), kSaved);
    const std::string pair = commandLine({"-u", "-o", "Rovr", text(newFile), text(oldFile)});
    QVERIFY(pair != commandLine({"-u", text(newFile), text(oldFile)}));
    QCOMPARE(readFile(dir.path("station.patch")), pair);
    QVERIFY(host_->messages.empty());
  }

  // The single viewer's own buttons: Find selects the hit in the list, Print opens the print preview
  // (cancelled: nothing happens), SaveAs saves through the save dialog at the HTML size of the field.
  void viewerButtonsReachFindPrintAndSave() {
    TempDirectory dir;
    fillFindReport();
    session_->app.newNameText = dir.path("new.txt");
    ReportViewers viewers(*session_, *host_, nullptr);
    int listRow = -1;
    bool printDialogSeen = false;
    whenModalOpens([&](QWidget* viewer) {
      auto button = [viewer](const char* name) { return testing::child<QPushButton>(viewer, name); };
      button("VsButFind")->click();
      auto* find = viewer->findChild<FindDialog*>();
      find->textField()->setText(QStringLiteral("beta"));
      find->findNextButton()->click();
      listRow = testing::child<QListView>(viewer, "VsList")->currentIndex().row();
      find->close();

      whenModalOpens([&](QWidget* modal) {
        printDialogSeen = qobject_cast<QPrintPreviewDialog*>(modal) != nullptr;
        qobject_cast<QDialog*>(modal)->reject();
      });
      button("VsButPrint")->click();
      testing::child<QComboBox>(viewer, "VsCbHtmlSz")->setCurrentText(QStringLiteral("1"));
      whenModalOpens([&](QWidget* modal) { answerFileDialog(modal, dir.path("seen.html"), 4); });
      button("VsButSaveAs")->click();
      button("VsButReturn")->click();
    });
    viewers.showReport();

    QCOMPARE(listRow, 2);
    QVERIFY(printDialogSeen);
    QVERIFY(host_->messages.empty());
    QVERIFY(readFile(dir.path("seen.html")).find("Color=Black Size=1>\n<PRE>") != std::string::npos);
  }

  // Ctrl+F on the viewer opens the dialog on row 0 with Down preset (even after Up was used); Enter and
  // F3 find down, Up finds above.
  void findBothWaysFromShortcuts() {
    fillFindReport();
    ReportViewerModel model(session_->app, *host_, ViewerKind::Single);
    FindDialog dialog(&model, viewer_.get());
    std::int64_t listRow = -1;  // the viewer's own selection, followed on each hit
    dialog.setCurrentRowSource([&] { return listRow; });
    QObject::connect(&dialog, &FindDialog::rowFound, [&](qint64 row) { listRow = row; });
    installFindShortcuts(viewer_.get(), &dialog);
    dialog.upButton()->setChecked(true);
    viewer_->setGeometry(20, 40, 300, 200);
    viewer_->show();
    viewer_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(viewer_.get()));

    QTest::keyClick(viewer_.get(), Qt::Key_F, Qt::ControlModifier);
    QVERIFY(dialog.isVisible() && !dialog.isModal());
    const QRect beside = dialog.frameGeometry();
    QVERIFY(viewer_->screen()->availableGeometry().contains(beside) &&
            !beside.intersects(viewer_->frameGeometry()));
    QCOMPARE(listRow, 0);
    QVERIFY(dialog.downButton()->isChecked());
    QVERIFY(dialog.wholeWordBox()->isHidden() && !dialog.matchCaseBox()->isEnabled());

    QTest::keyClicks(dialog.textField(), QStringLiteral("BETA"));
    QTest::keyClick(dialog.textField(), Qt::Key_Return);
    QCOMPARE(listRow, 2);
    viewer_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(viewer_.get()));
    QTest::keyClick(viewer_.get(), Qt::Key_F3);
    QCOMPARE(listRow, 4);
    dialog.upButton()->setChecked(true);
    QTest::mouseClick(dialog.findNextButton(), Qt::LeftButton);
    QCOMPARE(listRow, 2);

    // The message box gives the activation back to the viewer when it closes; the dialog comes back.
    dialog.windowHandle()->requestActivate();
    QTRY_VERIFY(dialog.isActiveWindow());
    host_->onMessage = [this] {
      viewer_->windowHandle()->requestActivate();
      QVERIFY(testing::waitFor([this] { return viewer_->isActiveWindow(); }));
    };
    dialog.textField()->setText(QStringLiteral("no such text"));
    QTest::mouseClick(dialog.findNextButton(), Qt::LeftButton);
    QTRY_VERIFY(dialog.isActiveWindow());
  }

  // The help gives the Chng listing's "Not Shown" lines the viewer's colour and that of print and saves.
  void helpTellsTheColoursOfNotShownLines() {
    QFile help(QString::fromStdString(FindHelpFile().string()));
    QVERIFY(help.open(QIODevice::ReadOnly));
    QVERIFY(QString::fromUtf8(help.readAll())
                .simplified()
                .contains(QStringLiteral("\"Not Shown\" lines of the Chng listing in blue on screen and in "
                                         "green when printed or saved")));
  }

  // A report of more rows than a page holds, printed through the preview and the print dialog to a
  // PDF: two pages, split where the page is full, the change row that opens page 2 on page 2.
  void printsPagesToPdfThroughPreviewAndDialog() {
    QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty(),
             "pdftotext (poppler-utils) is needed");
    TempDirectory dir;
    ReportPrintFlow flow(*session_, *host_);
    flow.printer().setPageSize(QPageSize(QPageSize::A4));
    const QString pdf = printToPdf(flow, dir.path("report.pdf"));
    // The rows that fit on a page at font size 10: line slots 4 to MaxLines - 1.
    const QFontMetrics font(FixedPitchFont(QStringLiteral("Courier New"), 10), &flow.printer());
    const int perPage = flow.printer().height() / font.height() - 8;
    QVERIFY(perPage > 10);
    fillNumberedReport(perPage + 5, perPage);

    int previewPages = 0;
    bool dialogSeen = false;
    whenModalOpens([&](QWidget* modal) {
      auto* preview = qobject_cast<QPrintPreviewDialog*>(modal);
      if (preview == nullptr) return;
      previewPages = preview->findChild<QPrintPreviewWidget*>()->pageCount();
      whenModalOpens([&](QWidget* dialog) {
        dialogSeen = qobject_cast<QPrintDialog*>(dialog) != nullptr;
        qobject_cast<QDialog*>(dialog)->accept();
      });
      for (QAction* action : preview->findChildren<QAction*>())
        if (action->text() == QStringLiteral("Print")) action->trigger();
    });
    const auto end = flow.print(viewer_.get(), {false, kCaption, "10", false}, controls_);
    QCOMPARE(previewPages, 2);
    QVERIFY(dialogSeen);
    QCOMPARE(end, std::optional<PrintEnd>(PrintEnd::Complete));
    QVERIFY(host_->messages.empty());

    const QStringList pages = pdfPages(pdf);
    QCOMPARE(pages.size(), 2);
    QVERIFY(pages[1].contains(QStringLiteral("Single Panel Display of Comparison Report")));
    const QRegularExpression firstOfPage2(QStringLiteral("\\b%1\\s+I - moved here\\b").arg(perPage + 1));
    QVERIFY(pages[1].contains(firstOfPage2));
    QVERIFY(!pages[0].contains(firstOfPage2));
    QVERIFY(return_->isEnabled() && print_->isEnabled() && halt_->isHidden());
  }

  // On A4 portrait at print sizes 8 and 12 every character of the widest rows (132 report columns
  // and the row number) is on the page; the preview says which smaller size is used.
  void printedRowsAreNeverCut() {
    const std::string widest = "I - " + std::string(121, 'w') + " LEN=12";
    session_->app.reportLines.add(widest);
    for (const char* size : {"8", "12"}) {
      TempDirectory dir;
      ReportPrintFlow flow(*session_, *host_);
      flow.printer().setPageSize(QPageSize(QPageSize::A4));
      const QString pdf = printToPdf(flow, dir.path("wide.pdf"));
      QCOMPARE(flow.printNow({false, kCaption, size, false}, controls_), PrintEnd::Complete);
      QVERIFY2(pdfPages(pdf).join(' ').simplified().contains(text("1 " + widest)), size);
      QString title;
      whenModalOpens([&](QWidget* modal) {
        title = modal->windowTitle();
        qobject_cast<QDialog*>(modal)->reject();
      });
      QVERIFY(!flow.print(viewer_.get(), {false, kCaption, size, false}, controls_).has_value());
      QVERIFY(title.contains(QStringLiteral("Print Sz %1 is too wide for the page").arg(size)));
    }
  }

  // Halt pressed while printing: Halt shows and the controls are disabled during the print; the rows
  // printed so far are kept, and the message comes once the viewer's controls are back.
  void haltStopsPrinting() {
    TempDirectory dir;
    ReportPrintFlow flow(*session_, *host_);
    const QString pdf = printToPdf(flow, dir.path("halted.pdf"));
    fillNumberedReport(3000, -1);
    session_->app.StopRequested = true;  // left from an earlier run: cleared when printing starts
    viewer_->show();
    // The first pump comes before the first row, the second after row 20: Halt is pressed there.
    bool busyWhenHalted = false;
    int pumps = 0;
    host_->onProcessEvents = [&] {
      if (++pumps != 2) return;
      busyWhenHalted = halt_->isVisible() && !print_->isEnabled() && !return_->isEnabled();
      QTest::mouseClick(halt_, Qt::LeftButton);
    };
    bool restoredAtMessage = false;
    host_->onMessage = [&] { restoredAtMessage = halt_->isHidden() && print_->isEnabled(); };

    QCOMPARE(flow.printNow({false, kCaption, "8", false}, controls_), PrintEnd::Halted);
    QVERIFY(busyWhenHalted);
    QCOMPARE(host_->messages,
             std::vector<std::string>{" User requested early termination of Print operation."});
    QVERIFY(restoredAtMessage);
    const QStringList pages = pdfPages(pdf);
    QCOMPARE(pages.size(), 1);
    QVERIFY(pages[0].contains(QRegularExpression(QStringLiteral("\\bline 20\\b"))));
    QVERIFY(!pages[0].contains(QRegularExpression(QStringLiteral("\\bline 21\\b"))));
  }

  // The save dialog opens in the New name's directory with the single viewer's name and the last
  // filter; the Text filter writes the text report, and OutFn keeps the name.
  void saveDialogStartsBesideTheNewFile() {
    TempDirectory dir;
    fillFindReport();
    QString startName, startFilter;
    whenModalOpens([&](QWidget* modal) {
      auto* dialog = qobject_cast<QFileDialog*>(modal);
      startName = dialog->selectedFiles().value(0);
      startFilter = dialog->selectedNameFilter();
      answerFileDialog(dialog, dir.path("plain.txt"), 3);
    });
    ReportSaveFlow flow(*session_, *host_);
    QCOMPARE(flow.saveAs(viewer_.get(), {false, kCaption, "06/12/2026 12:00", "3"}, dir.path("new.txt"),
                         controls_),
             kSaved);
    QCOMPARE(startName, QString::fromStdString(dir.path("Kelvarine.html")));
    QVERIFY(startFilter.startsWith(QStringLiteral("All,(*.*)")));
    QCOMPARE(session_->panel.OutFn, dir.path("plain.txt"));
    QVERIFY(readFile(dir.path("plain.txt")).starts_with(" \n" + kCaption + "\n"));
  }

  // The RTF notice's switch reaches the settings at once, even when the notice is cancelled (and then
  // nothing is written); the next RTF save goes without the notice, with Halt shown while it writes.
  void rtfNoticeSwitchReachesTheSettings() {
    TempDirectory dir;
    fillNumberedReport(50, 3);
    const std::string path = dir.path("colours.rtf");
    ReportSaveFlow flow(*session_, *host_);
    const SaveSource source{false, kCaption, "06/12/2026 12:00", "3"};

    bool noticeSeen = false;
    whenModalOpens([&](QWidget* modal) {
      answerFileDialog(modal, path, 2);
      whenModalOpens([&](QWidget* notice) {
        noticeSeen = notice->windowTitle() == QStringLiteral("Kelvarn - Note on Saving File ");
        if (auto* dontShow = notice->findChild<QCheckBox*>()) dontShow->click();
        for (QPushButton* button : notice->findChildren<QPushButton*>())
          if (button->text() == QStringLiteral("Cancel")) button->click();
      });
    });
    QVERIFY(!flow.saveAs(viewer_.get(), source, dir.path("new.txt"), controls_).has_value());
    QVERIFY(noticeSeen);
    QVERIFY(session_->panel.NoRtfmShow);
    QVERIFY(!std::filesystem::exists(path));

    viewer_->show();
    bool haltShown = false;
    host_->onProcessEvents = [&] { haltShown = haltShown || halt_->isVisible(); };
    QString startName;
    whenModalOpens([&](QWidget* modal) {
      startName = qobject_cast<QFileDialog*>(modal)->selectedFiles().value(0);
      answerFileDialog(modal, path, 4);
    });
    QCOMPARE(flow.saveAs(viewer_.get(), source, dir.path("new.txt"), controls_), kSaved);
    QCOMPARE(startName, QString::fromStdString(path));  // the name kept from the cancelled save
    QVERIFY(haltShown && halt_->isHidden());
    QVERIFY(readFile(path).starts_with("{\\rtf1"));
  }

  // The dual viewer's text save asks for the layout: preset from SbsRp, the line lengths shown, an
  // optional title as the first line; the choice goes back to SbsRp.
  void dualTextLayoutWindow() {
    TempDirectory dir;
    fillFindReport();
    session_->app.options.Fscl = true;
    session_->app.options.LongestNewLine = 100;
    session_->app.options.LongestOldLine = 50;
    ReportSaveFlow flow(*session_, *host_);
    bool sideBySidePreset = false;
    QStringList labels;
    auto saveWith = [&](const std::string& name, bool stacked, const QString& title) {
      whenModalOpens([&, name, stacked, title](QWidget* modal) {
        answerFileDialog(modal, dir.path(name), 3);
        whenModalOpens([&, stacked, title](QWidget* window) {
          auto* layout = qobject_cast<SideBySideSaveWindow*>(window);
          if (layout == nullptr) return;
          sideBySidePreset = layout->sideBySideButton()->isChecked();
          labels.clear();
          for (QLabel* label : layout->findChildren<QLabel*>())
            labels << label->text();
          (stacked ? layout->stackedButton() : layout->sideBySideButton())->click();
          layout->titleBox()->setChecked(!title.isEmpty());
          layout->titleField()->setText(title);
          layout->useButton()->click();
        });
      });
      return flow.saveAs(viewer_.get(), {true, "Dual caption", "06/12/2026 12:00", "3"}, dir.path("new.txt"),
                         controls_);
    };

    QCOMPARE(saveWith("stacked.txt", true, QString()), kSaved);
    QVERIFY(sideBySidePreset);
    QVERIFY(labels.contains(QStringLiteral("Output save line length = 110")));
    QVERIFY(labels.contains(QStringLiteral("(Output save line length = 202)")));
    QVERIFY(readFile(dir.path("stacked.txt")).starts_with("Brisolan Double-Stacked Compare Report"));

    QCOMPARE(saveWith("side.txt", false, QStringLiteral("My title")), kSaved);
    QVERIFY(!sideBySidePreset);
    QVERIFY(!session_->panel.SbsRp);
    QVERIFY(readFile(dir.path("side.txt"))
                .starts_with("My title\nBrisolan Insert and Delete Side-By-Side Report"));
  }

 private:
  // Rows as a small one-pair report holds them; the dual viewer also has an Old-side list.
  void fillFindReport() {
    for (const char* line :
         {"Kelvarn header", "    alpha one", "I - Beta two", "    gamma", "D - beta four", "    delta"})
      session_->app.reportLines.add(line);
    for (const char* line : {"Kelvarn header", "    alpha one", "", "D - Epsilon", "", "    delta"})
      session_->app.oldSideLines.add(line);
    session_->app.ListingLineCount = 6;
  }

  // Rows "line N" (N from 1); row `changeRow` (0-based) is the change row "I - moved here".
  void fillNumberedReport(int rows, int changeRow) {
    for (int i = 0; i < rows; ++i)
      session_->app.reportLines.add(i == changeRow ? std::string("I - moved here")
                                                   : "line " + std::to_string(i + 1));
    session_->app.ListingLineCount = rows;
  }

  // Points the flow's printer at the PDF file `path`, returned.
  static QString printToPdf(ReportPrintFlow& flow, const std::string& path) {
    flow.printer().setOutputFormat(QPrinter::PdfFormat);
    flow.printer().setOutputFileName(QString::fromStdString(path));
    return QString::fromStdString(path);
  }

  std::unique_ptr<TestSession> session_;
  std::unique_ptr<ScriptedHost> host_;
  std::unique_ptr<TempDirectory> dir_;
  std::unique_ptr<QWidget> viewer_;
  QPushButton *halt_ = nullptr, *return_ = nullptr, *print_ = nullptr;
  ViewerBusyControls controls_;
};

}  // namespace kelvarine

QTEST_MAIN(kelvarine::ReportViewersTest)
#include "report_viewers_test.moc"
