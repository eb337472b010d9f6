#include "ui/qt/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QMimeData>
#include <QScrollArea>
#include <QTabWidget>
#include <QTimer>
#include <QUrl>
#include <utility>
#include <vector>

#include "ui/main_panel_pages.h"
#include "ui/qt/about_page.h"
#include "ui/qt/dir_select_page.h"
#include "ui/qt/dp_options_page.h"
#include "ui/qt/file_select_page.h"
#include "ui/qt/hint_switch.h"
#include "ui/qt/main_panel_page.h"
#include "ui/qt/name_history_combo.h"
#include "ui/qt/overview_page.h"
#include "ui/qt/preferences_page.h"
#include "ui/qt/report_viewers.h"
#include "ui/qt/screen_fit.h"
#include "ui/qt/selection_windows.h"

namespace kelvarine {

namespace {

// The local files among dropped URLs, in the order given.
std::vector<std::string> droppedFiles(const QMimeData* data) {
  std::vector<std::string> names;
  if (data == nullptr || !data->hasUrls()) return names;
  for (const QUrl& url : data->urls())
    if (url.isLocalFile()) names.push_back(url.toLocalFile().toStdString());
  return names;
}

}  // namespace

MainWindow::MainWindow(GuiSession& session, QWidget* parent)
    : QMainWindow(parent), session_(session), run_(session, host_, this) {
  setObjectName("FrmMain");
  setWindowTitle("Kelvarn - V1.8");
  setAcceptDrops(true);
  hints_ = new HintSwitch(this);
  qApp->installEventFilter(new ScreenFitter(this));

  tabs_ = new QTabWidget(this);
  tabs_->setObjectName("MnPageControl");
  mainPanel_ = new MainPanelPage(session, run_, tabs_);
  dirSelect_ = new DirSelectPage(session, host_, tabs_);
  dirSelect_->setObjectName("PageDirSelect");
  fileSelect_ = new FileSelectPage(session, host_, tabs_);
  fileSelect_->setObjectName("PageFileSelect");
  preferences_ = new PreferencesPage(session, tabs_);
  dpOptions_ = new DpOptionsPage(session, tabs_);
  about_ = new AboutPage(tabs_);
  overView_ = new OverViewPage(tabs_);
  // In the order of Page. Each page scrolls where the screen is too small for it.
  const std::pair<QWidget*, const char*> pages[] = {
      {mainPanel_, "Main Panel"},    {dirSelect_, "Dir Select"}, {fileSelect_, "File Select"},
      {preferences_, "Preferences"}, {dpOptions_, "Dp Options"}, {about_, "About"},
      {overView_, "OverView"}};
  for (const auto& [page, title] : pages)
    tabs_->addTab(makeScrollable(page, tabs_), title);
  setCentralWidget(tabs_);
  host_.setDisplay(mainPanel_->display());

  // Every field of the Main Panel that takes drops hands dropped files to the window.
  for (QWidget* field : mainPanel_->findChildren<QWidget*>())
    if (field->acceptDrops()) field->installEventFilter(this);

  connect(tabs_, &QTabWidget::currentChanged, this, &MainWindow::pageChanged);
  connect(&run_, &RunController::runningChanged, this, &MainWindow::runningChanged);
  connect(&run_, &RunController::focusRequested, mainPanel_, &MainPanelPage::focusTarget);
  connect(&run_, &RunController::reportReady, mainPanel_, &MainPanelPage::reportReady);

  connect(mainPanel_, &MainPanelPage::exitRequested, this, &QWidget::close);
  connect(mainPanel_, &MainPanelPage::dirSelectRequested, this, [this] { showPage(Page::DirSelect); });
  connect(mainPanel_, &MainPanelPage::fileSelectRequested, this, [this] { showPage(Page::FileSelect); });
  connect(mainPanel_, &MainPanelPage::loadIniRequested, this, &MainWindow::loadUserIni);
  connect(mainPanel_, &MainPanelPage::saveIniRequested, this, &MainWindow::saveUserIni);
  connect(mainPanel_, &MainPanelPage::hintsSwitched, hints_, &HintSwitch::setHintsOff);
  connect(mainPanel_, &MainPanelPage::startFinished, this, &MainWindow::startFinished);

  connect(preferences_, &PreferencesPage::returnRequested, this, [this] {
    RebuildShownOptions(session_.app);
    showPage(Page::MainPanel);
  });
  connect(preferences_, &PreferencesPage::cancelRequested, this, [this] {
    PageServices services = pageServices();
    PreferencesCancel(services, memory_);
    preferences_->showState();
    showPage(Page::MainPanel);
  });
  connect(preferences_, &PreferencesPage::resetRequested, this, [this] {
    PageServices services = pageServices();
    PreferencesReset(services);
    preferences_->showState();
  });
  connect(dpOptions_, &DpOptionsPage::returnRequested, this, [this] {
    RebuildShownOptions(session_.app);
    showPage(Page::MainPanel);
  });
  connect(dpOptions_, &DpOptionsPage::cancelRequested, this, [this] {
    PageServices services = pageServices();
    DpOptionsCancel(services, memory_);
    dpOptions_->showState();
    showPage(Page::MainPanel);
  });
  const auto toMainPanel = [this] { showPage(Page::MainPanel); };
  const auto showMainPanel = [this] { mainPanel_->showState(); };
  connect(dirSelect_, &DirSelectPage::leaveRequested, this, toMainPanel);
  connect(dirSelect_, &DirSelectPage::mainPanelChanged, this, showMainPanel);
  connect(fileSelect_, &FileSelectPage::leaveRequested, this, toMainPanel);
  connect(fileSelect_, &FileSelectPage::mainPanelChanged, this, showMainPanel);
  connect(about_, &AboutPage::returnRequested, this, [this] { showPage(Page::MainPanel); });
  connect(overView_, &OverViewPage::returnRequested, this, [this] { showPage(Page::MainPanel); });
}

MainWindow::~MainWindow() {
  run_.setSelectionWindows(nullptr);
  run_.setReportViewer(nullptr);
}

PageServices MainWindow::pageServices() {
  return PageServices{session_.app, session_.panel, session_.files, host_, QDir::currentPath().toStdString()};
}

SettingsServices MainWindow::settingsServices() {
  return SettingsServices{session_.panel, session_.app,        session_.files,
                          host_,          &session_.likeNames, &session_.twoLists};
}

void MainWindow::startUp(const std::string& newName, const std::string& oldName) {
  session_.defaultSettingsPath = DefaultSettingsPath();
  SettingsServices settings = settingsServices();
  const bool loaded = LoadSettingsAtStart(settings, session_.defaultSettingsPath, session_.settingsPath);
  ApplyStartNames(settings, newName, oldName);
  if (loaded) placeAsStored();  // else the window opens at its own size, fitted to the screen as it shows
  showAllPages();
  if (viewers_ == nullptr) {
    viewers_ = std::make_unique<ReportViewers>(session_, host_, this);
    run_.setReportViewer([this] { viewers_->showReport(); });
  }
  if (selectionWindows_ == nullptr) {
    selectionWindows_ = std::make_unique<GuiSelectionWindows>(session_, host_, run_.flow(), this);
    run_.setSelectionWindows(selectionWindows_.get());
  }
}

void MainWindow::showAllPages() {
  mainPanel_->showState();
  preferences_->showState();
  dpOptions_->showState();
  hints_->setHintsOff(session_.panel.MnCkTurnOffHint);
}

void MainWindow::showPage(Page page) {
  tabs_->setCurrentIndex(static_cast<int>(page));
}

void MainWindow::pageChanged(int index) {
  const auto to = static_cast<Page>(index);
  if (to == memory_.current) return;
  PageServices services = pageServices();
  ChangePage(services, memory_, to);
  switch (to) {
    case Page::MainPanel:
      mainPanel_->showState();
      break;
    case Page::DirSelect:
      dirSelect_->enter(memory_);
      break;
    case Page::FileSelect:
      fileSelect_->enter(memory_);
      break;
    case Page::Preferences:
      preferences_->showState();
      break;
    case Page::DpOptions:
      dpOptions_->showState();
      break;
    default:
      break;
  }
}

void MainWindow::runningChanged(bool running) {
  mainPanel_->setRunning(running);
  // Closed before the set began: halt it at its first look at pending input (a halt requested now
  // would be cleared by the start of the set).
  if (running && closeAfterRun_) QTimer::singleShot(0, this, [this] { run_.halt(); });
  if (!running && closeAfterRun_ && !mainPanel_->starting()) startFinished();
}

void MainWindow::startFinished() {
  if (!closeAfterRun_) return;
  closeAfterRun_ = false;
  QTimer::singleShot(0, this, [this] { close(); });
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (run_.running() || mainPanel_->starting()) {
    closeAfterRun_ = true;
    if (run_.running()) run_.halt();
    event->ignore();
    return;
  }
  switch (CloseRequested(memory_)) {
    case CloseDecision::ShowMainPanel:
      showPage(Page::MainPanel);
      event->ignore();
      return;
    case CloseDecision::RunAssistantReturn: {
      const bool mayLeave =
          memory_.current == Page::DirSelect ? dirSelect_->tryReturn() : fileSelect_->tryReturn();
      if (mayLeave) showPage(Page::MainPanel);
      event->ignore();
      return;
    }
    case CloseDecision::Close:
      break;
  }
  storePlace();
  SettingsServices settings = settingsServices();
  SaveSettingsAtClose(settings, session_.settingsPath, session_.defaultSettingsPath);
  event->accept();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  takeFileDrag(event);
}

void MainWindow::dragMoveEvent(QDragMoveEvent* event) {
  takeFileDrag(event);
}

void MainWindow::dropEvent(QDropEvent* event) {
  dropFiles(event, event->position().toPoint());
}

void MainWindow::takeFileDrag(QDropEvent* event) {
  if (!run_.running() && !droppedFiles(event->mimeData()).empty()) {
    event->acceptProposedAction();
  } else {
    event->ignore();
  }
}

void MainWindow::dropFiles(QDropEvent* event, QPoint at) {
  const std::vector<std::string> names = droppedFiles(event->mimeData());
  if (run_.running() || names.empty()) {
    event->ignore();
    return;
  }
  const int oldFieldTop = mainPanel_->oldNameField()->mapTo(this, QPoint(0, 0)).y();
  PageServices services = pageServices();
  ApplyDroppedFiles(services, names, at.y() >= oldFieldTop);
  mainPanel_->showState();
  event->acceptProposedAction();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
    return QMainWindow::eventFilter(watched, event);
  // Files dragged onto a field of the Main Panel follow the window's rule (a file manager also offers
  // them as text, which the field would insert); a text alone is the field's own.
  auto* drop = static_cast<QDropEvent*>(event);
  if (droppedFiles(drop->mimeData()).empty()) return QMainWindow::eventFilter(watched, event);
  if (type == QEvent::Drop)
    dropFiles(drop, static_cast<QWidget*>(watched)->mapTo(this, drop->position().toPoint()));
  else
    takeFileDrag(drop);
  return true;
}

QString MainWindow::iniDialogDirectory() const {
  const std::filesystem::path& current =
      session_.settingsPath.empty() ? session_.defaultSettingsPath : session_.settingsPath;
  const QString directory = QString::fromStdString(current.parent_path().string());
  return !directory.isEmpty() && QDir(directory).exists() ? directory : QDir::homePath();
}

void MainWindow::loadUserIni() {
  QFileDialog dialog(this, "Load User Ini", iniDialogDirectory(), "Ini files (*.ini)");
  dialog.setObjectName("MnDlgLoadIni");
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setDefaultSuffix("ini");
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  SettingsServices settings = settingsServices();
  if (!LoadUserIni(settings, dialog.selectedFiles().front().toStdString(), session_.settingsPath)) return;
  placeAsStored();
  showAllPages();
}

void MainWindow::saveUserIni() {
  QFileDialog dialog(this, "Sv User Ini", iniDialogDirectory(), "Ini files (*.ini)");
  dialog.setObjectName("MnDlgSaveIni");
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setDefaultSuffix("ini");
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  storePlace();
  SettingsServices settings = settingsServices();
  SaveUserIni(settings, dialog.selectedFiles().front().toStdString(), session_.settingsPath);
}

void MainWindow::storePlace() {
  session_.panel.Top = y();
  session_.panel.Left = x();
  session_.panel.Width = width();
  session_.panel.Height = height();
}

void MainWindow::placeAsStored() {
  const MainPanelState& panel = session_.panel;
  if (panel.Width > 0 && panel.Height > 0) resize(panel.Width, panel.Height);
  move(panel.Left, panel.Top);
  fitToScreen(this);
}

}  // namespace kelvarine
