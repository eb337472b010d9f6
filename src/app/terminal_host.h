#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "engine/app_state.h"
#include "engine/host.h"
#include "ui/report_stamp.h"

namespace kelvarine {

// The command line's surroundings: messages, questions and the progress display go to a stream
// (standard error); Ctrl-C is the Halt button.
class TerminalHost : public Host {
 public:
  struct Settings {
    bool showProgress = false;  // draw "pair n of m NAME" and the file percentage, redrawn in place
    bool answerYes = false;     // questions are answered Yes instead of No
  };

  TerminalHost(AppState& app, std::FILE* stream, Settings settings);
  ~TerminalHost() override;
  TerminalHost(const TerminalHost&) = delete;
  TerminalHost& operator=(const TerminalHost&) = delete;

  // Makes Ctrl-C (SIGINT) a halt request that the next processEvents() passes to the run; a second
  // Ctrl-C ends the program at once. Leaves SIGINT alone when it is ignored on entry.
  static void InstallInterruptHandler();

  // Raises a halt request, as Ctrl-C does.
  void requestHalt() { haltRequested_ = true; }
  // A halt was requested (by requestHalt() or Ctrl-C).
  bool haltRequested() const;

  // Writes one line to the stream below the progress display.
  void writeLine(const std::string& text);
  // The status panel's current text (the stream shows it only as the run's returned status).
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
  void drawProgress();
  void clearProgress();

  AppState& app_;
  std::FILE* stream_;
  Settings settings_;
  bool haltRequested_ = false;
  std::string statusText_;
  bool progressVisible_ = false;
  std::string pendingPercent_;  // the percentage last given, before its title says whose it is
  std::string filePercent_;     // the current file's percentage, empty until it is known
  std::string drawn_;           // the progress text on screen, empty when none
  LocaleDateTime dates_;
};

}  // namespace kelvarine
