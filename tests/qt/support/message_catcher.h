#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

namespace kelvarine {

// Answers the modal message boxes that appear while it lives: polls the active modal widget, records
// the text of each QMessageBox and presses its OK (or escape) button. Other modal windows are left
// alone, so a test can drive a modal viewer while the catcher waits for its messages.
class MessageCatcher : public QObject {
  Q_OBJECT

 public:
  MessageCatcher();

  const QStringList& texts() const { return texts_; }
  // The texts recorded so far, forgotten afterwards.
  QStringList take();

 private:
  void poll();

  QTimer timer_;
  QStringList texts_;
};

}  // namespace kelvarine
