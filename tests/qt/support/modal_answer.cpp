#include "qt/support/modal_answer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

namespace kelvarine::testing {

namespace {

// Polls every few milliseconds until a modal widget is up, then hands it to `action` once.
void pollForModal(std::function<void(QWidget*)> action, int attemptsLeft) {
  QTimer::singleShot(10, [action = std::move(action), attemptsLeft]() mutable {
    if (QWidget* modal = QApplication::activeModalWidget(); modal != nullptr && modal->isVisible()) {
      action(modal);
    } else if (attemptsLeft > 0) {
      pollForModal(std::move(action), attemptsLeft - 1);
    }
  });
}

}  // namespace

void whenModalOpens(std::function<void(QWidget*)> action) {
  pollForModal(std::move(action), 2000);
}

void answerNextMessageBox(QMessageBox::StandardButton button, QString* seenText) {
  whenModalOpens([button, seenText](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    if (box == nullptr) return;
    if (seenText != nullptr) *seenText = box->text();
    if (QAbstractButton* answer = box->button(button)) {
      answer->click();
    } else {
      box->reject();
    }
  });
}

bool waitFor(const std::function<bool()>& condition, int timeoutMs) {
  QElapsedTimer timer;
  timer.start();
  while (!condition()) {
    if (timer.elapsed() > timeoutMs) return false;
    QApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  return true;
}

}  // namespace kelvarine::testing
