#pragma once

#include <Qt>

namespace tabrel::gui {

// The main window's key code (mainwin/key_codes.h) of a Qt key, or 0 for a
// key the window's key handler never sees.
int VbKeyCode(int qt_key);
// The shift argument of the key handler: 1 Shift, 2 Ctrl, 4 Alt, added up.
int VbShiftMask(Qt::KeyboardModifiers modifiers);

}  // namespace tabrel::gui
