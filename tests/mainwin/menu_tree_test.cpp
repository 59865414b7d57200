// The menu bar, toolbar and status bar as the window shows them.
#include "mainwin/menu_tree.h"

#include <gtest/gtest.h>

#include <string>

#include "present/key_codes.h"

namespace tabrel {
namespace {

TEST(MenuTreeTest, EachMenuHoldsItsItemsInOrderWithTheirKeysAndTicks) {
  // One line per menu: its caption, then its items ("F2": shortcut, "*":
  // ticked at start, "-": a separator line).
  std::string tree;
  for (const MenuEntry& entry : MenuTree()) {
    if (entry.top_level && !tree.empty()) tree += "\n";
    if (!entry.top_level) tree += "|";
    tree += entry.caption;
    if (entry.shortcut_key) tree += " F" + std::to_string(entry.shortcut_key - key::kF1 + 1);
    if (entry.checked_at_start) tree += " *";
    if (entry.id != MenuId::kSeparator) {
      EXPECT_EQ(&MenuEntryOf(entry.id), &entry);
    }
  }
  EXPECT_EQ(tree + "\n",
            "&File|Add New Record F2|Duplicate Record F3|-|Display All Records F4|-|Use The "
            "Default Data Path *|Use Alternate Data Path #1|Use Alternate Data Path #2|Select A "
            "Data Path|-|Sort the Current Data Set|-|Configuration Settings F5|-|Create Backup "
            "Data Set|Restore Backup Data Set|-|E&xit\n"
            "&Print Preview|Simple Phone List|Complete Phone List|-|Complete Records "
            "(text)|Complete Records (html)|-|Address Labels|-|Email Addresses\n"
            "&Import / Export|Import Windows Tabrel Records|Import DOS Tabrel Records|Import "
            "Comma-Delimited Records|Import Agent Address Book Format|Import Lightweight Data "
            "Interchange Format|-|Export Windows Tabrel Records|Export DOS Tabrel Records|Export "
            "Comma-Delimited Records|Export Agent Address Book Format|Export Lightweight Data "
            "Interchange Format|-|Get Quick Update|Make Quick Update\n"
            "&Filter|Show Both Public and Personal *|Show Only Public Records|Show Only Personal "
            "Records|-|Show Records That Have No Keywords|-|Search current list for a word F6\n"
            "List Mode|Free Selection / Add Subtract|Keyword / Search Result Only *\n"
            "&Keywords|Add New Keyword|Delete Keyword|Change Keyword\n"
            "&Make Contact|Dial Phone Number F7|Dial Fax Number|Dial Mobile Number|Dial Pager "
            "Number|Call With Phone Program|-|Send Email F8|-|Visit Website F9\n"
            "&Help|Contents F1|Visit Dunmarrow on the Web|About Tabrel|Take a Break\n");
}

TEST(MenuTreeTest, ToolbarButtonsAndStatusPanelsCarryTheirKeysAndTexts) {
  std::string toolbar;
  for (const ToolbarButton& b : ToolbarButtons()) {
    toolbar +=
        std::string(b.caption) + "|" + std::string(b.key) + "|" + std::string(b.tooltip) + "\n";
  }
  EXPECT_EQ(toolbar,
            "New <F2>|MainTB_New|add new record - start from scratch\n"
            "Copy <F3>|MainTB_Copy|add new record - start with current record's information\n"
            "Config <F5>|MainTB_Settings|general program configuration settings\n"
            "Search <F6>|MainTB_WordSearch|search currently displayed list for a word\n"
            "Phone <F7>|MainTB_Phone|have your modem dial the phone number\n"
            "Email <F8>|MainTB_Email|start email client with current record\n"
            "Web <F9>|MainTB_Web|start web browser with current record\n"
            "Help|MainTB_Help|display the help file\n");
  std::string panels;
  for (const StatusPanel& p : StatusPanels()) {
    panels += std::to_string(static_cast<int>(p.id)) + "|" + std::string(p.key) + "|" +
              std::string(p.design_text) + "|" + std::string(p.tooltip) + "\n";
  }
  EXPECT_EQ(panels,
            "1|PubPer|ALL|toggle public/personal/all filter\n"
            "2|ListMode|NORM|toggle list mode normal/freestyle\n"
            "3|||\n"
            "4|||this is your current data path\n");
}

}  // namespace
}  // namespace tabrel
