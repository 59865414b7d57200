#pragma once

#include <QPointer>
#include <QWidget>
#include <string>

#include "platform/help_viewer.h"

namespace tabrel::gui {

// Remembers the help file; the help window itself comes with the help pages.
class QtHelpViewer : public HelpViewer {
 public:
  void SetHelpFile(const std::string& file_name) override { help_file_ = file_name; }
  void Close() override;

  const std::string& help_file() const { return help_file_; }

 private:
  std::string help_file_;
  QPointer<QWidget> window_;  // the open help window, if any
};

}  // namespace tabrel::gui
