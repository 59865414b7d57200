#include "store/data_set.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "store/layout.h"
#include "store/record_file.h"
#include "store/text.h"

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
  auto records = ContactFile(state).ReadAll();
  if (!records.ok()) return records.status();
  const std::string_view all = records.value();
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
  auto records = file.ReadAll();
  if (!records.ok()) return records.status();
  const std::string_view all = records.value();
  const std::string_view stamp = TrimView(state.editor_record.Modified);
  std::string kept;
  kept.reserve(all.size());
  const std::size_t count = all.size() / l::kContactRecordLength;
  for (std::size_t i = 0; i < count; ++i) {
    if (TrimView(StampAt(all, i)) != stamp) {
      kept.append(all.substr(i * l::kContactRecordLength, l::kContactRecordLength));
    }
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

void ClearRecord(AppState& state) {
  state.current_record = BlankContactRecord();
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
