#include "store/data_set.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "base/text.h"
#include "store/layout.h"
#include "store/mapped_file.h"
#include "store/record_file.h"

namespace tabrel {
namespace {

namespace l = layout;

RecordFile ContactFile(const AppState& state) {
  return RecordFile(state.DataFile(kContactFileName), l::kContactRecordLength);
}

std::string_view StampAt(std::string_view records, std::size_t index) {
  return records.substr(index * l::kContactRecordLength + l::kModified.offset, l::kModified.width);
}

}  // namespace

Result<bool> LoadRecordByStamp(AppState& state) {
  auto file = MappedFile::Open(state.DataFile(kContactFileName));
  if (!file.ok()) return file.status();
  const std::string_view all = file.value().Records(l::kContactRecordLength);
  const std::string stamp = Fit(state.editor_record.Modified, l::kModified.width);
  const std::size_t count = all.size() / l::kContactRecordLength;
  for (std::size_t i = 0; i < count; ++i) {
    if (StampAt(all, i) == stamp) {
      state.current_record = DecodeContact(all.substr(i * l::kContactRecordLength));
      state.editor_record = state.current_record;
      state.current_record_number = static_cast<int>(i + 1);
      return true;
    }
  }
  return false;
}

Status DeleteRecord(AppState& state, const RewriteFaultHook* fault) {
  const RecordFile file = ContactFile(state);
  auto mapped = MappedFile::Open(file.path());
  if (!mapped.ok()) return mapped.status();
  const std::string_view all = mapped.value().Records(l::kContactRecordLength);
  const std::string_view stamp = TrimView(state.editor_record.Modified);
  // The kept records as runs of the mapped file, written without a copy.
  std::vector<std::string_view> kept;
  const std::size_t count = all.size() / l::kContactRecordLength;
  std::size_t run_start = 0;
  for (std::size_t i = 0; i <= count; ++i) {
    if (i < count && TrimView(StampAt(all, i)) != stamp) continue;
    if (i > run_start) {
      kept.push_back(all.substr(run_start * l::kContactRecordLength,
                                (i - run_start) * l::kContactRecordLength));
    }
    run_start = i + 1;
  }
  return file.Rewrite(kept, kDeleteTempName, fault);
}

Status CheckDataFolder(const std::string& folder) {
  struct stat st {};
  if (::stat(folder.c_str(), &st) != 0) return Status::FromErrno(errno, folder);
  if (!S_ISDIR(st.st_mode)) return Status::FromErrno(ENOTDIR, folder);
  if (::access(folder.c_str(), R_OK | W_OK | X_OK) != 0) return Status::FromErrno(errno, folder);
  return Status::Ok();
}

Result<SettingsRecord> ReadSettingsFile(const std::string& program_folder) {
  const RecordFile file(WithSlash(program_folder) + kSettingsFileName, l::kSettingsRecordLength);
  auto raw = file.ReadRaw();
  if (!raw.ok()) return raw.status();
  return DecodeSettings(raw.value());
}

Status WriteSettingsFile(const std::string& program_folder, const SettingsRecord& settings,
                         const RewriteFaultHook* fault) {
  const RecordFile file(WithSlash(program_folder) + kSettingsFileName, l::kSettingsRecordLength);
  auto raw = file.ReadRaw();
  if (!raw.ok()) return raw.status();
  std::string content = EncodeSettings(settings);
  if (raw.value().size() > l::kSettingsRecordLength) {
    content.append(raw.value(), l::kSettingsRecordLength);
  }
  return AtomicRewrite(file.path(), content, "tr30.$$$", fault ? *fault : RewriteFaultHook());
}

Status LoadSettings(AppState& state) {
  state.data_path = WithSlash(state.program_folder);
  state.settings = DefaultSettings();
  const RecordFile file(state.ProgramFile(kSettingsFileName), l::kSettingsRecordLength);
  auto raw = file.ReadRaw();
  if (!raw.ok()) return raw.status();
  if (raw.value().empty()) return WriteSettingsFile(state.program_folder, state.settings);
  state.settings = DecodeSettings(raw.value());
  return Status::Ok();
}

}  // namespace tabrel
