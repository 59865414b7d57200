#pragma once

#include <QPointer>
#include <QWidget>
#include <string>

#include "platform/help_viewer.h"

namespace tabrel::gui {

class HelpWindow;

// Opens one help window, made on first use as a window of the owner (the
// main window), so that it closes with the owner and never keeps the
// program running on its own.
class QtHelpViewer : public HelpViewer {
 public:
  // The main window, once it exists; until then help has no window to show.
  void SetOwner(QWidget* owner) { owner_ = owner; }

  void ShowContents() override;
  void ShowTopic(const std::string& topic_id) override;
  void Close() override;

  // Null until help is first shown.
  HelpWindow* Window() const;

 private:
  QPointer<QWidget> owner_;
  QPointer<HelpWindow> window_;
};

}  // namespace tabrel::gui
