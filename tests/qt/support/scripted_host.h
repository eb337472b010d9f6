#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ui/qt/gui_host.h"

namespace kelvarine::testing {

// The desktop host with its message boxes replaced by a record and every question answered No, so
// that a test never waits on a box it did not expect. Events are pumped for real, so Halt can be
// clicked; a test can act at each pump.
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
  bool askYesNo(const std::string&) override { return false; }
  std::vector<std::string> messages;
  std::function<void()> onMessage, onProcessEvents;
};

}  // namespace kelvarine::testing
