#include "gui/qt_file_selector.h"

#include <QFileDialog>

namespace tabrel::gui {

std::optional<FileChoice> QtFileSelector::Select(const std::string& start_folder,
                                                 const std::string& /*pattern*/) {
  const QString folder = QFileDialog::getExistingDirectory(
      nullptr, QStringLiteral(" File Selector"), QString::fromUtf8(start_folder.c_str()));
  if (folder.isEmpty()) return std::nullopt;
  return FileChoice{folder.toStdString() + "/", ""};
}

}  // namespace tabrel::gui
