#include "exchange/record_export.h"

#include <algorithm>
#include <string>
#include <vector>

#include "exchange/dos_record.h"
#include "present/disk_error.h"
#include "present/progress_throttle.h"
#include "present/shown_records.h"
#include "store/layout.h"

namespace tabrel {

struct RecordExport::Format {
  const char* question;
  const char* title;
  const char* default_name;
  const char* records;  // what the file holds, as the messages name it
  std::size_t record_length;
  bool dos;
};

namespace {

constexpr const char* kPrompt[] = {
    "You must supply a complete path and file name for the export operation.\r\n\r\nThe ",
    " records currently displayed will be exported to this file.\r\n\r\nAny other Tabrel 3 "
    "installation will be able to import these."};

}  // namespace

void RecordExport::Native() {
  static constexpr Format kNative = {
      "This will export the currently displayed records to Tabrel 3's native data format. "
      "Proceed?",
      "Export Tabrel 3 format records!",
      "export.dat",
      "records",
      layout::kContactRecordLength,
      false};
  Run(kNative);
}

void RecordExport::Dos() {
  static constexpr Format kDos = {
      "\r\nThis will export the currently displayed records to the Tabrel DOS (version 2.1 and "
      "higher) native data format. Proceed?",
      "Export DOS version Tabrel records!",
      "contact.mer",
      "DOS records",
      layout::kDosRecordLength,
      true};
  Run(kDos);
}

void RecordExport::Run(const Format& format) {
  if (dialogs_.Show({format.question, format.title, MessageIcon::kQuestion, MessageButtons::kYesNo,
                     MessageAnswer::kNo}) != MessageAnswer::kYes) {
    return;
  }
  const int shown = host_.MainGrid().Rows() - 1;
  const auto path =
      targets_.AskFileName(kPrompt[0] + std::to_string(shown) + kPrompt[1], format.default_name);
  if (!path || !targets_.Acceptable(*path)) return;
  const auto target = targets_.AddingRecords(*path, format.record_length, format.records, shown);
  if (!target) return;

  progress_.SetBusy(true);
  progress_.SetProgressVisible(true);
  progress_.SetProgressRange(1, std::max(shown, 2));
  auto rows = RecordsOfShownRows(state_, host_.MainGrid());
  Status written = rows.status();
  std::size_t count = 0;
  if (rows.ok()) {
    const std::vector<std::string_view>& records = rows.value().records;
    count = records.size();
    const ProgressThrottle progress([this](int n) { progress_.SetProgressValue(n); },
                                    static_cast<int>(count));
    std::string converted;
    std::vector<std::string_view> pieces;
    if (format.dos) {
      converted.reserve(count * format.record_length);
      for (std::size_t i = 0; i < count; ++i) {
        AppendDosRecord(records[i], converted);
        progress.Step(static_cast<int>(i + 1));
      }
      pieces.push_back(converted);
    } else {
      // Stored records go out as they are, straight from the data file.
      pieces = records;
      progress.Step(static_cast<int>(count));
    }
    written = targets_.Write(*target, pieces);
  }
  progress_.SetProgressVisible(false);
  progress_.SetBusy(false);
  if (!written.ok()) {
    ReportDiskError(dialogs_, written, "Nothing was exported; no file was changed.");
    return;
  }
  std::string text = "Done! \r\n\r\n" + *path + "\r\n\r\n...contains " +
                     std::to_string(target->kept_records + count) + " " + format.records +
                     ". You may share these with others by sending the file via email, on disk, "
                     "or however you want!";
  if (const std::string note = LeftOutNote(rows.value().missing); !note.empty()) {
    text += "\r\n\r\n" + note;
  }
  dialogs_.Show({text, "Export Complete", MessageIcon::kInformation, MessageButtons::kOk, {}});
}

}  // namespace tabrel
