#include "gui/qt_file_selector.h"

#include <QApplication>
#include <QFile>

#include "gui/file_selector_dialog.h"

namespace tabrel::gui {

std::optional<FileChoice> QtFileSelector::Select(const std::string& start_folder,
                                                 const std::string& pattern,
                                                 const std::string& caption) {
  FileSelectorDialog dialog(QFile::decodeName(QByteArray::fromStdString(start_folder)),
                            QString::fromStdString(pattern), QApplication::activeWindow());
  dialog.setWindowTitle(QString::fromStdString(caption));
  dialog.exec();
  return dialog.Choice();
}

}  // namespace tabrel::gui
