#include "store/backup.h"

#include <gtest/gtest.h>
#include <utime.h>

#include <functional>

#include "fakes/contact_files.h"
#include "fakes/fake_clock.h"
#include "fakes/fake_dialogs.h"
#include "fakes/temp_dir.h"

namespace tabrel {
namespace {

using testing::Contact;
using testing::ContactBytes;
using testing::FakeClock;
using testing::FakeDialogs;
using testing::Keyword;
using testing::TempDir;

const std::string kLiveRecords =
    ContactBytes({Contact("1", "Adams", "Ann", "a"), Contact("2", "Acme", "", "b"),
                  Contact("3", "Baker", "Bob", "c")}) +
    "torn";
const std::string kLiveKeywords = Keyword("Golf") + Keyword("~Home");
const std::string kOldRecords = ContactBytes({Contact("1", "Old", "Timer", "o")});
const std::string kOldKeywords = "";

class BackupTest : public ::testing::Test {
 protected:
  TempDir program;
  TempDir data;
  AppState state{program.path()};
  FakeDialogs dialogs;
  FakeClock clock;

  void SetUp() override {
    state.data_path = data.path();
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
    data.Write("keyword.bak", kOldKeywords);
    Touch("tabrel.bak", 1200000000);
  }
  std::string Current() const {
    return "Your current " + data.path() +
           " data set contains 3 records and 2 keywords, last modified @1000000000";
  }
  std::string OldBackup() const {
    return "Your backup " + data.path() +
           " data set contains 1 records and 0 keywords, last modified @1200000000";
  }
  void ExpectLive(const std::string& records, const std::string& keywords) const {
    EXPECT_EQ(data.Read("tabrel.dat"), records);
    EXPECT_EQ(data.Read("keyword.dat"), keywords);
  }
  void ExpectBackup(const std::string& records, const std::string& keywords) const {
    EXPECT_EQ(data.Read("tabrel.bak"), records);
    EXPECT_EQ(data.Read("keyword.bak"), keywords);
  }
  void ExpectNoTemporaryFiles() const {
    for (const char* name : {"tabrel.$$$", "keyword.$$$"}) {
      EXPECT_FALSE(data.Exists(name)) << name;
      EXPECT_FALSE(program.Exists(name)) << name;
    }
  }
  void ExpectLastMessage(const std::string& text, const std::string& title,
                         MessageIcon icon) const {
    ASSERT_FALSE(dialogs.messages.empty());
    EXPECT_EQ(dialogs.messages.back().text, text);
    EXPECT_EQ(dialogs.messages.back().title, title);
    EXPECT_EQ(dialogs.messages.back().icon, icon);
    EXPECT_EQ(dialogs.messages.back().buttons, MessageButtons::kOk);
  }
  // Fails the n-th step of the copies, for every n until the operation gets
  // through: each failure must leave the target set whole and be reported.
  void FailEachStepInTurn(const std::function<bool(const RewriteFaultHook&)>& operation,
                          const std::function<void()>& expect_unchanged) {
    int failing = 1;
    for (;; ++failing) {
      SCOPED_TRACE(failing);
      int calls = 0;
      const RewriteFaultHook fault = [&](RewriteStep) { return ++calls == failing; };
      dialogs.messages.clear();
      dialogs.answers = {MessageAnswer::kYes};
      if (operation(fault)) break;
      expect_unchanged();
      ASSERT_FALSE(dialogs.messages.empty());
      EXPECT_EQ(dialogs.messages.back().title, "Disk access error!");
      EXPECT_EQ(dialogs.messages.back().text.rfind("Error ", 0), 0u)
          << dialogs.messages.back().text;
    }
    // Two files, each created, written, flushed, closed and renamed.
    EXPECT_EQ(failing, 11);
  }
  // The question asked before either copy, checked for its fixed parts.
  void ExpectQuestion(const Message& message, const std::string& title,
                      const std::string& question) const {
    EXPECT_EQ(message.title, title);
    EXPECT_EQ(message.icon, MessageIcon::kQuestion);
    EXPECT_EQ(message.buttons, MessageButtons::kYesNo);
    EXPECT_EQ(message.default_answer, MessageAnswer::kNo);
    const std::string head = Current() + "\r\n\r\n" + OldBackup() + "\r\n\r\n" + question;
    EXPECT_EQ(message.text.substr(0, head.size()), head);
  }
};

TEST_F(BackupTest, SummariesCountWholeRecordsAndKeywordsAndNameTheTime) {
  WriteOldBackup();
  auto summaries = SummariseBackup(state, clock);
  ASSERT_TRUE(summaries.ok());
  EXPECT_EQ(summaries.value().current, Current());
  EXPECT_EQ(summaries.value().backup, OldBackup());
  EXPECT_FALSE(summaries.value().backup_empty);
}

TEST_F(BackupTest, SummaryOfAMissingBackupCreatesItEmpty) {
  auto summaries = SummariseBackup(state, clock);
  ASSERT_TRUE(summaries.ok());
  EXPECT_TRUE(summaries.value().backup_empty);
  EXPECT_EQ(summaries.value().backup.substr(0, summaries.value().backup.find(", last")),
            "Your backup " + data.path() + " data set contains 0 records and 0 keywords");
  ExpectBackup("", "");
}

TEST_F(BackupTest, FirstBackupAsksNothingAndCopiesBothFiles) {
  EXPECT_TRUE(MakeBackup(state, dialogs, clock));
  ASSERT_EQ(dialogs.messages.size(), 1u);
  ExpectLastMessage("New backup set created!", "Finished", MessageIcon::kInformation);
  ExpectBackup(kLiveRecords, kLiveKeywords);
  ExpectLive(kLiveRecords, kLiveKeywords);
  ExpectNoTemporaryFiles();
}

TEST_F(BackupTest, ReplacingABackupIsAskedAndNoKeepsTheOldSet) {
  WriteOldBackup();
  dialogs.answers = {MessageAnswer::kNo};
  EXPECT_FALSE(MakeBackup(state, dialogs, clock));
  ASSERT_EQ(dialogs.messages.size(), 1u);
  ExpectQuestion(dialogs.messages[0], "Create backup data set?",
                 "Do you wish to replace the existing backup set with the current data? ");
  ExpectBackup(kOldRecords, kOldKeywords);
}

TEST_F(BackupTest, ReplacingABackupWithYesCopiesTheCurrentSet) {
  WriteOldBackup();
  dialogs.answers = {MessageAnswer::kYes};
  EXPECT_TRUE(MakeBackup(state, dialogs, clock));
  ASSERT_EQ(dialogs.messages.size(), 2u);
  ExpectLastMessage("New backup set created!", "Finished", MessageIcon::kInformation);
  ExpectBackup(kLiveRecords, kLiveKeywords);
  ExpectNoTemporaryFiles();
}

TEST_F(BackupTest, RestoreWithoutABackupSaysSoAndLeavesEmptyBackupFiles) {
  for (bool files_exist : {false, true}) {
    SCOPED_TRACE(files_exist);
    if (files_exist) {
      data.Write("tabrel.bak", "");
      data.Write("keyword.bak", "");
    }
    dialogs.messages.clear();
    EXPECT_FALSE(RestoreBackup(state, dialogs, clock));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    ExpectLastMessage(
        "Your backup data set for " + data.path() + "\r\ndoes not contain any records!",
        "Nothing to do!", MessageIcon::kExclamation);
    ExpectBackup("", "");
    ExpectLive(kLiveRecords, kLiveKeywords);
  }
}

TEST_F(BackupTest, RestoreIsAskedAndNoKeepsTheCurrentSet) {
  WriteOldBackup();
  EXPECT_FALSE(RestoreBackup(state, dialogs, clock));  // unscripted: the default button
  ASSERT_EQ(dialogs.messages.size(), 1u);
  ExpectQuestion(dialogs.messages[0], "Confirm", "");
  ExpectLive(kLiveRecords, kLiveKeywords);
}

TEST_F(BackupTest, RestoreWithYesCopiesTheBackupOverTheCurrentSet) {
  WriteOldBackup();
  dialogs.answers = {MessageAnswer::kYes};
  EXPECT_TRUE(RestoreBackup(state, dialogs, clock));
  ExpectLastMessage("Previous data restored!", "Finished", MessageIcon::kInformation);
  ExpectLive(kOldRecords, kOldKeywords);
  ExpectBackup(kOldRecords, kOldKeywords);
  ExpectNoTemporaryFiles();
}

TEST_F(BackupTest, FailedBackupLeavesTheOldSetByteIdentical) {
  WriteOldBackup();
  FailEachStepInTurn(
      [&](const RewriteFaultHook& fault) { return MakeBackup(state, dialogs, clock, fault); },
      [&] {
        ExpectBackup(kOldRecords, kOldKeywords);
        ExpectNoTemporaryFiles();
      });
}

TEST_F(BackupTest, FailedRestoreLeavesTheCurrentSetByteIdentical) {
  WriteOldBackup();
  FailEachStepInTurn(
      [&](const RewriteFaultHook& fault) { return RestoreBackup(state, dialogs, clock, fault); },
      [&] {
        ExpectLive(kLiveRecords, kLiveKeywords);
        ExpectBackup(kOldRecords, kOldKeywords);
        ExpectNoTemporaryFiles();
      });
}

}  // namespace
}  // namespace tabrel
