#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "base/status.h"
#include "contact/make_contact.h"
#include "exchange/exchange_menu.h"
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
#include "present/main_list_host.h"
#include "reports/print_preview.h"
#include "store/app_state.h"
#include "store/data_set_lock.h"

namespace tabrel {

inline constexpr std::string_view kProgramCaption = "Tabrel 3.0";

// The main window's presenter: start-up, menus, toolbar, status bar, keys,
// and the record and keyword lists. It owns the two grid models; the view
// draws them. No error leaves an event procedure: failures become message
// boxes and the data stays as it was.
//
// The parts of the window that have presenters of their own (keywords, data
// sets, sort and search, the view panel, the print preview, making contact)
// see this class only through the narrow interfaces it implements:
// MainListHost, MenuSwitch and ContactHost. Their events arrive here and are
// forwarded to them; the Import / Export menu (ExchangeMenu) is one of them.
class MainWindow : public MenuSwitch, public MainListHost, public ContactHost {
 public:
  MainWindow(AppState& state, MainView& view, Platform& platform);

  Grid& MainGrid() override { return main_grid_; }
  Grid& KeywordGrid() { return keyword_grid_; }
  SquaresGame& Game() { return game_; }
  const AppState& state() const { return state_; }

  // Window events, named as the window's controls and events are.
  // The program starts and the window opens.
  void Form_Load();
  // The window closes.
  void Form_Unload();
  // A key goes down anywhere in the window. True when it is consumed and
  // must not reach the focused control.
  bool Form_KeyDown(int key_code, int shift);
  // A menu item is chosen; dispatches to its mu_..._Click.
  void MenuClicked(MenuId id);
  // A toolbar button is clicked; `key` is its key ("MainTB_New" ...).
  void tr_TB1_ButtonClick(std::string_view key);
  // A status bar panel is clicked; `key` is its key ("PubPer", "ListMode").
  void tr_SB1_PanelClick(std::string_view key);
  // The "All Records <F4>" button is clicked.
  void AllRecords_Click();
  // Letter button "A" to "Z" (index 0 to 25) is clicked, or its key pressed in a list.
  void Command1_Click(int index);
  // A row of the record list is double-clicked, or Enter pressed on it.
  void MainGrid_dblClick();
  // The record list gets the focus.
  void MainGrid_GotFocus();
  // A keyword of the keyword list is double-clicked, or Enter pressed on it.
  void KeywordGrid_dblClick();
  // The keyword list gets the focus.
  void KeywordGrid_GotFocus();
  // The keyword list loses the focus.
  void KeywordGrid_LostFocus();

  // Menu items, by menu and caption.
  // File > Add New Record (F2).
  void mu_NewRecord_Click();
  // File > Duplicate Record (F3).
  void mu_Duplicate_Click();
  // File > Display All Records (F4).
  void mu_DisplayAll_Click() override;
  // File > Use The Default Data Path.
  void mu_datadefault_Click() { data_sets_.mu_datadefault_Click(); }
  // File > Use Alternate Data Path #1.
  void mu_data1_Click() { data_sets_.mu_data1_Click(); }
  // File > Use Alternate Data Path #2.
  void mu_data2_Click() { data_sets_.mu_data2_Click(); }
  // File > Select A Data Path.
  void mu_dataspecial_Click() { data_sets_.mu_dataspecial_Click(); }
  // File > Sort the Current Data Set.
  void mu_Sort_Click() { sort_search_.mu_Sort_Click(); }
  // File > Configuration Settings (F5).
  void mu_Settings_Click();
  // File > Create Backup Data Set.
  void mu_makeUndo_Click() { data_sets_.mu_makeUndo_Click(); }
  // File > Restore Backup Data Set.
  void mu_undo_Click() { data_sets_.mu_undo_Click(); }
  // File > Exit.
  void mu_exit_Click();
  // Filter > Show Both Public and Personal.
  void mu_ShowBoth_Click();
  // Filter > Show Only Public Records.
  void mu_PublicOnly_Click();
  // Filter > Show Only Personal Records.
  void mu_PersonalOnly_Click();
  // Filter > Show Records That Have No Keywords.
  void mu_NoKeys_Click();
  // Filter > Search current list for a word (F6).
  void mu_WordSearchCurrent_Click() { sort_search_.mu_WordSearchCurrent_Click(); }
  // List Mode > Free Selection / Add Subtract.
  void mu_FreeListON_Click();
  // List Mode > Keyword / Search Result Only.
  void mu_FreeListOFF_Click() override;
  // Keywords > Add New Keyword.
  void mu_NewKey_Click() { keywords_.mu_NewKey_Click(); }
  // Keywords > Change Keyword.
  void mu_changeKey_Click() { keywords_.mu_changeKey_Click(); }
  // Keywords > Delete Keyword.
  void mu_deleteKey_Click() { keywords_.mu_deleteKey_Click(); }

  // Buttons of the keyword edit frame.
  // Save (or Enter in the keyword box).
  void KeySave_Click() { keywords_.KeySave_Click(); }
  // Cancel.
  void KeyCancel_Click() { keywords_.KeyCancel_Click(); }

  // Buttons and labels of the record view panel.
  // Close (or Esc).
  void CloseView_Click() { view_panel_.CloseView_Click(); }
  // Edit.
  void EditView_Click() { view_panel_.EditView_Click(); }
  // < Back (or ",").
  void ViewBack_Click() { view_panel_.ViewBack_Click(); }
  // Next > (or ".").
  void ViewNext_Click() { view_panel_.ViewNext_Click(); }
  // Clip Address.
  void ViewCopyAddress_Click() { view_panel_.ViewCopyAddress_Click(); }
  // Clip All.
  void ViewCopyAll_Click() { view_panel_.ViewCopyAll_Click(); }
  // The e-mail address is double-clicked.
  void ViewEmail_dblClick() { view_panel_.ViewEmail_dblClick(); }
  // The web address is double-clicked.
  void ViewWeb_dblClick() { view_panel_.ViewWeb_dblClick(); }
  // Envelope (or V).
  void Envelope_Click() { preview_.Envelope_Click(); }

  // Buttons of the print-options frame, while a report's preview is open.
  // Print.
  void SendPrint_Click() { preview_.SendPrint_Click(); }
  // File.
  void SendFile_Click() { preview_.SendFile_Click(); }
  // .DOC.
  void PrintToFile_Click() { preview_.PrintToFile_Click(); }
  // .HTML.
  void PrintToHTML_Click() { preview_.PrintToHTML_Click(); }
  // Close.
  void CancelPrint_Click() { preview_.CancelPrint_Click(); }

  // Shared routines (see MainListHost and MenuSwitch).
  void PopMainGrid(std::string& selection) override;
  void PopKeywordGrid() override;
  void SetGridColors() override;
  void HideViewPanel() override;
  void ImportWritten() override;
  void BlankMenu() override;
  void ShowMenu() override;
  void OpenDataSet() override;
  bool CheckWritable() override;

  // ContactHost
  std::optional<std::string> CurrentRowStamp() override;
  void LeaveStampColumn() override;
  void SetModemWait(bool waiting) override;

  ExchangeMenu& exchange() { return exchange_; }
  bool view_panel_visible() const { return view_panel_.visible(); }
  bool key_frame_visible() const { return keywords_.frame_visible(); }

 private:
  void NotAvailableYet(MenuId id);
  void RemoveCurrentRow();
  void SetFilter(std::int16_t filter, MenuId item, std::string_view panel_text);
  bool ViewPanelKey(int key_code);
  void ReportFillError(const Status& status);
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
  ExchangeMenu exchange_;
  DataSetLock lock_;
  std::string read_only_because_;  // the end of "... is open read-only, because ..."
  bool preview_open_ = false;      // between BlankMenu and ShowMenu
};

}  // namespace tabrel
