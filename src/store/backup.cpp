#include "store/backup.h"

#include <chrono>
#include <filesystem>

#include "store/data_set.h"
#include "store/file_reader.h"
#include "store/layout.h"
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

// Copies two files over two others as one change (GroupCommit).
GroupCommit CopyPair(const AppState& state, const std::string& from1, const std::string& to1,
                     const std::string& from2, const std::string& to2) {
  const RewriteFaultHook& fault = state.write_fault;
  if (Status s = CheckWritable(state); !s.ok()) return {s, {}};
  auto first = FileReader::Open(from1);
  if (!first.ok()) return {first.status(), {}};
  auto second = FileReader::Open(from2);
  if (!second.ok()) return {second.status(), {}};
  auto whole = [](const FileReader& source) {
    return [&source](RewriteSink& sink) { return sink.Copy(source, 0, source.size()); };
  };
  StagedRewrite stage1;
  StagedRewrite stage2;
  if (Status s = stage1.Stage(to1, whole(first.value()), fault); !s.ok()) return {s, {}};
  if (Status s = stage2.Stage(to2, whole(second.value()), fault); !s.ok()) return {s, {}};
  StagedRewrite* const both[] = {&stage1, &stage2};
  return GroupCommit::Run(both);
}

}  // namespace

Result<BackupSets> CountBackupSets(const AppState& state) {
  auto live = CountSet(state, kContactFileName, kKeywordFileName);
  if (!live.ok()) return live.status();
  auto backup = CountSet(state, kContactBackupName, kKeywordBackupName);
  if (!backup.ok()) return backup.status();
  return BackupSets{live.value(), backup.value()};
}

GroupCommit CopyLiveToBackup(const AppState& state) {
  return CopyPair(state, state.DataFile(kContactFileName), state.DataFile(kContactBackupName),
                  state.DataFile(kKeywordFileName), state.DataFile(kKeywordBackupName));
}

GroupCommit CopyBackupToLive(const AppState& state) {
  return CopyPair(state, state.DataFile(kContactBackupName), state.DataFile(kContactFileName),
                  state.DataFile(kKeywordBackupName), state.DataFile(kKeywordFileName));
}

}  // namespace tabrel
