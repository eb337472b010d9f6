#pragma once

#include <vector>

namespace kelvarine {

// A window's outer frame, or a screen's available area, in pixels.
struct WindowRect {
  int left = 0, top = 0, width = 0, height = 0;
  int right() const { return left + width; }
  int bottom() const { return top + height; }
};

// Where a helper window (the legend, the find dialog) of `width` x `height`, frame included, goes
// beside its `owner`: to the right of it, else to the left, else below, else above, whichever lies
// wholly on `screen`, moved further down (right and left) or right (below and above) past the
// windows already `taken` there; when none does, over the owner's right edge (below the taken ones
// when they leave room). The result is moved
// onto `screen`, its top-left corner kept on it in any case so that the title bar can be reached.
WindowRect PlaceBeside(const WindowRect& owner, int width, int height, const WindowRect& screen,
                       const std::vector<WindowRect>& taken = {});

}  // namespace kelvarine
