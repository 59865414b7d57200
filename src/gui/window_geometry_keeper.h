#pragma once

#include <QObject>
#include <QSize>
#include <string>

class QWidget;

namespace tabrel::gui {

// Opens a top-level window where it was last closed and remembers its place
// in the UI-state file when it closes again. The file's reading, writing and
// the choice of place are the core's (store/ui_state.h,
// present/window_placement.h); this class only moves and measures the
// widget.
class WindowGeometryKeeper : public QObject {
  Q_OBJECT

 public:
  // `window` must outlive the keeper. `file` is the UI-state file, `name`
  // the window's section in it.
  WindowGeometryKeeper(QWidget& window, std::string file, std::string name, QSize default_size);

  // Places the window at its saved geometry, or the default size where the
  // window manager puts it, and shows it.
  void Show();
  // Writes the window's current place to the file when it is not the one
  // saved. Called when the window closes; a failure only loses the place,
  // so it is only logged.
  void Save() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget& window_;
  std::string file_;
  std::string name_;
  QSize default_size_;
};

}  // namespace tabrel::gui
