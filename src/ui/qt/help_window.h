#pragma once

#include <QDialog>
#include <filesystem>
#include <vector>

class QTextBrowser;

namespace kelvarine {

// Where the help file "Brisolan.hlp" is looked for, in order: installed under <exe dir>/../share/kelvarine,
// beside the program, and in the source tree's data directory (a program run from its build directory).
std::vector<std::filesystem::path> HelpFileCandidates();
// The first candidate that exists; empty when none does.
std::filesystem::path FindHelpFile();

// The help window: the help file's text, read only. When no help file is found it says so, naming the
// places looked at.
class HelpWindow : public QDialog {
  Q_OBJECT

 public:
  explicit HelpWindow(QWidget* parent = nullptr);

  // Reads the help file again and shows it.
  void reload();

 private:
  QTextBrowser* text_ = nullptr;
};

}  // namespace kelvarine
