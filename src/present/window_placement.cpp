#include "present/window_placement.h"

#include <algorithm>

namespace tabrel {
namespace {

// The top strip of a window that must be on a screen: tall enough for a
// title bar, and at least this wide where the window is wider.
constexpr int kGrabHeight = 32;
constexpr int kGrabWidth = 100;

bool TopEdgeOn(const WindowGeometry& window, const ScreenArea& screen) {
  const int left = std::max(window.x, screen.x);
  const int right = std::min(window.x + window.width, screen.x + screen.width);
  const bool wide_enough = right - left >= std::min(window.width, kGrabWidth);
  const bool top_inside =
      window.y >= screen.y && window.y + kGrabHeight <= screen.y + screen.height;
  return wide_enough && top_inside;
}

}  // namespace

WindowPlacement PlaceWindow(const std::optional<WindowGeometry>& saved,
                            std::span<const ScreenArea> screens, int default_width,
                            int default_height) {
  WindowPlacement placement{std::nullopt, std::nullopt, default_width, default_height, false};
  const ScreenArea* screen = screens.empty() ? nullptr : &screens.front();
  if (saved) {
    placement.width = saved->width;
    placement.height = saved->height;
    placement.maximized = saved->maximized;
    const auto on = std::find_if(screens.begin(), screens.end(),
                                 [&](const ScreenArea& area) { return TopEdgeOn(*saved, area); });
    if (on != screens.end()) {
      placement.x = saved->x;
      placement.y = saved->y;
      screen = &*on;
    }
  }
  if (screen != nullptr && screen->width > 0 && screen->height > 0) {
    placement.width = std::min(placement.width, screen->width);
    placement.height = std::min(placement.height, screen->height);
  }
  return placement;
}

}  // namespace tabrel
