#include "present/backup_prompt.h"

#include <gtest/gtest.h>
#include <utime.h>

#include <filesystem>

#include "fakes/contact_files.h"
#include "fakes/fake_clock.h"
#include "fakes/fake_dialogs.h"

namespace tabrel {
namespace {

using testing::Contact;
using testing::ContactBytes;

const std::string kLiveRecords =
    ContactBytes({Contact("1", "Adams", "Ann", "a"), Contact("2", "Acme", "", "b"),
                  Contact("3", "Baker", "Bob", "c")}) +
    "torn";
const std::string kLiveKeywords = testing::Keyword("Golf") + testing::Keyword("~Home");
const std::string kOldRecords = ContactBytes({Contact("1", "Old", "Timer", "o")});

class BackupTest : public ::testing::Test, public testing::DataSetFolders {
 protected:
  testing::FakeDialogs dialogs;
  testing::FakeClock clock;

  void SetUp() override {
    data.Write("tabrel.dat", kLiveRecords);
    data.Write("keyword.dat", kLiveKeywords);
    Touch("tabrel.dat", 1000000000);
  }
  void Touch(const std::string& name, std::time_t when) const {
    const utimbuf times{when, when};
    ASSERT_EQ(::utime(data.File(name).c_str(), &times), 0);
  }
  void WriteOldBackup() const {
    data.Write("tabrel.bak", kOldRecords);
    data.Write("keyword.bak", "");
    Touch("tabrel.bak", 1200000000);
  }
  // The four files as given, and no temporary file left in either folder.
  void ExpectFiles(const std::string& records, const std::string& keywords,
                   const std::string& backup_records, const std::string& backup_keywords) const {
    EXPECT_EQ(data.Read("tabrel.dat"), records);
    EXPECT_EQ(data.Read("keyword.dat"), keywords);
    EXPECT_EQ(data.Read("tabrel.bak"), backup_records);
    EXPECT_EQ(data.Read("keyword.bak"), backup_keywords);
    EXPECT_EQ(testing::FileNames(data),
              (std::vector<std::string>{"keyword.bak", "keyword.dat", "tabrel.bak", "tabrel.dat"}));
  }
  void ExpectLast(const std::string& text, const std::string& title) const {
    EXPECT_EQ(dialogs.messages.back().text, text);
    EXPECT_EQ(dialogs.messages.back().title, title);
  }
  // The question asked before a copy: both summaries, then the question.
  void ExpectQuestion(const std::string& title, const std::string& question) const {
    const Message& message = dialogs.messages.at(0);
    EXPECT_EQ(message.title, title);
    EXPECT_EQ(message.default_answer, MessageAnswer::kNo);
    const std::string set = " " + data.path() + " data set contains ";
    EXPECT_EQ(message.text,
              "Your current" + set +
                  "3 records and 2 keywords, last modified @1000000000\r\n\r\n"
                  "Your backup" +
                  set + "1 records and 0 keywords, last modified @1200000000\r\n\r\n" + question);
  }
};

TEST_F(BackupTest, BackupAsksOnlyBeforeReplacingASetAndNoKeepsTheOldOne) {
  EXPECT_TRUE(MakeBackup(state, dialogs, clock));
  EXPECT_EQ(dialogs.messages.size(), 1u);
  ExpectLast("New backup set created!", "Finished");
  ExpectFiles(kLiveRecords, kLiveKeywords, kLiveRecords, kLiveKeywords);

  WriteOldBackup();
  dialogs.messages.clear();
  dialogs.answers = {MessageAnswer::kNo, MessageAnswer::kYes};
  EXPECT_FALSE(MakeBackup(state, dialogs, clock));
  ExpectQuestion("Create backup data set?",
                 "Do you wish to replace the existing backup set with the current data? If you "
                 "answer yes, you will be able to restore your current data in the event you are "
                 "displeased with an import operation. Note, however, that this will over-write "
                 "the existing backup set!");
  ExpectFiles(kLiveRecords, kLiveKeywords, kOldRecords, "");
  EXPECT_TRUE(MakeBackup(state, dialogs, clock));
  ExpectFiles(kLiveRecords, kLiveKeywords, kLiveRecords, kLiveKeywords);
}

TEST_F(BackupTest, RestoreWithoutABackupSaysSoAndOtherwiseAsksBeforeCopyingItBack) {
  EXPECT_FALSE(RestoreBackup(state, dialogs, clock));
  ExpectLast("Your backup data set for " + data.path() + "\r\ndoes not contain any records!",
             "Nothing to do!");
  ExpectFiles(kLiveRecords, kLiveKeywords, "", "");

  WriteOldBackup();
  dialogs.messages.clear();
  EXPECT_FALSE(RestoreBackup(state, dialogs, clock));  // unscripted: the default button
  ExpectQuestion("Confirm", "Do you wish to replace the current set with the backup?");
  ExpectFiles(kLiveRecords, kLiveKeywords, kOldRecords, "");
  dialogs.answers = {MessageAnswer::kYes};
  EXPECT_TRUE(RestoreBackup(state, dialogs, clock));
  ExpectLast("Previous data restored!", "Finished");
  ExpectFiles(kOldRecords, "", kOldRecords, "");
}

TEST_F(BackupTest, ABackupHoldingOnlyKeywordsIsNotEmpty) {
  data.Write("tabrel.bak", "");
  data.Write("keyword.bak", testing::Keyword("Golf"));
  EXPECT_FALSE(MakeBackup(state, dialogs, clock)) << "asks first; No keeps it";
  EXPECT_EQ(dialogs.messages.at(0).title, "Create backup data set?");
  dialogs.answers = {MessageAnswer::kYes};
  EXPECT_TRUE(RestoreBackup(state, dialogs, clock));
  ExpectFiles("", testing::Keyword("Golf"), "", testing::Keyword("Golf"));
}

TEST_F(BackupTest, AFailedCopySaysWhatWasNotDone) {
  for (bool restore : {false, true}) {
    data.Write("tabrel.dat", kLiveRecords);
    data.Write("keyword.dat", kLiveKeywords);
    WriteOldBackup();
    // Every step's failure is proved undone in the fault table; here the
    // message.
    SCOPED_TRACE(restore);
    state.write_fault = [&](RewriteStep step) { return step == RewriteStep::kRename; };
    dialogs.messages.clear();
    dialogs.answers = {MessageAnswer::kYes};
    EXPECT_FALSE(restore ? RestoreBackup(state, dialogs, clock)
                         : MakeBackup(state, dialogs, clock));
    EXPECT_EQ(dialogs.messages.back().title, "Disk access error!");
    EXPECT_TRUE(dialogs.messages.back().text.starts_with("Error 57: Device I/O error ("));
    EXPECT_TRUE(dialogs.messages.back().text.ends_with(
        restore ? ": Input/output error)\r\nNothing was restored; your current data is unchanged."
                : ": Input/output error)\r\nNo backup set was made; the previous one is "
                  "unchanged."));
  }
}

TEST_F(BackupTest, WhenPuttingTheFirstFileBackFailsTooTheMessageSaysWhatEachFileHolds) {
  for (bool restore : {false, true}) {
    SCOPED_TRACE(restore);
    data.Write("tabrel.dat", kLiveRecords);
    data.Write("keyword.dat", kLiveKeywords);
    WriteOldBackup();
    int renames = 0;
    state.write_fault = [&](RewriteStep step) {
      return step == RewriteStep::kRename && ++renames > 1;
    };
    dialogs.messages.clear();
    dialogs.answers = {MessageAnswer::kYes};
    EXPECT_FALSE(restore ? RestoreBackup(state, dialogs, clock)
                         : MakeBackup(state, dialogs, clock));
    const std::string first = restore ? "tabrel.dat" : "tabrel.bak";
    std::string kept;
    for (const std::string& name : testing::FileNames(data)) {
      if (name.starts_with(first + ".old-")) kept = name;
    }
    ASSERT_FALSE(kept.empty());  // what it holds is proved in the fault table
    const std::string& text = dialogs.messages.back().text;
    EXPECT_EQ(text.substr(text.find("\r\n") + 2),
              restore ? "The restore stopped halfway and could not be undone:\r\n- " +
                            data.File("tabrel.dat") +
                            " holds the backup's records; your current records are kept in " +
                            data.File(kept) +
                            ".\r\n- keyword.dat still holds your current keywords.\r\nThe "
                            "backup set in tabrel.bak and keyword.bak is unchanged."
                      : "The backup stopped halfway and could not be undone:\r\n- " +
                            data.File("tabrel.bak") +
                            " holds your current records; the previous backup's records are kept "
                            "in " +
                            data.File(kept) +
                            ".\r\n- keyword.bak still holds the previous backup's keywords.\r\n"
                            "Your current data in tabrel.dat and keyword.dat is unchanged.");
    std::filesystem::remove(data.File(kept));
  }
}

TEST_F(BackupTest, AFolderThatCannotBeReadIsReportedBeforeAnyQuestion) {
  state.data_path = data.File("gone/");
  EXPECT_FALSE(MakeBackup(state, dialogs, clock));
  EXPECT_FALSE(RestoreBackup(state, dialogs, clock));
  const std::string error = "Error 76: Path not found (" + data.File("gone/tabrel.dat") +
                            ": No such file or directory)\r\n";
  ASSERT_EQ(dialogs.messages.size(), 2u);
  EXPECT_EQ(dialogs.messages[0].text, error + "No backup set was made.");
  EXPECT_EQ(dialogs.messages[1].text, error + "Nothing was restored.");
}

}  // namespace
}  // namespace tabrel
