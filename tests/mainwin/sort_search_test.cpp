// Sorting the data set and narrowing the list by a word, through the main window.
#include <gtest/gtest.h>

#include <tuple>

#include "fakes/contact_files.h"
#include "fakes/main_window_harness.h"

namespace tabrel {
namespace {

using testing::Contact;
using Texts = std::vector<std::string>;

class SortSearchTest : public ::testing::Test, public testing::MainWindowHarness {
 protected:
  void SetUp() override {
    auto mills = Contact("1", "Mills", "Mo", "01-01-2000 1");
    mills.City = "Oslo";
    auto tools = Contact("2", "Miller Tools", "", "01-01-2000 2");
    tools.Notes = "ask for Oslo office";
    auto mill = Contact("3", "Mill", "Ma", "02-02-2001 3");
    mill.Title = "Oslo manager";  // titles are not searched
    testing::WriteContacts(dir, {mills, tools, mill, Contact("1", "smith", "Zed", "01-01-2000 4"),
                                 Contact("1", "Smith", "Amy", "01-01-2000 5")});
  }
  void Search(const std::string& answer) {
    dialogs.input_answers.push_back(answer);
    window.mu_WordSearchCurrent_Click();
  }
};

TEST_F(SortSearchTest, SortPutsTheFileInNameOrderAndListsIt) {
  window.mu_Sort_Click();
  EXPECT_EQ(view.visibility_changes.at(0), std::pair(Control::kProgressBar, true));
  EXPECT_EQ(Names(), (Texts{"Mill, Ma", "Miller Tools", "Mills, Mo", "smith, Zed", "Smith, Amy"}));
  EXPECT_EQ(view.status[StatusPanelId::kSelection], "5 RECORDS TOTAL");
}

TEST_F(SortSearchTest, SearchLooksAtTheNameAddressNotesPhoneFaxAndDateFieldsOnly) {
  // One record a field, named after it, with "mr zebedee" there.
  std::vector<ContactRecord> records;
  for (const ContactField& field : kContactFields) {
    if (field.name == std::string("RecType") || field.name == std::string("Modified")) continue;
    records.push_back(Contact("1", field.name, "", "03-03-2003 1"));
    records.back().*field.member = "mr zebedee";
  }
  records.push_back(Contact("1", "Stamped", "", "12-31-1999 45296.13"));
  records.back().City = "Paris";
  records.back().State = "Texas";
  testing::WriteContacts(dir, records);
  const Texts hits = {"mr zebedee,", "FirstName, mr zebedee",
                      "Org,",        "Phone,",
                      "Fax,",        "EMail,",
                      "Add1,",       "Add2,",
                      "City,",       "State,",
                      "Country,",    "Notes,"};
  const std::pair<std::string, Texts> cases[] = {
      {"zebedee", hits},
      {"Mr Zebedee", hits},          // a word with a blank is searched another way
      {"12-31-1999", {"Stamped,"}},  // the date part of the stamp only
      {"45296", {}},
      // City is 20 wide: "PARIS", its padding and one joining blank.
      {"Paris" + std::string(16, ' ') + "texas", {"Stamped,"}},
      {"PARIS TEXAS", {}},
  };
  for (const auto& [word, names] : cases) {
    SCOPED_TRACE(word);
    Pop();
    Search(word);
    EXPECT_EQ(Names(), names);
  }
}

// The list in focus has a black on white header, the other a grey one; a
// search from the keyword list moves the focus to the records it found.
TEST_F(SortSearchTest, ASearchFocusesTheRecordListAndItsHeaderShowsIt) {
  Pop();
  view.focused = Control::kKeywordGrid;
  window.KeywordGrid_GotFocus();
  Search("Oslo");
  EXPECT_EQ(view.focused, Control::kMainGrid);
  const Grid& list = window.MainGrid();
  const Grid& keywords = window.KeywordGrid();
  EXPECT_EQ(std::tuple(list.ForeColorFixed(), list.BackColorFixed(), keywords.ForeColorFixed(),
                       keywords.BackColorFixed()),
            std::tuple(kBlack, kWhite, kGrayText, kButtonFace));
}

}  // namespace
}  // namespace tabrel
