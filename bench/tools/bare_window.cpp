// tabrel_bare_window: the least a Qt program does to show one empty main
// window and end, the yardstick bench/startup.sh times Tabrel's start-up by.
#include <QApplication>
#include <QMainWindow>
#include <QTimer>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QMainWindow window;
  window.resize(1200, 800);
  window.show();
  window.activateWindow();
  // Closed as Tabrel is under TABREL_QUIT_AFTER_START: when the loop runs.
  QTimer::singleShot(0, &window, &QWidget::close);
  return app.exec();
}
