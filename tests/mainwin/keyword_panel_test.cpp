// Keyword maintenance through the main window: the edit frame, the questions,
// and the changes that reach into the records.
#include <gtest/gtest.h>

#include <filesystem>

#include "fakes/contact_files.h"
#include "fakes/main_window_harness.h"
#include "store/keyword_file.h"

namespace tabrel {
namespace {

using testing::Keyword;
using Texts = std::vector<std::string>;

class KeywordPanelTest : public ::testing::Test, public testing::MainWindowHarness {
 protected:
  void SetUp() override {
    auto ann = testing::Contact("1", "Adams", "Ann", "01-01-2000 1");
    ann.KW1 = Keyword("Friends");
    ann.KW3 = Keyword("Work");
    auto bob = testing::Contact("3", "Baker", "Bob", "01-01-2000 2");
    bob.KW2 = Keyword("Friends");
    testing::WriteContacts(dir, {ann, bob});
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
  Texts Stored() {
    Texts out;
    const auto entries = ReadKeywords(state);
    for (const auto& entry : entries.value()) out.push_back(RTrim(entry));
    return out;
  }
  Texts Slots(std::size_t index) {
    const ContactRecord r = DecodeContact(dir.Read("tabrel.dat").substr(index * 1047));
    return {RTrim(r.KW1), RTrim(r.KW2), RTrim(r.KW3)};
  }
};

TEST_F(KeywordPanelTest, AddStoresTheKeywordSortedAndMarkedButNeverABlankOrListedOne) {
  Add("golf");
  Add("Home", /*personal=*/true);
  Add("~Trip", /*personal=*/false);
  // A full-width word marked personal keeps its first thirteen characters.
  Add("ABCDEFGHIJKLMN", /*personal=*/true);
  Add("", /*personal=*/true);
  EXPECT_EQ(Stored(), (Texts{"Friends", "golf", "Trip", "Work", "~", "~ABCDEFGHIJKLM", "~Home"}));
  EXPECT_EQ(Names(true), Stored());
  window.mu_NewKey_Click();
  EXPECT_EQ(view.focused, Control::kKeywordEdit);
  window.Command1_Click('Q' - 'A');  // no letter jump while the frame is open
  EXPECT_TRUE(dialogs.messages.empty());
  Add("   ");
  Add("Friends");
  EXPECT_EQ(dialogs.messages.at(0).text, "Can't have a blank keyword");
  EXPECT_EQ(dialogs.messages.at(1).text, "The keyword Friends is already in the list.");
  EXPECT_FALSE(window.key_frame_visible());
  EXPECT_EQ(Stored().size(), 7u);
}

TEST_F(KeywordPanelTest, ChangeOntoAListedKeywordMergesItOnlyAfterYes) {
  view.keyword_edit = "Friends";
  window.mu_changeKey_Click();
  dialogs.answers = {MessageAnswer::kNo};
  Save("Work");
  EXPECT_TRUE(window.key_frame_visible()) << "open for another name";
  EXPECT_EQ(Slots(0), (Texts{"Friends", "", "Work"}));
  dialogs.answers = {MessageAnswer::kYes};
  Save("Work");
  EXPECT_EQ(Stored(), (Texts{"Work"}));
  EXPECT_EQ(Slots(0), (Texts{"Work", "", "Work"}));
  EXPECT_EQ(Slots(1), (Texts{"", "Work", ""}));
  EXPECT_EQ(dialogs.messages[0].default_answer, MessageAnswer::kNo);
}

TEST_F(KeywordPanelTest, ChangeOrDeleteWithoutACurrentKeywordIsRefused) {
  const std::string records = dir.Read("tabrel.dat");
  view.keyword_edit = "  ";
  window.mu_changeKey_Click();
  window.mu_deleteKey_Click();
  EXPECT_FALSE(window.key_frame_visible());
  ASSERT_EQ(dialogs.messages.size(), 2u);
  for (const Message& m : dialogs.messages) EXPECT_EQ(m.title, "Nothing to do!");
  EXPECT_EQ(dir.Read("tabrel.dat"), records) << "a blank old keyword matches every empty slot";
}

TEST_F(KeywordPanelTest, DeleteAsksFirstAndThenWhetherToBlankTheRecordsSlots) {
  const std::string before = dir.Read("keyword.dat");
  view.keyword_edit = "Friends";
  dialogs.answers = {MessageAnswer::kNo};
  window.mu_deleteKey_Click();
  EXPECT_EQ(dir.Read("keyword.dat"), before);
  dialogs.answers = {MessageAnswer::kYes, MessageAnswer::kNo};
  window.mu_deleteKey_Click();
  ASSERT_EQ(dialogs.messages.size(), 3u);
  EXPECT_EQ(dialogs.messages[1].text, "Delete Keyword Friends ?");
  EXPECT_EQ(dialogs.messages[2].title, "Now what?");
  EXPECT_EQ(dialogs.messages[2].default_answer, MessageAnswer::kNo);
  EXPECT_EQ(Stored(), (Texts{"Work"}));
  EXPECT_EQ(Slots(0), (Texts{"Friends", "", "Work"}));
  EXPECT_EQ(view.status[StatusPanelId::kSelection], "2 RECORDS TOTAL");

  view.keyword_edit = "Work";
  dialogs.answers = {MessageAnswer::kYes, MessageAnswer::kYes};
  window.mu_deleteKey_Click();
  EXPECT_EQ(Slots(0), (Texts{"Friends", "", ""}));
}

TEST_F(KeywordPanelTest, AFailedAddThatCannotBeTakenBackNamesTheFirstFailure) {
  const std::string before = dir.Read("keyword.dat");
  state.write_fault = [](RewriteStep step) {
    return step == RewriteStep::kWrite || step == RewriteStep::kUndo;
  };
  Add("Golf");
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].title, "Disk access error!");
  EXPECT_EQ(dialogs.messages[0].text.rfind("Error 61: Disk full", 0), 0u)
      << dialogs.messages[0].text;
  EXPECT_NE(dialogs.messages[0].text.find("could not be cut back"), std::string::npos);
  EXPECT_EQ(dir.Read("keyword.dat"), before) << "the fault struck before anything was written";
}

TEST_F(KeywordPanelTest, DeleteChangesTheListAndTheRecordsTogetherOrNeither) {
  const std::string records = dir.Read("tabrel.dat");
  const std::string keywords = dir.Read("keyword.dat");
  // The second rename fails, and so does putting the first file back.
  int renames = 0;
  state.write_fault = [&](RewriteStep step) {
    return step == RewriteStep::kRename && ++renames > 1;
  };
  view.keyword_edit = "Friends";
  dialogs.answers = {MessageAnswer::kYes, MessageAnswer::kYes};
  window.mu_deleteKey_Click();
  const std::string& text = dialogs.messages.back().text;
  EXPECT_NE(text.find("The change stopped halfway and could not be undone:\r\n- " +
                      dir.File("tabrel.dat") + " holds the changed records"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("keyword.dat still holds the keyword list as it was."), std::string::npos);
  EXPECT_EQ(dir.Read("keyword.dat"), keywords);

  // With only the second rename failing, both files stay as they were.
  dir.Write("tabrel.dat", records);
  for (const std::string& name : testing::FileNames(dir)) {
    if (name.starts_with("tabrel.dat.old-")) std::filesystem::remove(dir.File(name));
  }
  renames = 0;
  state.write_fault = [&](RewriteStep step) {
    return step == RewriteStep::kRename && ++renames == 2;
  };
  dialogs.messages.clear();
  dialogs.answers = {MessageAnswer::kYes, MessageAnswer::kYes};
  window.mu_deleteKey_Click();
  EXPECT_EQ(dialogs.messages.back().text.find("halfway"), std::string::npos);
  EXPECT_NE(dialogs.messages.back().text.find("The keyword was not deleted."), std::string::npos);
  EXPECT_EQ(dir.Read("tabrel.dat"), records);
  EXPECT_EQ(dir.Read("keyword.dat"), keywords);
}

TEST_F(KeywordPanelTest, AKeywordFileThatCannotBeReadIsReportedAndLeftAlone) {
  std::filesystem::remove(dir.File("keyword.dat"));
  std::filesystem::create_directory(dir.File("keyword.dat"));
  Add("golf");
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].title, "Disk access error!");
  EXPECT_EQ(dialogs.messages[0].text, "Error 75: Path/File access error (" +
                                          dir.File("keyword.dat") +
                                          ": Is a directory)\r\nThe keyword list was not changed.");
}

}  // namespace
}  // namespace tabrel
