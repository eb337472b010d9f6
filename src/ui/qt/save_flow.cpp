#include "ui/qt/save_flow.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/save_dialog.h"
#include "ui/unified_save.h"

namespace kelvarine {
namespace {

// "*.Html" as a pattern that ignores letter case: "*.[Hh][Tt][Mm][Ll]".
QString AnyCasePattern(const char* pattern) {
  QString result;
  for (const QChar c : QString::fromLatin1(pattern)) {
    if (c.isLetter()) {
      result += QLatin1Char('[') + c.toUpper() + c.toLower() + QLatin1Char(']');
    } else {
      result += c;
    }
  }
  return result;
}

}  // namespace

QStringList SaveDialogNameFilters() {
  QStringList filters;
  for (const SaveFilter& filter : kSaveFilters) {
    const bool all = QLatin1String(filter.pattern) == QLatin1String("*.*");
    // Qt's dialog matches patterns case-sensitively on Linux, hence the any-case pattern. The first,
    // lower-case pattern gives the extension Qt puts on the typed name when the user changes the
    // filter: the one the save forces anyway.
    const QString pattern = QString::fromLatin1(filter.pattern).toLower();
    filters << QString::fromLatin1(filter.text) + QStringLiteral(" (") +
                   (all ? QStringLiteral("*") : pattern + QLatin1Char(' ') + AnyCasePattern(filter.pattern)) +
                   QLatin1Char(')');
  }
  return filters;
}

ReportSaveFlow::ReportSaveFlow(GuiSession& session, Host& host) : session_(session), host_(host) {}

std::optional<std::pair<std::string, int>> ReportSaveFlow::chooseFile(QWidget* viewer, bool dual,
                                                                      const std::string& newNameText) {
  const SaveDialogStart start =
      SaveDialogInitialValues(session_.panel.OutFn, newNameText, dual, session_.files);
  const QStringList filters = SaveDialogNameFilters();
  QFileDialog dialog(viewer, QStringLiteral("Save As"));
  // Qt's own dialog: the same on every desktop, and one that tests can answer. The filter details are
  // hidden so that each entry reads as its text; the replace question is asked after the dialog.
  dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::HideNameFilterDetails |
                    QFileDialog::DontConfirmOverwrite);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilters(filters);
  dialog.selectNameFilter(filters.at(start.filterIndex - 1));
  if (!start.directory.empty()) dialog.setDirectory(QString::fromStdString(start.directory));
  dialog.selectFile(QString::fromStdString(start.fileName));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  // With the details hidden, Qt reports the chosen filter either whole or as its text alone.
  const QString selected = dialog.selectedNameFilter();
  int filterIndex = 4;
  for (int i = 0; i < static_cast<int>(filters.size()); ++i)
    if (selected == filters.at(i) || selected == QLatin1String(kSaveFilters.at(i).text)) filterIndex = i + 1;
  return std::make_pair(dialog.selectedFiles().constFirst().toStdString(), filterIndex);
}

bool ReportSaveFlow::rtfNoticeAccepted(QWidget* viewer) {
  QDialog notice(viewer);
  notice.setWindowTitle(QStringLiteral("Kelvarn - Note on Saving File "));
  auto* layout = new QVBoxLayout(&notice);
  for (const char* line :
       {"Note:", "Saving this report as an *.rtf file will preserve the colored report lines.",
        "Use MS Notepad to display and/or print the saved rtf file",
        "as MS Word does not resolve this generated \"SaveAs\" file."})
    layout->addWidget(new QLabel(QString::fromLatin1(line), &notice));
  auto* dontShow = new QCheckBox(QStringLiteral("Do not show this message again"), &notice);
  dontShow->setChecked(session_.panel.NoRtfmShow);
  // The switch takes effect at once, whichever button closes the notice.
  QObject::connect(dontShow, &QCheckBox::toggled, &notice,
                   [this](bool on) { session_.panel.NoRtfmShow = on; });
  layout->addWidget(dontShow);
  auto* buttons = new QDialogButtonBox(&notice);
  buttons->addButton(QDialogButtonBox::Cancel);
  QPushButton* proceed = buttons->addButton(QStringLiteral("Continue"), QDialogButtonBox::AcceptRole);
  proceed->setDefault(true);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &notice, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &notice, &QDialog::reject);
  layout->addWidget(buttons);
  return notice.exec() == QDialog::Accepted;
}

std::optional<SaveOutcome> ReportSaveFlow::saveAs(QWidget* viewer, const SaveSource& source,
                                                  const std::string& newNameText,
                                                  const ViewerBusyControls& controls) {
  const auto chosen = chooseFile(viewer, source.dual, newNameText);
  if (!chosen) return std::nullopt;
  const std::optional<std::string> name =
      ConfirmSaveName(chosen->first, chosen->second, host_, session_.files, session_.panel.OutFn);
  if (!name) return std::nullopt;

  if (chosen->second == kUnifiedDiffFilter) {
    // The pairs are compared again; Halt stops that run as it stops a long RTF save.
    AppState rerun = UnifiedDiffRerun(session_.app);
    ViewerBusyScope busy(controls, rerun, host_);
    return SaveUnifiedDiff(*name, rerun, busy.host(), session_.files);
  }
  switch (SaveFormatFor(*name)) {
    case SaveFormat::Rtf: {
      if (!session_.panel.NoRtfmShow && !rtfNoticeAccepted(viewer)) return std::nullopt;
      ViewerBusyScope busy(controls, session_.app, host_);
      return SaveReport(*name, session_.app, busy.host(), source);
    }
    case SaveFormat::Text:
      if (source.dual) {
        if (sideBySide_ == nullptr) sideBySide_ = new SideBySideSaveWindow(viewer);
        const std::optional<DualTextChoice> choice =
            sideBySide_->choose(ComputeDualTextWidths(session_.app.options), session_.panel.SbsRp);
        if (!choice) return std::nullopt;
        session_.panel.SbsRp = choice->stacked;
        return SaveReport(*name, session_.app, host_, source, *choice);
      }
      return SaveReport(*name, session_.app, host_, source);
    case SaveFormat::Html:
      return SaveReport(*name, session_.app, host_, source);
  }
  return std::nullopt;
}

}  // namespace kelvarine
