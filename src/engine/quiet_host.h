#pragma once

#include <string>

#include "engine/host.h"

namespace kelvarine {

// A host that shows nothing, halts nothing and answers every question No: for work that runs with
// no window to show it (a print preview's pages, the benchmarks). Derive to count or answer otherwise.
class QuietHost : public Host {
 public:
  void setStatusText(const std::string&) override {}
  void setProgressVisible(bool) override {}
  void setProgressTitle(const std::string&) override {}
  void setProgressPosition(int) override {}
  void setPercentText(const std::string&) override {}
  void setActivityImages(bool, bool) override {}
  void toggleActivityImages() override {}
  void processEvents() override {}
  void showMessage(const std::string&) override {}
  bool askYesNo(const std::string&) override { return false; }
  std::string formatDateTime(FileStamp) override { return {}; }
};

}  // namespace kelvarine
