// Tabrel: starts the main window on the program folder of the user's data
// location (~/.local/share/tabrel/, or under $XDG_DATA_HOME).
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QStandardPaths>

#include "gui/main_window_widget.h"
#include "gui/qt_clipboard.h"
#include "gui/qt_dialogs.h"
#include "gui/qt_file_selector.h"
#include "gui/qt_help_viewer.h"
#include "gui/qt_printer.h"
#include "gui/system_clock.h"
#include "store/app_state.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("tabrel"));
  QApplication::setApplicationDisplayName(QStringLiteral("Tabrel 3.0"));

  const QString folder =
      QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/tabrel/";
  if (!QDir().mkpath(folder)) {
    QMessageBox::critical(nullptr, QStringLiteral("Tabrel 3.0"),
                          QStringLiteral("The program folder %1 could not be created.\n"
                                         "Tabrel keeps its settings and records there.")
                              .arg(QDir::toNativeSeparators(folder)));
    return 1;
  }

  tabrel::AppState state(QFile::encodeName(folder).toStdString());
  tabrel::gui::QtDialogs dialogs;
  tabrel::gui::QtHelpViewer help;
  tabrel::gui::SystemClock clock;
  tabrel::gui::QtFileSelector files;
  tabrel::gui::QtPrinter printer;
  tabrel::gui::QtClipboard clipboard;
  tabrel::Platform platform{dialogs, help, clock, files, printer, clipboard};
  tabrel::gui::MainWindowWidget window(state, platform);
  window.presenter().Form_Load();
  window.resize(1200, 800);
  window.show();
  window.activateWindow();
  return app.exec();
}
