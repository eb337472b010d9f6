#include "support/recording_host.h"

namespace kelvarine {

void RecordingHost::setActivityImages(bool firstVisible, bool secondVisible) {
  events.push_back(std::string("images: ") + (firstVisible ? "1" : "0") + (secondVisible ? "1" : "0"));
}

void RecordingHost::processEvents() {
  ++processEventsCalls;
  if (onProcessEvents) onProcessEvents();
}

std::vector<std::string> RecordingHost::eventsStartingWith(const std::string& prefix) const {
  std::vector<std::string> out;
  for (const auto& e : events)
    if (e.rfind(prefix, 0) == 0) out.push_back(e);
  return out;
}

}  // namespace kelvarine
