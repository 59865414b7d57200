#include "exchange/record_export.h"

#include <algorithm>
#include <string>
#include <vector>

#include "base/text_decoding.h"
#include "exchange/formats/agent_format.h"
#include "exchange/formats/comma_contact.h"
#include "exchange/formats/comma_writer.h"
#include "exchange/formats/dos_record.h"
#include "exchange/formats/ldif_writer.h"
#include "present/disk_error.h"
#include "present/progress_throttle.h"
#include "present/shown_records.h"
#include "store/layout.h"

namespace tabrel {

struct RecordExport::Format {
  enum class Target {
    kAddRecords,  // records of record_length bytes added to those the file holds
    kAddText,     // text added after what the file holds, its header written once
    kReplace,     // the file replaced
  };
  const char* question;
  const char* title;
  const char* default_name;
  const char* prompt_end;  // the last sentence of the "Filename?" prompt
  const char* records;     // what the file holds, as the messages name it
  Target target;
  std::size_t record_length;
  // The file's first line, for a text format; null for none.
  void (*header)(std::string& out);
  // Appends one stored record as the file holds it; null: as stored.
  void (*append)(std::string_view record, std::string& out);
};

namespace {

constexpr const char* kPrompt[] = {
    "You must supply a complete path and file name for the export operation.\r\n\r\nThe ",
    " records currently displayed will be exported to this file.\r\n\r\n"};

// The records a comma-delimited file already holds, its header left out.
std::size_t CommaRecordsIn(std::string_view bytes) {
  const CommaSurvey survey = SurveyComma(DecodeText(bytes).text, true);
  if (survey.first.empty()) return 0;
  return survey.records + (survey.header_likely ? 0 : 1);
}

}  // namespace

void RecordExport::Native() {
  static constexpr Format kNative = {
      "This will export the currently displayed records to Tabrel 3's native data format. "
      "Proceed?",
      "Export Tabrel 3 format records!",
      "export.dat",
      "Any other Tabrel 3 installation will be able to import these.",
      "records",
      Format::Target::kAddRecords,
      layout::kContactRecordLength,
      nullptr,
      nullptr};
  Run(kNative);
}

void RecordExport::Dos() {
  static constexpr Format kDos = {
      "\r\nThis will export the currently displayed records to the Tabrel DOS (version 2.1 and "
      "higher) native data format. Proceed?",
      "Export DOS version Tabrel records!",
      "contact.mer",
      "Any other Tabrel 3 installation will be able to import these.",
      "DOS records",
      Format::Target::kAddRecords,
      layout::kDosRecordLength,
      nullptr,
      AppendDosRecord};
  Run(kDos);
}

void RecordExport::Comma() {
  static constexpr Format kComma = {
      "\r\nThis will export the currently displayed records to a generic comma-delimited format "
      "that numerous other programs can import. Proceed?",
      "Export Comma Delimited Format",
      "comma-d.txt",
      "Many different programs will be able to import these.",
      "records",
      Format::Target::kAddText,
      0,
      AppendCommaHeader,
      AppendCommaRecord};
  Run(kComma);
}

void RecordExport::Ldif() {
  static constexpr Format kLdif = {
      "\r\nThis will export the currently displayed records to the Lightweight Data Exchange "
      "Format (.ldif). Proceed?",
      "Export .ldif Format",
      "tabrel.ldif",
      "Netscape's Address Book will be able to import these.",
      "records",
      Format::Target::kReplace,
      0,
      nullptr,
      AppendLdifEntry};
  Run(kLdif);
}

void RecordExport::Agent() {
  static constexpr Format kAgent = {
      "This will export the currently displayed records to a format that Agent's address book "
      "can import. Proceed?",
      "Export Agent Address Book Format",
      "agent.txt",
      "Agent's Address Book will be able to import these.",
      "records",
      Format::Target::kReplace,
      0,
      nullptr,
      AppendAgentEntry};
  Run(kAgent);
}

std::optional<ExportTarget> RecordExport::Target(const Format& format, const std::string& path,
                                                 int shown) const {
  switch (format.target) {
    case Format::Target::kAddRecords:
      return targets_.AddingRecords(path, format.record_length, format.records, shown);
    case Format::Target::kAddText: {
      auto target = targets_.AddingText(path, shown);
      if (target) target->kept_records = CommaRecordsIn(target->kept);
      return target;
    }
    case Format::Target::kReplace:
      break;
  }
  return targets_.Replacing(path, path + " already exists. Replace it with the shown records?",
                            format.title);
}

void RecordExport::Run(const Format& format) {
  if (dialogs_.Show({format.question, format.title, MessageIcon::kQuestion, MessageButtons::kYesNo,
                     MessageAnswer::kNo}) != MessageAnswer::kYes) {
    return;
  }
  const int shown = host_.MainGrid().Rows() - 1;
  const auto path = targets_.AskFileName(
      kPrompt[0] + std::to_string(shown) + kPrompt[1] + format.prompt_end, format.default_name);
  if (!path || !targets_.Acceptable(*path)) return;
  const auto target = Target(format, *path, shown);
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
    if (format.append != nullptr) {
      converted.reserve(count * (format.record_length > 0 ? format.record_length : 512));
      if (format.header != nullptr && target->kept.empty()) format.header(converted);
      for (std::size_t i = 0; i < count; ++i) {
        format.append(records[i], converted);
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
