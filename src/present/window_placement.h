#pragma once

#include <optional>
#include <span>

#include "store/ui_state.h"

namespace tabrel {

// A rectangle of the desktop in pixels: the part of one screen that windows
// may use (without panels and docks).
struct ScreenArea {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// Where and how large a window opens. Without a position the window
// manager places it.
struct WindowPlacement {
  std::optional<int> x;
  std::optional<int> y;
  int width = 0;
  int height = 0;
  bool maximized = false;

  bool operator==(const WindowPlacement&) const = default;
};

// The saved geometry when it still fits the screens, else the default size.
// A saved position is kept only while the window's top edge, where it is
// grabbed to move it, lies on one of `screens`; otherwise the window
// manager places the window. The size is cut to the screen it opens on (the
// first screen when the position was dropped) so that no edge is out of
// reach.
WindowPlacement PlaceWindow(const std::optional<WindowGeometry>& saved,
                            std::span<const ScreenArea> screens, int default_width,
                            int default_height);

}  // namespace tabrel
