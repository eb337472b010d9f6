#pragma once

#include <QTimer>
#include <chrono>
#include <string>

#include "engine/host.h"
#include "ui/report_stamp.h"

class QLabel;
class QProgressBar;
class QString;
class QWidget;

namespace kelvarine {

class ActivityIcon;

// The desktop program's surroundings of a run: the main panel's status and progress display, modal
// message and question boxes over the active window, and Qt's event loop pumped where the engine lets
// pending input run (that is where a click on Halt sets app.StopRequested).
//
// The engine sets its status and progress thousands of times a second on a big file; painting each
// would make the window, not the compare, the cost of a run. So what the engine sets is stored at once
// and shown at most every kShowInterval, and the event loop is pumped at most every kPumpInterval:
// often enough for Halt to answer within a tenth of a second.
class GuiHost : public Host {
 public:
  static constexpr std::chrono::milliseconds kShowInterval{50};
  static constexpr std::chrono::milliseconds kPumpInterval{30};

  // The main panel's widgets that a run writes to; any may be null (nothing is shown there).
  struct Display {
    QLabel* status = nullptr;
    QLabel* progressTitle = nullptr;
    QProgressBar* progressBar = nullptr;
    QLabel* percent = nullptr;
    ActivityIcon* activity = nullptr;  // the two activity images, shown in turn in one place
    QWidget* dialogParent = nullptr;   // message boxes go over the active window, else over this one
  };

  GuiHost();
  void setDisplay(const Display& display);

  // The status panel's current text (as last set, whether or not it has reached the screen yet).
  const std::string& statusText() const { return statusText_; }
  // Shows what was set and not shown yet (a run's end, a message box about to open).
  void showNow();

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
  using Clock = std::chrono::steady_clock;
  enum Changed : unsigned {
    kStatus = 1,
    kProgressVisible = 2,
    kTitle = 4,
    kPosition = 8,
    kPercent = 16,
    kActivity = 32
  };

  QWidget* dialogParent() const;
  void changed(unsigned what);

  Display display_;
  std::string statusText_;
  bool progressVisible_ = false;
  std::string progressTitle_;
  int progressPosition_ = 0;
  std::string percentText_;
  bool activityVisible_ = false;
  int activityPhase_ = 0;  // 0: the first image, 1: the second
  unsigned changed_ = 0;   // what was set since the last show
  QTimer showTimer_;       // shows the changes once kShowInterval has passed since the last show
  Clock::time_point lastShow_{};
  Clock::time_point lastPump_{};
  LocaleDateTime dates_;
};

// A report or message text for display: UTF-8, or Latin-1 when it is not valid UTF-8; a CR (the line
// break of message texts) becomes a line feed.
QString DisplayText(const std::string& bytes);

}  // namespace kelvarine
