#include "gui/clickable_label.h"

#include <QKeyEvent>
#include <QMetaMethod>
#include <QMouseEvent>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

namespace tabrel::gui {

void ClickableLabel::SetKeyboardActivation() {
  setFocusPolicy(Qt::StrongFocus);
}

bool ClickableLabel::Operable() const {
  return isSignalConnected(QMetaMethod::fromSignal(&ClickableLabel::Clicked)) ||
         isSignalConnected(QMetaMethod::fromSignal(&ClickableLabel::DoubleClicked));
}

void ClickableLabel::keyPressEvent(QKeyEvent* event) {
  if (focusPolicy() != Qt::NoFocus && event->modifiers() == Qt::NoModifier) {
    switch (event->key()) {
      case Qt::Key_Return:
      case Qt::Key_Enter:
      case Qt::Key_Space:
        emit Activated();
        return;
      case Qt::Key_Delete:
      case Qt::Key_Backspace:
        emit Cleared();
        return;
      default:
        break;
    }
  }
  QLabel::keyPressEvent(event);
}

void ClickableLabel::paintEvent(QPaintEvent* event) {
  QLabel::paintEvent(event);
  if (!hasFocus()) return;
  QStylePainter painter(this);
  QStyleOptionFocusRect frame;
  frame.initFrom(this);
  frame.rect = contentsRect().adjusted(1, 1, -1, -1);
  painter.drawPrimitive(QStyle::PE_FrameFocusRect, frame);
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event) {
  QLabel::mouseReleaseEvent(event);
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
    emit Clicked();
  }
}

void ClickableLabel::mouseDoubleClickEvent(QMouseEvent* event) {
  QLabel::mouseDoubleClickEvent(event);
  if (event->button() == Qt::LeftButton) emit DoubleClicked();
}

}  // namespace tabrel::gui
