// The viewers' Find dialog, printing and saving driven as a user would: Find in both directions and by
// its shortcuts, a report printed through the print dialog to a PDF read back with pdftotext, Halt
// pressed while printing, the save dialog's start, filters and extension question, the RTF notice and
// the dual viewer's text layout window.
#include <QtPrintSupport>
#include <QtTest>
#include <QtWidgets>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "qt/support/modal_answer.h"
#include "qt/support/scripted_host.h"
#include "qt/support/widget_finder.h"
#include "support/temp_directory.h"
#include "ui/qt/find_dialog.h"
#include "ui/qt/gui_host.h"
#include "ui/qt/gui_session.h"
#include "ui/qt/print_flow.h"
#include "ui/qt/printer_canvas.h"
#include "ui/qt/report_viewers.h"
#include "ui/qt/save_flow.h"
#include "ui/qt/side_by_side_save_window.h"
#include "ui/viewer_model.h"

namespace kelvarine {

using testing::ScriptedHost;
using testing::whenModalOpens;

namespace {

const std::string kCaption = "Kelvarine V1.8 - Single Panel Display of Comparison Report  06/12/2026 12:00";
const auto kSaved = std::optional<SaveOutcome>(SaveOutcome::Saved);

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The text of each page of a PDF, as pdftotext lays it out.
QStringList pdfPages(const QString& pdf) {
  QProcess process;
  process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
  process.waitForFinished(60000);
  QStringList pages = QString::fromUtf8(process.readAllStandardOutput()).split(QLatin1Char('\f'));
  if (!pages.isEmpty() && pages.last().trimmed().isEmpty()) pages.removeLast();
  return pages;
}

bool hasText(const QString& page, const QString& pattern) {
  return page.contains(QRegularExpression(pattern));
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

class PrintSaveFindTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    session_ = std::make_unique<GuiSession>();
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

  // The single viewer's own buttons: Find selects the hit in the list, Print opens the print dialog
  // (cancelled: nothing happens), SaveAs saves through the save dialog.
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
        printDialogSeen = qobject_cast<QPrintDialog*>(modal) != nullptr;
        qobject_cast<QDialog*>(modal)->reject();
      });
      button("VsButPrint")->click();
      whenModalOpens([&](QWidget* modal) { answerFileDialog(modal, dir.path("seen.html"), 4); });
      button("VsButSaveAs")->click();
      button("VsButReturn")->click();
    });
    viewers.showReport();

    QCOMPARE(listRow, 2);
    QVERIFY(printDialogSeen);
    QVERIFY(host_->messages.empty());
    QVERIFY(readFile(dir.path("seen.html")).starts_with("<HTML>\n"));
  }

  // Ctrl+F on the viewer opens the dialog on row 0 with Down preset (even after Up was used), whole
  // word hidden and match case disabled; Enter and F3 find down, Up finds above and a miss is a message
  // that leaves the selection.
  void findBothWaysFromShortcuts() {
    fillFindReport();
    ReportViewerModel model(session_->app, *host_, ViewerKind::Single);
    FindDialog dialog(&model, viewer_.get());
    std::int64_t listRow = -1;  // the viewer's own selection, followed on each hit
    dialog.setCurrentRowSource([&] { return listRow; });
    QObject::connect(&dialog, &FindDialog::rowFound, [&](qint64 row) { listRow = row; });
    installFindShortcuts(viewer_.get(), &dialog);
    dialog.upButton()->setChecked(true);
    viewer_->show();
    viewer_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(viewer_.get()));

    QTest::keyClick(viewer_.get(), Qt::Key_F, Qt::ControlModifier);
    QVERIFY(dialog.isVisible() && !dialog.isModal());
    QCOMPARE(listRow, 0);
    QVERIFY(dialog.downButton()->isChecked());
    QVERIFY(dialog.wholeWordBox()->isHidden());
    QVERIFY(!dialog.matchCaseBox()->isEnabled() && !dialog.findNextButton()->isEnabled());

    QTest::keyClicks(dialog.textField(), QStringLiteral("BETA"));
    QTest::keyClick(dialog.textField(), Qt::Key_Return);
    QCOMPARE(listRow, 2);
    viewer_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(viewer_.get()));
    QTest::keyClick(viewer_.get(), Qt::Key_F3);
    QCOMPARE(listRow, 4);
    QVERIFY(host_->messages.empty());

    dialog.upButton()->setChecked(true);
    for (int i = 0; i < 2; ++i) {  // up to row 2, then nothing above it
      QTest::mouseClick(dialog.findNextButton(), Qt::LeftButton);
      QCOMPARE(listRow, 2);
    }
    QCOMPARE(host_->messages, std::vector<std::string>{"Text Not Found"});
  }

  // A report of more rows than a page holds, printed through the print dialog to a PDF: two pages,
  // each with the caption and its number, the rows split where the page is full and the change row
  // that opens page 2 on page 2.
  void printsPagesToPdfThroughTheDialog() {
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

    bool dialogSeen = false;
    whenModalOpens([&](QWidget* modal) {
      auto* dialog = qobject_cast<QPrintDialog*>(modal);
      dialogSeen = dialog != nullptr;
      if (dialog != nullptr) dialog->accept();
    });
    const auto end = flow.print(viewer_.get(), {false, kCaption, "10", false}, controls_);
    QVERIFY(dialogSeen);
    QCOMPARE(end, std::optional<PrintEnd>(PrintEnd::Complete));
    QVERIFY(host_->messages.empty());

    const QStringList pages = pdfPages(pdf);
    QCOMPARE(pages.size(), 2);
    for (int page = 0; page < 2; ++page) {
      QVERIFY(pages[page].contains(QStringLiteral("Single Panel Display of Comparison Report")));
      QVERIFY(hasText(pages[page], QStringLiteral("Page\\s+%1\\b").arg(page + 1)));
    }
    const QString firstOfPage2 = QStringLiteral("\\b%1\\s+I - moved here\\b").arg(perPage + 1);
    QVERIFY(hasText(pages[1], firstOfPage2));
    QVERIFY(!hasText(pages[0], firstOfPage2));
    QVERIFY(return_->isEnabled() && print_->isEnabled() && halt_->isHidden());
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
    QVERIFY(hasText(pages[0], QStringLiteral("\\bline 20\\b")));
    QVERIFY(!hasText(pages[0], QStringLiteral("\\bline 21\\b")));
  }

  void saveDialogStartFilterAndExtensionQuestion_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("filter");
    QTest::addColumn<bool>("answer");    // to the extension question, when it is asked
    QTest::addColumn<QString>("saved");  // empty: nothing written
    QTest::addColumn<QString>("start");  // how the saved file begins
    QTest::newRow("rtf filter turns .txt into .rtf")
        << "r.txt" << 2 << true << "r.rtf" << QString("{\\rtf1\\ansi");
    QTest::newRow("rtf filter, changed name refused") << "r.txt" << 2 << false << "" << QString();
    QTest::newRow("text filter") << "plain.txt" << 3 << true << "plain.txt"
                                 << QString::fromStdString(" \n" + kCaption + "\n");
  }

  // The save dialog opens in the New name's directory with the single viewer's name and the last
  // filter; the typed name and chosen filter decide the file and its format; OutFn keeps the name.
  void saveDialogStartFilterAndExtensionQuestion() {
    QFETCH(QString, typed);
    QFETCH(int, filter);
    QFETCH(bool, answer);
    QFETCH(QString, saved);
    QFETCH(QString, start);
    TempDirectory dir;
    fillFindReport();
    session_->panel.NoRtfmShow = true;
    host_->answers = {answer};
    const QString directory = QString::fromStdString(dir.root.string());

    QString startDirectory, startName, startFilter;
    QStringList filterTexts;
    whenModalOpens([&](QWidget* modal) {
      auto* dialog = qobject_cast<QFileDialog*>(modal);
      if (dialog == nullptr) return;
      auto* filters = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
      for (int i = 0; filters != nullptr && i < filters->count(); ++i)
        filterTexts << filters->itemText(i);
      startDirectory = dialog->directory().absolutePath();
      startName = dialog->selectedFiles().value(0);
      startFilter = dialog->selectedNameFilter();
      answerFileDialog(dialog, dir.path(typed.toStdString()), filter);
    });
    ReportSaveFlow flow(*session_, *host_);
    const auto outcome = flow.saveAs(viewer_.get(), {false, kCaption, "06/12/2026 12:00", "3"},
                                     dir.path("new.txt"), controls_);

    QCOMPARE(startDirectory, directory);
    QCOMPARE(startName, directory + QStringLiteral("/Kelvarine.html"));
    QVERIFY(startFilter.startsWith(QStringLiteral("All,(*.*)")));
    QCOMPARE(filterTexts, QStringList({"Colored Html,[*.Html]", "Colored Rtf,[*.Rtf)",
                                       "Mono BlackTxt, (*.Txt)", "All,(*.*)"}));
    QVERIFY(host_->messages.empty());
    if (saved.isEmpty()) {
      QVERIFY(!outcome.has_value());
      QVERIFY(std::filesystem::is_empty(dir.root));
      QVERIFY(session_->panel.OutFn.empty());
      return;
    }
    QCOMPARE(outcome, kSaved);
    QCOMPARE(session_->panel.OutFn, dir.path(saved.toStdString()));
    QVERIFY(QString::fromStdString(readFile(session_->panel.OutFn)).startsWith(start));
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
    QVERIFY(session_->panel.SbsRp);
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

  std::unique_ptr<GuiSession> session_;
  std::unique_ptr<ScriptedHost> host_;
  std::unique_ptr<QWidget> viewer_;
  QPushButton *halt_ = nullptr, *return_ = nullptr, *print_ = nullptr;
  ViewerBusyControls controls_;
};

}  // namespace kelvarine

QTEST_MAIN(kelvarine::PrintSaveFindTest)
#include "print_save_find_test.moc"
