#pragma once

namespace tabrel {

// The hourglass and the progress bar of the window in use, which every long
// loop (a fill, a sort, a report, an export) shows. The main window's view
// implements it, so a part of the main window in any subsystem can take it.
class ProgressView {
 public:
  virtual ~ProgressView() = default;
  virtual void SetProgressVisible(bool visible) = 0;
  virtual void SetProgressRange(int minimum, int maximum) = 0;
  virtual void SetProgressValue(int value) = 0;
  // The hourglass pointer.
  virtual void SetBusy(bool busy) = 0;
};

}  // namespace tabrel
