#include "mainwin/data_set_menu.h"

#include "base/codec.h"
#include "base/text.h"
#include "present/backup_prompt.h"
#include "present/disk_error.h"
#include "store/data_set.h"

namespace tabrel {
namespace {

constexpr MenuId kDataItems[] = {MenuId::mu_datadefault, MenuId::mu_data1, MenuId::mu_data2,
                                 MenuId::mu_dataspecial};

}  // namespace

DataSetMenu::DataSetMenu(AppState& state, MainView& view, Platform& platform, MainListHost& host)
    : state_(state), view_(view), platform_(platform), host_(host) {}

void DataSetMenu::Tick(MenuId item) {
  for (MenuId id : kDataItems) view_.SetMenuChecked(id, id == item);
}

bool DataSetMenu::SwitchTo(const std::string& folder, MenuId item) {
  const std::string path = WithSlash(folder);
  if (Status s = CheckDataFolder(path); !s.ok()) {
    ReportDiskError(
        platform_.dialogs, s,
        "The folder " + path + " cannot hold a data set. The current data set stays in use.");
    return false;
  }
  state_.data_path = path;
  host_.OpenDataSet();
  host_.mu_DisplayAll_Click();
  Tick(item);
  return true;
}

void DataSetMenu::mu_datadefault_Click() {
  SwitchTo(state_.program_folder, MenuId::mu_datadefault);
}

void DataSetMenu::UseAlternate(const std::string& stored_path, MenuId item,
                               const std::string& label) {
  const std::string path = DecodeCp1252(Trim(stored_path));
  if (path.empty()) {
    platform_.dialogs.Show(
        {"No alternate data set is specified. Look at the menu item File, Settings!",
         "Path not found",
         MessageIcon::kInformation,
         MessageButtons::kOk,
         {}});
    return;
  }
  if (SwitchTo(path, item)) view_.SetMenuCaption(item, label + path);
}

void DataSetMenu::mu_data1_Click() {
  UseAlternate(state_.settings.Path1, MenuId::mu_data1, "Use Alternate #1: ");
}

void DataSetMenu::mu_data2_Click() {
  UseAlternate(state_.settings.Path2, MenuId::mu_data2, "Use Alternate #2: ");
}

void DataSetMenu::mu_dataspecial_Click() {
  // Cancel keeps the data set in use; only Select switches.
  const auto choice =
      platform_.files.Select(state_.data_path, "tabrel.dat;keyword.dat", kFileSelectorCaption);
  if (!choice) return;
  SwitchTo(choice->folder, MenuId::mu_dataspecial);
}

void DataSetMenu::mu_makeUndo_Click() {
  MakeBackup(state_, platform_.dialogs, platform_.clock);
}

void DataSetMenu::mu_undo_Click() {
  RestoreBackup(state_, platform_.dialogs, platform_.clock);
}

void DataSetMenu::LabelAlternates() {
  const std::string path1 = Trim(state_.settings.Path1);
  const std::string path2 = Trim(state_.settings.Path2);
  if (!path1.empty())
    view_.SetMenuCaption(MenuId::mu_data1, "Use Alternate #1: " + DecodeCp1252(path1));
  if (!path2.empty())
    view_.SetMenuCaption(MenuId::mu_data2, "Use Alternate #2: " + DecodeCp1252(path2));
}

}  // namespace tabrel
