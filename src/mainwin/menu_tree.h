#pragma once

#include <span>
#include <string_view>

namespace tabrel {

// Every item of the main window's menu bar, top menus first in each group.
enum class MenuId {
  mu_file,
  mu_NewRecord,
  mu_Duplicate,
  mu_DisplayAll,
  mu_datadefault,
  mu_data1,
  mu_data2,
  mu_dataspecial,
  mu_Sort,
  mu_Settings,
  mu_makeUndo,
  mu_undo,
  mu_Sync,
  mu_ServerSettings,
  mu_exit,
  mu_print,
  mu_SimplePhoneList,
  mu_PrintPhoneList,
  mu_PrintCompleteRecords,
  mu_PrintComplete_HTML,
  mu_printMailingAddresses,
  mu_printEmail,
  mu_ImportExport,
  mu_ImportTabrel,
  mu_ImportOldTabrel,
  mu_ImportComma,
  mu_ImportAgent,
  mu_ImportNetscape,
  mu_ImportVcard,
  mu_exportTabrel,
  mu_ExportOldTabrel,
  mu_ExportComma,
  mu_ExportAgent,
  mu_ExportNetscape,
  mu_ExportVcard,
  mu_QuickUpdate,
  mu_MakeQuickUpdate,
  mu_filter,
  mu_ShowBoth,
  mu_PublicOnly,
  mu_PersonalOnly,
  mu_NoKeys,
  mu_WordSearchCurrent,
  mu_ListMode,
  mu_FreeListON,
  mu_FreeListOFF,
  mu_keywords,
  mu_NewKey,
  mu_deleteKey,
  mu_changeKey,
  mu_MakeContact,
  mu_DialPhone,
  mu_DialFax,
  mu_DialCellular,
  mu_DialPager,
  mu_CallWithPhoneProgram,
  mu_sendEmail,
  mu_webBrowse,
  mu_Help,
  mu_HelpContents,
  mu_DunWeb,
  mu_HelpAbout,
  mu_Game,
  kSeparator,  // not an item: marks a separator line in the tree
};

struct MenuEntry {
  MenuId id;
  std::string_view name;     // "mu_Sort"
  std::string_view caption;  // with "&" before the mnemonic
  int shortcut_key;          // key code of F1..F9, or 0
  bool top_level;            // a menu of the menu bar; later entries belong to it
  bool checked_at_start;
};

// The menu bar in display order; separators have the id kSeparator.
std::span<const MenuEntry> MenuTree();
const MenuEntry& MenuEntryOf(MenuId id);

struct ToolbarButton {
  std::string_view caption;
  std::string_view key;
  std::string_view tooltip;
};
std::span<const ToolbarButton> ToolbarButtons();

// The four panels of the status bar, numbered from 1 as the window numbers them.
enum class StatusPanelId {
  kFilter = 1,  // "ALL", "PUBLIC" or "PERSONAL"
  kListMode,    // "NORM" or "FREE"
  kSelection,   // what the record list shows and how many
  kDataPath,    // the data path in capitals
};

struct StatusPanel {
  StatusPanelId id;
  std::string_view key;
  std::string_view design_text;
  std::string_view tooltip;
};
// The panels in order, left to right.
std::span<const StatusPanel> StatusPanels();

}  // namespace tabrel
