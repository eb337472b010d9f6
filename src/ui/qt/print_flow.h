#pragma once

#include <QPrinter>
#include <optional>

#include "engine/host.h"
#include "ui/print_layout.h"
#include "ui/qt/gui_session.h"
#include "ui/qt/viewer_busy.h"

class QWidget;
class QPrintPreviewDialog;

namespace kelvarine {

// The "Print..." button of the single and dual viewers. Keeps one printer, so the print dialog's
// choices (printer, "Print to File" name, page setup and orientation) stay from one print to the next.
class ReportPrintFlow {
 public:
  // Pages the print preview shows: enough to judge the layout, however long the report is.
  static constexpr int kPreviewPages = 20;

  ReportPrintFlow(GuiSession& session, Host& host);

  QPrinter& printer() { return printer_; }

  // Shows the print preview over `viewer` (its caption says when the print size had to be reduced to
  // fit the page; portrait or landscape and the page setup can be chosen there); its Print button
  // leads to the print dialog, and once that is accepted the report is printed as `source` describes
  // while Halt is shown and the other controls are disabled. Nothing when either is cancelled.
  std::optional<PrintEnd> print(QWidget* viewer, const PrintSource& source,
                                const ViewerBusyControls& controls);

  // The printing after the dialogs: to `printer_` as it is set up now.
  PrintEnd printNow(const PrintSource& source, const ViewerBusyControls& controls);

 private:
  // Paints the first pages of the print on the preview's printer and names the size in its caption.
  void paintPreview(QPrintPreviewDialog& preview, QPrinter& printer, const PrintSource& source);

  GuiSession& session_;
  Host& host_;
  QPrinter printer_;
};

}  // namespace kelvarine
