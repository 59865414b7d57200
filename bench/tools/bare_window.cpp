// tabrel_bare_window: the least a Qt program does to show one empty main
// window and end, the yardstick bench/startup.sh times Tabrel's start-up by.
// With --text the window shows one line of text, so that the fonts are
// found and loaded too, as in every program that shows text.
#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QMainWindow>
#include <QTimer>
#include <cstring>

namespace {

// Closes the window once it has been painted, as Tabrel does under
// TABREL_QUIT_AFTER_START once its list is: both are timed to a window on
// the screen, not to a window only asked for.
class CloseWhenPainted : public QObject {
 public:
  explicit CloseWhenPainted(QWidget& window) : window_(window) { window_.installEventFilter(this); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == &window_ && event->type() == QEvent::Paint) {
      window_.removeEventFilter(this);
      QTimer::singleShot(0, &window_, &QWidget::close);
    }
    return false;
  }

 private:
  QWidget& window_;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QMainWindow window;
  if (argc > 1 && std::strcmp(argv[1], "--text") == 0) {
    window.setCentralWidget(new QLabel(QStringLiteral("One line of text")));
  }
  CloseWhenPainted closer(window);
  window.resize(1200, 800);
  window.show();
  window.activateWindow();
  return app.exec();
}
