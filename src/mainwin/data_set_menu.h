#pragma once

#include <string>

#include "mainwin/main_view.h"
#include "platform/platform.h"
#include "present/main_list_host.h"
#include "store/app_state.h"

namespace tabrel {

// The File menu's data set items: switching between the default, the two
// alternate and a chosen data folder, and making and restoring the backup
// set. A folder that cannot hold a data set is refused before anything
// changes, so the current data set stays current.
class DataSetMenu {
 public:
  DataSetMenu(AppState& state, MainView& view, Platform& platform, MainListHost& host);

  // File > Use The Default Data Path.
  void mu_datadefault_Click();
  // File > Use Alternate Data Path #1.
  void mu_data1_Click();
  // File > Use Alternate Data Path #2.
  void mu_data2_Click();
  // File > Select A Data Path.
  void mu_dataspecial_Click();
  // File > Create Backup Data Set.
  void mu_makeUndo_Click();
  // File > Restore Backup Data Set.
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
  MainListHost& host_;
};

}  // namespace tabrel
