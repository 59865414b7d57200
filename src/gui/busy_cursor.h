#pragma once

namespace tabrel::gui {

// The hourglass over the whole program while a window is busy. Qt stacks
// override cursors, so each window sets and restores its own once however
// often it is asked: `shown` remembers which it did last.
void SetBusyCursor(bool& shown, bool busy);

}  // namespace tabrel::gui
