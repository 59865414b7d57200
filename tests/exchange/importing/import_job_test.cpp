// The end every import shares (FinishImport), proved once for every format:
// a write that fails at any step leaves both data files byte-identical and
// says so; the limit, a failed backup and an unanswered backup question stop
// the import before anything is written.
#include <gtest/gtest.h>

#include <optional>

#include "exchange/formats/dos_record.h"
#include "exchange/importing/import_job.h"
#include "exchange/importing/import_plan.h"
#include "exchange/importing/import_report.h"
#include "exchange/importing/record_import.h"
#include "exchange/importing/text_records.h"
#include "fakes/contact_files.h"
#include "store/layout.h"

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

// One file of a format, its records decided against a data set.
struct Decided {
  std::optional<RecordImport> records;
  std::optional<NewRecordsImport> added;
  const DataSetMerge& merge() const { return records ? records->merge() : added->merge(); }
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

Decided Decide(const AppState& state, const Sample& sample) {
  Decided decided;
  const std::string format = sample.format;
  if (format == "native" || format == "dos") {
    decided.records.emplace(std::move(RecordImport::Open(state, {}, kNow).value()));
    decided.records->Take(format == "dos" ? ImportKind::kDos : ImportKind::kNative, sample.bytes);
  } else if (format == "vcard") {
    decided.records.emplace(std::move(PlanVcardBytes(state, sample.bytes, 0, {}, kNow).import));
  } else {
    NewRecordsImport& import =
        decided.added.emplace(std::move(NewRecordsImport::Open(state, kNow).value()));
    if (format == "csv") {
      CommaImportOptions options;
      options.links[static_cast<std::size_t>(RecordField::kLastName)] = 1;
      AddCommaRecords(sample.bytes, options, "comma_new", import);
    } else if (format == "ldif") {
      AddLdifRecords(sample.bytes, import);
    } else {
      AddAgentRecords(sample.bytes, import);
    }
  }
  return decided;
}

class ImportJobTest : public ::testing::Test, public testing::DataSetFolders {
 protected:
  void SetUp() override {
    testing::WriteContacts(data, {Contact("1", "Baker", "Ann", "01-01-2000 1")});
    testing::WriteKeywords(data, {"Golf"});
  }
  std::string Files() const { return data.Read("tabrel.dat") + "|" + data.Read("keyword.dat"); }
  ScriptedQuestions questions;
};

TEST_F(ImportJobTest, AFailedWriteAtAnyStepOfEveryFormatLeavesBothFilesAndSaysSo) {
  for (const Sample& sample : Samples()) {
    SCOPED_TRACE(sample.format);
    const std::string before = Files();
    const Decided decided = Decide(state, sample);
    ASSERT_TRUE(decided.merge().changed());
    for (int failing = 1; failing <= 10; ++failing) {
      SCOPED_TRACE(failing);
      int step = 0;
      state.write_fault = [&](RewriteStep) { return ++step == failing; };
      const ImportEnd end = FinishImport(state, decided.merge(), questions);
      EXPECT_EQ(end.kind, Kind::kFailed);
      EXPECT_TRUE(end.message.starts_with("Error ")) << end.message;
      EXPECT_TRUE(end.message.ends_with(kImportUnchanged)) << end.message;
      EXPECT_EQ(Files(), before);
    }
    state.write_fault = nullptr;
    EXPECT_EQ(FinishImport(state, decided.merge(), questions).kind, Kind::kWritten);
    EXPECT_EQ(data.Read("tabrel.dat").size(), 2 * layout::kContactRecordLength);
    SetUp();
  }
}

TEST_F(ImportJobTest, TheLimitAFailedBackupAndAnUnansweredQuestionStopTheImport) {
  const Decided decided = Decide(state, Samples()[0]);
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

}  // namespace
}  // namespace tabrel
