#pragma once

#include <string>
#include <string_view>

#include "mainwin/grid.h"
#include "mainwin/main_view.h"
#include "mainwin/menu_tree.h"
#include "platform/dialogs.h"
#include "platform/help_viewer.h"
#include "store/app_state.h"
#include "store/status.h"

namespace tabrel {

inline constexpr std::string_view kProgramCaption = "Tabrel 3.0";

// The main window's presenter: start-up, menus, toolbar, status bar, keys,
// and the record and keyword lists. It owns the two grid models; the view
// draws them. No error leaves an event procedure: failures become message
// boxes and the data stays as it was.
class MainWindow {
 public:
  MainWindow(AppState& state, MainView& view, Dialogs& dialogs, HelpViewer& help);

  Grid& MainGrid() { return main_grid_; }
  Grid& KeywordGrid() { return keyword_grid_; }
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

  // Shared routines.
  // Fills the record list for `selection` ("All Records", "" for records
  // without keywords, "%%" + word for a word search, or a keyword as
  // stored). A word search leaves the bare word in `selection`.
  void PopMainGrid(std::string& selection);
  void PopKeywordGrid();
  void BlankMenu();
  void ShowMenu();
  void SetGridColors();
  void ShowAllRecords();

  bool view_panel_visible() const { return view_panel_visible_; }
  const std::string& keyword_edit_text() const { return keyword_edit_text_; }

 private:
  void NotAvailableYet(MenuId id);
  void RemoveCurrentRow();
  void SetFilter(std::int16_t filter, MenuId item, std::string_view panel_text);
  void CloseView();
  bool ViewPanelKey(int key_code);
  void ReportFillError(const Status& status);
  void SetListColours(Colour colour);
  bool FrameBlocksLetters() const;

  AppState& state_;
  MainView& view_;
  Dialogs& dialogs_;
  HelpViewer& help_;
  Grid main_grid_;
  Grid keyword_grid_;
  bool view_panel_visible_ = false;
  bool key_frame_visible_ = false;
  bool file_selector_visible_ = false;
  std::string keyword_edit_text_ = "Text1";
};

}  // namespace tabrel
