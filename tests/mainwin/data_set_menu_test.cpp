// Switching data sets from the File menu.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>

#include "fakes/contact_files.h"
#include "fakes/main_window_harness.h"
#include "store/data_set.h"

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
};

// A second copy of the program, started on the same program folder.
struct SecondCopy : testing::FakePlatform {
  explicit SecondCopy(const std::string& program_folder) : state(program_folder) {}
  AppState state;
  testing::FakeMainView view;
  MainWindow window{state, view, platform};
};

TEST_F(DataSetMenuTest, ASecondCopyOnTheSameDataSetShowsItReadOnlyAndRefusesEveryChange) {
  const std::string records = dir.Read("tabrel.dat");
  SecondCopy second(dir.path());
  second.window.Form_Load();
  ASSERT_EQ(second.dialogs.messages.size(), 1u);
  EXPECT_EQ(second.dialogs.messages[0].title, "Data set in use");
  EXPECT_EQ(second.dialogs.messages[0].text.rfind("The data set in " + dir.path() +
                                                      " is open in another copy of Tabrel.\r\n"
                                                      "This copy shows it read-only",
                                                  0),
            0u)
      << second.dialogs.messages[0].text;
  ASSERT_EQ(second.window.MainGrid().Rows(), 2) << "reading still works";
  EXPECT_EQ(RTrim(second.window.MainGrid().TextAt(1, 0)), "Home, Hal");
  for (MenuId id : {MenuId::mu_NewRecord, MenuId::mu_Duplicate, MenuId::mu_Sort,
                    MenuId::mu_makeUndo, MenuId::mu_undo, MenuId::mu_NewKey, MenuId::mu_changeKey,
                    MenuId::mu_deleteKey, MenuId::mu_ImportTabrel, MenuId::mu_ImportVcard}) {
    SCOPED_TRACE(static_cast<int>(id));
    second.dialogs.messages.clear();
    second.window.MenuClicked(id);  // a menu item, a key or a toolbar button
    ASSERT_EQ(second.dialogs.messages.size(), 1u);
    EXPECT_EQ(second.dialogs.messages[0].title, "Data set in use");
  }
  second.window.MainGrid().SetRow(1);
  second.window.MainGrid_dblClick();
  second.window.EditView_Click();
  EXPECT_EQ(second.view.editor_opened, 0);
  // The store refuses as well, whoever asks.
  EXPECT_EQ(DeleteRecord(second.state).number(), error_number::kPermissionDenied);
  EXPECT_EQ(dir.Read("tabrel.dat"), records);
  EXPECT_TRUE(dialogs.messages.empty()) << "the first copy is not disturbed";

  // Once the first copy has moved on, choosing the data set again gives it.
  window.mu_dataspecial_Click();
  files.choice = FileChoice{dir.File("other"), ""};
  window.mu_dataspecial_Click();
  second.dialogs.messages.clear();
  second.window.mu_datadefault_Click();
  EXPECT_TRUE(second.dialogs.messages.empty());
  EXPECT_FALSE(second.state.read_only);
  // And now the first copy is the one that may only look, and says so.
  window.mu_datadefault_Click();
  EXPECT_TRUE(state.read_only);
  EXPECT_TRUE(view.status[StatusPanelId::kDataPath].ends_with("/  (READ ONLY)"))
      << view.status[StatusPanelId::kDataPath];
}

}  // namespace
}  // namespace tabrel
