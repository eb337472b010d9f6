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
  void setStatusText(const std::string& text) override {
    statusTexts.push_back(text);
    events.push_back("status: " + text);
  }
  void setProgressVisible(bool visible) override {
    events.push_back(visible ? "progress: shown" : "progress: hidden");
  }
  void setProgressTitle(const std::string& title) override { events.push_back("title: " + title); }
  void setProgressPosition(int position) override {
    progressPositions.push_back(position);
    events.push_back("bar: " + std::to_string(position));
  }
  void setPercentText(const std::string& text) override { events.push_back("percent: " + text); }
  void setActivityImages(bool firstVisible, bool secondVisible) override;
  void toggleActivityImages() override { ++toggles; }
  void processEvents() override;
  void showMessage(const std::string& text) override {
    messages.push_back(text);
    events.push_back("message: " + text);
  }
  bool askYesNo(const std::string& question) override {
    events.push_back("question: " + question);
    return answerYes;
  }
  std::string formatDateTime(FileStamp stamp) override { return "stamp " + std::to_string(stamp); }

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
