#include "qt/support/message_catcher.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>

namespace kelvarine {

MessageCatcher::MessageCatcher() {
  connect(&timer_, &QTimer::timeout, this, &MessageCatcher::poll);
  timer_.start(5);
}

QStringList MessageCatcher::take() {
  QStringList taken;
  taken.swap(texts_);
  return taken;
}

void MessageCatcher::poll() {
  auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
  if (box == nullptr || !box->isVisible()) return;
  texts_ << box->text();
  // A window manager gives the activation back to the window below; the offscreen platform does not.
  QWidget* below = box->parentWidget() != nullptr ? box->parentWidget()->window() : nullptr;
  QAbstractButton* answer = box->button(QMessageBox::Ok);
  if (answer == nullptr) answer = box->escapeButton();
  if (answer != nullptr)
    answer->click();
  else
    box->reject();
  if (below != nullptr) below->activateWindow();
}

}  // namespace kelvarine
