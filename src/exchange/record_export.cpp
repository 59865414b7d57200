#include "exchange/record_export.h"

namespace tabrel {

void RecordExport::Run(FormatId id) {
  const ExchangeFormat& format = FormatOf(id);
  if (dialogs_.Show({std::string(format.export_question), std::string(format.export_title),
                     MessageIcon::kQuestion, MessageButtons::kYesNo, MessageAnswer::kNo}) !=
      MessageAnswer::kYes) {
    return;
  }
  Write(format, {});
}

void RecordExport::Vcard() {
  const ExchangeFormat& format = FormatOf(FormatId::kVcard);
  WriteOptions options;
  switch (dialogs_.Show({"This will export the " + std::to_string(host_.MainGrid().Rows() - 1) +
                             " currently displayed records as vCards, which other address "
                             "books can import.\r\n\r\nvCard 3.0 is read by nearly every "
                             "address book.",
                         std::string(format.export_title), MessageIcon::kQuestion,
                         MessageButtons::kYesNoCancel, MessageAnswer::kYes, "vCard 3.0",
                         "vCard 4.0"})) {
    case MessageAnswer::kYes:
      break;
    case MessageAnswer::kNo:
      options.vcard_version = VcardVersion::k40;
      break;
    default:
      return;
  }
  Write(format, options);
}

void RecordExport::Write(const ExchangeFormat& format, const WriteOptions& options) {
  const Grid& rows = host_.MainGrid();
  const std::string version =
      format.versioned ? " (version " + std::string(VersionText(options.vcard_version)) + ")" : "";
  std::string prompt =
      "You must supply a complete path and file name for the export operation.\r\n\r\nThe " +
      std::to_string(rows.Rows() - 1) +
      " records currently displayed will be exported to this file";
  prompt += format.versioned ? " as vCard " + std::string(VersionText(options.vcard_version)) + "."
                             : ".\r\n\r\n" + std::string(format.prompt_end);
  const auto path = job_.targets().AskFileName(prompt, format.default_name);
  if (!path) return;
  const ExportEnd end = job_.Run(format, options, *path, rows, ExistingFile::kAsk, &progress_);
  if (end.kind == ExportEnd::Kind::kFailed) {
    ReportExportFailure(dialogs_, end.failure, "Nothing was exported; no file was changed.");
    return;
  }
  if (end.kind != ExportEnd::Kind::kWritten) return;
  std::string text = "Done! \r\n\r\n" + *path + "\r\n\r\n...contains " + std::to_string(end.held) +
                     " " + std::string(format.records) + version + std::string(format.done_end);
  if (const std::string note = LeftOutNote(end.missing); !note.empty()) {
    text += "\r\n\r\n" + note;
  }
  dialogs_.Show({text, "Export Complete", MessageIcon::kInformation, MessageButtons::kOk, {}});
}

}  // namespace tabrel
