#pragma once

#include <string>

#include "mainwin/main_view.h"
#include "platform/platform.h"
#include "store/app_state.h"

namespace tabrel {

class MainWindow;

// The File menu's data set items: switching between the default, the two
// alternate and a chosen data folder, and making and restoring the backup
// set. A folder that cannot hold a data set is refused before anything
// changes, so the current data set stays current.
class DataSetMenu {
 public:
  DataSetMenu(AppState& state, MainView& view, Platform& platform, MainWindow& main);

  void mu_datadefault_Click();
  void mu_data1_Click();
  void mu_data2_Click();
  void mu_dataspecial_Click();
  void mu_makeUndo_Click();
  void mu_undo_Click();

  // Captions of the alternate items from the settings, as at start-up.
  void LabelAlternates();
  // Ticks the default data set, after a disk error made it the one in use.
  void FellBackToDefault() { Tick(MenuId::mu_datadefault); }

 private:
  void UseAlternate(const std::string& stored_path, MenuId item, const std::string& label);
  bool SwitchTo(const std::string& folder, MenuId item);
  void Tick(MenuId item);

  AppState& state_;
  MainView& view_;
  Platform& platform_;
  MainWindow& main_;
};

}  // namespace tabrel
