#pragma once

class QWidget;

namespace kelvarine {

// Moves the top-level `window` (the legend, a find dialog) beside `owner` and onto the available
// geometry of the owner's screen, by PlaceBeside, clear of the owner's other open windows. A window
// shown before keeps its size; one never shown is placed at its size hint. Frame sizes are taken from
// the owner's frame.
void MoveBesideOwner(QWidget& window, const QWidget& owner);

}  // namespace kelvarine
