#include "mainwin/main_window.h"

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>

#include "fakes/contact_files.h"
#include "fakes/fake_dialogs.h"
#include "fakes/fake_help.h"
#include "fakes/fake_main_view.h"
#include "fakes/main_window_harness.h"
#include "fakes/temp_dir.h"
#include "mainwin/key_codes.h"
#include "mainwin/record_list.h"
#include "store/data_set.h"
#include "store/settings_record.h"
#include "store/text.h"

namespace tabrel {
namespace {

using testing::Contact;
using testing::FakeDialogs;
using testing::FakeHelp;
using testing::FakeMainView;
using testing::Keyword;
using testing::TempDir;
using testing::WriteContacts;
using testing::WriteKeywords;

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

// Six records in file order; the blank-type "Ghost" is never listed.
std::vector<ContactRecord> SampleRecords() {
  auto adams = Contact("1", "Adams", "Ann", "01-01-2000 1");
  adams.KW1 = Keyword("Friends");
  auto baker = Contact("3", "baker", "Bob", "01-01-2000 2");
  baker.KW2 = Keyword("Friends");
  baker.KW3 = Keyword("Friends");
  baker.Notes = "likes sailing";
  auto acme = Contact("2", "Acme Corp", "", "01-01-2000 3");
  acme.Notes = "sailing club";
  auto zeta = Contact("4", "Zeta Trust", "", "02-02-2002 4");
  zeta.KW1 = Keyword("~Family");
  auto ghost = Contact(" ", "Ghost", "", "01-01-2000 5");
  auto nameless = Contact("1", "", "", "01-01-2000 6");
  return {adams, baker, acme, zeta, ghost, nameless};
}

class MainWindowTest : public ::testing::Test, public testing::MainWindowHarness {
 protected:
  void WriteSample() {
    WriteContacts(dir, SampleRecords());
    WriteKeywords(dir, {"Friends", "~Family", "Work"});
  }
  void Pop(std::string selection) { window.PopMainGrid(selection); }
  std::vector<std::string> Panel3History() const {
    std::vector<std::string> texts;
    for (const auto& [panel, text] : view.status_history) {
      if (panel == 3) texts.push_back(text);
    }
    return texts;
  }
};

TEST_F(MainWindowTest, FormLoadOnAFreshFolderCreatesTheFilesAndListsNothing) {
  window.Form_Load();
  EXPECT_EQ(help.help_file, "tabrel.hlp");
  EXPECT_EQ(view.caption, "Tabrel 3.0");
  EXPECT_EQ(dir.Read("tr30.ini").size(), 821u);
  ASSERT_TRUE(dir.Exists("tabrel.dat"));
  ASSERT_TRUE(dir.Exists("keyword.dat"));
  EXPECT_EQ(dir.Read("tabrel.dat"), "");
  EXPECT_EQ(window.MainGrid().Rows(), 1);
  EXPECT_EQ(view.status[1], "ALL");
  EXPECT_EQ(view.status[2], "NORM");
  EXPECT_EQ(view.status[3], "0 RECORDS TOTAL");
  EXPECT_EQ(view.status[4], Upper(dir.path()));
  EXPECT_FALSE(view.menu_enabled.at(MenuId::mu_print));
  EXPECT_TRUE(view.splash_shown);
  EXPECT_TRUE(view.splash_closed);
  EXPECT_TRUE(dialogs.messages.empty());
  // Blank alternate paths keep the design captions.
  EXPECT_EQ(view.menu_caption.count(MenuId::mu_data1), 0u);
  EXPECT_EQ(view.menu_caption.count(MenuId::mu_data2), 0u);
  window.Form_Unload();
  EXPECT_EQ(help.closed, 1);
}

TEST_F(MainWindowTest, FormLoadLabelsTheAlternateDataPathsThatAreSet) {
  SettingsRecord settings = DefaultSettings();
  settings.Path1 = Fit("   ", 100);
  settings.Path2 = Fit("  /srv/shared/ ", 100);
  ASSERT_TRUE(WriteSettingsFile(dir.path(), settings).ok());
  window.Form_Load();
  EXPECT_EQ(view.menu_caption.count(MenuId::mu_data1), 0u);
  EXPECT_EQ(view.menu_caption[MenuId::mu_data2], "Use Alternate #2: /srv/shared/");
  settings.Path1 = Fit("/home/me/contacts", 100);
  ASSERT_TRUE(WriteSettingsFile(dir.path(), settings).ok());
  window.Form_Load();
  EXPECT_EQ(view.menu_caption[MenuId::mu_data1], "Use Alternate #1: /home/me/contacts");
}

TEST_F(MainWindowTest, FormLoadLoadsTheSettingsBeforeFillingTheLists) {
  WriteSample();
  state.data_path = dir.path() + "not-there/";
  window.Form_Load();
  EXPECT_TRUE(dialogs.messages.empty()) << "the data path must be the program folder by now";
  EXPECT_EQ(state.data_path, dir.path());
  EXPECT_EQ(Names(),
            (std::vector<std::string>{"Adams, Ann", "baker, Bob", "Acme Corp", "Zeta Trust", ","}));
  EXPECT_EQ(window.KeywordGrid().Rows(), 4);
  EXPECT_EQ(view.status[3], "5 RECORDS TOTAL");
  EXPECT_TRUE(view.menu_enabled.at(MenuId::mu_print));
}

TEST_F(MainWindowTest, KeywordListIsOneColumnOfUntrimmedEntriesInFileOrder) {
  dir.Write("keyword.dat", Keyword("Work") + Keyword("~Home") + "partial");
  window.PopKeywordGrid();
  const Grid& grid = window.KeywordGrid();
  ASSERT_EQ(grid.Cols(), 1);
  EXPECT_EQ(grid.columns()[0].caption, "Keywords" + std::string(37, ' '));
  EXPECT_EQ(grid.columns()[0].alignment, Alignment::kLeft);
  ASSERT_EQ(grid.Rows(), 3);
  EXPECT_EQ(grid.TextAt(1, 0), Keyword("Work"));
  EXPECT_EQ(grid.TextAt(2, 0), Keyword("~Home"));
}

TEST_F(MainWindowTest, RowsShowNamesStoredFieldsAndTheStampWithPersonalNamesInCyan) {
  WriteSample();
  Pop("All Records");
  Grid& grid = window.MainGrid();
  ASSERT_EQ(grid.Rows(), 6);
  EXPECT_EQ(grid.TextAt(3, 0), Fit("Acme Corp", 40)) << "organisations show Org as stored";
  EXPECT_EQ(grid.TextAt(5, 0), ", ");
  EXPECT_EQ(grid.TextAt(1, 1), std::string(20, ' '));
  EXPECT_EQ(grid.TextAt(4, kIdColumn), "02-02-2002 4       ");
  const Colour expected[] = {kWhite, kCyan, kWhite, kCyan, kWhite};
  for (int r = 1; r <= 5; ++r) EXPECT_EQ(grid.CellForeColorAt(r, 0), expected[r - 1]) << r;
  // The blank-type record is read (and counted) but not listed.
  EXPECT_EQ(view.progress_range, (std::pair<int, int>{1, 8}));
  // The first row is current and selected across all eleven columns.
  EXPECT_EQ(grid.Row(), 1);
  EXPECT_EQ(grid.Col(), 0);
  EXPECT_EQ(grid.ColSel(), kIdColumn);
}

TEST_F(MainWindowTest, StatusTextsShowTheSelectionThenTheCountThenTheDataPath) {
  WriteSample();
  struct Case {
    std::string selection;
    std::string final_text;
  };
  const Case cases[] = {
      {"All Records", "5 RECORDS TOTAL"},
      {Keyword("Friends"), "2 RECORDS HAVE KEYWORD Friends"},
      {Keyword("~Family"), "1 RECORDS HAVE KEYWORD ~Family"},
      {Keyword("Work"), "0 RECORDS HAVE KEYWORD Work"},
      {"", "2 RECORDS HAVE NO KEYWORDS"},
  };
  for (const Case& c : cases) {
    view.status_history.clear();
    Pop(c.selection);
    const auto texts = Panel3History();
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.front(), c.selection);
    EXPECT_EQ(texts.back(), c.final_text);
    EXPECT_EQ(view.status_history.back(), (std::pair<int, std::string>{4, Upper(dir.path())}));
    EXPECT_EQ(view.menu_enabled.at(MenuId::mu_print), c.final_text[0] != '0') << c.final_text;
  }
}

TEST_F(MainWindowTest, NormalModeWordSearchStaysInsideTheListedRowsAndCleansUp) {
  WriteSample();
  // Only Adams and baker were listed when the search started.
  dir.Write("tabrel.tmp", "01-01-2000 1       \r\n01-01-2000 2       \r\n");
  std::string selection = "%%SAILING";
  window.PopMainGrid(selection);
  EXPECT_EQ(selection, "SAILING") << "the caller sees the bare word";
  EXPECT_EQ(Names(), (std::vector<std::string>{"baker, Bob"}));
  EXPECT_EQ(view.status[3], "1 CONTAIN \"SAILING\"");
  EXPECT_FALSE(dir.Exists("tabrel.tmp"));
}

TEST_F(MainWindowTest, WordSearchMatchesWhateverCaseTheWordIsTypedIn) {
  WriteSample();
  window.mu_FreeListON_Click();
  std::string selection = "%%sailing";
  window.PopMainGrid(selection);
  EXPECT_EQ(Names(), (std::vector<std::string>{"baker, Bob", "Acme Corp"}));
}

TEST_F(MainWindowTest, FreeModeWordSearchSearchesTheWholeFileAndAddsBelow) {
  WriteSample();
  Pop(Keyword("~Family"));
  window.mu_FreeListON_Click();
  Pop("%%12-31-1999");
  EXPECT_EQ(view.status[3], "1 RECORDS SELECTED");
  Pop("%%01-01-2000");  // the date part of the stamps
  EXPECT_EQ(Names(),
            (std::vector<std::string>{"Zeta Trust", "Adams, Ann", "baker, Bob", "Acme Corp", ","}));
  EXPECT_EQ(view.status[3], "5 RECORDS SELECTED");
  EXPECT_EQ(window.MainGrid().Row(), 1);
}

TEST_F(MainWindowTest, FreeModeListsTheSameKeywordTwiceWhenSelectedTwice) {
  WriteSample();
  window.PopKeywordGrid();
  window.mu_FreeListON_Click();
  Pop("");
  window.KeywordGrid().SetRow(1);
  window.KeywordGrid_dblClick();
  window.KeywordGrid_dblClick();
  EXPECT_EQ(view.keyword_edit, "Friends");
  EXPECT_EQ(Names(), (std::vector<std::string>{"Acme Corp", ",", "Adams, Ann", "baker, Bob",
                                               "Adams, Ann", "baker, Bob"}));
  EXPECT_EQ(view.status[3], "6 RECORDS SELECTED");
}

TEST_F(MainWindowTest, FilterPanelCyclesAllPublicPersonalAndRefillsInNormalMode) {
  WriteSample();
  window.mu_FreeListON_Click();
  Pop("");
  struct Step {
    std::int16_t filter;
    const char* panel;
    MenuId ticked;
    std::vector<std::string> names;
  };
  const Step steps[] = {
      {kFilterPublicOnly, "PUBLIC", MenuId::mu_PublicOnly, {"Adams, Ann", "Acme Corp", ","}},
      {kFilterPersonalOnly, "PERSONAL", MenuId::mu_PersonalOnly, {"baker, Bob", "Zeta Trust"}},
      {kFilterAll,
       "ALL",
       MenuId::mu_ShowBoth,
       {"Adams, Ann", "baker, Bob", "Acme Corp", "Zeta Trust", ","}},
  };
  for (const Step& step : steps) {
    window.tr_SB1_PanelClick("PubPer");
    EXPECT_EQ(state.filter, step.filter);
    EXPECT_EQ(state.list_mode, kListNormal);
    EXPECT_EQ(view.status[1], step.panel);
    EXPECT_EQ(Names(), step.names) << step.panel;
    for (MenuId id : {MenuId::mu_ShowBoth, MenuId::mu_PublicOnly, MenuId::mu_PersonalOnly}) {
      EXPECT_EQ(view.menu_checked.at(id), id == step.ticked) << step.panel;
    }
  }
}

TEST_F(MainWindowTest, FilterSurvivesOtherSelectionsAndDisplayAll) {
  WriteSample();
  window.mu_PublicOnly_Click();
  Pop(Keyword("Friends"));
  EXPECT_EQ(Names(), (std::vector<std::string>{"Adams, Ann"}));
  window.mu_FreeListON_Click();
  window.mu_DisplayAll_Click();
  EXPECT_EQ(state.filter, kFilterPublicOnly);
  EXPECT_EQ(state.list_mode, kListNormal);
  EXPECT_EQ(view.status[2], "NORM");
  EXPECT_EQ(view.focused, Control::kMainGrid);
  EXPECT_EQ(Names(), (std::vector<std::string>{"Adams, Ann", "Acme Corp", ","}));
  window.mu_NoKeys_Click();
  EXPECT_EQ(Names(), (std::vector<std::string>{"Acme Corp", ","}));
  EXPECT_EQ(view.status[3], "2 RECORDS HAVE NO KEYWORDS");
}

TEST_F(MainWindowTest, ListModePanelTogglesWithoutRefillingTheList) {
  WriteSample();
  Pop("All Records");
  const auto history_size = view.status_history.size();
  Grid& grid = window.MainGrid();
  window.tr_SB1_PanelClick("ListMode");
  EXPECT_EQ(state.list_mode, kListFree);
  EXPECT_EQ(view.status[2], "FREE");
  EXPECT_EQ(grid.BackColor(), kGrey);
  EXPECT_EQ(grid.BackColorBkg(), kGrey);
  EXPECT_TRUE(view.menu_checked.at(MenuId::mu_FreeListON));
  EXPECT_FALSE(view.menu_checked.at(MenuId::mu_FreeListOFF));
  window.tr_SB1_PanelClick("ListMode");
  EXPECT_EQ(state.list_mode, kListNormal);
  EXPECT_EQ(view.status[2], "NORM");
  EXPECT_EQ(grid.BackColor(), kDarkBlue);
  EXPECT_EQ(grid.BackColorBkg(), kDarkBlue);
  EXPECT_TRUE(view.menu_checked.at(MenuId::mu_FreeListOFF));
  EXPECT_EQ(view.status_history.size(), history_size + 2) << "only panel 2 changes";
  EXPECT_EQ(grid.Rows(), 6);
}

TEST_F(MainWindowTest, LetterJumpScrollsToTheFirstNameWithThatLetter) {
  WriteSample();
  Pop("All Records");
  Grid& grid = window.MainGrid();
  struct Case {
    char letter;
    int row;
  };
  for (const Case& c : {Case{'Z', 4}, Case{'B', 2}, Case{'A', 1}}) {
    window.Command1_Click(c.letter - 'A');
    EXPECT_EQ(grid.Row(), c.row) << c.letter;
    EXPECT_EQ(grid.TopRow(), c.row) << c.letter;
    EXPECT_TRUE(grid.IsSelected(c.row, kIdColumn)) << c.letter;
  }
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_TRUE(window.Form_KeyDown('Z', 0));
  EXPECT_EQ(grid.Row(), 4);
}

TEST_F(MainWindowTest, LetterJumpWithoutMatchWarnsAndLeavesTheLastRowCurrent) {
  WriteSample();
  window.Form_Load();
  EXPECT_TRUE(window.Form_KeyDown('Q', 0));
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].text, "No records start with Q");
  EXPECT_EQ(dialogs.messages[0].title, "Nothing to do!");
  EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::kExclamation);
  EXPECT_EQ(window.MainGrid().Row(), 5);

  view.focused = Control::kKeywordGrid;
  window.Command1_Click('W' - 'A');
  EXPECT_EQ(window.KeywordGrid().Row(), 3);
  window.Command1_Click('X' - 'A');
  ASSERT_EQ(dialogs.messages.size(), 2u);
  EXPECT_EQ(dialogs.messages[1].text, "No keywords start with X");
  EXPECT_EQ(window.KeywordGrid().Row(), 3);
}

TEST_F(MainWindowTest, DeleteKeyRemovesTheRowNotTheRecordAndSwitchesToFreeMode) {
  WriteSample();
  const std::string file_before = dir.Read("tabrel.dat");
  Pop("All Records");
  Grid& grid = window.MainGrid();
  grid.SetRow(2);
  view.focused = Control::kMainGrid;
  EXPECT_TRUE(window.Form_KeyDown(key::kDelete, 0));
  EXPECT_EQ(Names(), (std::vector<std::string>{"Adams, Ann", "Acme Corp", "Zeta Trust", ","}));
  EXPECT_EQ(dir.Read("tabrel.dat"), file_before);
  EXPECT_EQ(state.list_mode, kListFree);
  EXPECT_EQ(view.status[2], "FREE");
  EXPECT_EQ(view.status[3], "4 RECORDS SELECTED");
  EXPECT_EQ(grid.BackColor(), kGrey);
  EXPECT_EQ(grid.BackColorBkg(), kGrey);
  EXPECT_TRUE(view.menu_checked.at(MenuId::mu_FreeListON));
  // A new selection is now added below the remaining rows.
  Pop(Keyword("~Family"));
  EXPECT_EQ(view.status[3], "5 RECORDS SELECTED");
}

TEST_F(MainWindowTest, DeleteKeyOnTheHeaderRowOrOutsideTheListDoesNothing) {
  WriteSample();
  Pop("All Records");
  window.MainGrid().SetRow(0);
  window.Form_KeyDown(key::kDelete, 0);
  EXPECT_EQ(window.MainGrid().Rows(), 6);
  EXPECT_EQ(state.list_mode, kListNormal);
  window.MainGrid().SetRow(1);
  view.focused = Control::kNone;
  EXPECT_FALSE(window.Form_KeyDown(key::kDelete, 0));
  EXPECT_EQ(window.MainGrid().Rows(), 6);
}

TEST_F(MainWindowTest, UnreadableDataFolderFallsBackToTheProgramFolder) {
  WriteSample();
  state.data_path = dir.path() + "missing/";
  Pop("All Records");
  ASSERT_EQ(dialogs.messages.size(), 1u);
  const Message& message = dialogs.messages[0];
  EXPECT_EQ(message.text.rfind("Error 76: ", 0), 0u) << message.text;
  const std::string tail = "\r\nSwitching back to default directory...";
  ASSERT_GE(message.text.size(), tail.size());
  EXPECT_EQ(message.text.substr(message.text.size() - tail.size()), tail);
  EXPECT_EQ(message.title, "Disk access error!");
  EXPECT_EQ(message.icon, MessageIcon::kExclamation);
  EXPECT_EQ(state.data_path, dir.path());
  EXPECT_EQ(Names().size(), 5u);
  EXPECT_EQ(view.status[3], "5 RECORDS TOTAL");
  EXPECT_EQ(view.status[4], Upper(dir.path()));
  EXPECT_FALSE(std::filesystem::exists(dir.File("missing")));
}

TEST_F(MainWindowTest, WhenTheProgramFolderFailsTooTheFillStopsWithAnEmptyList) {
  AppState lost(dir.path() + "program-gone/");
  lost.data_path = dir.path() + "data-gone/";
  MainWindow lost_window(lost, view, platform);
  std::string all = "All Records";
  lost_window.PopMainGrid(all);
  std::string shown;
  for (const Message& message : dialogs.messages) shown += message.text + "\n";
  EXPECT_EQ(dialogs.messages.size(), 2u) << shown;
  for (const Message& message : dialogs.messages) {
    EXPECT_NE(message.text.find("Switching back to default directory..."), std::string::npos);
  }
  EXPECT_EQ(lost_window.MainGrid().Rows(), 1);
  EXPECT_EQ(lost_window.MainGrid().Cols(), 11);
  EXPECT_EQ(view.status[3], "0 RECORDS TOTAL");
  EXPECT_FALSE(view.menu_enabled.at(MenuId::mu_print));
}

TEST_F(MainWindowTest, MoreThan32767RecordsAreAllListed) {
  constexpr int kCount = 32768 + 2;
  std::string bytes;
  bytes.reserve(kCount * 1047);
  for (int i = 0; i < kCount; ++i) {
    bytes += EncodeContact(Contact(i % 2 ? "2" : "1", "N" + std::to_string(i), "", "s"));
  }
  dir.Write("tabrel.dat", bytes);
  Pop("All Records");
  ASSERT_EQ(window.MainGrid().Rows(), kCount + 1);
  EXPECT_EQ(view.status[3], std::to_string(kCount) + " RECORDS TOTAL");
  EXPECT_EQ(RTrim(window.MainGrid().TextAt(kCount, 0)), "N" + std::to_string(kCount - 1));
  EXPECT_EQ(view.progress_range.second, kCount + 2);
}

TEST_F(MainWindowTest, GridWithTheFocusGetsABlackOnWhiteHeader) {
  struct Case {
    Control focused;
    Colour main_fore, main_back, key_fore, key_back;
  };
  const Case cases[] = {
      {Control::kMainGrid, kBlack, kWhite, kGrayText, kButtonFace},
      {Control::kKeywordGrid, kGrayText, kButtonFace, kBlack, kWhite},
      {Control::kNone, kGrayText, kButtonFace, kBlack, kWhite},  // unchanged
  };
  for (const Case& c : cases) {
    view.focused = c.focused;
    EXPECT_FALSE(window.Form_KeyDown(key::kTab, 0)) << "Tab goes on to the window";
    EXPECT_EQ(window.MainGrid().ForeColorFixed(), c.main_fore);
    EXPECT_EQ(window.MainGrid().BackColorFixed(), c.main_back);
    EXPECT_EQ(window.KeywordGrid().ForeColorFixed(), c.key_fore);
    EXPECT_EQ(window.KeywordGrid().BackColorFixed(), c.key_back);
  }
}

TEST_F(MainWindowTest, BlankMenuDisablesTheSixDataMenusOnly) {
  const MenuId six[] = {MenuId::mu_file,   MenuId::mu_print,    MenuId::mu_ImportExport,
                        MenuId::mu_filter, MenuId::mu_keywords, MenuId::mu_MakeContact};
  window.BlankMenu();
  EXPECT_EQ(view.menu_enabled.size(), 6u);
  for (MenuId id : six) EXPECT_FALSE(view.menu_enabled.at(id));
  window.ShowMenu();
  EXPECT_EQ(view.menu_enabled.size(), 6u);
  for (MenuId id : six) EXPECT_TRUE(view.menu_enabled.at(id));
}

}  // namespace
}  // namespace tabrel
