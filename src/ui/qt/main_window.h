#pragma once

#include <QMainWindow>
#include <memory>
#include <string>

#include "ui/settings_file.h"
#include "ui/page_state.h"
#include "ui/qt/gui_host.h"
#include "ui/qt/gui_session.h"
#include "ui/qt/run_controller.h"

class QTabWidget;

namespace kelvarine {

class AboutPage;
class DirSelectPage;
class DpOptionsPage;
class FileSelectPage;
class GuiSelectionWindows;
class HintSwitch;
class MainPanelPage;
class OverViewPage;
class PreferencesPage;
class ReportViewers;

// The main window: the seven pages as tabs over one session. Closing it on the Main Panel saves the
// settings (unless bypassed); on another page it goes back to the Main Panel instead; while Start is
// busy it halts the run (or the run about to begin) and closes once Start's flow has returned.
class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit MainWindow(GuiSession& session, QWidget* parent = nullptr);
  ~MainWindow() override;

  // Start of the program: loads the settings file, then the command-line names fill the name fields
  // (letter case kept); the window takes its saved position and size, on the screen, and every page
  // shows the session. The report viewers and the selection windows are made here, after the
  // settings they read.
  void startUp(const std::string& newName, const std::string& oldName);

  RunController& runController() { return run_; }
  GuiHost& host() { return host_; }

  Page currentPage() const { return memory_.current; }
  // Switches to `page`, with the page-change steps.
  void showPage(Page page);
  // Shows the session on every page again (after the settings were loaded).
  void showAllPages();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  PageServices pageServices();
  SettingsServices settingsServices();
  // A drag of local files is taken unless a run is on; a drop of them at `at` (window coordinates)
  // sets the names by the window's rule.
  void takeFileDrag(QDropEvent* event);
  void dropFiles(QDropEvent* event, QPoint at);
  void pageChanged(int index);
  void runningChanged(bool running);
  void startFinished();
  void loadUserIni();
  void saveUserIni();
  // The window's position and size into the settings, and back from them (kept on the screen).
  void storePlace();
  void placeAsStored();
  QString iniDialogDirectory() const;

  GuiSession& session_;
  GuiHost host_;
  RunController run_;
  HintSwitch* hints_ = nullptr;
  PageMemory memory_;
  bool closeAfterRun_ = false;  // the window was closed while Start was busy: close once it is done

  QTabWidget* tabs_ = nullptr;
  MainPanelPage* mainPanel_ = nullptr;
  DirSelectPage* dirSelect_ = nullptr;
  FileSelectPage* fileSelect_ = nullptr;
  PreferencesPage* preferences_ = nullptr;
  DpOptionsPage* dpOptions_ = nullptr;
  AboutPage* about_ = nullptr;
  OverViewPage* overView_ = nullptr;
  std::unique_ptr<ReportViewers> viewers_;
  std::unique_ptr<GuiSelectionWindows> selectionWindows_;
};

}  // namespace kelvarine
