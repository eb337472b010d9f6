#pragma once

#include <string>

#include "engine/host.h"
#include "ui/report_stamp.h"

class QLabel;
class QProgressBar;
class QString;
class QWidget;

namespace kelvarine {

// The desktop program's surroundings of a run: the main panel's status and progress display, modal
// message and question boxes over the active window, and Qt's event loop pumped where the engine lets
// pending input run (that is where a click on Halt sets app.StopRequested).
class GuiHost : public Host {
 public:
  // The main panel's widgets that a run writes to; any may be null (nothing is shown there).
  struct Display {
    QLabel* status = nullptr;
    QLabel* progressTitle = nullptr;
    QProgressBar* progressBar = nullptr;
    QLabel* percent = nullptr;
    QWidget* activity1 = nullptr;
    QWidget* activity2 = nullptr;
    QWidget* dialogParent = nullptr;  // message boxes go over the active window, else over this one
  };

  GuiHost() = default;
  void setDisplay(const Display& display) { display_ = display; }

  // The status panel's current text.
  const std::string& statusText() const { return statusText_; }

  void setStatusText(const std::string& text) override;
  void setProgressVisible(bool visible) override;
  void setProgressTitle(const std::string& title) override;
  void setProgressPosition(int position) override;
  void setPercentText(const std::string& text) override;
  void setActivityImages(bool firstVisible, bool secondVisible) override;
  void toggleActivityImages() override;
  void processEvents() override;
  void showMessage(const std::string& text) override;
  bool askYesNo(const std::string& question) override;
  std::string formatDateTime(FileStamp stamp) override;

 private:
  QWidget* dialogParent() const;

  Display display_;
  std::string statusText_;
  LocaleDateTime dates_;
};

// A report or message text for display: UTF-8, or Latin-1 when it is not valid UTF-8; a CR (the line
// break of message texts) becomes a line feed.
QString DisplayText(const std::string& bytes);

}  // namespace kelvarine
