#include "ui/qt/print_flow.h"

#include <QPaintEngine>
#include <QPrintPreviewDialog>

#include "engine/quiet_host.h"
#include "ui/qt/gui_host.h"
#include "ui/qt/printer_canvas.h"

namespace kelvarine {
namespace {

// The preview asks for its pages on the printer switched to a recording engine; its Print button asks
// again on the printer itself.
bool isPreviewPass(QPrinter& printer) {
  return printer.paintEngine() != nullptr && printer.paintEngine()->type() == QPaintEngine::Picture;
}

}  // namespace

ReportPrintFlow::ReportPrintFlow(GuiSession& session, Host& host)
    : session_(session), host_(host), printer_(QPrinter::HighResolution) {}

std::optional<PrintEnd> ReportPrintFlow::print(QWidget* viewer, const PrintSource& source,
                                               const ViewerBusyControls& controls) {
  QPrintPreviewDialog preview(&printer_, viewer);
  preview.setObjectName(QStringLiteral("PrintPreview"));
  bool printRequested = false;
  QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview, [&](QPrinter* printer) {
    if (isPreviewPass(*printer))
      paintPreview(preview, *printer, source);
    else
      printRequested = true;  // printed below, once the preview has closed and Halt can be reached
  });
  if (preview.exec() != QDialog::Accepted || !printRequested) return std::nullopt;
  return printNow(source, controls);
}

void ReportPrintFlow::paintPreview(QPrintPreviewDialog& preview, QPrinter& printer,
                                   const PrintSource& source) {
  PrinterCanvas canvas(printer);
  const std::string note = PrintFitNote(FitPrintFont(canvas, session_.app, source));
  PrintSource first = source;
  first.maxPages = kPreviewPages;
  // Printing clears the halt flag, which belongs to the viewer: a preview leaves it as it was.
  const bool stopRequested = session_.app.StopRequested;
  QuietHost quiet;
  const PrintEnd end = PrintReport(canvas, session_.app, quiet, first);
  session_.app.StopRequested = stopRequested;
  QString title = QStringLiteral("Print Preview");
  if (end == PrintEnd::PageLimit) title += QStringLiteral(" - first %1 pages").arg(kPreviewPages);
  if (!note.empty()) title += QStringLiteral(" - ") + DisplayText(note);
  preview.setWindowTitle(title);
}

PrintEnd ReportPrintFlow::printNow(const PrintSource& source, const ViewerBusyControls& controls) {
  ViewerBusyScope busy(controls, session_.app, host_);
  Host& host = busy.host();
  PrinterCanvas canvas(printer_);
  const PrintEnd end = PrintReport(canvas, session_.app, host, source);
  if (canvas.failed()) host.showMessage(" The printer could not be started; nothing was printed.");
  return end;
}

}  // namespace kelvarine
