// Keyword maintenance through the main window: the edit frame, the questions,
// and the changes that reach into the records.
#include <gtest/gtest.h>

#include "fakes/contact_files.h"
#include "fakes/main_window_harness.h"
#include "store/keyword_file.h"

namespace tabrel {
namespace {

using testing::Contact;
using testing::Keyword;

class KeywordPanelTest : public ::testing::Test, public testing::MainWindowHarness {
 protected:
  void SetUp() override {
    auto ann = Contact("1", "Adams", "Ann", "01-01-2000 1");
    ann.KW1 = Keyword("Friends");
    ann.KW3 = Keyword("Work");
    auto bob = Contact("3", "Baker", "Bob", "01-01-2000 2");
    bob.KW2 = Keyword("Friends");
    auto cid = Contact("1", "Cole", "Cid", "01-01-2000 3");
    testing::WriteContacts(dir, {ann, bob, cid});
    testing::WriteKeywords(dir, {"Friends", "Work"});
  }

  void Save(const std::string& text, bool personal = false) {
    view.keyword_edit = text;
    view.personal = personal;
    window.KeySave_Click();
  }
  void Add(const std::string& text, bool personal = false) {
    window.mu_NewKey_Click();
    Save(text, personal);
  }
  void Change(const std::string& from, const std::string& to, bool personal = false) {
    view.keyword_edit = from;
    window.mu_changeKey_Click();
    Save(to, personal);
  }
  std::vector<std::string> Stored() {
    std::vector<std::string> out;
    const auto entries = ReadKeywords(state);
    for (const auto& entry : entries.value()) out.push_back(RTrim(entry));
    return out;
  }
  std::vector<std::string> Slots(std::size_t index) {
    const ContactRecord r = DecodeContact(dir.Read("tabrel.dat").substr(index * 1047));
    return {RTrim(r.KW1), RTrim(r.KW2), RTrim(r.KW3)};
  }
};

TEST_F(KeywordPanelTest, AddStoresTheKeywordSortedAndShowsItInTheList) {
  Add("golf");
  Add("Art", /*personal=*/false);
  Add("Home", /*personal=*/true);
  EXPECT_EQ(Stored(), (std::vector<std::string>{"Art", "Friends", "golf", "Work", "~Home"}));
  EXPECT_EQ(Keywords(), Stored());
  EXPECT_FALSE(window.key_frame_visible());
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(KeywordPanelTest, PersonalMarkingFollowsTheOptionButtons) {
  Add("Home", /*personal=*/true);
  Change("~Home", "~Home", /*personal=*/false);
  EXPECT_EQ(Stored(), (std::vector<std::string>{"Friends", "Home", "Work"}));
  // A full-width word marked personal keeps its first thirteen characters.
  Add("ABCDEFGHIJKLMN", /*personal=*/true);
  EXPECT_EQ(Stored().back(), "~ABCDEFGHIJKLM");
}

TEST_F(KeywordPanelTest, BlankKeywordsAreRefusedUnlessMarkedPersonal) {
  window.mu_NewKey_Click();
  EXPECT_TRUE(window.key_frame_visible());
  Save("   ");
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].text, "Can't have a blank keyword");
  EXPECT_EQ(dialogs.messages[0].title, "Nothing to do!");
  EXPECT_FALSE(window.key_frame_visible());
  EXPECT_EQ(Stored().size(), 2u);

  Add("", /*personal=*/true);
  EXPECT_EQ(Stored().back(), "~");
}

TEST_F(KeywordPanelTest, AddingAnExistingKeywordAppendsNothing) {
  Add("Friends");
  EXPECT_EQ(Stored(), (std::vector<std::string>{"Friends", "Work"}));
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_NE(dialogs.messages[0].text.find("already in the list"), std::string::npos);
}

TEST_F(KeywordPanelTest, RenameReachesEverySlotThatHeldTheKeyword) {
  Change("Friends", "Pals");
  EXPECT_EQ(Stored(), (std::vector<std::string>{"Pals", "Work"}));
  EXPECT_EQ(Slots(0), (std::vector<std::string>{"Pals", "", "Work"}));
  EXPECT_EQ(Slots(1), (std::vector<std::string>{"", "Pals", ""}));
  EXPECT_EQ(Slots(2), (std::vector<std::string>{"", "", ""}));
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(KeywordPanelTest, RenameOntoAnExistingKeywordMergesOnlyAfterYes) {
  dialogs.answers = {MessageAnswer::kNo};
  Change("Friends", "Work");
  EXPECT_TRUE(window.key_frame_visible());
  EXPECT_EQ(Slots(0), (std::vector<std::string>{"Friends", "", "Work"}));

  dialogs.answers = {MessageAnswer::kYes};
  Save("Work");
  EXPECT_EQ(Stored(), (std::vector<std::string>{"Work"}));
  EXPECT_EQ(Slots(1), (std::vector<std::string>{"", "Work", ""}));
}

TEST_F(KeywordPanelTest, ChangeWithoutACurrentKeywordIsRefused) {
  view.keyword_edit = "";
  window.mu_changeKey_Click();
  EXPECT_FALSE(window.key_frame_visible());
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].title, "Nothing to do!");
  EXPECT_EQ(Slots(2), (std::vector<std::string>{"", "", ""}));
}

TEST_F(KeywordPanelTest, DeleteAsksTwiceAndNoKeepsTheRecordsSlots) {
  view.keyword_edit = "Friends";
  dialogs.answers = {MessageAnswer::kYes, MessageAnswer::kNo};
  window.mu_deleteKey_Click();
  ASSERT_EQ(dialogs.messages.size(), 2u);
  EXPECT_EQ(dialogs.messages[0].text, "Delete Keyword Friends ?");
  EXPECT_EQ(dialogs.messages[0].title, "Confirm");
  EXPECT_EQ(dialogs.messages[1].title, "Now what?");
  EXPECT_EQ(dialogs.messages[1].default_answer, MessageAnswer::kNo);
  EXPECT_EQ(Stored(), (std::vector<std::string>{"Work"}));
  EXPECT_EQ(Slots(0), (std::vector<std::string>{"Friends", "", "Work"}));
  EXPECT_EQ(view.status[3], "3 RECORDS TOTAL");
  EXPECT_EQ(view.status[2], "NORM");
}

TEST_F(KeywordPanelTest, DeleteWithYesBlanksTheSlotsInPlace) {
  view.keyword_edit = "Friends";
  dialogs.answers = {MessageAnswer::kYes, MessageAnswer::kYes};
  window.mu_deleteKey_Click();
  EXPECT_EQ(Slots(0), (std::vector<std::string>{"", "", "Work"}));
  EXPECT_EQ(Slots(1), (std::vector<std::string>{"", "", ""}));
}

TEST_F(KeywordPanelTest, DeleteAnsweredNoChangesNothing) {
  const std::string before = dir.Read("keyword.dat");
  view.keyword_edit = "Friends";
  dialogs.answers = {MessageAnswer::kNo};
  window.mu_deleteKey_Click();
  EXPECT_EQ(dir.Read("keyword.dat"), before);
  EXPECT_EQ(dialogs.messages.size(), 1u);
}

TEST_F(KeywordPanelTest, LetterKeysDoNothingWhileTheFrameIsOpen) {
  window.PopKeywordGrid();
  window.mu_NewKey_Click();
  window.Command1_Click('Q' - 'A');
  EXPECT_TRUE(dialogs.messages.empty());
  window.KeyCancel_Click();
  window.Command1_Click('Q' - 'A');
  EXPECT_EQ(dialogs.messages.size(), 1u);
}

}  // namespace
}  // namespace tabrel
