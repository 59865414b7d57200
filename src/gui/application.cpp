#include "gui/application.h"

#include <QApplication>

namespace tabrel::gui {

void ConfigureApplication() {
  QApplication::setApplicationName(QStringLiteral("tabrel"));
}

}  // namespace tabrel::gui
