#pragma once

#include <QObject>
#include <QRect>

class QScrollArea;
class QWidget;

namespace kelvarine {

// Windows that fit the screen they are on at any scale: content that cannot shrink scrolls, and no
// window is larger than the screen's available area or placed beyond it.

// A scroll area over `content` that asks for the content's whole size (a window opens as large as its
// content wants where the screen has room) but shrinks to a few lines, scrolling then.
QScrollArea* makeScrollable(QWidget* content, QWidget* parent = nullptr);

// A scroll area over a row of controls (`content`) that scrolls sideways only: as wide as the row
// wants where there is room, narrower with a horizontal scroll bar where the window cannot be that wide.
QScrollArea* makeSideScrollable(QWidget* content, QWidget* parent = nullptr);

// The available area (without panels and docks) of the screen that the window's middle lies on, or of
// its own screen.
QRect availableArea(const QWidget* window);

// Sizes the top-level `window` (its frame included) to at most the available area, starting from its
// size hint when nothing sized it yet, and moves it so that its frame lies inside the area. A window
// that fits where it is stays where it is (so that the window manager may still place a new one).
void fitToScreen(QWidget* window);

// Keeps every window of the program on the screen: installed on the application, it fits each
// top-level window and dialog as the program shows it (popups and tool tips place themselves).
class ScreenFitter : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace kelvarine
