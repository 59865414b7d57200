#include "gui/vb_keys.h"

#include "present/key_codes.h"

namespace tabrel::gui {

int VbKeyCode(int qt_key) {
  // Qt numbers the letters as their capitals, like the handler does.
  if (qt_key >= Qt::Key_A && qt_key <= Qt::Key_Z) return key::kA + (qt_key - Qt::Key_A);
  if (qt_key >= Qt::Key_F1 && qt_key <= Qt::Key_F9) return key::kF1 + (qt_key - Qt::Key_F1);
  switch (qt_key) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return key::kTab;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return key::kEnter;
    case Qt::Key_Escape:
      return key::kEscape;
    case Qt::Key_Insert:
      return key::kInsert;
    case Qt::Key_Delete:
      return key::kDelete;
    // The same keys with Shift held report their shifted characters.
    case Qt::Key_Comma:
    case Qt::Key_Less:
      return key::kComma;
    case Qt::Key_Period:
    case Qt::Key_Greater:
      return key::kPeriod;
    default:
      return 0;
  }
}

int VbShiftMask(Qt::KeyboardModifiers modifiers) {
  int mask = 0;
  if (modifiers & Qt::ShiftModifier) mask |= 1;
  if (modifiers & Qt::ControlModifier) mask |= 2;
  if (modifiers & Qt::AltModifier) mask |= 4;
  return mask;
}

}  // namespace tabrel::gui
