// Switching data sets from the File menu.
#include <gtest/gtest.h>

#include <filesystem>

#include "fakes/contact_files.h"
#include "fakes/main_window_harness.h"

namespace tabrel {
namespace {

using testing::Contact;
using Texts = std::vector<std::string>;

class DataSetMenuTest : public ::testing::Test, public testing::MainWindowHarness {
 protected:
  void SetUp() override {
    testing::WriteContacts(dir, {Contact("1", "Home", "Hal", "01-01-2000 1")});
    std::filesystem::create_directory(dir.File("other"));
    testing::WriteContacts(dir, {Contact("1", "Away", "Ava", "01-01-2000 2")}, "other/tabrel.dat");
    window.Form_Load();
  }
  bool Ticked(MenuId id) { return view.menu_checked[id]; }
};

TEST_F(DataSetMenuTest, AlternatePathSwitchesWithOrWithoutTrailingSlashAndBack) {
  for (const std::string& path : {dir.File("other"), dir.File("other/")}) {
    SCOPED_TRACE(path);
    window.mu_datadefault_Click();
    state.settings.Path1 = Fit(path, 100);
    window.mu_data1_Click();
    EXPECT_EQ(state.data_path, dir.File("other/"));
    EXPECT_EQ(Names(), (Texts{"Away, Ava"}));
    EXPECT_TRUE(Ticked(MenuId::mu_data1) && !Ticked(MenuId::mu_datadefault));
    EXPECT_EQ(view.menu_caption[MenuId::mu_data1], "Use Alternate #1: " + path);
  }
  window.mu_datadefault_Click();
  EXPECT_EQ(state.data_path, dir.path());
  EXPECT_EQ(Names(), (Texts{"Home, Hal"}));
  EXPECT_TRUE(Ticked(MenuId::mu_datadefault) && !Ticked(MenuId::mu_data1));
}

TEST_F(DataSetMenuTest, BlankOrUnusableAlternateKeepsTheCurrentDataSetAndCreatesNothing) {
  window.mu_data2_Click();
  state.settings.Path1 = Fit(dir.File("missing"), 100);
  window.mu_data1_Click();
  ASSERT_EQ(dialogs.messages.size(), 2u);
  EXPECT_EQ(dialogs.messages[0].text,
            "No alternate data set is specified. Look at the menu item File, Settings!");
  EXPECT_EQ(dialogs.messages[1].title, "Disk access error!");
  EXPECT_EQ(state.data_path, dir.path());
  EXPECT_FALSE(dir.Exists("missing"));
}

TEST_F(DataSetMenuTest, SelectedFolderBecomesTheDataSetButCancelKeepsTheOld) {
  window.mu_dataspecial_Click();
  EXPECT_EQ(state.data_path, dir.path());
  std::filesystem::create_directory(dir.File("fresh"));
  files.choice = FileChoice{dir.File("fresh"), ""};
  window.mu_dataspecial_Click();
  EXPECT_EQ(state.data_path, dir.File("fresh/"));
  EXPECT_TRUE(Names().empty());
  EXPECT_TRUE(Ticked(MenuId::mu_dataspecial));
  EXPECT_TRUE(dir.Exists("fresh/tabrel.dat") && dir.Exists("fresh/keyword.dat"));
  // A data set copied from another installation may be in capitals.
  std::filesystem::create_directory(dir.File("upper"));
  testing::WriteContacts(dir, {Contact("1", "Caps", "Cy", "01-01-2000 9")}, "upper/TABREL.DAT");
  files.choice = FileChoice{dir.File("upper/"), "TABREL.DAT"};
  window.mu_dataspecial_Click();
  EXPECT_EQ(Names(), (Texts{"Caps, Cy"}));
  EXPECT_FALSE(dir.Exists("upper/tabrel.dat"));
}

}  // namespace
}  // namespace tabrel
