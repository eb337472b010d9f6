#pragma once

#include <functional>
#include <string>
#include <vector>

#include "engine/host.h"

namespace kelvarine {

// A host that records what a run shows, as lines like "status: ..." or "message: ...", and lets a
// test act at each processEvents() (to raise a halt request, say).
class RecordingHost : public Host {
 public:
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

  // Recorded events, except activity toggles and processEvents calls, which are only counted.
  std::vector<std::string> events;
  std::vector<std::string> messages;
  std::vector<std::string> statusTexts;
  std::vector<int> progressPositions;
  int toggles = 0;
  int processEventsCalls = 0;
  bool answerYes = false;
  std::function<void()> onProcessEvents;

  // Events whose text starts with `prefix`.
  std::vector<std::string> eventsStartingWith(const std::string& prefix) const;
};

}  // namespace kelvarine
