#include "exchange/vcard_export.h"

#include <algorithm>
#include <string>

#include "exchange/formats/vcard_writer.h"
#include "present/disk_error.h"
#include "present/shown_records.h"

namespace tabrel {

void VcardExport::Tell(const std::string& text, const char* title, MessageIcon icon) {
  dialogs_.Show({text, title, icon, MessageButtons::kOk, {}});
}

void VcardExport::Run() {
  const int shown = host_.MainGrid().Rows() - 1;
  const std::string count = std::to_string(shown);
  VcardWriteOptions options;
  switch (dialogs_.Show({"This will export the " + count +
                             " currently displayed records as vCards, which other address "
                             "books can import.\r\n\r\nYes writes vCard 3.0, which nearly every "
                             "address book reads.\r\nNo writes vCard 4.0.",
                         kVcardExportTitle, MessageIcon::kQuestion, MessageButtons::kYesNoCancel,
                         MessageAnswer::kYes})) {
    case MessageAnswer::kYes:
      break;
    case MessageAnswer::kNo:
      options.version = VcardVersion::k40;
      break;
    default:
      return;
  }
  const auto path = targets_.AskFileName(
      "You must supply a complete path and file name for the export operation.\r\n\r\nThe " +
          count + " records currently displayed will be exported to this file as vCard " +
          std::string(VersionText(options.version)) + ".",
      "tabrel.vcf");
  if (!path || !targets_.Acceptable(*path)) return;
  const auto target =
      targets_.Replacing(*path, *path + " already exists. Replace it?", kVcardExportTitle);
  if (!target) return;

  progress_.SetBusy(true);
  progress_.SetProgressVisible(true);
  progress_.SetProgressRange(1, std::max(shown, 2));
  auto rows = RecordsOfShownRows(state_, host_.MainGrid());
  Status written = rows.status();
  std::size_t cards = 0;
  if (rows.ok()) {
    const std::string text = VcardsOf(rows.value().records, options);
    cards = rows.value().records.size();
    progress_.SetProgressValue(std::max(shown, 1));
    const std::string_view pieces[] = {text};
    written = targets_.Write(*target, pieces);
  }
  progress_.SetProgressVisible(false);
  progress_.SetBusy(false);
  if (!written.ok()) {
    ReportDiskError(dialogs_, written, "Nothing was exported; no file was changed.");
    return;
  }
  std::string text = "Done! \r\n\r\n" + *path + "\r\n\r\n...contains " + std::to_string(cards) +
                     " vCards (version " + std::string(VersionText(options.version)) +
                     "). Other address books can import them.";
  if (const std::string note = LeftOutNote(rows.value().missing); !note.empty()) {
    text += "\r\n\r\n" + note;
  }
  Tell(text, "Export Complete", MessageIcon::kInformation);
}

}  // namespace tabrel
