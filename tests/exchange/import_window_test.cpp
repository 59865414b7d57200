// The import window: what it shows, what an import writes, and that a
// refused or failed import leaves the data set byte for byte as it was.
#include "exchange/import_window.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "exchange/formats/dos_record.h"
#include "fakes/exchange_harness.h"
#include "store/layout.h"

namespace tabrel {
namespace {

using testing::Contact;
using testing::ContactBytes;
using testing::Keyword;
using testing::Stamps;
using Texts = std::vector<std::string>;

constexpr const char* kBackupNote =
    "\r\n\r\nNote - If you made a backup data set this operation can be reversed at the main "
    "menu: File, Restore Backup Data.";

ContactRecord With(ContactRecord record, const std::string& kw1, const std::string& kw2 = "") {
  record.KW1 = kw1;
  record.KW2 = kw2;
  return record;
}

class ImportWindowTest : public ::testing::Test, public testing::ExchangeHarness {
 protected:
  void SetUp() override {
    testing::WriteContacts(data, {Contact("1", "Baker", "Ann", "01-01-2000 1"),
                                  Contact("2", "Acme", "", "01-01-2000 2")});
    testing::WriteKeywords(data, {"Golf", "Work"});
    testing::WriteContacts(documents,
                           {With(Contact("1", "Baker", "Ann", "02-02-2002 1"), "Friends"),
                            Contact("2", "Acme", "", "12-12-1999 9"),
                            With(Contact("1", "Cole", "Cid", "03-03-2003 3"), "Work", "Chess"),
                            Contact("9", "Dunn", "Dee", "04-04-2004 4")},
                           "export.dat");
  }
  ImportWindow& Open() { return OpenImport(ImportKind::kNative, documents.File("export.dat")); }
  std::string Records() const { return data.Read("tabrel.dat"); }
  std::string Keywords() const { return data.Read("keyword.dat"); }
  std::string Entries(const Texts& texts) const {
    std::string bytes;
    for (const auto& text : texts) bytes += Keyword(text);
    return bytes;
  }
};

TEST_F(ImportWindowTest, OpeningShowsTheFileWhatItHoldsAndWhereItGoesAndAsksNothing) {
  Open();
  EXPECT_EQ(import_view.path, documents.File("export.dat"));
  const auto modified = std::filesystem::last_write_time(documents.File("export.dat"));
  const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(
      std::chrono::file_clock::to_sys(modified).time_since_epoch());
  EXPECT_EQ(import_view.description,
            "This file contains 4 Tabrel 3 records,\r\nand was last "
            "modified @" +
                std::to_string(seconds.count()));
  EXPECT_EQ(import_view.target, "The records go into the data set in " + data.path());
  EXPECT_EQ(import_view.rules.definition, DuplicateDefinition::kNameAndOrg);
  EXPECT_EQ(import_view.rules.skip, DuplicateSkip::kIfOlder);
  EXPECT_TRUE(dialogs.messages.empty()) << "no backup offer before Import is pressed";
  window->FinishedImporting_Click();
  EXPECT_TRUE(import_view.closed);
}

TEST_F(ImportWindowTest, ImportAddsReplacesSkipsListsAndSummarises) {
  Open().Command1_Click();
  EXPECT_EQ(Stamps(Records()),
            (Texts{"02-02-2002 1", "01-01-2000 2", "03-03-2003 3", "04-04-2004 4"}));
  EXPECT_EQ(Keywords(), Entries({"Chess", "Friends", "Golf", "Work"}));
  EXPECT_EQ(import_view.list,
            "\r\nReplaced: Ann Baker / \r\nAdded: Cid Cole / \r\nAdded: Dee Dunn / ");
  EXPECT_TRUE(import_view.list_visible);
  EXPECT_EQ(import_view.results,
            std::string("2 records were added.\r\n1 record was replaced.\r\n1 duplicate was "
                        "skipped.\r\n2 keywords were added.\r\n1 of the records have no known "
                        "type: they are stored, but the record list does not show them.") +
                kBackupNote);
  EXPECT_EQ(MessageTexts(), (Texts{"New backup set created!"}));
  EXPECT_EQ(data.Read("tabrel.bak"), ContactBytes({Contact("1", "Baker", "Ann", "01-01-2000 1"),
                                                   Contact("2", "Acme", "", "01-01-2000 2")}));
  EXPECT_EQ(host.keyword_refills, 1);
  EXPECT_FALSE(import_view.busy);
  EXPECT_FALSE(program.Exists("keyword.tmp") || data.Exists("keyword.tmp"));
}

TEST_F(ImportWindowTest, PreviewListsWhatImportWillDoWithEachRecordAndWritesNothing) {
  ImportWindow& window = Open();
  const std::string records = Records();
  const std::string keywords = Keywords();
  window.Preview_Click();
  const std::string lines =
      "replace 01-01-2000 1: Ann Baker / \r\nskip (duplicate of 01-01-2000 2):   / Acme\r\n"
      "add: Cid Cole / \r\nadd: Dee Dunn / \r\n2 to add, 1 to replace, 1 to skip (duplicates).\r\n";
  EXPECT_EQ(import_view.list, lines);
  EXPECT_TRUE(import_view.list_visible);
  EXPECT_EQ(
      import_view.results,
      "Preview: nothing was imported yet.\r\n2 to add, 1 to replace, 1 to skip (duplicates).");
  EXPECT_TRUE(dialogs.messages.empty()) << "no backup offer for a preview";
  EXPECT_EQ(Records(), records);
  EXPECT_EQ(Keywords(), keywords);
  EXPECT_FALSE(data.Exists("tabrel.bak"));
  EXPECT_EQ(host.keyword_refills, 0);
  // The rules chosen in the window count.
  import_view.rules.skip = DuplicateSkip::kNever;
  window.Preview_Click();
  EXPECT_NE(import_view.list.find("/ \r\nreplace 01-01-2000 2:   / Acme"), std::string::npos);
  // Import then does what the preview said.
  import_view.rules.skip = DuplicateSkip::kIfOlder;
  window.Command1_Click();
  EXPECT_EQ(Stamps(Records()),
            (Texts{"02-02-2002 1", "01-01-2000 2", "03-03-2003 3", "04-04-2004 4"}));
}

TEST_F(ImportWindowTest, EachPressReadsTheFileAgainAndOffersTheBackupRightBeforeWriting) {
  ImportWindow& window = Open();
  const std::string records = Records();
  documents.Write("export.dat", std::string(layout::kContactRecordLength - 1, ' '));
  window.Command1_Click();
  EXPECT_EQ(MessageTexts(),
            (Texts{"This file does not contain Tabrel 3 records, or they are corrupt"}));
  EXPECT_FALSE(data.Exists("tabrel.bak")) << "no backup offer for a refused file";
  EXPECT_EQ(Records(), records);

  SetUp();
  window.Command1_Click();
  ASSERT_EQ(dialogs.messages.size(), 2u);
  EXPECT_EQ(dialogs.messages[1].text, "New backup set created!");
  // Nothing left to change: no offer, nothing written.
  window.Command1_Click();
  EXPECT_EQ(dialogs.messages.size(), 2u);
  EXPECT_EQ(import_view.results.substr(0, 23), "0 records were added.\r\n");
  // Under "Never" every record replaces its twin: the offer comes again,
  // now as a question, since a backup set exists.
  import_view.rules.skip = DuplicateSkip::kNever;
  dialogs.answers.push_back(MessageAnswer::kNo);
  window.Command1_Click();
  ASSERT_EQ(dialogs.messages.size(), 3u);
  EXPECT_EQ(dialogs.messages[2].title, "Create backup data set?");
  EXPECT_EQ(import_view.results.substr(0, 49),
            "0 records were added.\r\n4 records were replaced.\r\n");
}

// The windows' side of the shared end: a backup set that cannot be made
// (tabrel.bak is a folder) is asked about, No the default and nothing
// written; Yes imports without it.
TEST_F(ImportWindowTest, AFailedBackupAsksWhetherToImportAnyway) {
  std::filesystem::create_directory(data.File("tabrel.bak"));
  const std::string before = Records();
  Open().Command1_Click();
  ASSERT_EQ(dialogs.messages.size(), 1u);
  const Message& question = dialogs.messages[0];
  EXPECT_TRUE(question.text.starts_with("The backup set could not be made: Error "))
      << question.text;
  EXPECT_TRUE(question.text.ends_with(". Import anyway?")) << question.text;
  EXPECT_EQ(question.default_answer, MessageAnswer::kNo);
  EXPECT_EQ(Records(), before);
  EXPECT_EQ(import_view.results, "");
  dialogs.answers = {MessageAnswer::kYes};
  window->Command1_Click();
  EXPECT_NE(Records(), before);
  EXPECT_EQ(host.keyword_refills, 1);
}

}  // namespace
}  // namespace tabrel
