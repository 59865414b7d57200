#include "store/backup.h"

#include <chrono>
#include <filesystem>

#include "store/layout.h"
#include "store/mapped_file.h"
#include "store/record_file.h"

namespace tabrel {
namespace {

namespace l = layout;

Result<BackupSetCounts> CountSet(const AppState& state, const char* contacts,
                                 const char* keywords) {
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
  return BackupSetCounts{
      records.value(), entries.value(),
      std::chrono::system_clock::to_time_t(
          std::chrono::time_point_cast<std::chrono::system_clock::duration>(system))};
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

Result<BackupSets> CountBackupSets(const AppState& state) {
  auto live = CountSet(state, kContactFileName, kKeywordFileName);
  if (!live.ok()) return live.status();
  auto backup = CountSet(state, kContactBackupName, kKeywordBackupName);
  if (!backup.ok()) return backup.status();
  return BackupSets{live.value(), backup.value()};
}

Status CopyLiveToBackup(const AppState& state, const RewriteFaultHook& fault) {
  return CopyPair(state.DataFile(kContactFileName), state.DataFile(kContactBackupName),
                  state.DataFile(kKeywordFileName), state.DataFile(kKeywordBackupName), fault);
}

Status CopyBackupToLive(const AppState& state, const RewriteFaultHook& fault) {
  return CopyPair(state.DataFile(kContactBackupName), state.DataFile(kContactFileName),
                  state.DataFile(kKeywordBackupName), state.DataFile(kKeywordFileName), fault);
}

}  // namespace tabrel
