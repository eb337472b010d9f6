#include "ui/qt/print_flow.h"

#include <QPrintDialog>

#include "ui/qt/printer_canvas.h"

namespace kelvarine {

ReportPrintFlow::ReportPrintFlow(GuiSession& session, Host& host)
    : session_(session), host_(host), printer_(QPrinter::HighResolution) {}

std::optional<PrintEnd> ReportPrintFlow::print(QWidget* viewer, const PrintSource& source,
                                               const ViewerBusyControls& controls) {
  QPrintDialog dialog(&printer_, viewer);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return printNow(source, controls);
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
