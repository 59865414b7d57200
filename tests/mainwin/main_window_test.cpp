#include "mainwin/main_window.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <tuple>

#include "fakes/contact_files.h"
#include "fakes/main_window_harness.h"
#include "present/key_codes.h"
#include "store/data_set.h"

namespace tabrel {
namespace {

using testing::Contact;
using testing::Keyword;
using Texts = std::vector<std::string>;

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

class MainWindowTest : public ::testing::Test, public testing::MainWindowHarness {
 protected:
  // Six records in file order; the blank-type "Ghost" is never listed.
  void WriteSample() {
    auto adams = Contact("1", "Adams", "Ann", "01-01-2000 1");
    adams.KW1 = Keyword("Friends");
    adams.KW2 = Keyword("Friends");
    auto baker = Contact("3", "baker", "Bob", "01-01-2000 2");
    baker.KW3 = Keyword("Friends");
    baker.Notes = "likes sailing";
    auto zeta = Contact("4", "Zeta Trust", "", "02-02-2002 4");
    zeta.KW1 = Keyword("~Family");
    zeta.Notes = "sailing club";
    auto nameless = Contact("1", "", "", "01-01-2000 6");
    nameless.KW3 = Keyword("friends");
    testing::WriteContacts(dir, {adams, baker, Contact("2", "Acme Corp", "", "01-01-2000 3"), zeta,
                                 Contact(" ", "Ghost", "", "01-01-2000 5"), nameless});
    testing::WriteKeywords(dir, {"Friends", "~Family", "Work"});
  }
};

const Texts kAllListed = {"Adams, Ann", "baker, Bob", "Acme Corp", "Zeta Trust", ","};

TEST_F(MainWindowTest, FormLoadCreatesMissingFilesThenLoadsTheSettingsBeforeTheLists) {
  window.Form_Load();
  EXPECT_TRUE(dir.Exists("tr30.ini") && dir.Exists("tabrel.dat") && dir.Exists("keyword.dat"));
  EXPECT_EQ(view.status[StatusPanelId::kSelection], "0 RECORDS TOTAL");
  EXPECT_TRUE(view.menu_caption.empty()) << "blank alternate paths keep the design captions";

  WriteSample();
  SettingsRecord settings = DefaultSettings();
  settings.Path2 = Fit("  /srv/shared/ ", 100);
  ASSERT_TRUE(WriteSettingsFile(dir.path(), settings).ok());
  state.data_path = dir.path() + "not-there/";
  window.Form_Load();
  EXPECT_TRUE(dialogs.messages.empty()) << "the data path must be the program folder by now";
  EXPECT_EQ(Names(), kAllListed);
  EXPECT_EQ(Names(true), (Texts{"Friends", "~Family", "Work"}));
  EXPECT_EQ(view.menu_caption,
            (std::map<MenuId, std::string>{{MenuId::mu_data2, "Use Alternate #2: /srv/shared/"}}));
  for (Control c : {Control::kBackground, Control::kViewFrame, Control::kKeyFrame,
                    Control::kFileSelector, Control::kPreviewText, Control::kProgressBar}) {
    EXPECT_FALSE(view.shown.at(c)) << static_cast<int>(c);
  }
  EXPECT_NE(std::ranges::find(view.visibility_changes, std::pair{Control::kProgressBar, true}),
            view.visibility_changes.end())
      << "while the list filled";
}

TEST_F(MainWindowTest, StatusTextsShowTheSelectionThenTheCountThenTheDataPath) {
  WriteSample();
  struct Case {
    std::string selection;
    std::string final_text;
    Texts names;
  };
  const Case cases[] = {
      {"All Records", "5 RECORDS TOTAL", kAllListed},
      // Stored texts compare on all 14 bytes, case included; a record
      // carrying the keyword twice is listed once.
      {Keyword("Friends"), "2 RECORDS HAVE KEYWORD Friends", {"Adams, Ann", "baker, Bob"}},
      {Keyword("~Family"), "1 RECORDS HAVE KEYWORD ~Family", {"Zeta Trust"}},
      {Keyword("Work"), "0 RECORDS HAVE KEYWORD Work", {}},
      {"", "1 RECORDS HAVE NO KEYWORDS", {"Acme Corp"}},
  };
  for (const Case& c : cases) {
    view.status_history.clear();
    window.MainGrid().SetCol(3);  // as a click in the list leaves it
    Pop(c.selection);
    EXPECT_EQ(Names(), c.names);
    EXPECT_EQ(std::pair(window.MainGrid().Col(), window.MainGrid().ColSel()),
              std::pair(0, kIdColumn));
    Texts texts;  // of the selection panel
    for (const auto& [panel, text] : view.status_history) {
      if (panel == StatusPanelId::kSelection) texts.push_back(text);
    }
    EXPECT_EQ(texts.front(), c.selection);
    EXPECT_EQ(texts.back(), c.final_text);
    EXPECT_EQ(view.status_history.back(), (std::pair{StatusPanelId::kDataPath, Upper(dir.path())}));
    EXPECT_EQ(view.menu_enabled.at(MenuId::mu_print), !c.names.empty()) << c.final_text;
  }
}

TEST_F(MainWindowTest, FilterCyclesAllPublicPersonalRefillsInNormalModeAndHoldsForEverySelection) {
  WriteSample();
  window.mu_FreeListON_Click();
  Pop("");
  struct Step {
    std::int16_t filter;
    const char* panel;
    MenuId ticked;
    Texts names;
  };
  const Step steps[] = {
      {kFilterPublicOnly, "PUBLIC", MenuId::mu_PublicOnly, {"Adams, Ann", "Acme Corp", ","}},
      {kFilterPersonalOnly, "PERSONAL", MenuId::mu_PersonalOnly, {"baker, Bob", "Zeta Trust"}},
      {kFilterAll, "ALL", MenuId::mu_ShowBoth, kAllListed},
  };
  for (const Step& step : steps) {
    window.tr_SB1_PanelClick("PubPer");
    EXPECT_EQ(state.filter, step.filter);
    EXPECT_EQ(view.status[StatusPanelId::kFilter], step.panel);
    EXPECT_EQ(view.status[StatusPanelId::kListMode], "NORM");
    EXPECT_EQ(Names(), step.names) << step.panel;
    for (MenuId id : {MenuId::mu_ShowBoth, MenuId::mu_PublicOnly, MenuId::mu_PersonalOnly}) {
      EXPECT_EQ(view.menu_checked.at(id), id == step.ticked) << step.panel;
    }
  }
  // The filter holds for the other selections too.
  window.mu_PublicOnly_Click();
  Pop(Keyword("Friends"));
  EXPECT_EQ(Names(), (Texts{"Adams, Ann"}));
  window.mu_NoKeys_Click();
  EXPECT_EQ(Names(), (Texts{"Acme Corp"}));
}

TEST_F(MainWindowTest, LetterJumpGoesToTheFirstRowWithTheLetterOrWarnsAndGoesToTheLast) {
  WriteSample();
  window.Form_Load();
  Grid& grid = window.MainGrid();
  for (const auto& [letter, row] : {std::pair{'Z', 4}, {'B', 2}, {'A', 1}}) {
    EXPECT_TRUE(window.Form_KeyDown(letter, 0));
    EXPECT_EQ(grid.Row(), row) << letter;
    EXPECT_EQ(grid.TopRow(), row) << letter;
    EXPECT_TRUE(grid.IsSelected(row, kIdColumn)) << letter;
  }
  window.Command1_Click('Q' - 'A');
  EXPECT_EQ(dialogs.messages.at(0).text, "No records start with Q");
  EXPECT_EQ(grid.Row(), 5);

  view.focused = Control::kKeywordGrid;
  window.Command1_Click('W' - 'A');
  EXPECT_EQ(window.KeywordGrid().Row(), 3);
  window.Command1_Click('X' - 'A');
  EXPECT_EQ(dialogs.messages.back().text, "No keywords start with X");
}

TEST_F(MainWindowTest, DeleteKeyRemovesTheRowNotTheRecordAndSwitchesToFreeMode) {
  WriteSample();
  const std::string file_before = dir.Read("tabrel.dat");
  Pop();
  Grid& grid = window.MainGrid();
  grid.SetRow(0);
  window.Form_KeyDown(key::kDelete, 0);
  EXPECT_EQ(grid.Rows(), 6) << "the header row stays";
  grid.SetRow(2);
  EXPECT_TRUE(window.Form_KeyDown(key::kDelete, 0));
  EXPECT_EQ(Names(), (Texts{"Adams, Ann", "Acme Corp", "Zeta Trust", ","}));
  EXPECT_EQ(grid.CellForeColorAt(3, 0), kCyan) << "colours move up with their rows";
  EXPECT_EQ(dir.Read("tabrel.dat"), file_before);
  EXPECT_EQ(view.status[StatusPanelId::kSelection], "4 RECORDS SELECTED");
  view.focused = Control::kNone;
  EXPECT_FALSE(window.Form_KeyDown(key::kDelete, 0));
  EXPECT_EQ(grid.Rows(), 5);
}

TEST_F(MainWindowTest, MoreThan32767RecordsAreAllListed) {
  constexpr int kCount = 32768 + 2;
  std::string bytes;
  bytes.reserve(kCount * 1047);
  for (int i = 0; i < kCount; ++i) {
    bytes += EncodeContact(Contact(i % 2 ? "2" : "1", "N" + std::to_string(i), "", "s"));
  }
  dir.Write("tabrel.dat", bytes);
  Pop();
  ASSERT_EQ(window.MainGrid().Rows(), kCount + 1);
  EXPECT_EQ(view.status[StatusPanelId::kSelection], std::to_string(kCount) + " RECORDS TOTAL");
  EXPECT_EQ(RTrim(window.MainGrid().TextAt(kCount, 0)), "N" + std::to_string(kCount - 1));
}

}  // namespace
}  // namespace tabrel
