#include "ui/window_placement.h"

#include <algorithm>
#include <iterator>

namespace kelvarine {
namespace {

constexpr int kGap = 8;

bool inside(const WindowRect& r, const WindowRect& screen) {
  return r.left >= screen.left && r.top >= screen.top && r.right() <= screen.right() &&
         r.bottom() <= screen.bottom();
}

bool overlap(const WindowRect& a, const WindowRect& b) {
  return a.left < b.right() && b.left < a.right() && a.top < b.bottom() && b.top < a.bottom();
}

// `candidate` moved down (or right) until it overlaps none of the taken windows.
WindowRect pastTaken(WindowRect candidate, const std::vector<WindowRect>& taken, bool down) {
  for (bool moved = true; moved;) {
    moved = false;
    for (const WindowRect& other : taken) {
      if (!overlap(candidate, other)) continue;
      if (down)
        candidate.top = other.bottom() + kGap;
      else
        candidate.left = other.right() + kGap;
      moved = true;
    }
  }
  return candidate;
}

// `value` moved so that [value, value + size) lies in [low, high), or to `low` when it cannot.
int clampSpan(int value, int size, int low, int high) {
  return std::max(low, std::min(value, high - size));
}

}  // namespace

WindowRect PlaceBeside(const WindowRect& owner, int width, int height, const WindowRect& screen,
                       const std::vector<WindowRect>& taken) {
  // Beside the owner, aligned with its top (left and right) or its left edge (below and above).
  const int alignedTop = clampSpan(owner.top, height, screen.top, screen.bottom());
  const int alignedLeft = clampSpan(owner.left, width, screen.left, screen.right());
  const WindowRect candidates[] = {
      {owner.right() + kGap, alignedTop, width, height},
      {owner.left - kGap - width, alignedTop, width, height},
      {alignedLeft, owner.bottom() + kGap, width, height},
      {alignedLeft, owner.top - kGap - height, width, height},
  };
  for (std::size_t side = 0; side < std::size(candidates); ++side) {
    const WindowRect candidate = pastTaken(candidates[side], taken, side < 2);
    if (inside(candidate, screen)) return candidate;
  }
  // No room beside it: over the owner's right part, its top a little below the owner's title bar,
  // and below the owner's other windows there when the screen has room for that.
  WindowRect over{owner.right() - width - kGap, owner.top + 4 * kGap, width, height};
  over.left = clampSpan(over.left, width, screen.left, screen.right());
  over.top = clampSpan(over.top, height, screen.top, screen.bottom());
  const WindowRect clear = pastTaken(over, taken, /*down=*/true);
  return inside(clear, screen) ? clear : over;
}

}  // namespace kelvarine
