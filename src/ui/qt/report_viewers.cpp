#include "ui/qt/report_viewers.h"

#include <QApplication>
#include <QListView>
#include <QStyleHints>

#include "ui/qt/dual_viewer.h"
#include "ui/qt/horizontal_viewer.h"
#include "ui/qt/legend_window.h"
#include "ui/qt/place_beside.h"
#include "ui/qt/single_viewer.h"
#include "ui/report_stamp.h"
#include "ui/viewer_model.h"

namespace kelvarine {
namespace {

void applyStartup(ViewerWindow& window, const ViewerStartup& startup) {
  window.setFontSizes(QString::fromStdString(startup.displayFontSize),
                      QString::fromStdString(startup.printFontSize));
  window.setWindowGeometry(startup.geometry);
  window.setSplitSize(startup.splitSize);
}

void storeSettings(ViewerWindow& window, MainPanelState& panel) {
  StoreViewerSettings(window.kind(), panel, window.printFontSize().toStdString(),
                      window.displayFontSize().toStdString(), window.windowGeometry(), window.splitSize());
}

}  // namespace

ReportViewers::ReportViewers(GuiSession& session, Host& host, QWidget* parent)
    : session_(session), host_(host) {
  // The wheel step is the desktop's own (the platform theme's), 3 where the desktop sets none.
  const int desktopWheelLines = QGuiApplication::styleHints()->wheelScrollLines();
  session.wheelScrollLines = desktopWheelLines > 0 ? desktopWheelLines : 3;
  if (desktopWheelLines <= 0) QApplication::setWheelScrollLines(session.wheelScrollLines);
  single_ = new SingleViewer(session, host, parent);
  dual_ = new DualViewer(session, host, parent);
  horizontal_ = new HorizontalViewer(session, host, dual_);
  legend_ = new LegendWindow(parent);
  applyStartup(*single_, CreateViewer(ViewerKind::Single, session.panel, SingleViewer::kDesign, 0));
  applyStartup(*dual_,
               CreateViewer(ViewerKind::Dual, session.panel, DualViewer::kDesign, DualViewer::kDesignSplit));
  horizontal_->setWindowGeometry(HorizontalViewer::kDesign);
  horizontal_->setSplitSize(HorizontalViewer::kDesignSplit);
  for (ViewerWindow* window : {static_cast<ViewerWindow*>(single_), static_cast<ViewerWindow*>(dual_),
                               static_cast<ViewerWindow*>(horizontal_)})
    QObject::connect(window, &ViewerWindow::legendRequested, window, [this] { showLegend(); });
  QObject::connect(dual_, &ViewerWindow::hSplitRequested, dual_, [this] { showHorizontal(); });
}

ReportViewers::~ReportViewers() {
  // The legend may be a child of a viewer, and the horizontal viewer is one of the dual viewer.
  delete legend_;
  delete horizontal_;
  delete dual_;
  delete single_;
}

SingleViewer& ReportViewers::single() {
  return *single_;
}

DualViewer& ReportViewers::dual() {
  return *dual_;
}

HorizontalViewer& ReportViewers::horizontal() {
  return *horizontal_;
}

LegendWindow& ReportViewers::legend() {
  return *legend_;
}

ViewerWindow* ReportViewers::openViewer() const {
  if (horizontal_ != nullptr && horizontal_->isVisible()) return horizontal_;
  if (dual_ != nullptr && dual_->isVisible()) return dual_;
  if (single_ != nullptr && single_->isVisible()) return single_;
  return nullptr;
}

void ReportViewers::showReport() {
  reportStamp_ = ReportStamp();
  const ViewerLayout layout =
      ShowReport(session_.app, session_.app.choices.isChecked(Pref::Sbsl), reportStamp_);
  ViewerWindow& window = layout.kind == ViewerKind::Dual ? static_cast<ViewerWindow&>(*dual_) : *single_;
  window.setReportStamp(reportStamp_);
  window.openReport(layout);
  window.exec();
  legend_->close();
  window.release();
  storeSettings(window, session_.panel);
}

void ReportViewers::showHorizontal() {
  const std::optional<ViewerLayout> layout = ShowHorizontalViewer(session_.app, reportStamp_);
  if (layout) {
    horizontal_->setListFont(dual_->listFont());
    const ViewerStartup startup = CreateViewer(ViewerKind::Horizontal, session_.panel,
                                               horizontal_->windowGeometry(), horizontal_->splitSize());
    horizontal_->setWindowGeometry(startup.geometry);
    horizontal_->setSplitSize(startup.splitSize);
    horizontal_->openReport(*layout);
    horizontal_->exec();
    horizontal_->release();
    storeSettings(*horizontal_, session_.panel);
  }
  legend_->close();
}

void ReportViewers::showLegend() {
  // A window outside the open modal viewer would take no input, so the legend goes over it.
  ViewerWindow* owner = openViewer();
  if (owner != nullptr && legend_->parentWidget() != owner) legend_->setParent(owner, Qt::Window);
  // A closed legend opens beside its viewer, on screen; an open one stays where it is.
  if (owner != nullptr && !legend_->isVisible()) MoveBesideOwner(*legend_, *owner);
  legend_->show();
  legend_->raise();
  legend_->activateWindow();
}

}  // namespace kelvarine
