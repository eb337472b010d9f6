#include "ui/qt/main_window.h"

namespace kelvarine {

MainWindow::MainWindow(GuiSession& session, QWidget* parent)
    : QMainWindow(parent), session_(session), run_(session, host_, this) {
  setWindowTitle("Kelvarn - V1.8");
}

void MainWindow::startUp(const std::string&, const std::string&) {}

}  // namespace kelvarine
