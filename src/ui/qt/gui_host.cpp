#include "ui/qt/gui_host.h"
#include "ui/utf8_text.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>

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

void GuiHost::setStatusText(const std::string& text) {
  statusText_ = text;
  if (display_.status != nullptr) display_.status->setText(DisplayText(text));
}

void GuiHost::setProgressVisible(bool visible) {
  for (QWidget* widget :
       {static_cast<QWidget*>(display_.progressTitle), static_cast<QWidget*>(display_.progressBar),
        static_cast<QWidget*>(display_.percent)}) {
    if (widget != nullptr) widget->setVisible(visible);
  }
}

void GuiHost::setProgressTitle(const std::string& title) {
  if (display_.progressTitle != nullptr) display_.progressTitle->setText(DisplayText(title));
}

void GuiHost::setProgressPosition(int position) {
  if (display_.progressBar != nullptr) display_.progressBar->setValue(position);
}

void GuiHost::setPercentText(const std::string& text) {
  if (display_.percent != nullptr) display_.percent->setText(DisplayText(text));
}

void GuiHost::setActivityImages(bool firstVisible, bool secondVisible) {
  if (display_.activity1 != nullptr) display_.activity1->setVisible(firstVisible);
  if (display_.activity2 != nullptr) display_.activity2->setVisible(secondVisible);
}

void GuiHost::toggleActivityImages() {
  if (display_.activity1 != nullptr) display_.activity1->setVisible(!display_.activity1->isVisible());
  if (display_.activity2 != nullptr) display_.activity2->setVisible(!display_.activity2->isVisible());
}

void GuiHost::processEvents() {
  // Paints the progress and delivers clicks; Halt's handler sets app_.StopRequested, which the run
  // polls after this returns.
  QApplication::processEvents(QEventLoop::AllEvents, 20);
}

QWidget* GuiHost::dialogParent() const {
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  if (QWidget* active = QApplication::activeWindow()) return active;
  return display_.dialogParent;
}

void GuiHost::showMessage(const std::string& text) {
  QMessageBox box(QMessageBox::Information, QApplication::applicationName(), DisplayText(text),
                  QMessageBox::Ok, dialogParent());
  box.exec();
}

bool GuiHost::askYesNo(const std::string& question) {
  QMessageBox box(QMessageBox::Question, QApplication::applicationName(), DisplayText(question),
                  QMessageBox::Yes | QMessageBox::No, dialogParent());
  box.setDefaultButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

std::string GuiHost::formatDateTime(FileStamp stamp) {
  return dates_.format(stamp);
}

}  // namespace kelvarine
