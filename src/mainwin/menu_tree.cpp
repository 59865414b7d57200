#include "mainwin/menu_tree.h"

#include <array>

#include "exchange/format_table.h"
#include "present/key_codes.h"

namespace tabrel {
namespace {

using M = MenuId;
constexpr MenuEntry Top(M id, std::string_view name, std::string_view caption) {
  return {id, name, caption, 0, true, false};
}
constexpr MenuEntry Item(M id, std::string_view name, std::string_view caption, int key = 0,
                         bool checked = false) {
  return {id, name, caption, key, false, checked};
}
constexpr MenuEntry Separator() {
  return {M::kSeparator, "", "-", 0, false, false};
}

constexpr std::array kMenuTree = {
    Top(M::mu_file, "mu_file", "&File"),
    Item(M::mu_NewRecord, "mu_NewRecord", "Add New Record", key::kF2),
    Item(M::mu_Duplicate, "mu_Duplicate", "Duplicate Record", key::kF3),
    Separator(),
    Item(M::mu_DisplayAll, "mu_DisplayAll", "Display All Records", key::kF4),
    Separator(),
    Item(M::mu_datadefault, "mu_datadefault", "Use The Default Data Path", 0, true),
    Item(M::mu_data1, "mu_data1", "Use Alternate Data Path #1"),
    Item(M::mu_data2, "mu_data2", "Use Alternate Data Path #2"),
    Item(M::mu_dataspecial, "mu_dataspecial", "Select A Data Path"),
    Separator(),
    Item(M::mu_Sort, "mu_Sort", "Sort the Current Data Set"),
    Separator(),
    Item(M::mu_Settings, "mu_Settings", "Configuration Settings", key::kF5),
    Separator(),
    Item(M::mu_makeUndo, "mu_makeUndo", "Create Backup Data Set"),
    Item(M::mu_undo, "mu_undo", "Restore Backup Data Set"),
    Separator(),
    Item(M::mu_Sync, "mu_Sync", "S&ynchronise with Server"),
    Item(M::mu_ServerSettings, "mu_ServerSettings", "Ser&ver Settings..."),
    Separator(),
    Item(M::mu_exit, "mu_exit", "E&xit"),
    Top(M::mu_print, "mu_print", "&Print Preview"),
    Item(M::mu_SimplePhoneList, "mu_SimplePhoneList", "Simple Phone List"),
    Item(M::mu_PrintPhoneList, "mu_PrintPhoneList", "Complete Phone List"),
    Separator(),
    Item(M::mu_PrintCompleteRecords, "mu_PrintCompleteRecords", "Complete Records (text)"),
    Item(M::mu_PrintComplete_HTML, "mu_PrintComplete_HTML", "Complete Records (html)"),
    Separator(),
    Item(M::mu_printMailingAddresses, "mu_printMailingAddresses", "Address Labels"),
    Separator(),
    Item(M::mu_printEmail, "mu_printEmail", "Email Addresses"),
    Top(M::mu_ImportExport, "mu_ImportExport", "&Import / Export"),
    Item(M::mu_ImportTabrel, "mu_ImportTabrel", FormatOf(FormatId::kNative).import_item),
    Item(M::mu_ImportOldTabrel, "mu_ImportOldTabrel", FormatOf(FormatId::kDos).import_item),
    Item(M::mu_ImportComma, "mu_ImportComma", FormatOf(FormatId::kComma).import_item),
    Item(M::mu_ImportAgent, "mu_ImportAgent", FormatOf(FormatId::kAgent).import_item),
    Item(M::mu_ImportNetscape, "mu_ImportNetscape", FormatOf(FormatId::kLdif).import_item),
    Item(M::mu_ImportVcard, "mu_ImportVcard", FormatOf(FormatId::kVcard).import_item),
    Separator(),
    Item(M::mu_exportTabrel, "mu_exportTabrel", FormatOf(FormatId::kNative).export_item),
    Item(M::mu_ExportOldTabrel, "mu_ExportOldTabrel", FormatOf(FormatId::kDos).export_item),
    Item(M::mu_ExportComma, "mu_ExportComma", FormatOf(FormatId::kComma).export_item),
    Item(M::mu_ExportAgent, "mu_ExportAgent", FormatOf(FormatId::kAgent).export_item),
    Item(M::mu_ExportNetscape, "mu_ExportNetscape", FormatOf(FormatId::kLdif).export_item),
    Item(M::mu_ExportVcard, "mu_ExportVcard", FormatOf(FormatId::kVcard).export_item),
    Separator(),
    Item(M::mu_QuickUpdate, "mu_QuickUpdate", "Get Quick Update"),
    Item(M::mu_MakeQuickUpdate, "mu_MakeQuickUpdate", "Make Quick Update"),
    Top(M::mu_filter, "mu_filter", "Fil&ter"),
    Item(M::mu_ShowBoth, "mu_ShowBoth", "Show Both Public and Personal", 0, true),
    Item(M::mu_PublicOnly, "mu_PublicOnly", "Show Only Public Records"),
    Item(M::mu_PersonalOnly, "mu_PersonalOnly", "Show Only Personal Records"),
    Separator(),
    Item(M::mu_NoKeys, "mu_NoKeys", "Show Records That Have No Keywords"),
    Separator(),
    Item(M::mu_WordSearchCurrent, "mu_WordSearchCurrent", "Search current list for a word",
         key::kF6),
    Top(M::mu_ListMode, "mu_ListMode", "List Mode"),
    Item(M::mu_FreeListON, "mu_FreeListON", "Free Selection / Add Subtract"),
    Item(M::mu_FreeListOFF, "mu_FreeListOFF", "Keyword / Search Result Only", 0, true),
    Top(M::mu_keywords, "mu_keywords", "&Keywords"),
    Item(M::mu_NewKey, "mu_NewKey", "Add New Keyword"),
    Item(M::mu_deleteKey, "mu_deleteKey", "Delete Keyword"),
    Item(M::mu_changeKey, "mu_changeKey", "Change Keyword"),
    Top(M::mu_MakeContact, "mu_MakeContact", "&Make Contact"),
    Item(M::mu_DialPhone, "mu_DialPhone", "Dial Phone Number", key::kF7),
    Item(M::mu_DialFax, "mu_DialFax", "Dial Fax Number"),
    Item(M::mu_DialCellular, "mu_DialCellular", "Dial Mobile Number"),
    Item(M::mu_DialPager, "mu_DialPager", "Dial Pager Number"),
    Item(M::mu_CallWithPhoneProgram, "mu_CallWithPhoneProgram", "Call With Phone Program"),
    Separator(),
    Item(M::mu_sendEmail, "mu_sendEmail", "Send Email", key::kF8),
    Separator(),
    Item(M::mu_webBrowse, "mu_webBrowse", "Visit Website", key::kF9),
    Top(M::mu_Help, "mu_Help", "&Help"),
    Item(M::mu_HelpContents, "mu_HelpContents", "Contents", key::kF1),
    Item(M::mu_DunWeb, "mu_DunWeb", "Visit Dunmarrow on the Web"),
    Item(M::mu_HelpAbout, "mu_HelpAbout", "About Tabrel"),
    Item(M::mu_Game, "mu_Game", "Take a Break"),
};

constexpr std::array<ToolbarButton, 8> kToolbar = {{
    {"New <F2>", "MainTB_New", "add new record - start from scratch"},
    {"Copy <F3>", "MainTB_Copy", "add new record - start with current record's information"},
    {"Config <F5>", "MainTB_Settings", "general program configuration settings"},
    {"Search <F6>", "MainTB_WordSearch", "search currently displayed list for a word"},
    {"Phone <F7>", "MainTB_Phone", "have your modem dial the phone number"},
    {"Email <F8>", "MainTB_Email", "start email client with current record"},
    {"Web <F9>", "MainTB_Web", "start web browser with current record"},
    {"Help", "MainTB_Help", "display the help file"},
}};

constexpr std::array<StatusPanel, 4> kPanels = {{
    {StatusPanelId::kFilter, "PubPer", "ALL", "toggle public/personal/all filter"},
    {StatusPanelId::kListMode, "ListMode", "NORM", "toggle list mode normal/freestyle"},
    {StatusPanelId::kSelection, "", "", ""},
    {StatusPanelId::kDataPath, "", "", "this is your current data path"},
}};

}  // namespace

std::span<const MenuEntry> MenuTree() {
  return kMenuTree;
}

const MenuEntry& MenuEntryOf(MenuId id) {
  for (const auto& entry : kMenuTree) {
    if (entry.id == id) return entry;
  }
  return kMenuTree.front();
}

std::span<const ToolbarButton> ToolbarButtons() {
  return kToolbar;
}
std::span<const StatusPanel> StatusPanels() {
  return kPanels;
}

}  // namespace tabrel
