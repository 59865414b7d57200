#include "gui/qt_help_viewer.h"

#include "gui/help_window.h"
#include "help/help_topics.h"

namespace tabrel::gui {

void QtHelpViewer::ShowContents() {
  ShowTopic(std::string(kHelpContentsId));
}

void QtHelpViewer::ShowTopic(const std::string& topic_id) {
  if (!owner_) return;
  if (!window_) window_ = new HelpWindow(owner_);
  window_->ShowTopic(topic_id);
  window_->show();
  window_->raise();
  window_->activateWindow();
}

void QtHelpViewer::Close() {
  if (window_) window_->close();
}

HelpWindow* QtHelpViewer::Window() const {
  return window_;
}

}  // namespace tabrel::gui
