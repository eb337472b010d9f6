#include "ui/qt/gui_host.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>

#include "ui/qt/activity_icon.h"
#include "ui/utf8_text.h"

namespace kelvarine {

QString DisplayText(const std::string& bytes) {
  // The same rule as the saved reports' characters, so that a line reads alike on screen and on file.
  const auto size = static_cast<qsizetype>(bytes.size());
  QString text =
      IsValidUtf8(bytes) ? QString::fromUtf8(bytes.data(), size) : QString::fromLatin1(bytes.data(), size);
  text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return text;
}

GuiHost::GuiHost() {
  showTimer_.setSingleShot(true);
  showTimer_.callOnTimeout([this] { showNow(); });
}

void GuiHost::setDisplay(const Display& display) {
  display_ = display;
  changed_ = kStatus | kProgressVisible | kTitle | kPosition | kPercent | kActivity;
  showNow();
}

void GuiHost::changed(unsigned what) {
  changed_ |= what;
  if (showTimer_.isActive()) return;
  // Shown by the timer, which fires in the next event-loop pass once the interval is over (the pass
  // of processEvents() during a run, the main loop after it).
  const auto sinceShow = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - lastShow_);
  showTimer_.start(std::max(std::chrono::milliseconds(0), kShowInterval - sinceShow));
}

void GuiHost::showNow() {
  showTimer_.stop();
  lastShow_ = Clock::now();
  const unsigned what = changed_;
  changed_ = 0;
  if ((what & kStatus) != 0 && display_.status != nullptr) display_.status->setText(DisplayText(statusText_));
  if ((what & kProgressVisible) != 0) {
    for (QWidget* widget :
         {static_cast<QWidget*>(display_.progressTitle), static_cast<QWidget*>(display_.progressBar),
          static_cast<QWidget*>(display_.percent)}) {
      if (widget != nullptr) widget->setVisible(progressVisible_);
    }
  }
  if ((what & kTitle) != 0 && display_.progressTitle != nullptr)
    display_.progressTitle->setText(DisplayText(progressTitle_));
  if ((what & kPosition) != 0 && display_.progressBar != nullptr)
    display_.progressBar->setValue(progressPosition_);
  if ((what & kPercent) != 0 && display_.percent != nullptr)
    display_.percent->setText(DisplayText(percentText_));
  if ((what & kActivity) != 0 && display_.activity != nullptr)
    display_.activity->show(activityVisible_, activityPhase_);
}

void GuiHost::setStatusText(const std::string& text) {
  if (text == statusText_) return;
  statusText_ = text;
  changed(kStatus);
}

void GuiHost::setProgressVisible(bool visible) {
  progressVisible_ = visible;
  changed(kProgressVisible);
}

void GuiHost::setProgressTitle(const std::string& title) {
  if (title == progressTitle_) return;
  progressTitle_ = title;
  changed(kTitle);
}

void GuiHost::setProgressPosition(int position) {
  if (position == progressPosition_) return;
  progressPosition_ = position;
  changed(kPosition);
}

void GuiHost::setPercentText(const std::string& text) {
  if (text == percentText_) return;
  percentText_ = text;
  changed(kPercent);
}

void GuiHost::setActivityImages(bool firstVisible, bool secondVisible) {
  // One ring in one place: the first image when it is shown, else the second.
  activityVisible_ = firstVisible || secondVisible;
  activityPhase_ = firstVisible ? 0 : 1;
  changed(kActivity);
}

void GuiHost::toggleActivityImages() {
  // Each toggle shows the other image; a run's first toggle starts the animation.
  activityVisible_ = true;
  activityPhase_ = 1 - activityPhase_;
  changed(kActivity);
}

void GuiHost::processEvents() {
  // Paints the progress and delivers clicks; Halt's handler sets app_.StopRequested, which the run
  // polls after this returns. A pass only every kPumpInterval (the engine calls this far more often),
  // and one pass over what is pending: a bounded loop of passes kept the run waiting on the window.
  const Clock::time_point now = Clock::now();
  if (now - lastPump_ < kPumpInterval) return;
  lastPump_ = now;
  QApplication::processEvents(QEventLoop::AllEvents);
}

QWidget* GuiHost::dialogParent() const {
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  if (QWidget* active = QApplication::activeWindow()) return active;
  return display_.dialogParent;
}

void GuiHost::showMessage(const std::string& text) {
  showNow();
  QMessageBox box(QMessageBox::Information, QApplication::applicationName(), DisplayText(text),
                  QMessageBox::Ok, dialogParent());
  box.exec();
}

bool GuiHost::askYesNo(const std::string& question) {
  showNow();
  QMessageBox box(QMessageBox::Question, QApplication::applicationName(), DisplayText(question),
                  QMessageBox::Yes | QMessageBox::No, dialogParent());
  box.setDefaultButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

std::string GuiHost::formatDateTime(FileStamp stamp) {
  return dates_.format(stamp);
}

}  // namespace kelvarine
