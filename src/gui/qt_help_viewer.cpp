#include "gui/qt_help_viewer.h"

namespace tabrel::gui {

void QtHelpViewer::Close() {
  if (window_) window_->close();
}

}  // namespace tabrel::gui
