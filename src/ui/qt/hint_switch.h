#pragma once

#include <QObject>

namespace kelvarine {

// Turns the hints (tool tips) of the whole program off and on: while off, it swallows every tool-tip
// request the application delivers. It filters the application's events for as long as it lives.
class HintSwitch : public QObject {
  Q_OBJECT

 public:
  explicit HintSwitch(QObject* parent = nullptr);

  void setHintsOff(bool off);
  bool hintsOff() const { return off_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool off_ = false;
};

}  // namespace kelvarine
