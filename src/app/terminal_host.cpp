#include "app/terminal_host.h"

#include <csignal>

namespace kelvarine {

namespace {

// Set by the SIGINT handler. A signal handler can only reach state like this, so it is the one
// process-wide flag; the host reads it in processEvents().
volatile std::sig_atomic_t interruptSignalled = 0;

extern "C" void onInterrupt(int) {
  interruptSignalled = 1;
}

// Message texts break lines with CR (or CR LF); on a terminal a bare CR would overwrite the line.
std::string terminalLines(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      out += '\n';
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

}  // namespace

TerminalHost::TerminalHost(AppState& app, std::FILE* stream, Settings settings)
    : app_(app), stream_(stream), settings_(settings) {}

TerminalHost::~TerminalHost() {
  clearProgress();
}

void TerminalHost::InstallInterruptHandler() {
  struct sigaction current {};
  if (sigaction(SIGINT, nullptr, &current) == 0 && current.sa_handler == SIG_IGN) return;
  struct sigaction action {};
  action.sa_handler = onInterrupt;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESETHAND;  // the handler serves once: a second Ctrl-C ends the program
  sigaction(SIGINT, &action, nullptr);
}

bool TerminalHost::haltRequested() const {
  return haltRequested_ || interruptSignalled != 0;
}

void TerminalHost::writeLine(const std::string& text) {
  clearProgress();
  std::fputs(text.c_str(), stream_);
  std::fputc('\n', stream_);
  std::fflush(stream_);
}

void TerminalHost::setStatusText(const std::string& text) {
  statusText_ = text;
}

void TerminalHost::setProgressVisible(bool visible) {
  progressVisible_ = visible;
  if (visible) {
    drawProgress();
  } else {
    clearProgress();
  }
}

void TerminalHost::setProgressTitle(const std::string& title) {
  // "Dir.Progress" starts the next pair; "File Progress" follows the percentage of the current file.
  if (title == "File Progress") {
    filePercent_ = pendingPercent_;
  } else {
    filePercent_.clear();
    pendingPercent_.clear();
  }
  drawProgress();
}

void TerminalHost::setProgressPosition(int) {
  drawProgress();
}

void TerminalHost::setPercentText(const std::string& text) {
  pendingPercent_ = text;
}

void TerminalHost::setActivityImages(bool, bool) {}

void TerminalHost::toggleActivityImages() {}

void TerminalHost::processEvents() {
  if (haltRequested()) app_.StopRequested = true;
}

void TerminalHost::showMessage(const std::string& text) {
  writeLine(terminalLines(text));
}

bool TerminalHost::askYesNo(const std::string& question) {
  writeLine(terminalLines(question));
  writeLine(settings_.answerYes ? "Answered Yes (--yes)." : "Answered No (give --yes to answer Yes).");
  return settings_.answerYes;
}

std::string TerminalHost::formatDateTime(FileStamp stamp) {
  return dates_.format(stamp);
}

void TerminalHost::drawProgress() {
  if (!settings_.showProgress || !progressVisible_ || app_.PairCount <= 0) return;
  const auto index = static_cast<std::size_t>(app_.CurrentPairIndex);
  std::string text =
      "pair " + std::to_string(app_.CurrentPairIndex + 1) + " of " + std::to_string(app_.PairCount);
  if (index < app_.NewFileList.size()) {
    // Kept short enough for one terminal line, which the next redraw can clear.
    constexpr std::size_t kNameShown = 48;
    const std::string& name = app_.NewFileList[index];
    text += name.size() <= kNameShown ? " " + name : " ..." + name.substr(name.size() - (kNameShown - 3));
  }
  if (!filePercent_.empty()) text += "  file " + filePercent_;
  if (text == drawn_) return;
  std::fprintf(stream_, "\r%s\033[K", text.c_str());
  std::fflush(stream_);
  drawn_ = text;
}

void TerminalHost::clearProgress() {
  if (drawn_.empty()) return;
  std::fputs("\r\033[K", stream_);
  std::fflush(stream_);
  drawn_.clear();
}

}  // namespace kelvarine
