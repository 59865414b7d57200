#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "base/status.h"
#include "contact/make_contact.h"
#include "game/squares_game.h"
#include "help/help_menu.h"
#include "mainwin/data_set_menu.h"
#include "mainwin/keyword_panel.h"
#include "mainwin/main_view.h"
#include "mainwin/menu_tree.h"
#include "mainwin/sort_search.h"
#include "mainwin/view_panel.h"
#include "platform/platform.h"
#include "present/grid.h"
#include "reports/print_preview.h"
#include "store/app_state.h"
#include "store/data_set_lock.h"

namespace tabrel {

inline constexpr std::string_view kProgramCaption = "Tabrel 3.0";

// The main window's presenter: start-up, menus, toolbar, status bar, keys,
// and the record and keyword lists. It owns the two grid models; the view
// draws them. No error leaves an event procedure: failures become message
// boxes and the data stays as it was.
class MainWindow : public MenuSwitch, public ContactHost {
 public:
  MainWindow(AppState& state, MainView& view, Platform& platform);

  Grid& MainGrid() { return main_grid_; }
  Grid& KeywordGrid() { return keyword_grid_; }
  SquaresGame& Game() { return game_; }
  const AppState& state() const { return state_; }

  // Window events.
  void Form_Load();
  void Form_Unload();
  // Returns true when the key is consumed and must not reach the focused control.
  bool Form_KeyDown(int key_code, int shift);
  void MenuClicked(MenuId id);
  void tr_TB1_ButtonClick(std::string_view key);
  void tr_SB1_PanelClick(std::string_view key);
  void AllRecords_Click();
  void Command1_Click(int index);
  void MainGrid_dblClick();
  void MainGrid_GotFocus();
  void KeywordGrid_dblClick();
  void KeywordGrid_GotFocus();
  void KeywordGrid_LostFocus();

  // Menu items.
  void mu_DisplayAll_Click();
  void mu_NoKeys_Click();
  void mu_ShowBoth_Click();
  void mu_PublicOnly_Click();
  void mu_PersonalOnly_Click();
  void mu_FreeListON_Click();
  void mu_FreeListOFF_Click();
  void mu_Settings_Click();
  void mu_exit_Click();
  void mu_Sort_Click() { sort_search_.mu_Sort_Click(); }
  void mu_WordSearchCurrent_Click() { sort_search_.mu_WordSearchCurrent_Click(); }
  void mu_datadefault_Click() { data_sets_.mu_datadefault_Click(); }
  void mu_data1_Click() { data_sets_.mu_data1_Click(); }
  void mu_data2_Click() { data_sets_.mu_data2_Click(); }
  void mu_dataspecial_Click() { data_sets_.mu_dataspecial_Click(); }
  void mu_makeUndo_Click() { data_sets_.mu_makeUndo_Click(); }
  void mu_undo_Click() { data_sets_.mu_undo_Click(); }
  void mu_NewKey_Click() { keywords_.mu_NewKey_Click(); }
  void mu_changeKey_Click() { keywords_.mu_changeKey_Click(); }
  void mu_deleteKey_Click() { keywords_.mu_deleteKey_Click(); }
  void KeySave_Click() { keywords_.KeySave_Click(); }
  void KeyCancel_Click() { keywords_.KeyCancel_Click(); }
  void mu_NewRecord_Click();
  void mu_Duplicate_Click();
  void CloseView_Click() { view_panel_.CloseView_Click(); }
  void EditView_Click() { view_panel_.EditView_Click(); }
  void ViewBack_Click() { view_panel_.ViewBack_Click(); }
  void ViewNext_Click() { view_panel_.ViewNext_Click(); }
  void ViewCopyAddress_Click() { view_panel_.ViewCopyAddress_Click(); }
  void ViewCopyAll_Click() { view_panel_.ViewCopyAll_Click(); }
  void ViewEmail_dblClick() { view_panel_.ViewEmail_dblClick(); }
  void ViewWeb_dblClick() { view_panel_.ViewWeb_dblClick(); }
  void Envelope_Click() { preview_.Envelope_Click(); }
  void SendPrint_Click() { preview_.SendPrint_Click(); }
  void SendFile_Click() { preview_.SendFile_Click(); }
  void PrintToFile_Click() { preview_.PrintToFile_Click(); }
  void PrintToHTML_Click() { preview_.PrintToHTML_Click(); }
  void CancelPrint_Click() { preview_.CancelPrint_Click(); }

  // Shared routines.
  // Fills the record list for `selection` ("All Records", "" for records
  // without keywords, "%%" + word for a word search, or a keyword as
  // stored). A word search leaves the bare word in `selection`.
  void PopMainGrid(std::string& selection);
  void PopKeywordGrid();
  void BlankMenu() override;
  void ShowMenu() override;
  void SetGridColors();
  void ShowAllRecords();
  // Hides the record view panel and its backdrop.
  void HideViewPanel();
  // Takes the lock of the data set in state.data_path, after the data path
  // changed (start-up, a switch, the fall-back after a disk error). When
  // another copy of the program holds it, says so and opens the data set
  // read-only: every command that would write to it is disabled and refused.
  void OpenDataSet();
  // False, after telling the user why, while the data set is read-only.
  bool CheckWritable();

  // ContactHost
  std::optional<std::string> CurrentRowStamp() override;
  void LeaveStampColumn() override;
  void SetModemWait(bool waiting) override;

  bool view_panel_visible() const { return view_panel_.visible(); }
  bool key_frame_visible() const { return keywords_.frame_visible(); }

 private:
  void NotAvailableYet(MenuId id);
  void RemoveCurrentRow();
  void SetFilter(std::int16_t filter, MenuId item, std::string_view panel_text);
  bool ViewPanelKey(int key_code);
  void ReportFillError(const Status& status);
  void EnableWriting(bool enabled);
  void SetListColours(Colour colour);

  AppState& state_;
  MainView& view_;
  Platform& platform_;
  Dialogs& dialogs_;
  Grid main_grid_;
  Grid keyword_grid_;
  KeywordPanel keywords_;
  DataSetMenu data_sets_;
  SortSearch sort_search_;
  ViewPanel view_panel_;
  PrintPreview preview_;
  MakeContact contact_;
  HelpMenu help_menu_;
  SquaresGame game_;
  DataSetLock lock_;
  bool preview_open_ = false;  // between BlankMenu and ShowMenu
};

}  // namespace tabrel
