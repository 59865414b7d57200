#include "mainwin/menu_tree.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "mainwin/key_codes.h"

namespace tabrel {
namespace {

TEST(MenuTreeTest, CaptionsInDisplayOrderWithSeparators) {
  // One text a top menu: its caption, then its items, all joined by "|".
  const std::vector<std::string> expected = {
      "&File|Add New Record|Duplicate Record|-|Display All Records|-|Use The Default Data Path|"
      "Use Alternate Data Path #1|Use Alternate Data Path #2|Select A Data Path|-|"
      "Sort the Current Data Set|-|Configuration Settings|-|Create Backup Data Set|"
      "Restore Backup Data Set|-|E&xit",
      "&Print Preview|Simple Phone List|Complete Phone List|-|Complete Records (text)|"
      "Complete Records (html)|-|Address Labels|-|Email Addresses",
      "&Import / Export|Import Windows Tabrel Records|Import DOS Tabrel Records|"
      "Import Comma-Delimited Records|Import Agent Address Book Format|"
      "Import Lightweight Data Interchange Format|-|Export Windows Tabrel Records|"
      "Export DOS Tabrel Records|Export Comma-Delimited Records|Export Agent Address Book Format|"
      "Export Lightweight Data Interchange Format|-|Get Quick Update|Make Quick Update",
      "&Filter|Show Both Public and Personal|Show Only Public Records|Show Only Personal Records|-|"
      "Show Records That Have No Keywords|-|Search current list for a word",
      "List Mode|Free Selection / Add Subtract|Keyword / Search Result Only",
      "&Keywords|Add New Keyword|Delete Keyword|Change Keyword",
      "&Make Contact|Dial Phone Number|Dial Fax Number|Dial Mobile Number|Dial Pager Number|-|"
      "Send Email|-|Visit Website",
      "&Help|Contents|Visit Dunmarrow on the Web|About Tabrel|Take a Break",
  };
  std::vector<std::string> actual;
  for (const MenuEntry& entry : MenuTree()) {
    if (entry.top_level) {
      actual.emplace_back(entry.caption);
    } else {
      ASSERT_FALSE(actual.empty()) << "an item before the first top menu";
      actual.back() += "|" + std::string(entry.caption);
    }
  }
  EXPECT_EQ(actual, expected);
}

TEST(MenuTreeTest, EveryItemAppearsOnceAndFunctionKeysOneToNineOnceEach) {
  std::set<MenuId> seen;
  std::map<int, std::string> shortcuts;
  for (const MenuEntry& entry : MenuTree()) {
    if (entry.id == MenuId::kSeparator) continue;
    EXPECT_TRUE(seen.insert(entry.id).second) << entry.name;
    EXPECT_EQ(MenuEntryOf(entry.id).name, entry.name);
    if (entry.shortcut_key != 0) {
      EXPECT_TRUE(shortcuts.emplace(entry.shortcut_key, std::string(entry.name)).second)
          << entry.name;
    }
  }
  EXPECT_EQ(seen.size(), static_cast<std::size_t>(MenuId::kSeparator));
  const std::map<int, std::string> expected = {
      {key::kF1, "mu_HelpContents"}, {key::kF2, "mu_NewRecord"}, {key::kF3, "mu_Duplicate"},
      {key::kF4, "mu_DisplayAll"},   {key::kF5, "mu_Settings"},  {key::kF6, "mu_WordSearchCurrent"},
      {key::kF7, "mu_DialPhone"},    {key::kF8, "mu_sendEmail"}, {key::kF9, "mu_webBrowse"},
  };
  EXPECT_EQ(shortcuts, expected);
}

}  // namespace
}  // namespace tabrel
