#include "mainwin/main_window.h"

#include <cstdio>
#include <optional>

#include "base/codec.h"
#include "base/text.h"
#include "present/disk_error.h"
#include "present/key_codes.h"
#include "present/progress_throttle.h"
#include "present/record_list.h"
#include "store/commit_record.h"
#include "store/contact_record.h"
#include "store/data_set.h"
#include "store/layout.h"
#include "store/record_file.h"

namespace tabrel {
namespace {

constexpr MenuId kBlankedMenus[] = {MenuId::mu_file,   MenuId::mu_print,    MenuId::mu_ImportExport,
                                    MenuId::mu_filter, MenuId::mu_keywords, MenuId::mu_MakeContact};

std::string KeywordGridFormat() {
  return "<Keywords" + std::string(37, ' ');
}

std::string Plain(std::string_view caption) {
  std::string out;
  for (char c : caption) {
    if (c != '&') out.push_back(c);
  }
  return out;
}

}  // namespace

MainWindow::MainWindow(AppState& state, MainView& view, Platform& platform)
    : state_(state),
      view_(view),
      platform_(platform),
      dialogs_(platform.dialogs),
      keywords_(state, view, platform.dialogs, *this),
      data_sets_(state, view, platform, *this),
      sort_search_(state, view, platform.dialogs, *this),
      view_panel_(state, view, platform, *this),
      preview_(state, view, *this, platform),
      contact_(state, *this, platform.dialogs, platform.shell, platform.serial),
      help_menu_(state, platform.dialogs, platform.help, platform.shell),
      game_(platform.dialogs),
      exchange_(state, *this, view, view, platform.dialogs, platform.files, platform.clock) {
  main_grid_.SetForeColor(kWhite);
  main_grid_.SetBackColor(kDarkBlue);
  main_grid_.SetBackColorBkg(kDarkBlue);
  main_grid_.SetForeColorSel(kBlack);
  main_grid_.SetBackColorSel(kYellow);
  main_grid_.SetFormatString(kMainGridFormat);
  keyword_grid_.SetForeColor(kWhite);
  keyword_grid_.SetBackColor(kDarkBlue);
  keyword_grid_.SetBackColorBkg(kDarkBlue);
  keyword_grid_.SetForeColorSel(kBlack);
  keyword_grid_.SetBackColorSel(kYellow);
  keyword_grid_.SetFormatString(KeywordGridFormat());
}

void MainWindow::Form_Load() {
  view_.SetCaption(std::string(kProgramCaption));
  for (const StatusPanel& panel : StatusPanels()) {
    view_.SetStatusText(panel.id, std::string(panel.design_text));
  }
  if (Status s = LoadSettings(state_); !s.ok()) {
    ReportDiskError(dialogs_, s, "The settings file could not be read; the defaults apply.");
  }
  OpenDataSet();
  view_.ShowSplash();
  view_.SetControlVisible(Control::kBackground, false);
  view_.SetControlVisible(Control::kViewFrame, false);
  view_.SetControlVisible(Control::kKeyFrame, false);
  view_.SetControlVisible(Control::kFileSelector, false);
  view_.SetControlVisible(Control::kPreviewText, false);
  view_.SetControlVisible(Control::kProgressBar, false);
  PopKeywordGrid();
  std::string all(kAllRecords);
  PopMainGrid(all);
  data_sets_.LabelAlternates();
  view_.CloseSplash();
}

void MainWindow::Form_Unload() {
  contact_.Form_Unload();
  game_.Close();
  platform_.help.Close();
}

void MainWindow::mu_exit_Click() {
  view_.CloseWindow();
}

bool MainWindow::Form_KeyDown(int key_code, int /*shift*/) {
  // While a report's preview is open its text box takes every key but Esc,
  // which closes it as Close does.
  if (preview_open_) {
    if (key_code != key::kEscape) return false;
    CancelPrint_Click();
    return true;
  }
  if (view_panel_.visible()) return ViewPanelKey(key_code);
  if (key_code == key::kTab) {
    SetGridColors();
    return false;
  }
  const bool letter = key_code >= key::kA && key_code <= key::kZ;
  switch (view_.FocusedControl()) {
    case Control::kMainGrid:
      if (key_code == key::kInsert) {
        MenuClicked(MenuId::mu_NewRecord);
      } else if (key_code == key::kDelete) {
        RemoveCurrentRow();
      } else if (key_code == key::kEnter) {
        MainGrid_dblClick();
      } else if (letter) {
        Command1_Click(key_code - key::kA);
      } else {
        return false;
      }
      return true;
    case Control::kKeywordGrid:
      if (key_code == key::kEnter) {
        KeywordGrid_dblClick();
      } else if (key_code == key::kInsert) {
        MenuClicked(MenuId::mu_NewKey);
      } else if (letter) {
        Command1_Click(key_code - key::kA);
      } else {
        return false;
      }
      return true;
    default:
      return false;
  }
}

bool MainWindow::ViewPanelKey(int key_code) {
  switch (key_code) {
    case key::kTab:
      return false;  // the focus moves on among the panel's controls
    case key::kEscape:
      CloseView_Click();
      break;
    case key::kComma:
      ViewBack_Click();
      break;
    case key::kPeriod:
      ViewNext_Click();
      break;
    case key::kV:
      Envelope_Click();
      break;
    case key::kF2:
      MenuClicked(MenuId::mu_NewRecord);
      break;
    case key::kF3:
      MenuClicked(MenuId::mu_Duplicate);
      break;
    case key::kF4:
      mu_DisplayAll_Click();
      break;
    case key::kF7:
      MenuClicked(MenuId::mu_DialPhone);
      break;
    case key::kF8:
      MenuClicked(MenuId::mu_sendEmail);
      break;
    case key::kF9:
      MenuClicked(MenuId::mu_webBrowse);
      break;
    default:
      break;
  }
  return true;  // the panel consumes every other key
}

void MainWindow::HideViewPanel() {
  view_panel_.Hide();
}

void MainWindow::ImportWritten() {
  PopKeywordGrid();
  HideViewPanel();
  state_.current_record = BlankContactRecord();
  state_.current_record_number = 0;
}

void MainWindow::OpenDataSet() {
  if (lock_.held() && lock_.folder() == state_.data_path) return;
  // Ours first: a lock this copy still held would count as another's.
  lock_.Release();
  lock_ = DataSetLock::Acquire(state_.data_path);
  // A folder that is gone opens as it is: the fill reports that.
  const bool unlockable =
      !lock_.held() && !lock_.held_elsewhere() && CheckDataFolder(state_.data_path).ok();
  state_.read_only = lock_.held_elsewhere() || unlockable;
  read_only_because_.clear();
  auto tell = [this](const std::string& text, const char* title) {
    dialogs_.Show({text, title, MessageIcon::kInformation, MessageButtons::kOk, {}});
  };
  if (!lock_.recovered().empty()) tell(lock_.recovered(), "Data set");
  if (unlockable) {
    read_only_because_ = "it cannot be locked for writing";
    const Status& why = lock_.status();
    // A change left half done by a crash that could not be repaired says so
    // itself.
    tell(lock_.needs_repair() ? why.description() + " It is shown read-only."
                              : "The data set in " + state_.data_path +
                                    " cannot be locked for writing: " + why.description() +
                                    ". It is shown read-only.",
         "Data set read-only");
  } else if (state_.read_only) {
    read_only_because_ = "another copy of Tabrel has it open";
    tell("The data set in " + state_.data_path +
             " is open in another copy of Tabrel.\r\nThis copy shows it read-only: you "
             "can list, search, view and print records, but not add, change or delete "
             "them. To make changes, close the other copy, then choose this data set "
             "again from the File menu.",
         "Data set in use");
  }
  if (!state_.read_only || lock_.needs_repair()) return;
  // Nobody finished a change cut short: say so rather than show half of it.
  if (Status s = CheckNoUnfinishedCommit(state_.data_path); !s.ok()) {
    tell(s.description(), "Data set read-only");
  }
}

bool MainWindow::CheckWritable() {
  if (!state_.read_only) return true;
  dialogs_.Show({"The data set in " + state_.data_path + " is open read-only, because " +
                     read_only_because_ + ". Nothing can be changed here.",
                 "Data set in use",
                 MessageIcon::kInformation,
                 MessageButtons::kOk,
                 {}});
  return false;
}

void MainWindow::MenuClicked(MenuId id) {
  // Every menu item, key and toolbar button that does something: what it
  // runs, and whether it changes the data set (refused while read-only).
  struct Action {
    MenuId id;
    void (*run)(MainWindow&);
    bool writes;
  };
  static constexpr Action kActions[] = {
      {MenuId::mu_DisplayAll, [](MainWindow& w) { w.mu_DisplayAll_Click(); }, false},
      {MenuId::mu_Settings, [](MainWindow& w) { w.mu_Settings_Click(); }, false},
      {MenuId::mu_exit, [](MainWindow& w) { w.mu_exit_Click(); }, false},
      {MenuId::mu_Sync, [](MainWindow& w) { w.view_.OpenSyncWindow(); }, true},
      {MenuId::mu_ServerSettings, [](MainWindow& w) { w.view_.OpenServerSettings(); }, true},
      {MenuId::mu_ShowBoth, [](MainWindow& w) { w.mu_ShowBoth_Click(); }, false},
      {MenuId::mu_PublicOnly, [](MainWindow& w) { w.mu_PublicOnly_Click(); }, false},
      {MenuId::mu_PersonalOnly, [](MainWindow& w) { w.mu_PersonalOnly_Click(); }, false},
      {MenuId::mu_NoKeys, [](MainWindow& w) { w.mu_NoKeys_Click(); }, false},
      {MenuId::mu_FreeListON, [](MainWindow& w) { w.mu_FreeListON_Click(); }, false},
      {MenuId::mu_FreeListOFF, [](MainWindow& w) { w.mu_FreeListOFF_Click(); }, false},
      {MenuId::mu_NewRecord, [](MainWindow& w) { w.mu_NewRecord_Click(); }, true},
      {MenuId::mu_Duplicate, [](MainWindow& w) { w.mu_Duplicate_Click(); }, true},
      {MenuId::mu_Sort, [](MainWindow& w) { w.mu_Sort_Click(); }, true},
      {MenuId::mu_SimplePhoneList,
       [](MainWindow& w) { w.preview_.mu_SimplePhoneList_Click(w.main_grid_); }, false},
      {MenuId::mu_PrintPhoneList,
       [](MainWindow& w) { w.preview_.mu_PrintPhoneList_Click(w.main_grid_); }, false},
      {MenuId::mu_PrintCompleteRecords,
       [](MainWindow& w) { w.preview_.mu_PrintCompleteRecords_Click(w.main_grid_); }, false},
      {MenuId::mu_PrintComplete_HTML,
       [](MainWindow& w) { w.preview_.mu_PrintComplete_HTML_Click(w.main_grid_); }, false},
      {MenuId::mu_printMailingAddresses,
       [](MainWindow& w) { w.preview_.mu_printMailingAddresses_Click(w.main_grid_); }, false},
      {MenuId::mu_printEmail, [](MainWindow& w) { w.preview_.mu_printEmail_Click(w.main_grid_); },
       false},
      {MenuId::mu_WordSearchCurrent, [](MainWindow& w) { w.mu_WordSearchCurrent_Click(); }, false},
      {MenuId::mu_datadefault, [](MainWindow& w) { w.mu_datadefault_Click(); }, false},
      {MenuId::mu_data1, [](MainWindow& w) { w.mu_data1_Click(); }, false},
      {MenuId::mu_data2, [](MainWindow& w) { w.mu_data2_Click(); }, false},
      {MenuId::mu_dataspecial, [](MainWindow& w) { w.mu_dataspecial_Click(); }, false},
      {MenuId::mu_makeUndo, [](MainWindow& w) { w.mu_makeUndo_Click(); }, true},
      {MenuId::mu_undo, [](MainWindow& w) { w.mu_undo_Click(); }, true},
      {MenuId::mu_NewKey, [](MainWindow& w) { w.mu_NewKey_Click(); }, true},
      {MenuId::mu_changeKey, [](MainWindow& w) { w.mu_changeKey_Click(); }, true},
      {MenuId::mu_deleteKey, [](MainWindow& w) { w.mu_deleteKey_Click(); }, true},
      {MenuId::mu_DialPhone, [](MainWindow& w) { w.contact_.mu_DialPhone_Click(); }, false},
      {MenuId::mu_DialFax, [](MainWindow& w) { w.contact_.mu_DialFax_Click(); }, false},
      {MenuId::mu_DialCellular, [](MainWindow& w) { w.contact_.mu_DialCellular_Click(); }, false},
      {MenuId::mu_DialPager, [](MainWindow& w) { w.contact_.mu_DialPager_Click(); }, false},
      {MenuId::mu_CallWithPhoneProgram,
       [](MainWindow& w) { w.contact_.mu_CallWithPhoneProgram_Click(); }, false},
      {MenuId::mu_sendEmail, [](MainWindow& w) { w.contact_.mu_sendEmail_Click(); }, false},
      {MenuId::mu_webBrowse, [](MainWindow& w) { w.contact_.mu_webBrowse_Click(); }, false},
      {MenuId::mu_HelpContents, [](MainWindow& w) { w.help_menu_.mu_HelpContents_Click(); }, false},
      {MenuId::mu_DunWeb, [](MainWindow& w) { w.help_menu_.mu_DunWeb_Click(); }, false},
      {MenuId::mu_HelpAbout, [](MainWindow& w) { w.help_menu_.mu_HelpAbout_Click(); }, false},
      {MenuId::mu_Game, [](MainWindow& w) { w.game_.Open(w.view_.GameWindow()); }, false},
      {MenuId::mu_ImportTabrel, [](MainWindow& w) { w.exchange_.mu_ImportTabrel_Click(); }, true},
      {MenuId::mu_ImportOldTabrel, [](MainWindow& w) { w.exchange_.mu_ImportOldTabrel_Click(); },
       true},
      {MenuId::mu_ImportComma, [](MainWindow& w) { w.exchange_.mu_ImportComma_Click(); }, true},
      {MenuId::mu_ImportAgent, [](MainWindow& w) { w.exchange_.mu_ImportAgent_Click(); }, true},
      {MenuId::mu_ImportNetscape, [](MainWindow& w) { w.exchange_.mu_ImportNetscape_Click(); },
       true},
      {MenuId::mu_exportTabrel, [](MainWindow& w) { w.exchange_.mu_exportTabrel_Click(); }, false},
      {MenuId::mu_ExportOldTabrel, [](MainWindow& w) { w.exchange_.mu_ExportOldTabrel_Click(); },
       false},
      {MenuId::mu_ExportComma, [](MainWindow& w) { w.exchange_.mu_ExportComma_Click(); }, false},
      {MenuId::mu_ExportAgent, [](MainWindow& w) { w.exchange_.mu_ExportAgent_Click(); }, false},
      {MenuId::mu_ExportNetscape, [](MainWindow& w) { w.exchange_.mu_ExportNetscape_Click(); },
       false},
      {MenuId::mu_QuickUpdate, [](MainWindow& w) { w.exchange_.mu_QuickUpdate_Click(); }, true},
      {MenuId::mu_MakeQuickUpdate, [](MainWindow& w) { w.exchange_.mu_MakeQuickUpdate_Click(); },
       false},
      {MenuId::mu_ImportVcard, [](MainWindow& w) { w.exchange_.mu_ImportVcard_Click(); }, true},
      {MenuId::mu_ExportVcard, [](MainWindow& w) { w.exchange_.mu_ExportVcard_Click(); }, false},
  };
  // Keys and toolbar buttons reach here too, disabled menu items or not.
  for (const Action& action : kActions) {
    if (action.id != id) continue;
    if (action.writes && !CheckWritable()) return;
    return action.run(*this);
  }
  NotAvailableYet(id);
}

void MainWindow::NotAvailableYet(MenuId id) {
  dialogs_.Show({"\"" + Plain(MenuEntryOf(id).caption) + "\" is not available yet.",
                 std::string(kProgramCaption),
                 MessageIcon::kInformation,
                 MessageButtons::kOk,
                 {}});
}

void MainWindow::tr_TB1_ButtonClick(std::string_view key) {
  static constexpr std::pair<std::string_view, MenuId> kActions[] = {
      {"MainTB_New", MenuId::mu_NewRecord},     {"MainTB_Copy", MenuId::mu_Duplicate},
      {"MainTB_Settings", MenuId::mu_Settings}, {"MainTB_WordSearch", MenuId::mu_WordSearchCurrent},
      {"MainTB_Phone", MenuId::mu_DialPhone},   {"MainTB_Email", MenuId::mu_sendEmail},
      {"MainTB_Web", MenuId::mu_webBrowse},     {"MainTB_Help", MenuId::mu_HelpContents},
  };
  for (const auto& [name, id] : kActions) {
    if (name == key) return MenuClicked(id);
  }
}

void MainWindow::tr_SB1_PanelClick(std::string_view key) {
  if (key == "ListMode") {
    if (state_.list_mode == kListNormal) {
      mu_FreeListON_Click();
    } else {
      mu_FreeListOFF_Click();
    }
  } else if (key == "PubPer") {
    if (state_.filter == kFilterAll) {
      mu_PublicOnly_Click();
    } else if (state_.filter == kFilterPublicOnly) {
      mu_PersonalOnly_Click();
    } else {
      mu_ShowBoth_Click();
    }
  }
}

void MainWindow::AllRecords_Click() {
  mu_DisplayAll_Click();
}

void MainWindow::mu_DisplayAll_Click() {
  HideViewPanel();
  main_grid_.SetVisible(false);
  mu_FreeListOFF_Click();
  PopKeywordGrid();
  std::string all(kAllRecords);
  PopMainGrid(all);
  view_.FocusControl(Control::kMainGrid);
  SetGridColors();
}

void MainWindow::mu_NoKeys_Click() {
  HideViewPanel();
  main_grid_.SetVisible(false);
  mu_FreeListOFF_Click();
  std::string none;
  PopMainGrid(none);
  PopKeywordGrid();
}

void MainWindow::SetFilter(std::int16_t filter, MenuId item, std::string_view panel_text) {
  state_.filter = filter;
  // The list is refilled in normal mode, so the mode's tick, panel and
  // colours follow, and never claim free selection for a normal list.
  mu_FreeListOFF_Click();
  std::string all(kAllRecords);
  PopMainGrid(all);
  view_.SetStatusText(StatusPanelId::kFilter, std::string(panel_text));
  for (MenuId id : {MenuId::mu_ShowBoth, MenuId::mu_PublicOnly, MenuId::mu_PersonalOnly}) {
    view_.SetMenuChecked(id, id == item);
  }
}

void MainWindow::mu_ShowBoth_Click() {
  SetFilter(kFilterAll, MenuId::mu_ShowBoth, "ALL");
}
void MainWindow::mu_PublicOnly_Click() {
  SetFilter(kFilterPublicOnly, MenuId::mu_PublicOnly, "PUBLIC");
}
void MainWindow::mu_PersonalOnly_Click() {
  SetFilter(kFilterPersonalOnly, MenuId::mu_PersonalOnly, "PERSONAL");
}

void MainWindow::SetListColours(Colour colour) {
  main_grid_.SetBackColor(colour);
  main_grid_.SetBackColorBkg(colour);
}

void MainWindow::mu_FreeListON_Click() {
  state_.list_mode = kListFree;
  view_.SetMenuChecked(MenuId::mu_FreeListON, true);
  view_.SetMenuChecked(MenuId::mu_FreeListOFF, false);
  SetListColours(kGrey);
  view_.SetStatusText(StatusPanelId::kListMode, "FREE");
}

void MainWindow::mu_FreeListOFF_Click() {
  state_.list_mode = kListNormal;
  view_.SetMenuChecked(MenuId::mu_FreeListOFF, true);
  view_.SetMenuChecked(MenuId::mu_FreeListON, false);
  SetListColours(kDarkBlue);
  view_.SetStatusText(StatusPanelId::kListMode, "NORM");
}

void MainWindow::mu_Settings_Click() {
  view_.OpenSettings();
}

void MainWindow::Command1_Click(int index) {
  if (keywords_.frame_visible() || index < 0 || index > 25) return;
  const bool keywords = view_.FocusedControl() == Control::kKeywordGrid;
  Grid& grid = keywords ? keyword_grid_ : main_grid_;
  const std::string message = keywords ? "No keywords start with " : "No records start with ";
  const auto letter = static_cast<unsigned char>('A' + index);
  grid.SetCol(0);
  for (int row = 1; row < grid.Rows(); ++row) {
    const std::string_view text = grid.TextAt(row, 0);
    if (!text.empty() && UpperCp1252(static_cast<unsigned char>(text[0])) == letter) {
      grid.SetRow(row);
      grid.SetCol(0);
      grid.SetColSel(grid.Cols() - 1);
      grid.SetTopRow(row);
      return;
    }
  }
  grid.SetRow(grid.Rows() - 1);
  dialogs_.Show({message + static_cast<char>(letter),
                 "Nothing to do!",
                 MessageIcon::kExclamation,
                 MessageButtons::kOk,
                 {}});
}

void MainWindow::RemoveCurrentRow() {
  const int row = main_grid_.Row();
  if (row < 1) return;
  main_grid_.RemoveItem(row);
  mu_FreeListON_Click();
  const int n = main_grid_.Rows() - 1;
  if (n > 0) {
    main_grid_.SetCol(0);
    main_grid_.SetColSel(kIdColumn);
  }
  view_.SetMenuEnabled(MenuId::mu_print, n > 0);
  view_.SetStatusText(StatusPanelId::kSelection, std::to_string(n) + " RECORDS SELECTED");
}

void MainWindow::MainGrid_dblClick() {
  view_panel_.ShowCurrentRow();
}

void MainWindow::mu_NewRecord_Click() {
  if (keyword_grid_.Rows() < 2 &&
      dialogs_.Show({"You have not entered in any Keywords yet. In order to give your new record "
                     "keywords, you must first enter them into the system. Use the menu item "
                     "Keywords, Add New Keyword. Do you wish to stop now and build your Keywords "
                     "list?",
                     "No Keywords!",
                     MessageIcon::kQuestion,
                     MessageButtons::kYesNo,
                     {}}) == MessageAnswer::kYes) {
    return;
  }
  state_.editor_mode = EditorMode::kNewRecord;
  state_.duplicate_flag = DuplicateFlag::kOff;
  view_.OpenEditor();
}

void MainWindow::mu_Duplicate_Click() {
  if (main_grid_.Row() < 1) {
    dialogs_.Show({"Choose the record to duplicate in the list first.",
                   "Nothing to do!",
                   MessageIcon::kExclamation,
                   MessageButtons::kOk,
                   {}});
    return;
  }
  state_.editor_record.Modified = std::string(main_grid_.TextAt(main_grid_.Row(), kIdColumn));
  auto found = LoadRecordByStamp(state_);
  if (!found.ok()) {
    ReportDiskError(dialogs_, found.status(), "Nothing was duplicated.");
    return;
  }
  if (!found.value()) {
    dialogs_.Show(
        {"This record is no longer in the data set; it may have been deleted or "
         "changed elsewhere. Press F4 to list the records again.",
         "Nothing to do!",
         MessageIcon::kExclamation,
         MessageButtons::kOk,
         {}});
    return;
  }
  state_.editor_mode = EditorMode::kExisting;
  state_.duplicate_flag = DuplicateFlag::kDuplicating;
  view_.OpenEditor();
}

std::optional<std::string> MainWindow::CurrentRowStamp() {
  if (main_grid_.Row() < 1) return std::nullopt;
  main_grid_.SetCol(kIdColumn);
  return std::string(main_grid_.Text());
}

void MainWindow::LeaveStampColumn() {
  main_grid_.SetCol(0);
}

void MainWindow::SetModemWait(bool waiting) {
  view_.SetBusy(waiting);
}

void MainWindow::MainGrid_GotFocus() {
  SetGridColors();
}
void MainWindow::KeywordGrid_GotFocus() {
  SetGridColors();
}
void MainWindow::KeywordGrid_LostFocus() {
  keyword_grid_.SetFlat(true);
}

void MainWindow::KeywordGrid_dblClick() {
  if (keyword_grid_.Row() < 1) return;
  HideViewPanel();
  main_grid_.SetVisible(true);
  std::string keyword(keyword_grid_.Text());
  PopMainGrid(keyword);
  view_.SetKeywordEditText(DecodeCp1252(Trim(keyword_grid_.Text())));
}

void MainWindow::SetGridColors() {
  const Control focused = view_.FocusedControl();
  if (focused != Control::kMainGrid && focused != Control::kKeywordGrid) return;
  Grid& active = focused == Control::kMainGrid ? main_grid_ : keyword_grid_;
  Grid& other = focused == Control::kMainGrid ? keyword_grid_ : main_grid_;
  active.SetForeColorFixed(kBlack);
  active.SetBackColorFixed(kWhite);
  other.SetForeColorFixed(kGrayText);
  other.SetBackColorFixed(kButtonFace);
}

void MainWindow::BlankMenu() {
  preview_open_ = true;
  for (MenuId id : kBlankedMenus) view_.SetMenuEnabled(id, false);
}

void MainWindow::ShowMenu() {
  preview_open_ = false;
  for (MenuId id : kBlankedMenus) view_.SetMenuEnabled(id, true);
}

void MainWindow::PopKeywordGrid() {
  keyword_grid_.ClearToHeader();
  keyword_grid_.SetFormatString(KeywordGridFormat());
  const RecordFile file(state_.DataFile(kKeywordFileName), layout::kKeywordRecordLength);
  auto entries = file.ReadAll();
  if (!entries.ok()) {
    ReportDiskError(dialogs_, entries.status());
    return;
  }
  const std::string_view all = entries.value();
  for (std::size_t at = 0; at < all.size(); at += layout::kKeywordRecordLength) {
    keyword_grid_.AddItem(std::string(all.substr(at, layout::kKeywordRecordLength)));
  }
}

void MainWindow::ReportFillError(const Status& status) {
  ReportDiskError(dialogs_, status, "Switching back to default directory...");
  state_.data_path = WithSlash(state_.program_folder);
  data_sets_.FellBackToDefault();
  OpenDataSet();
}

void MainWindow::PopMainGrid(std::string& selection) {
  const bool all = selection == kAllRecords;
  const bool word = selection.starts_with(kWordSearchPrefix);
  for (int attempt = 1;; ++attempt) {
    view_.SetStatusText(StatusPanelId::kSelection, DecodeCp1252(selection));
    if (state_.list_mode == kListNormal) main_grid_.ClearToHeader();
    main_grid_.SetVisible(false);
    view_.SetBusy(true);
    main_grid_.SetFormatString(kMainGridFormat);
    view_.SetControlVisible(Control::kProgressBar, true);
    ProgressThrottle throttle([this](int n) { view_.SetProgressValue(n); });
    const FillProgress progress{[&](int count) {
                                  view_.SetProgressRange(1, count + 2);
                                  throttle.SetCount(count);
                                },
                                [&](int n) { throttle.Step(n); }};
    Result<int> added = AppendSelectedRows(main_grid_, state_, selection, progress);
    main_grid_.SetVisible(true);
    view_.SetControlVisible(Control::kProgressBar, false);
    view_.SetBusy(false);
    if (added.ok()) {
      main_grid_.SetCol(0);
      if (main_grid_.Row() > 0 && added.value() > 0) main_grid_.SetRow(1);
      main_grid_.SetColSel(kIdColumn);
      // After a fall-back the keywords listed belong to a folder no longer in use.
      if (attempt > 1) PopKeywordGrid();
      break;
    }
    ReportFillError(added.status());
    if (attempt == 2) {
      // The program folder failed too: stop with an empty list.
      main_grid_.ClearToHeader();
      main_grid_.SetFormatString(kMainGridFormat);
      break;
    }
  }

  constexpr StatusPanelId kCountPanel = StatusPanelId::kSelection;
  const std::string n = std::to_string(main_grid_.Rows() - 1);
  if (all) view_.SetStatusText(kCountPanel, n + " RECORDS TOTAL");
  view_.SetMenuEnabled(MenuId::mu_print, main_grid_.Rows() > 1);
  if (!all)
    view_.SetStatusText(kCountPanel, n + " RECORDS HAVE KEYWORD " + DecodeCp1252(Trim(selection)));
  if (selection.empty()) view_.SetStatusText(kCountPanel, n + " RECORDS HAVE NO KEYWORDS");
  if (word) {
    selection.erase(0, kWordSearchPrefix.size());
    view_.SetStatusText(kCountPanel, n + " CONTAIN \"" + DecodeCp1252(Trim(selection)) + "\"");
    std::remove(state_.ProgramFile(kSearchListName).c_str());
  }
  if (state_.list_mode == kListFree) view_.SetStatusText(kCountPanel, n + " RECORDS SELECTED");
  view_.SetStatusText(StatusPanelId::kDataPath, UpperUtf8ByCp1252(state_.data_path) +
                                                    (state_.read_only ? "  (READ ONLY)" : ""));
}

}  // namespace tabrel
