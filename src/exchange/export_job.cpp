#include "exchange/export_job.h"

#include <algorithm>
#include <vector>

#include "present/progress_throttle.h"
#include "present/shown_records.h"
#include "store/file_info.h"
#include "store/file_reader.h"

namespace tabrel {

std::optional<ExportTarget> ExportJob::Target(const ExchangeFormat& format, const std::string& path,
                                              const Shown& shown, ExistingFile existing,
                                              ExportEnd& end) const {
  if (existing == ExistingFile::kAsk) {
    switch (format.export_to) {
      case ExportTo::kAddRecords:
        return targets_.AddingRecords(path, format.record_length, format.records, shown());
      case ExportTo::kAddText:
        return targets_.AddingText(path, shown());
      case ExportTo::kReplace:
        break;
    }
    return targets_.Replacing(path, path + std::string(format.replace_question),
                              std::string(format.export_title));
  }
  auto info = LookAt(path);
  if (!info.ok()) {
    end.refusal = info.status().ErrorLine() + "\nNothing was exported.";
    return std::nullopt;
  }
  if (!info.value().exists || info.value().size == 0 || existing == ExistingFile::kReplace) {
    return ExportTarget{path, "", 0};
  }
  if (!format.addable()) {
    end.refusal = "Nothing was exported: " + path + " already exists, and " +
                  std::string(format.entries) +
                  " cannot be added to a file. Give --replace to replace it.";
    return std::nullopt;
  }
  if (existing == ExistingFile::kKeep) {
    end.refusal = "Nothing was exported: " + path +
                  " already exists. Give --yes to add the records to it, or --replace to "
                  "replace it.";
    return std::nullopt;
  }
  return format.export_to == ExportTo::kAddText
             ? targets_.AddingText(path, shown())
             : targets_.AddingRecords(path, format.record_length, format.records, shown());
}

ExportBytes ExportJob::BytesOf(const ExchangeFormat& format, const WriteOptions& options,
                               std::span<const std::string_view> records) {
  ExportBytes out;
  out.exported = records.size();
  // Room for what every writer reserves itself (some 600 bytes an entry).
  ReserveLarge(out.bytes, records.size() * std::max<std::size_t>(format.record_length, 640));
  format.write(records, options, out.bytes);
  return out;
}

Result<ExportBytes> ExportJob::BytesOf(const ExchangeFormat& format, const WriteOptions& options,
                                       const Grid& rows) const {
  auto shown = RecordsOfShownRows(state_, rows);
  if (!shown.ok()) return shown.status();
  ExportBytes out = BytesOf(format, options, shown.value().records);
  out.missing = shown.value().missing;
  return out;
}

ExportEnd ExportJob::Run(const ExchangeFormat& format, WriteOptions options,
                         const std::string& path, const Grid& rows, ExistingFile existing,
                         ProgressView* progress) const {
  const int shown = rows.Rows() - 1;
  return Write(
      format, options, path, [shown] { return shown; }, existing, progress,
      [&](const WriteOptions& chosen) { return BytesOf(format, chosen, rows); });
}

ExportEnd ExportJob::Run(const ExchangeFormat& format, WriteOptions options,
                         const std::string& path, std::span<const std::string_view> records,
                         ExistingFile existing) const {
  const int shown = static_cast<int>(records.size());
  return Write(
      format, options, path, [shown] { return shown; }, existing, nullptr,
      [&](const WriteOptions& chosen) -> Result<ExportBytes> {
        return BytesOf(format, chosen, records);
      });
}

ExportEnd ExportJob::Run(const ExchangeFormat& format, WriteOptions options,
                         const std::string& path, const RecordRuns& runs,
                         ExistingFile existing) const {
  const auto count = [&runs] {
    int n = 0;
    const Status pass = runs.each([&n](std::span<const std::string_view> run) {
      n += static_cast<int>(run.size());
      return true;
    });
    return pass.ok() ? n : 0;
  };
  return Write(format, options, path, count, existing, nullptr,
               [&](const WriteOptions& chosen) -> Result<ExportBytes> {
                 ExportBytes out;
                 ReserveLarge(out.bytes,
                              runs.most * std::max<std::size_t>(format.record_length, 640));
                 WriteOptions each = chosen;
                 const Status pass = runs.each([&](std::span<const std::string_view> run) {
                   format.write(run, each, out.bytes);
                   each.header = false;  // a header starts the file only
                   out.exported += run.size();
                   return true;
                 });
                 if (!pass.ok()) return pass;
                 return out;
               });
}

ExportEnd ExportJob::Write(const ExchangeFormat& format, WriteOptions options,
                           const std::string& path, const Shown& shown_count, ExistingFile existing,
                           ProgressView* progress, const MakeBytes& make_bytes) const {
  ExportEnd end;
  if (!targets_.Acceptable(path)) return end;
  const auto target = Target(format, path, shown_count, existing, end);
  if (!target) return end;
  const int shown = progress != nullptr ? shown_count() : 0;

  if (progress != nullptr) {
    progress->SetBusy(true);
    progress->SetProgressVisible(true);
    progress->SetProgressRange(1, std::max(shown, 2));
  }
  const ProgressThrottle throttle(
      [progress](int n) {
        if (progress != nullptr) progress->SetProgressValue(n);
      },
      shown);
  options.header = target->kept.empty();
  options.progress = [&throttle](std::size_t n) { throttle.Step(static_cast<int>(n)); };
  auto bytes = make_bytes(options);
  if (bytes.ok()) {
    end.exported = bytes.value().exported;
    end.missing = bytes.value().missing;
    const std::string_view pieces[] = {bytes.value().bytes};
    end.failure = targets_.Write(*target, pieces);
  } else {
    end.failure = bytes.status();
  }
  if (progress != nullptr) {
    progress->SetProgressVisible(false);
    progress->SetBusy(false);
  }
  if (!end.failure.ok()) {
    end.kind = ExportEnd::Kind::kFailed;
    return end;
  }
  end.kind = ExportEnd::Kind::kWritten;
  end.held = target->kept_records + end.exported;
  return end;
}

}  // namespace tabrel
