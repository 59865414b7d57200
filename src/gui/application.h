#pragma once

#include <QIcon>
#include <QString>

namespace tabrel::gui {

// Names the running QApplication and sets its style: the desktop's, with
// the focus always shown. No display name is set: the platform would append
// it to every window title, and message boxes and dialogs are titled
// exactly as the program words them ("Confirm", "Disk access error!"); only
// the main window carries the program's name.
void ConfigureApplication();

// A table view's property, a QColor, that the style draws its grid lines in.
inline constexpr char kGridLineColourProperty[] = "gridLineColour";

// The program's icon `name`, rendered into the program's resources at build
// time (":/icons/<size>x<size>/<name>.png") so that the window has it also
// where no icon theme does. A size is read only when the window system asks
// for it, not while the program starts.
QIcon ProgramIcon(const QString& name);

}  // namespace tabrel::gui
