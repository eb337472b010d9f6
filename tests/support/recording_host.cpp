#include "support/recording_host.h"

namespace kelvarine {

void RecordingHost::setStatusText(const std::string& text) {
  statusTexts.push_back(text);
  events.push_back("status: " + text);
}
void RecordingHost::setProgressVisible(bool visible) {
  events.push_back(visible ? "progress: shown" : "progress: hidden");
}
void RecordingHost::setProgressTitle(const std::string& title) {
  events.push_back("title: " + title);
}
void RecordingHost::setProgressPosition(int position) {
  progressPositions.push_back(position);
  events.push_back("bar: " + std::to_string(position));
}
void RecordingHost::setPercentText(const std::string& text) {
  events.push_back("percent: " + text);
}
void RecordingHost::setActivityImages(bool firstVisible, bool secondVisible) {
  events.push_back(std::string("images: ") + (firstVisible ? "1" : "0") + (secondVisible ? "1" : "0"));
}
void RecordingHost::toggleActivityImages() {
  ++toggles;
}
void RecordingHost::processEvents() {
  ++processEventsCalls;
  if (onProcessEvents) onProcessEvents();
}
void RecordingHost::showMessage(const std::string& text) {
  messages.push_back(text);
  events.push_back("message: " + text);
}
bool RecordingHost::askYesNo(const std::string& question) {
  events.push_back("question: " + question);
  return answerYes;
}
std::string RecordingHost::formatDateTime(FileStamp stamp) {
  return "stamp " + std::to_string(stamp);
}

std::vector<std::string> RecordingHost::eventsStartingWith(const std::string& prefix) const {
  std::vector<std::string> out;
  for (const auto& e : events)
    if (e.rfind(prefix, 0) == 0) out.push_back(e);
  return out;
}

}  // namespace kelvarine
