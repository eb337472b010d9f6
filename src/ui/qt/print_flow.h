#pragma once

#include <QPrinter>
#include <optional>

#include "engine/host.h"
#include "ui/print_layout.h"
#include "ui/qt/gui_session.h"
#include "ui/qt/viewer_busy.h"

class QWidget;

namespace kelvarine {

// The "Print..." button of the single and dual viewers. Keeps one printer, so the print dialog's
// choices (printer, "Print to File" name, page setup) stay from one print to the next.
class ReportPrintFlow {
 public:
  ReportPrintFlow(GuiSession& session, Host& host);

  QPrinter& printer() { return printer_; }

  // Shows the print dialog over `viewer`, then prints the report as `source` describes while Halt is
  // shown and the other controls are disabled. Nothing when the dialog is cancelled.
  std::optional<PrintEnd> print(QWidget* viewer, const PrintSource& source,
                                const ViewerBusyControls& controls);

  // The printing after the dialog: to `printer_` as it is set up now.
  PrintEnd printNow(const PrintSource& source, const ViewerBusyControls& controls);

 private:
  GuiSession& session_;
  Host& host_;
  QPrinter printer_;
};

}  // namespace kelvarine
