#pragma once

#include "ui/qt/viewer_window.h"

namespace kelvarine {

// The dual panel viewer: the report line list on the left and the Old-side line list on the right,
// side by side in a splitter, scrolling together; "HSplit" asks for the horizontal viewer.
class DualViewer : public ViewerWindow {
  Q_OBJECT

 public:
  static constexpr ViewerGeometry kDesign{40, 40, 1240, 640};
  static constexpr int kDesignSplit = 610;  // width of the left list

  DualViewer(GuiSession& session, Host& host, QWidget* parent)
      : ViewerWindow(ViewerKind::Dual, session, host, parent) {}
};

}  // namespace kelvarine
