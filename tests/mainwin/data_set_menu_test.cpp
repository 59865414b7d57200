// Switching data sets and backups from the File menu.
#include <gtest/gtest.h>

#include <filesystem>

#include "fakes/contact_files.h"
#include "fakes/main_window_harness.h"
#include "store/data_set.h"
#include "store/text.h"

namespace tabrel {
namespace {

using testing::Contact;

class DataSetMenuTest : public ::testing::Test, public testing::MainWindowHarness {
 protected:
  void SetUp() override {
    testing::WriteContacts(dir, {Contact("1", "Home", "Hal", "01-01-2000 1")});
    std::filesystem::create_directory(dir.File("other"));
    testing::WriteContacts(
        dir,
        {Contact("1", "Away", "Ava", "01-01-2000 2"), Contact("1", "Afar", "Al", "01-01-2000 3")},
        "other/tabrel.dat");
    window.Form_Load();
    dialogs.messages.clear();
  }
  bool Ticked(MenuId id) { return view.menu_checked[id]; }
  void SetPath1(const std::string& path) { state.settings.Path1 = Fit(path, 100); }
};

TEST_F(DataSetMenuTest, AlternatePathSwitchesWithOrWithoutTrailingSlash) {
  for (const std::string path : {dir.File("other"), dir.File("other/")}) {
    SCOPED_TRACE(path);
    window.mu_datadefault_Click();
    SetPath1(path);
    window.mu_data1_Click();
    EXPECT_EQ(state.data_path, dir.File("other/"));
    EXPECT_EQ(Names(), (std::vector<std::string>{"Away, Ava", "Afar, Al"}));
    EXPECT_TRUE(Ticked(MenuId::mu_data1));
    EXPECT_FALSE(Ticked(MenuId::mu_datadefault));
    EXPECT_EQ(view.menu_caption[MenuId::mu_data1], "Use Alternate #1: " + path);
  }
  window.mu_datadefault_Click();
  EXPECT_EQ(state.data_path, dir.path());
  EXPECT_EQ(Names(), (std::vector<std::string>{"Home, Hal"}));
  EXPECT_TRUE(Ticked(MenuId::mu_datadefault));
}

TEST_F(DataSetMenuTest, BlankAlternatePathIsReported) {
  window.mu_data2_Click();
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].text,
            "No alternate data set is specified. Look at the menu item File, Settings!");
  EXPECT_EQ(dialogs.messages[0].title, "Path not found");
  EXPECT_EQ(state.data_path, dir.path());
}

TEST_F(DataSetMenuTest, UnusableFolderKeepsTheCurrentDataSetAndCreatesNothing) {
  SetPath1(dir.File("missing"));
  window.mu_data1_Click();
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].title, "Disk access error!");
  EXPECT_EQ(state.data_path, dir.path());
  EXPECT_FALSE(std::filesystem::exists(dir.File("missing")));
  EXPECT_EQ(Names(), (std::vector<std::string>{"Home, Hal"}));
}

TEST_F(DataSetMenuTest, SelectedFolderBecomesTheDataSetButCancelKeepsTheOld) {
  window.mu_dataspecial_Click();
  ASSERT_EQ(files.calls.size(), 1u);
  EXPECT_EQ(files.calls[0].pattern, "tabrel.dat;keyword.dat");
  EXPECT_EQ(state.data_path, dir.path());

  std::filesystem::create_directory(dir.File("fresh"));
  files.choice = FileChoice{dir.File("fresh"), ""};
  window.mu_dataspecial_Click();
  EXPECT_EQ(state.data_path, dir.File("fresh/"));
  EXPECT_TRUE(Names().empty());
  EXPECT_TRUE(Ticked(MenuId::mu_dataspecial));
  EXPECT_TRUE(dir.Exists("fresh/tabrel.dat"));
  EXPECT_TRUE(dir.Exists("fresh/keyword.dat"));
}

TEST_F(DataSetMenuTest, DataSetInCapitalsFromAnotherInstallationIsFound) {
  std::filesystem::create_directory(dir.File("upper"));
  testing::WriteContacts(dir, {Contact("1", "Caps", "Cy", "01-01-2000 9")}, "upper/TABREL.DAT");
  files.choice = FileChoice{dir.File("upper/"), "TABREL.DAT"};
  window.mu_dataspecial_Click();
  EXPECT_EQ(Names(), (std::vector<std::string>{"Caps, Cy"}));
  EXPECT_FALSE(dir.Exists("upper/tabrel.dat"));
}

TEST_F(DataSetMenuTest, BackupThenRestoreBringsTheOldRecordsBack) {
  window.mu_makeUndo_Click();
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].text, "New backup set created!");
  testing::WriteContacts(dir, {});

  dialogs.answers = {MessageAnswer::kYes, MessageAnswer::kOk};
  window.mu_undo_Click();
  EXPECT_EQ(dialogs.messages[1].title, "Confirm");
  EXPECT_EQ(dialogs.messages[2].text, "Previous data restored!");
  EXPECT_EQ(dir.Read("tabrel.dat"), dir.Read("tabrel.bak"));
  // The list is not refilled by a restore.
  EXPECT_EQ(Names(), (std::vector<std::string>{"Home, Hal"}));
}

}  // namespace
}  // namespace tabrel
