#include "store/backup.h"

#include <chrono>
#include <filesystem>

#include "store/layout.h"
#include "store/mapped_file.h"
#include "store/record_file.h"

namespace tabrel {
namespace {

namespace l = layout;

struct SetCounts {
  std::size_t records = 0;
  std::size_t keywords = 0;
  std::time_t modified = 0;
};

Result<SetCounts> CountSet(const AppState& state, const char* contacts, const char* keywords) {
  const RecordFile contact_file(state.DataFile(contacts), l::kContactRecordLength);
  const RecordFile keyword_file(state.DataFile(keywords), l::kKeywordRecordLength);
  auto records = contact_file.Count();
  if (!records.ok()) return records.status();
  auto entries = keyword_file.Count();
  if (!entries.ok()) return entries.status();
  std::error_code ec;
  const auto written = std::filesystem::last_write_time(contact_file.path(), ec);
  if (ec) return Status::FromErrno(ec.value(), contact_file.path());
  const auto system = std::chrono::file_clock::to_sys(written);
  return SetCounts{records.value(), entries.value(),
                   std::chrono::system_clock::to_time_t(
                       std::chrono::time_point_cast<std::chrono::system_clock::duration>(system))};
}

std::string Describe(const char* which, const AppState& state, const SetCounts& counts,
                     Clock& clock) {
  return std::string("Your ") + which + " " + state.data_path + " data set contains " +
         std::to_string(counts.records) + " records and " + std::to_string(counts.keywords) +
         " keywords, last modified " + clock.FormatDateTime(counts.modified);
}

void ReportFailure(Dialogs& dialogs, const Status& status, const std::string& consequence) {
  dialogs.Show({status.ErrorLine() + "\r\n" + consequence,
                "Disk access error!",
                MessageIcon::kExclamation,
                MessageButtons::kOk,
                {}});
}

// Copies two files over two others; nothing is replaced unless both copies
// were written in full.
Status CopyPair(const std::string& from1, const std::string& to1, const std::string& from2,
                const std::string& to2, const RewriteFaultHook& fault) {
  auto first = MappedFile::Open(from1);
  if (!first.ok()) return first.status();
  auto second = MappedFile::Open(from2);
  if (!second.ok()) return second.status();
  // Mapped, the old bytes stay readable after the rename replaces the file.
  auto old_first = MappedFile::Open(to1);
  if (!old_first.ok()) return old_first.status();
  StagedRewrite stage1;
  StagedRewrite stage2;
  if (Status s = stage1.Stage(to1, first.value().bytes(), "tabrel.$$$", fault); !s.ok()) return s;
  if (Status s = stage2.Stage(to2, second.value().bytes(), "keyword.$$$", fault); !s.ok()) return s;
  if (Status s = stage1.Commit(); !s.ok()) return s;
  if (Status s = stage2.Commit(); !s.ok()) {
    // The first file is replaced already: put its old bytes back so the
    // set is not left half old, half new.
    AtomicRewrite(to1, old_first.value().bytes(), "tabrel.$$$");
    return s;
  }
  return Status::Ok();
}

}  // namespace

Result<BackupSummaries> SummariseBackup(const AppState& state, Clock& clock) {
  auto live = CountSet(state, kContactFileName, kKeywordFileName);
  if (!live.ok()) return live.status();
  auto backup = CountSet(state, kContactBackupName, kKeywordBackupName);
  if (!backup.ok()) return backup.status();
  return BackupSummaries{Describe("current", state, live.value(), clock),
                         Describe("backup", state, backup.value(), clock),
                         backup.value().records + backup.value().keywords == 0};
}

bool MakeBackup(AppState& state, Dialogs& dialogs, Clock& clock, const RewriteFaultHook& fault) {
  auto summaries = SummariseBackup(state, clock);
  if (!summaries.ok()) {
    ReportFailure(dialogs, summaries.status(), "No backup set was made.");
    return false;
  }
  if (!summaries.value().backup_empty) {
    const std::string text =
        summaries.value().current + "\r\n\r\n" + summaries.value().backup + "\r\n\r\n" +
        "Do you wish to replace the existing backup set with the current data? If you answer "
        "yes, you will be able to restore your current data in the event you are displeased with "
        "an import operation. Note, however, that this will over-write the existing backup set!";
    if (dialogs.Show({text, "Create backup data set?", MessageIcon::kQuestion,
                      MessageButtons::kYesNo, MessageAnswer::kNo}) != MessageAnswer::kYes) {
      return false;
    }
  }
  if (Status s =
          CopyPair(state.DataFile(kContactFileName), state.DataFile(kContactBackupName),
                   state.DataFile(kKeywordFileName), state.DataFile(kKeywordBackupName), fault);
      !s.ok()) {
    ReportFailure(dialogs, s, "No backup set was made; the previous one is unchanged.");
    return false;
  }
  dialogs.Show(
      {"New backup set created!", "Finished", MessageIcon::kInformation, MessageButtons::kOk, {}});
  return true;
}

bool RestoreBackup(AppState& state, Dialogs& dialogs, Clock& clock, const RewriteFaultHook& fault) {
  auto summaries = SummariseBackup(state, clock);
  if (!summaries.ok()) {
    ReportFailure(dialogs, summaries.status(), "Nothing was restored.");
    return false;
  }
  if (summaries.value().backup_empty) {
    dialogs.Show(
        {"Your backup data set for " + state.data_path + "\r\ndoes not contain any records!",
         "Nothing to do!",
         MessageIcon::kExclamation,
         MessageButtons::kOk,
         {}});
    return false;
  }
  const std::string text = summaries.value().current + "\r\n\r\n" + summaries.value().backup +
                           "\r\n\r\nDo you wish to replace the current set with the backup?";
  if (dialogs.Show({text, "Confirm", MessageIcon::kQuestion, MessageButtons::kYesNo,
                    MessageAnswer::kNo}) != MessageAnswer::kYes) {
    return false;
  }
  if (Status s =
          CopyPair(state.DataFile(kContactBackupName), state.DataFile(kContactFileName),
                   state.DataFile(kKeywordBackupName), state.DataFile(kKeywordFileName), fault);
      !s.ok()) {
    ReportFailure(dialogs, s, "Nothing was restored; your current data is unchanged.");
    return false;
  }
  dialogs.Show(
      {"Previous data restored!", "Finished", MessageIcon::kInformation, MessageButtons::kOk, {}});
  return true;
}

}  // namespace tabrel
