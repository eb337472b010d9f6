#pragma once

#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "ui/qt/gui_host.h"

namespace kelvarine::testing {

// The desktop host with its message boxes replaced by a record and scripted answers, so that a test
// never waits on a box it did not expect. Events are pumped for real, so Halt can be clicked; a test
// can act at each pump.
class ScriptedHost : public GuiHost {
 public:
  void processEvents() override {
    if (onProcessEvents) onProcessEvents();
    GuiHost::processEvents();
  }
  void showMessage(const std::string& text) override {
    if (onMessage) onMessage();
    messages.push_back(text);
  }
  bool askYesNo(const std::string& question) override {
    questions.push_back(question);
    if (answers.empty()) return false;
    const bool yes = answers.front();
    answers.pop_front();
    return yes;
  }
  // The messages shown so far, forgotten afterwards.
  std::vector<std::string> takeMessages() { return std::exchange(messages, {}); }

  std::vector<std::string> messages, questions;
  std::deque<bool> answers;
  std::function<void()> onMessage, onProcessEvents;
};

}  // namespace kelvarine::testing
