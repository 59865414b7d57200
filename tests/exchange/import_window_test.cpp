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

constexpr const char* kUnchanged = "Nothing was imported; your data is unchanged.";
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
            std::string("2 records were added.\r\n1 records were replaced.\r\n1 duplicates were "
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
      "replace 01-01-2000 1\r\nskip (duplicate of 01-01-2000 2)\r\nadd\r\nadd\r\n"
      "2 to add, 1 to replace, 1 to skip (duplicates).\r\n";
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
  EXPECT_EQ(import_view.list.substr(0, 42), "replace 01-01-2000 1\r\nreplace 01-01-2000 2");
  // Import then does what the preview said.
  import_view.rules.skip = DuplicateSkip::kIfOlder;
  window.Command1_Click();
  EXPECT_EQ(Stamps(Records()),
            (Texts{"02-02-2002 1", "01-01-2000 2", "03-03-2003 3", "04-04-2004 4"}));
}

TEST_F(ImportWindowTest, PreviewRefusesAFileOfNoWholeRecordsAsImportDoes) {
  ImportWindow& window = Open();
  documents.Write("export.dat", std::string(layout::kContactRecordLength + 1, ' '));
  window.Preview_Click();
  EXPECT_EQ(MessageTexts(),
            (Texts{"This file does not contain Tabrel 3 records, or they are corrupt"}));
  EXPECT_EQ(import_view.list, "");
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

TEST_F(ImportWindowTest, TheImportGoesIntoTheDataSetInUseWhenTheWindowOpened) {
  ImportWindow& window = Open();
  testing::TempDir other;
  state.data_path = other.path();
  window.Command1_Click();
  EXPECT_EQ(window.data_path(), data.path());
  EXPECT_EQ(Stamps(Records()).size(), 4u);
  EXPECT_FALSE(other.Exists("tabrel.dat"));
  EXPECT_EQ(import_view.target, "The records go into the data set in " + data.path());
}

TEST_F(ImportWindowTest, AReadOnlyDataSetRefusesThePressBeforeAnythingIsWritten) {
  ImportWindow& window = Open();
  const std::string records = Records();
  const std::string keywords = Keywords();
  host.read_only = true;
  state.read_only = true;
  // Preview writes nothing, so it still shows what Import would do.
  window.Preview_Click();
  EXPECT_EQ(host.writable_checks, 0);
  EXPECT_TRUE(import_view.list.ends_with("2 to add, 1 to replace, 1 to skip (duplicates).\r\n"))
      << import_view.list;
  import_view.list.clear();
  import_view.results.clear();
  window.Command1_Click();
  EXPECT_EQ(host.writable_checks, 1);
  EXPECT_TRUE(dialogs.messages.empty()) << "the main window says why";
  EXPECT_EQ(Records(), records);
  EXPECT_EQ(Keywords(), keywords);
  EXPECT_FALSE(data.Exists("tabrel.bak"));
  EXPECT_EQ(import_view.results, "");
  EXPECT_EQ(import_view.list, "");
  host.read_only = false;
  state.read_only = false;
  window.Command1_Click();
  EXPECT_EQ(Stamps(Records()).size(), 4u);
}

TEST_F(ImportWindowTest, AfterASwitchThePressTakesTheLockOfItsOwnDataSet) {
  ImportWindow& window = Open();
  testing::TempDir other;
  state.data_path = other.path();
  const std::string records = Records();
  {
    DataSetLock elsewhere = DataSetLock::Acquire(data.path());
    ASSERT_TRUE(elsewhere.held());
    window.Command1_Click();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, "Data set in use");
    EXPECT_EQ(Records(), records);
  }
  window.Command1_Click();
  EXPECT_EQ(Stamps(Records()).size(), 4u);
  EXPECT_EQ(host.writable_checks, 0) << "the main window's lock is another data set's";
}

TEST_F(ImportWindowTest, TheListShowsNinetyNineRecordsAndThenSaysThereAreTooMany) {
  std::vector<ContactRecord> many;
  for (int i = 0; i < 150; ++i) {
    many.push_back(Contact("1", "Name" + std::to_string(i), "", "05-05-2005 " + std::to_string(i)));
  }
  testing::WriteContacts(documents, many, "export.dat");
  Open().Command1_Click();
  const std::string& list = import_view.list;
  std::size_t lines = 0;
  for (std::size_t at = list.find("\r\nAdded: "); at != std::string::npos;
       at = list.find("\r\nAdded: ", at + 1)) {
    ++lines;
  }
  EXPECT_EQ(lines, 99u);
  EXPECT_TRUE(list.starts_with("\r\nAdded:  Name0 / "));
  EXPECT_TRUE(list.ends_with("\r\nAdded:  Name98 / \r\ntoo many to display..."));
  EXPECT_TRUE(import_view.results.starts_with("150 records were added."));
  EXPECT_EQ(Stamps(Records()).size(), 152u);
}

TEST_F(ImportWindowTest, AnImportPastTheLimitIsRefusedBeforeAnythingIsWritten) {
  const std::string blank = EncodeContact(Contact("1", "", "", "01-01-2000 1"));
  std::string full;
  for (std::size_t i = 0; i < layout::kMaxRecords - 3; ++i) full += blank;
  data.Write("tabrel.dat", full);
  const std::string keywords = Keywords();
  Open().Command1_Click();
  ASSERT_EQ(dialogs.messages.size(), 1u) << "no backup offer";
  EXPECT_EQ(dialogs.messages[0].text,
            std::string("Error 6: The data set holds 32,764 records and 4 would be added: 32,768, "
                        "more than the 32,767 records a data set can hold\r\n") +
                kUnchanged);
  EXPECT_EQ(Records().size(), full.size());
  EXPECT_EQ(Keywords(), keywords);
}

TEST_F(ImportWindowTest, AFailedWriteAtAnyStepLeavesBothDataFilesByteIdentical) {
  const std::string records = Records();
  const std::string keywords = Keywords();
  // A backup set is there and the offer to replace it is declined, so that
  // every step counted is one of the import's own.
  data.Write("tabrel.bak", records);
  data.Write("keyword.bak", keywords);
  ImportWindow& window = Open();
  for (int failing = 1; failing <= 11; ++failing) {
    SCOPED_TRACE(failing);
    int step = 0;
    dialogs.answers.push_back(MessageAnswer::kNo);
    state.write_fault = [&](RewriteStep) { return ++step == failing; };
    window.Command1_Click();
    const Message& last = dialogs.messages.back();
    EXPECT_EQ(last.title, "Disk access error!");
    EXPECT_TRUE(last.text.starts_with("Error 57: Device I/O error")) << last.text;
    EXPECT_TRUE(last.text.ends_with(kUnchanged)) << last.text;
    EXPECT_EQ(Records(), records);
    EXPECT_EQ(Keywords(), keywords);
    EXPECT_EQ(import_view.results, "");
  }
  EXPECT_EQ(host.keyword_refills, 0);
  state.write_fault = nullptr;
  dialogs.answers.push_back(MessageAnswer::kNo);
  window.Command1_Click();
  EXPECT_EQ(Stamps(Records()).size(), 4u);
}

TEST_F(ImportWindowTest, AFailureThatCannotBeUndoneSaysWhichFileHoldsWhat) {
  const std::string keywords = Keywords();
  data.Write("tabrel.bak", Records());
  data.Write("keyword.bak", keywords);
  ImportWindow& window = Open();
  dialogs.answers.push_back(MessageAnswer::kNo);
  // keyword.dat cannot be renamed, and tabrel.dat cannot be put back.
  int renames = 0;
  state.write_fault = [&](RewriteStep step) {
    return (step == RewriteStep::kRename && ++renames > 1) || step == RewriteStep::kUndo;
  };
  window.Command1_Click();
  const Message& last = dialogs.messages.back();
  EXPECT_EQ(last.title, "Disk access error!");
  EXPECT_NE(
      last.text.find("\r\nThe import stopped halfway and could not be undone:\r\n- " +
                     data.File("tabrel.dat") +
                     " holds the imported records; its previous content is kept in " + data.path()),
      std::string::npos)
      << last.text;
  EXPECT_NE(last.text.find("\r\n- keyword.dat still holds the keyword list as it was."),
            std::string::npos);
  EXPECT_EQ(Stamps(Records()).size(), 4u);
  EXPECT_EQ(Keywords(), keywords);
  EXPECT_EQ(host.keyword_refills, 0);
}

TEST_F(ImportWindowTest, AddedRecordsWithoutAUsableStampGetFreshOnesCountingBack) {
  clock.now = {1999, 12, 31, 45296.13};
  testing::WriteContacts(data, {Contact("1", "Old", "One", "12-31-1999 45296.13"),
                                Contact("1", "Old", "Two", "01-01-2000 5")});
  testing::WriteContacts(
      documents,
      {Contact("1", "New", "Blank", ""), Contact("1", "New", "Dots", "..................."),
       Contact("1", "New", "Taken", "01-01-2000 5"), Contact("1", "New", "Own", "05-05-2005 5"),
       Contact("1", "New", "Twice", "05-05-2005 5"), Contact("1", "New", "Garbage", "yesterday")},
      "export.dat");
  Open().Command1_Click();
  EXPECT_EQ(Stamps(Records()), (Texts{"12-31-1999 45296.13", "01-01-2000 5", "12-31-1999 45296.12",
                                      "12-31-1999 45296.11", "12-31-1999 45296.1", "05-05-2005 5",
                                      "12-31-1999 45296.09", "12-31-1999 45296.08"}));
}

TEST_F(ImportWindowTest, AReplacedRecordIsComparedByItsNewDateAndAddedRecordsNeverAre) {
  testing::WriteContacts(
      documents,
      {Contact("1", "Baker", "Ann", "01-01-2005 1"), Contact("1", "Baker", "Ann", "01-01-2003 1"),
       Contact("1", "Twin", "Tom", "01-01-2003 2"), Contact("1", "Twin", "Tom", "01-01-2003 3")},
      "export.dat");
  Open().Command1_Click();
  EXPECT_EQ(Stamps(Records()),
            (Texts{"01-01-2005 1", "01-01-2000 2", "01-01-2003 2", "01-01-2003 3"}));
  EXPECT_TRUE(import_view.results.starts_with(
      "2 records were added.\r\n1 records were replaced.\r\n1 duplicates were skipped."));
}

TEST_F(ImportWindowTest, ImportingTheDataSetsOwnFileUnderNeverChangesNoByte) {
  const std::string records = Records();
  OpenImport(ImportKind::kNative, data.File("tabrel.dat"));
  import_view.rules.skip = DuplicateSkip::kNever;
  window->Command1_Click();
  EXPECT_EQ(Records(), records);
  EXPECT_TRUE(import_view.results.starts_with("0 records were added.\r\n2 records were replaced."));
}

TEST_F(ImportWindowTest, ADosRecordReplacesWithoutLosingWhatDosCannotHold) {
  ContactRecord baker = Contact("1", "Baker", "Ann", "01-01-2000 1");
  baker.Title = "Owner";
  baker.Cellular = "555-0199";
  baker.Country = "New Zealand";
  testing::WriteContacts(data, {baker});
  ContactRecord newer = baker;
  newer.EMail = "ann@new.example";
  newer.Modified = "02-02-2002 1";
  documents.Write("contact.mer",
                  DosRecordOf(EncodeContact(newer)) +
                      DosRecordOf(EncodeContact(Contact("1", "Cole", "Cid", "03-03-2003 3"))));
  OpenImport(ImportKind::kDos, documents.File("contact.mer"));
  EXPECT_TRUE(
      import_view.description.starts_with("This file contains 2 DOS version Tabrel records,\r\n"));
  window->Command1_Click();
  const std::string records = Records();
  ASSERT_EQ(Stamps(records), (Texts{"02-02-2002 1", "03-03-2003 3"}));
  const ContactRecord replaced = DecodeContact(records);
  EXPECT_EQ(Trim(replaced.Title), "Owner");
  EXPECT_EQ(Trim(replaced.Cellular), "555-0199");
  EXPECT_EQ(Trim(replaced.Country), "New Zealand");
  EXPECT_EQ(Trim(replaced.EMail), "ann@new.example");
  EXPECT_EQ(import_view.list, "\r\nReplaced: Ann Baker / \r\nAdded: Cid Cole / ");

  documents.Write("contact.mer", std::string(layout::kDosRecordLength - 1, ' '));
  window->Command1_Click();
  EXPECT_EQ(dialogs.messages.back().text,
            "This file does not contain DOS Tabrel records, or they are corrupt");
  EXPECT_EQ(Records(), records);
}

}  // namespace
}  // namespace tabrel
