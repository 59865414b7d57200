// Tabrel: starts the main window on the program folder of the user's data
// location (~/.local/share/tabrel/, or under $XDG_DATA_HOME).
#include <QAbstractItemView>
#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QMessageBox>
#include <QTimer>
#include <memory>

#include "gui/application.h"
#include "gui/main_window_widget.h"
#include "gui/qt_clipboard.h"
#include "gui/qt_dialogs.h"
#include "gui/qt_file_selector.h"
#include "gui/qt_help_viewer.h"
#include "gui/qt_printer.h"
#include "gui/qt_serial_port.h"
#include "gui/qt_shell.h"
#include "gui/system_clock.h"
#include "gui/window_geometry_keeper.h"
#include "store/app_state.h"
#include "store/documents_folder.h"
#include "store/program_folder.h"
#include "store/ui_state.h"

namespace {

// The desktop entry's name without ".desktop"; the desktop matches windows
// to their entry and icon by it.
constexpr char kDesktopId[] = "org.example.Tabrel";

// Closes the main window once its record list has been painted: with
// TABREL_QUIT_AFTER_START=1, bench/startup.sh times the whole start-up to a
// filled window on the screen.
class CloseWhenListPainted : public QObject {
 public:
  explicit CloseWhenListPainted(QWidget& window) : window_(window) {
    list_ = window.findChild<QAbstractItemView*>(QStringLiteral("MainGrid"))->viewport();
    list_->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == list_ && event->type() == QEvent::Paint) {
      list_->removeEventFilter(this);
      QTimer::singleShot(0, &window_, &QWidget::close);
    }
    return false;
  }

 private:
  QWidget& window_;
  QWidget* list_;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  tabrel::gui::ConfigureApplication();
  QApplication::setDesktopFileName(QLatin1String(kDesktopId));
  QApplication::setWindowIcon(tabrel::gui::ProgramIcon(QLatin1String(kDesktopId)));

  const tabrel::Result<std::string> folder = tabrel::ProgramFolderPath();
  const tabrel::Status made =
      folder.ok() ? tabrel::MakeProgramFolder(folder.value()) : folder.status();
  if (!made.ok()) {
    const QString what = folder.ok() ? QStringLiteral("The program folder %1 could not be created.")
                                           .arg(QFile::decodeName(folder.value().c_str()))
                                     : QStringLiteral("The program folder could not be found.");
    QMessageBox::critical(nullptr, QStringLiteral("Tabrel 3.0"),
                          what +
                              QStringLiteral("\nTabrel keeps its settings and records there.\n\n") +
                              QString::fromStdString(made.ErrorLine()));
    return 1;
  }

  tabrel::AppState state(folder.value());
  // Exports go to the documents folder; without a home folder, to the program folder.
  if (const auto documents = tabrel::DocumentsFolderPath(); documents.ok()) {
    state.export_folder = documents.value();
  }
  tabrel::gui::QtDialogs dialogs;
  tabrel::gui::QtHelpViewer help;
  tabrel::gui::SystemClock clock;
  tabrel::gui::QtFileSelector files;
  // TABREL_PRINT_TO_PDF=1 saves printouts as PDF files even when a printer
  // is installed.
  const bool pdf_only = qEnvironmentVariableIntValue("TABREL_PRINT_TO_PDF") != 0;
  tabrel::gui::QtPrinter printer(state.program_folder,
                                 pdf_only ? tabrel::gui::QtPrinter::Target::kPdfFile
                                          : tabrel::gui::QtPrinter::Target::kDefaultPrinter);
  printer.SetPdfNotice([&dialogs](const std::string& text) {
    dialogs.Show({text,
                  "Printed to PDF",
                  tabrel::MessageIcon::kInformation,
                  tabrel::MessageButtons::kOk,
                  {}});
  });
  tabrel::gui::QtClipboard clipboard;
  tabrel::gui::QtShell shell;
  // TABREL_MODEM_DEVICE names the modem's device whatever the port setting.
  tabrel::gui::QtSerialPort serial(tabrel::gui::ModemDeviceFromEnvironment());
  tabrel::Platform platform{dialogs, help, clock, files, printer, clipboard, shell, serial};
  tabrel::gui::MainWindowWidget window(state, platform);
  tabrel::gui::WindowGeometryKeeper geometry(window, state.ProgramFile(tabrel::kUiStateFileName),
                                             "main window", QSize(1200, 800));
  help.SetOwner(&window);
  window.presenter().Form_Load();
  std::unique_ptr<CloseWhenListPainted> closer;
  if (qEnvironmentVariableIntValue("TABREL_QUIT_AFTER_START") != 0) {
    closer = std::make_unique<CloseWhenListPainted>(window);
  }
  geometry.Show();
  window.activateWindow();
  return app.exec();
}
