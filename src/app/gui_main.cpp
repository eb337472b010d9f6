// kelvarine: the desktop program. Loads the settings, takes up to two names from the command line and
// shows the main window; the settings are saved when the window closes.

#include <QApplication>
#include <QIcon>
#include <clocale>
#include <cstring>
#include <filesystem>
#include <iostream>

#include "app/posix_file_system.h"
#include "kelvarine_version.h"
#include "ui/qt/gui_session.h"
#include "ui/qt/help_window.h"
#include "ui/qt/main_window.h"

namespace {

bool hasSwitch(int argc, char** argv, const char* name) {
  for (int i = 1; i < argc; ++i)
    if (std::strcmp(argv[i], name) == 0) return true;
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  std::setlocale(LC_ALL, "");
  std::setlocale(LC_NUMERIC, "C");  // Qt needs the C number format
  QApplication::setApplicationName("Kelvarn - V1.8");
  QApplication::setApplicationVersion(KELVARINE_VERSION);
  QApplication::setWindowIcon(QIcon::fromTheme("kelvarine"));  // the installed icon theme's entry

  // "--help-file-path": the help file this program shows, for installation checks; nothing else runs.
  if (hasSwitch(argc, argv, "--help-file-path")) {
    const std::filesystem::path help = kelvarine::FindHelpFile();
    if (help.empty()) {
      std::cerr << "kelvarine: help file Brisolan.hlp not found\n";
      return 1;
    }
    std::cout << help.string() << '\n';
    return 0;
  }

  kelvarine::PosixFileSystem files;
  kelvarine::GuiSession session(files);
  const QStringList arguments = QApplication::arguments();
  const std::string newName = arguments.size() > 1 ? arguments[1].toStdString() : std::string();
  const std::string oldName = arguments.size() > 2 ? arguments[2].toStdString() : std::string();
  kelvarine::MainWindow window(session);
  window.startUp(newName, oldName);
  window.show();
  return QApplication::exec();
}
