#include "gui/busy_cursor.h"

#include <QApplication>

namespace tabrel::gui {

void SetBusyCursor(bool& shown, bool busy) {
  if (busy == shown) return;
  shown = busy;
  if (busy) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
  } else {
    QApplication::restoreOverrideCursor();
  }
}

}  // namespace tabrel::gui
