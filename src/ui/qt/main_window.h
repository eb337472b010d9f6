#pragma once

#include <QMainWindow>
#include <string>

#include "ui/qt/gui_host.h"
#include "ui/qt/gui_session.h"
#include "ui/qt/run_controller.h"

namespace kelvarine {

// The main window: the seven pages as tabs over one session.
class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit MainWindow(GuiSession& session, QWidget* parent = nullptr);

  // Start of the program: loads the settings file, then the command-line names fill the name fields.
  void startUp(const std::string& newName, const std::string& oldName);

  RunController& runController() { return run_; }
  GuiHost& host() { return host_; }

 private:
  GuiSession& session_;
  GuiHost host_;
  RunController run_;
};

}  // namespace kelvarine
