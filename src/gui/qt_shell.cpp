#include "gui/qt_shell.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStringList>
#include <QUrl>

namespace tabrel::gui {
namespace {

QString Q(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

Status QtShell::StartProgram(const std::vector<std::string>& argv) {
  if (argv.empty()) return Status::Error(error_number::kFileNotFound, "No program is named.");
  QStringList arguments;
  for (std::size_t i = 1; i < argv.size(); ++i) arguments << Q(argv[i]);
  if (!QProcess::startDetached(Q(argv[0]), arguments)) {
    return Status::Error(error_number::kFileNotFound,
                         "The program " + argv[0] + " could not be started.");
  }
  return Status::Ok();
}

Status QtShell::OpenWithDefault(const std::string& path) {
  if (!QDesktopServices::openUrl(QUrl::fromLocalFile(Q(path)))) {
    return Status::Error(error_number::kFileNotFound,
                         "No program to open " + path + " was found on this desktop.");
  }
  return Status::Ok();
}

}  // namespace tabrel::gui
