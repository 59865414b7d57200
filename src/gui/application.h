#pragma once

namespace tabrel::gui {

// Names the running QApplication. No display name is set: the platform
// would append it to every window title, and message boxes and dialogs are
// titled exactly as the program words them ("Confirm", "Disk access
// error!"); only the main window carries the program's name.
void ConfigureApplication();

}  // namespace tabrel::gui
