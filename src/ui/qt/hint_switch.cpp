#include "ui/qt/hint_switch.h"

#include <QApplication>
#include <QEvent>
#include <QToolTip>

namespace kelvarine {

HintSwitch::HintSwitch(QObject* parent) : QObject(parent) {
  QApplication::instance()->installEventFilter(this);
}

void HintSwitch::setHintsOff(bool off) {
  off_ = off;
  if (off_) QToolTip::hideText();
}

bool HintSwitch::eventFilter(QObject* watched, QEvent* event) {
  if (off_ && event->type() == QEvent::ToolTip) return true;
  return QObject::eventFilter(watched, event);
}

}  // namespace kelvarine
