// Sorting the data set and narrowing the list by a word, through the main window.
#include <gtest/gtest.h>

#include "fakes/contact_files.h"
#include "fakes/main_window_harness.h"
#include "mainwin/record_list.h"

namespace tabrel {
namespace {

using testing::Contact;

class SortSearchTest : public ::testing::Test, public testing::MainWindowHarness {
 protected:
  void SetUp() override {
    auto mills = Contact("1", "Mills", "Mo", "01-01-2000 1");
    mills.City = "Oslo";
    auto tools = Contact("2", "Miller Tools", "", "01-01-2000 2");
    tools.Notes = "ask for Oslo office";
    auto mill = Contact("3", "Mill", "Ma", "02-02-2001 3");
    mill.Title = "Oslo manager";  // titles are not searched
    auto smith = Contact("1", "smith", "Zed", "01-01-2000 4");
    auto smith2 = Contact("1", "Smith", "Amy", "01-01-2000 5");
    testing::WriteContacts(dir, {mills, tools, mill, smith, smith2});
  }
  void ListAll() {
    std::string all(kAllRecords);
    window.PopMainGrid(all);
  }
  void Search(const std::string& answer) {
    dialogs.input_answers.push_back(answer);
    window.mu_WordSearchCurrent_Click();
  }
};

TEST_F(SortSearchTest, SortPutsTheFileInNameOrderAndListsIt) {
  window.mu_Sort_Click();
  EXPECT_EQ(Names(), (std::vector<std::string>{"Mill, Ma", "Miller Tools", "Mills, Mo",
                                               "smith, Zed", "Smith, Amy"}));
  EXPECT_EQ(view.status[3], "5 RECORDS TOTAL");
  EXPECT_TRUE(dialogs.messages.empty());

  const std::string sorted = dir.Read("tabrel.dat");
  window.mu_Sort_Click();
  EXPECT_EQ(dir.Read("tabrel.dat"), sorted);
}

TEST_F(SortSearchTest, SearchNarrowsTheListedRowsToThoseContainingTheWord) {
  ListAll();
  Search("  oslo ");
  ASSERT_EQ(dialogs.inputs.size(), 1u);
  EXPECT_EQ(dialogs.inputs[0].prompt, "Find what?");
  EXPECT_EQ(dialogs.inputs[0].title, "Search for a word");
  EXPECT_EQ(Names(), (std::vector<std::string>{"Mills, Mo", "Miller Tools"}));
  EXPECT_EQ(view.status[3], "2 CONTAIN \"OSLO\"");
  EXPECT_EQ(state.last_search_word, "OSLO");
  EXPECT_FALSE(dir.Exists("tabrel.tmp"));

  // The next search works on this result, with the last word offered.
  Search("smith");
  EXPECT_EQ(dialogs.inputs[1].default_answer, "OSLO");
  EXPECT_TRUE(Names().empty());
}

TEST_F(SortSearchTest, SearchFindsTheDateOfTheLastSave) {
  ListAll();
  Search("02-02-2001");
  EXPECT_EQ(Names(), (std::vector<std::string>{"Mill, Ma"}));
}

TEST_F(SortSearchTest, SearchInFreeModeAddsHitsFromTheWholeFile) {
  std::string none = "Nothing";
  window.PopMainGrid(none);
  window.mu_FreeListON_Click();
  Search("smith");
  EXPECT_EQ(Names(), (std::vector<std::string>{"smith, Zed", "Smith, Amy"}));
  EXPECT_EQ(view.status[3], "2 RECORDS SELECTED");
}

TEST_F(SortSearchTest, EmptyOrCancelledSearchChangesNothing) {
  ListAll();
  Search("   ");
  dialogs.input_answers.push_back(std::nullopt);
  window.mu_WordSearchCurrent_Click();
  EXPECT_EQ(Names().size(), 5u);
  EXPECT_EQ(view.status[3], "5 RECORDS TOTAL");
}

TEST_F(SortSearchTest, SearchOfAnEmptyListListsNothing) {
  std::string none = "Nothing";
  window.PopMainGrid(none);
  Search("smith");
  EXPECT_TRUE(Names().empty());
  EXPECT_EQ(view.status[3], "0 CONTAIN \"SMITH\"");
}

}  // namespace
}  // namespace tabrel
