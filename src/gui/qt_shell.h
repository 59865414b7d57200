#pragma once

#include "platform/shell.h"

namespace tabrel::gui {

// Starts programs with QProcess (no command shell in between) and opens
// files with the desktop's default application.
class QtShell : public Shell {
 public:
  Status StartProgram(const std::vector<std::string>& argv) override;
  Status OpenWithDefault(const std::string& path) override;
};

}  // namespace tabrel::gui
