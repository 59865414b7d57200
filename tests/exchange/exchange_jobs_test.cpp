// The jobs every import and export of both front ends share (FinishImport,
// ExportJob), proved once for every format: a write that fails at any step
// leaves the files byte-identical and says so; the limit, a failed backup
// and an unanswered backup question stop the import before anything is
// written.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "base/text.h"
#include "exchange/export_job.h"
#include "exchange/formats/dos_record.h"
#include "exchange/importing/import_decision.h"
#include "exchange/importing/import_job.h"
#include "exchange/importing/import_plan.h"
#include "exchange/importing/import_report.h"
#include "fakes/contact_files.h"
#include "fakes/fake_dialogs.h"
#include "present/record_list.h"
#include "store/contact_record.h"
#include "store/layout.h"
#include "store/stamp.h"

namespace tabrel {
namespace {

using testing::Contact;
using Kind = ImportEnd::Kind;
using Outcome = BackupOffer::Outcome;
const LocalDateTime kNow{2024, 5, 6, 43200};

struct ScriptedQuestions : ImportQuestions {
  BackupOffer offer;  // the outcome of every backup offer
  bool go_on = false;
  int offers = 0;
  int asked = 0;
  BackupOffer OfferBackup(AppState&) override {
    ++offers;
    return offer;
  }
  bool ImportWithoutBackup(const BackupOffer&) override {
    ++asked;
    return go_on;
  }
};

struct Sample {
  const char* format;
  std::string bytes;
};

std::vector<Sample> Samples() {
  ContactRecord fresh = Contact("1", "Ames", "Al", "05-05-2005 1");
  fresh.KW1 = "Fresh";
  std::string dos;
  AppendDosRecord(EncodeContact(fresh), dos);
  return {{"native", EncodeContact(fresh)},
          {"dos", dos},
          {"vcard",
           "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Ames;Al\r\nFN:Al "
           "Ames\r\nCATEGORIES:Fresh\r\nEND:VCARD\r\n"},
          {"csv", "Last Name,First Name\r\nAmes,Al\r\n"},
          {"ldif", "dn: cn=Al Ames\nsn: Ames\ngivenName: Al\n\n"},
          {"agent", "Name: Al Ames\r\nAddresses: al@example.org\r\n"}};
}

DecidedImport Decide(const AppState& state, const Sample& sample) {
  return std::move(
      DecideImport(state, FindFormat(sample.format)->id, sample.bytes, {}, kNow).value());
}

class ImportJobTest : public ::testing::Test, public testing::DataSetFolders {
 protected:
  void SetUp() override {
    testing::WriteContacts(data, {Contact("1", "Baker", "Ann", "01-01-2000 1")});
    testing::WriteKeywords(data, {"Golf"});
    data.Write("out", "held");
  }
  std::string Files() const {
    return data.Read("tabrel.dat") + "|" + data.Read("keyword.dat") + "|" + data.Read("out");
  }
  ScriptedQuestions questions;
};

// Fails each write step in turn until a run passes them all.
template <typename Run>
void FailEveryStep(AppState& state, const Run& run) {
  int failing = 1;
  for (; failing < 30; ++failing) {
    SCOPED_TRACE(failing);
    int step = 0;
    state.write_fault = [&](RewriteStep) { return ++step == failing; };
    if (run()) break;
  }
  EXPECT_TRUE(failing > 5 && failing < 30) << "the write has steps, and ends";
  state.write_fault = nullptr;
}

TEST_F(ImportJobTest, AFailedWriteAtAnyStepOfEveryImportAndExportLeavesTheFilesAndSaysSo) {
  Grid rows;
  rows.SetFormatString(kMainGridFormat);
  rows.AddItem(std::string(kIdColumn, '\t') + "01-01-2000 1");
  testing::FakeDialogs dialogs;
  for (const Sample& sample : Samples()) {
    SCOPED_TRACE(sample.format);
    const std::string before = Files();
    const DecidedImport decided = Decide(state, sample);
    ASSERT_TRUE(decided.merge().changed());
    EXPECT_EQ(decided.left_out, "") << "nothing was left out";
    FailEveryStep(state, [&] {
      const ImportEnd end = FinishImport(state, decided.merge(), questions);
      if (end.kind == Kind::kWritten) return true;
      EXPECT_EQ(end.kind, Kind::kFailed);
      EXPECT_TRUE(end.message.starts_with("Error ")) << end.message;
      EXPECT_TRUE(end.message.ends_with(kImportUnchanged)) << end.message;
      EXPECT_EQ(Files(), before);
      return false;
    });
    EXPECT_EQ(data.Read("tabrel.dat").size(), 2 * layout::kContactRecordLength);
    EXPECT_EQ(data.Read("keyword.dat").size(), 2 * layout::kKeywordRecordLength) << "its keyword";
    const std::string imported = Files();
    FailEveryStep(state, [&] {
      const ExportEnd end =
          ExportJob(state, dialogs)
              .Run(*FindFormat(sample.format), {}, data.File("out"), rows, ExistingFile::kReplace);
      if (end.kind == ExportEnd::Kind::kWritten) return true;
      EXPECT_EQ(end.kind, ExportEnd::Kind::kFailed);
      EXPECT_TRUE(end.failure.ErrorLine().starts_with("Error ")) << end.failure.ErrorLine();
      EXPECT_EQ(Files(), imported);
      return false;
    });
    EXPECT_NE(data.Read("out"), "held");
    EXPECT_TRUE(dialogs.messages.empty());
    SetUp();
  }
}

TEST_F(ImportJobTest, TheLimitAFailedBackupAndAnUnansweredQuestionStopTheImport) {
  const DecidedImport decided = Decide(state, Samples()[0]);
  const std::string before = Files();
  const BackupOffer failed{Outcome::kFailed, Status::Error(57, "Device I/O error (tabrel.bak)"),
                           "No backup set was made.", false};
  struct Row {
    BackupOffer offer;
    bool go_on;
    Kind kind;
    int asked;
    const char* message;
  } rows[] = {
      {failed, false, Kind::kStopped, 1,
       "The backup set could not be made: Error 57: Device I/O error (tabrel.bak).\r\nNothing was "
       "imported; your data is unchanged."},
      {{Outcome::kUnanswered, Status::Ok(), {}, false},
       true,
       Kind::kStopped,
       0,
       "Nothing was imported; your data is unchanged."},
      {failed, true, Kind::kWritten, 1, ""},
  };
  for (const Row& row : rows) {
    questions = {};
    questions.offer = row.offer;
    questions.go_on = row.go_on;
    const ImportEnd end = FinishImport(state, decided.merge(), questions);
    EXPECT_EQ(end.kind, row.kind);
    EXPECT_EQ(end.message, row.message);
    EXPECT_EQ(questions.asked, row.asked);
    EXPECT_EQ(Files() == before, row.kind != Kind::kWritten);
  }
  EXPECT_EQ(ImportWithoutBackupText(failed),
            "The backup set could not be made: Error 57: Device I/O error (tabrel.bak). Import "
            "anyway?");

  // Past the records a data set can hold: refused before the backup offer.
  std::string full;
  const std::string one = EncodeContact(Contact("1", "", "", "01-01-2000 1"));
  for (std::size_t i = 0; i < layout::kMaxRecords; ++i) full += one;
  data.Write("tabrel.dat", full);
  questions = {};
  const ImportEnd end = FinishImport(state, Decide(state, Samples()[3]).merge(), questions);
  EXPECT_EQ(end.kind, Kind::kRefused);
  EXPECT_EQ(end.message,
            "The data set holds 32,767 records and 1 would be added: 32,768, more than the 32,767 "
            "records a data set can hold.\r\nNothing was imported; your data is unchanged.");
  EXPECT_EQ(questions.offers, 0);
  EXPECT_EQ(data.Read("tabrel.dat").size(), full.size());
}

// A file of megabytes is read by two threads: decided as one reading, in
// file order, with what either part lost counted together and a fault in
// the back part found on its line.
TEST_F(ImportJobTest, ALargeVcardFileIsDecidedAsOneReading) {
  const auto card = [](int i, const std::string& more) {
    return "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Name" + std::to_string(i) + ";Al\r\nFN:Al Name" +
           std::to_string(i) + "\r\nNOTE:" + std::string(300, 'n') + "\r\n" + more +
           "END:VCARD\r\n";
  };
  const int count = 4000;  // some 1.4 MB
  std::string file = card(0, "BDAY:1970-01-01\r\n");
  for (int i = 1; i < count - 2; ++i) file += card(i, "");
  file += "BEGIN:VCARD\r\nVERSION:3.0\r\nEND:VCARD\r\n";  // nothing to keep
  file += card(count - 1, "PHOTO;VALUE=URI:http://example.org/a.jpg\r\nBDAY:1980-02-02\r\n");
  const DecidedImport decided =
      std::move(DecideImport(state, FormatId::kVcard, file, {}, kNow).value());
  ASSERT_TRUE(decided.refusal.empty()) << decided.refusal;
  const RecordImport& records = *decided.records;
  ASSERT_EQ(records.decisions().size(), count - 1u);
  EXPECT_EQ(records.decisions().front().name, "Al Name0 / ");
  EXPECT_EQ(records.decisions().back().name, "Al Name" + std::to_string(count - 1) + " / ");
  const std::vector<std::string>& notes = records.report().notes();
  EXPECT_NE(std::find(notes.begin(), notes.end(),
                      "1 card held nothing a record can keep and was left out."),
            notes.end());
  EXPECT_EQ(notes.back(), "Not stored, no field holds them: birthday: 2; photo: 1.");

  const std::size_t line = std::count(file.begin(), file.end(), '\n') + 1;
  const DecidedImport broken =
      std::move(DecideImport(state, FormatId::kVcard, file + "stray\r\n", {}, kNow).value());
  EXPECT_NE(broken.refusal.find("Line " + std::to_string(line) + ": \"stray\" is outside any card"),
            std::string::npos)
      << broken.refusal;
}

// What an import says of a file before and after it is read: counts in the
// singular and plural, at most ten faults listed.
TEST_F(ImportJobTest, SaysWhatAFileHoldsAndWhatKeptItOut) {
  const std::pair<ImportKind, const char*> kinds[] = {
      {ImportKind::kNative, "This file contains 1 Tabrel 3 record,|2 Tabrel 3 records,"},
      {ImportKind::kDos,
       "This file contains 1 DOS version Tabrel record,|2 DOS version Tabrel records,"},
      {ImportKind::kVcard, "This file contains 1 vCard,|2 vCards,"},
  };
  for (const auto& [kind, texts] : kinds) {
    EXPECT_EQ(EntriesText(kind, 1) + "|" + EntriesText(kind, 2).substr(19), texts);
  }
  EXPECT_EQ(LeftOutText(LeftOut()), "");

  std::string file = "BEGIN:VCARD\r\nFN:A\r\nEND:VCARD\r\n";
  for (int i = 0; i < 12; ++i) file += "stray " + std::to_string(i) + "\r\n";
  const std::string refusal = DecideImport(state, FormatId::kVcard, file, {}, kNow).value().refusal;
  EXPECT_NE(refusal.find("Line 13: \"stray 9\""), std::string::npos) << refusal;
  EXPECT_EQ(refusal.find("stray 10"), std::string::npos) << refusal;
  EXPECT_TRUE(refusal.ends_with("\r\n...and 2 more.")) << refusal;
}

// The same for an LDIF file: added in file order, each with a stamp of its
// own, with what either part left out or skipped counted together.
TEST_F(ImportJobTest, ALargeLdifFileIsAddedAsOneReading) {
  const auto entry = [](int i, const std::string& more) {
    return "dn: cn=Al Name" + std::to_string(i) + "\nsn: Name" + std::to_string(i) +
           "\ngivenName: Al\ndescription: " + std::string(300, 'n') + "\n" + more + "\n";
  };
  const int count = 4000;  // some 1.4 MB
  std::string file = entry(0, "birthyear: 1970\nno colon\n");
  for (int i = 1; i < count - 1; ++i) file += entry(i, "");
  file += "dn: cn=list\nobjectclass: groupOfNames\nmember: cn=a\n\n";
  file += entry(count - 1, "birthyear: 1980\nnickname: Al\nno colon\ntitle: \xCE\xA9\no: " +
                               std::string(200, 'o') + "\n");
  std::size_t read = 0;
  DecidedImport decided =
      std::move(DecideImport(state, FormatId::kLdif, file, {}, kNow, [&read](std::size_t n) {
                  read = n;
                }).value());
  ASSERT_TRUE(decided.added);
  EXPECT_EQ(read, count + 1u);
  EXPECT_EQ(decided.left_out,
            "1 entry was skipped: 1 group or mailing list.\r\n2 lines could not be read and were "
            "left out.");
  EXPECT_EQ(LossNote(*decided.added),
            "\r\n1 character could not be stored and became \"?\" (the record files hold only "
            "the Windows-1252 character set).\r\n1 value was longer than its field and was "
            "cut.\r\nNot stored, no field holds them: birthyear: 2; nickname: 1.");
  const std::size_t held = data.Read("tabrel.dat").size();
  ASSERT_TRUE(decided.added->Commit().ok());
  const std::string records = data.Read("tabrel.dat").substr(held);
  ASSERT_EQ(records.size(), count * layout::kContactRecordLength);
  const auto last_name = [&records](int i) {
    return DecodeContact(
               records.substr(i * layout::kContactRecordLength, layout::kContactRecordLength))
        .LastName;
  };
  EXPECT_EQ(Trim(last_name(0)), "Name0");
  EXPECT_EQ(Trim(last_name(count - 1)), "Name" + std::to_string(count - 1));
  // Fresh stamps, walking back from the moment of the import in file order.
  std::vector<LocalDateTime> stamps;
  for (const std::string& stamp : testing::Stamps(records))
    stamps.push_back(ParseStamp(stamp).value());
  const auto earlier = [](const LocalDateTime& a, const LocalDateTime& b) {
    return std::tie(a.year, a.month, a.day, a.seconds_since_midnight) <
           std::tie(b.year, b.month, b.day, b.seconds_since_midnight);
  };
  EXPECT_TRUE(std::adjacent_find(stamps.begin(), stamps.end(), [&](const auto& a, const auto& b) {
                return !earlier(b, a);
              }) == stamps.end());
}

}  // namespace
}  // namespace tabrel
