#pragma once

#include "ui/qt/viewer_window.h"

namespace kelvarine {

// The single panel viewer: one list over the report line list.
class SingleViewer : public ViewerWindow {
  Q_OBJECT

 public:
  // Where the window sits and how large it is when no stored geometry says otherwise.
  static constexpr ViewerGeometry kDesign{40, 40, 980, 640};

  SingleViewer(GuiSession& session, Host& host, QWidget* parent)
      : ViewerWindow(ViewerKind::Single, session, host, parent) {}
};

}  // namespace kelvarine
