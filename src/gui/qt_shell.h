#pragma once

#include <QString>
#include <chrono>
#include <string>

#include "platform/shell.h"

namespace tabrel::gui {

// Starts programs with QProcess (no command shell in between). Files and
// URLs go to the desktop through `opener` (xdg-open), whose exit status says
// whether the desktop had a program for them: QDesktopServices reports
// success even when there is none. An opener still running after `wait`
// has handed on (it waits for some programs to end); it is left to finish.
// Without the opener, QDesktopServices is the fall-back.
class QtShell : public Shell {
 public:
  explicit QtShell(QString opener = QStringLiteral("xdg-open"),
                   std::chrono::milliseconds wait = std::chrono::milliseconds(3000));

  Status StartProgram(const std::vector<std::string>& argv) override;
  Status OpenWithDefault(const std::string& path) override;
  Status OpenUrl(const std::string& url) override;

 private:
  Status Open(const QString& target, const std::string& shown);

  QString opener_;
  std::chrono::milliseconds wait_;
};

}  // namespace tabrel::gui
