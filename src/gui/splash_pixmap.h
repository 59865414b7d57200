#pragma once

#include <QPixmap>

namespace tabrel::gui {

// The opening screen's picture: the program's name on the list's colours.
QPixmap PaintSplashPixmap();

}  // namespace tabrel::gui
