#pragma once

#include <QPointer>
#include <QString>
#include <optional>
#include <string>

#include "engine/host.h"
#include "ui/qt/gui_session.h"
#include "ui/qt/side_by_side_save_window.h"
#include "ui/qt/viewer_busy.h"
#include "ui/report_save.h"

class QWidget;

namespace kelvarine {

// The save dialog's filter list: each entry's text as the user sees it, then a pattern that matches
// the extension in any letter case.
QStringList SaveDialogNameFilters();

// The "SaveAs..." button of the single and dual viewers: the save dialog, the extension and replace
// questions, the RTF notice, the dual viewer's text layout window, then the save itself (with Halt
// shown while RTF is written). Remembers the saved name in session.panel.OutFn and the notice and
// layout choices in session.panel.NoRtfmShow and SbsRp.
class ReportSaveFlow {
 public:
  ReportSaveFlow(GuiSession& session, Host& host);

  // `newNameText` is the main panel's New name field: its directory is where the dialog starts when
  // no earlier save name applies. Nothing when the user cancelled a dialog or answered No.
  std::optional<SaveOutcome> saveAs(QWidget* viewer, const SaveSource& source, const std::string& newNameText,
                                    const ViewerBusyControls& controls);

 private:
  // The chosen name and filter (1-based), or nothing when the dialog was cancelled.
  std::optional<std::pair<std::string, int>> chooseFile(QWidget* viewer, bool dual,
                                                        const std::string& newNameText);
  bool rtfNoticeAccepted(QWidget* viewer);

  GuiSession& session_;
  Host& host_;
  QPointer<SideBySideSaveWindow> sideBySide_;
};

}  // namespace kelvarine
