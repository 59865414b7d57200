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
};

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

}  // namespace
}  // namespace tabrel
