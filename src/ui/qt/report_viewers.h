#pragma once

#include <QPointer>
#include <string>

#include "engine/host.h"
#include "ui/qt/gui_session.h"

class QWidget;

namespace kelvarine {

class DualViewer;
class HorizontalViewer;
class LegendWindow;
class SingleViewer;
class ViewerWindow;

// The report viewers of the desktop program and the legend window, created once at start (after the
// settings are loaded) and reused for every report. showReport() picks the viewer for the last run,
// opens it modally and stores its geometry and font sizes in session.panel when it closes.
class ReportViewers {
 public:
  ReportViewers(GuiSession& session, Host& host, QWidget* parent);
  ~ReportViewers();
  ReportViewers(const ReportViewers&) = delete;
  ReportViewers& operator=(const ReportViewers&) = delete;

  // Fills and opens the single or dual viewer for the last report; returns when it has closed.
  void showReport();

  SingleViewer& single();
  DualViewer& dual();
  HorizontalViewer& horizontal();
  LegendWindow& legend();
  // The viewer open now, the innermost when the horizontal viewer is open over the dual one; null
  // when none is.
  ViewerWindow* openViewer() const;

 private:
  void showHorizontal();
  void showLegend();

  GuiSession& session_;
  Host& host_;
  QPointer<SingleViewer> single_;
  QPointer<DualViewer> dual_;
  QPointer<HorizontalViewer> horizontal_;
  QPointer<LegendWindow> legend_;
  std::string reportStamp_;  // the date and time of the last showReport, for the horizontal caption
};

}  // namespace kelvarine
