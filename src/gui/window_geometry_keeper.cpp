#include "gui/window_geometry_keeper.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QtDebug>
#include <utility>
#include <vector>

#include "present/window_placement.h"
#include "store/ui_state.h"

namespace tabrel::gui {

WindowGeometryKeeper::WindowGeometryKeeper(QWidget& window, std::string file, std::string name,
                                           QSize default_size)
    : window_(window), file_(std::move(file)), name_(std::move(name)), default_size_(default_size) {
  window_.installEventFilter(this);
}

void WindowGeometryKeeper::Show() {
  std::vector<ScreenArea> screens;
  // The primary screen first: a window without a position opens there.
  QList<QScreen*> all = QGuiApplication::screens();
  if (QScreen* primary = QGuiApplication::primaryScreen()) {
    all.removeAll(primary);
    all.prepend(primary);
  }
  for (const QScreen* screen : all) {
    const QRect area = screen->availableGeometry();
    screens.push_back({area.x(), area.y(), area.width(), area.height()});
  }
  const WindowPlacement place = PlaceWindow(UiState::Load(file_).Geometry(name_), screens,
                                            default_size_.width(), default_size_.height());
  window_.resize(place.width, place.height);
  if (place.x && place.y) window_.move(*place.x, *place.y);
  if (place.maximized) {
    window_.showMaximized();
  } else {
    window_.show();
  }
}

void WindowGeometryKeeper::Save() const {
  WindowGeometry geometry;
  geometry.maximized = window_.isMaximized();
  if (geometry.maximized || window_.isMinimized()) {
    // The place it returns to; normalGeometry() is the inside, so the
    // frame's margin is taken off to match pos().
    const QRect normal = window_.normalGeometry();
    const QPoint frame = window_.geometry().topLeft() - window_.frameGeometry().topLeft();
    geometry.x = normal.x() - frame.x();
    geometry.y = normal.y() - frame.y();
    geometry.width = normal.width();
    geometry.height = normal.height();
  } else {
    geometry.x = window_.pos().x();
    geometry.y = window_.pos().y();
    geometry.width = window_.width();
    geometry.height = window_.height();
  }
  UiState state = UiState::Load(file_);
  // A window closed where it opened leaves the file alone.
  if (state.Geometry(name_) == geometry) return;
  state.SetGeometry(name_, geometry);
  const Status status = state.Save(file_);
  if (!status.ok()) {
    qWarning("The window's place was not saved: %s", status.ErrorLine().c_str());
  }
}

bool WindowGeometryKeeper::eventFilter(QObject* watched, QEvent* event) {
  if (watched == &window_ && event->type() == QEvent::Close) Save();
  return QObject::eventFilter(watched, event);
}

}  // namespace tabrel::gui
