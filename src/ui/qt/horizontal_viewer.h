#pragma once

#include "ui/qt/viewer_window.h"

namespace kelvarine {

// The horizontal viewer: the report line list above the Old-side line list. Opened modally over the
// dual viewer; the bottom list has no vertical scroll bar of its own and follows the top one. Esc
// closes it; it has no print, save or font size controls.
class HorizontalViewer : public ViewerWindow {
  Q_OBJECT

 public:
  static constexpr ViewerGeometry kDesign{60, 60, 980, 700};
  static constexpr int kDesignSplit = 320;  // height of the top list

  HorizontalViewer(GuiSession& session, Host& host, QWidget* parent)
      : ViewerWindow(ViewerKind::Horizontal, session, host, parent) {}
};

}  // namespace kelvarine
