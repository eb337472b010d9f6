#include "ui/qt/place_beside.h"

#include <QScreen>
#include <QWidget>
#include <vector>

#include "ui/window_placement.h"

namespace kelvarine {
namespace {

WindowRect rectOf(const QRect& r) {
  return WindowRect{r.x(), r.y(), r.width(), r.height()};
}

}  // namespace

void MoveBesideOwner(QWidget& window, const QWidget& owner) {
  QScreen* screen = owner.screen();
  if (screen == nullptr) return;
  // The window manager's frame is known only for a window that is up: the owner's stands for both.
  const QSize frame = owner.frameGeometry().size() - owner.geometry().size();
  const QSize size =
      (window.testAttribute(Qt::WA_WState_Created) ? window.size() : window.sizeHint()) + frame;
  // The owner's other helper windows that are up (the legend beside the find dialog) stay in sight.
  std::vector<WindowRect> taken;
  for (const QWidget* other : owner.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    if (other != &window && other->isWindow() && other->isVisible())
      taken.push_back(rectOf(other->frameGeometry()));
  const WindowRect place = PlaceBeside(rectOf(owner.frameGeometry()), size.width(), size.height(),
                                       rectOf(screen->availableGeometry()), taken);
  window.move(place.left, place.top);  // the position of a top-level window is that of its frame
}

}  // namespace kelvarine
