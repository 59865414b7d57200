#include "store/data_set.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "base/text.h"
#include "store/file_reader.h"
#include "store/layout.h"
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

Status CheckWritable(const AppState& state) {
  if (!state.read_only) return Status::Ok();
  return Status::Error(error_number::kPermissionDenied,
                       "The data set in " + state.data_path +
                           " is open read-only: another copy of Tabrel has it open.");
}

Result<bool> LoadRecordByStamp(AppState& state) {
  auto file = FileReader::Open(state.DataFile(kContactFileName));
  if (!file.ok()) return file.status();
  const std::string stamp = Fit(state.editor_record.Modified, l::kModified.width);
  const auto load = [&](std::string_view record, std::size_t index) {
    state.current_record = DecodeContact(record);
    state.editor_record = state.current_record;
    state.current_record_number = static_cast<int>(index + 1);
  };
  const std::size_t count = file.value().size() / l::kContactRecordLength;
  if (state.current_record_number >= 1 &&
      static_cast<std::size_t>(state.current_record_number) <= count) {
    const std::size_t at = static_cast<std::size_t>(state.current_record_number) - 1;
    std::string record(l::kContactRecordLength, ' ');
    if (Status s = file.value().ReadAt(at * l::kContactRecordLength, record); !s.ok()) return s;
    if (StampAt(record, 0) == stamp) {
      load(record, at);
      return true;
    }
  }
  bool found = false;
  const Status read = file.value().ScanRecords(
      l::kContactRecordLength, [&](std::string_view run, std::size_t first) {
        for (std::size_t i = 0; i < run.size() / l::kContactRecordLength; ++i) {
          if (StampAt(run, i) != stamp) continue;
          load(run.substr(i * l::kContactRecordLength, l::kContactRecordLength), first + i);
          found = true;
          return false;
        }
        return true;
      });
  if (!read.ok()) return read;
  return found;
}

Status DeleteRecord(AppState& state) {
  if (Status s = CheckWritable(state); !s.ok()) return s;
  const RecordFile file = ContactFile(state);
  auto opened = FileReader::Open(file.path());
  if (!opened.ok()) return opened.status();
  const FileReader& reader = opened.value();
  const std::string_view stamp = TrimView(state.editor_record.Modified);
  // The kept records as runs of the old file, copied without passing
  // through memory.
  struct Run {
    std::uint64_t offset;
    std::uint64_t length;
  };
  std::vector<Run> kept;
  std::uint64_t run_start = 0;
  const Status read =
      reader.ScanRecords(l::kContactRecordLength, [&](std::string_view records, std::size_t first) {
        for (std::size_t i = 0; i < records.size() / l::kContactRecordLength; ++i) {
          if (TrimView(StampAt(records, i)) != stamp) continue;
          const std::uint64_t at = (first + i) * l::kContactRecordLength;
          if (at > run_start) kept.push_back({run_start, at - run_start});
          run_start = at + l::kContactRecordLength;
        }
        return true;
      });
  if (!read.ok()) return read;
  const std::uint64_t end = reader.size() / l::kContactRecordLength * l::kContactRecordLength;
  if (end > run_start) kept.push_back({run_start, end - run_start});
  return file.Rewrite(
      [&](RewriteSink& sink) {
        for (const Run& run : kept) {
          if (Status s = sink.Copy(reader, run.offset, run.length); !s.ok()) return s;
        }
        return Status::Ok();
      },
      &state.write_fault);
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
  return AtomicRewrite(file.path(), content, fault ? *fault : RewriteFaultHook());
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
