#include "exchange/text_import.h"
#include "exchange/importing/import_commit.h"
#include "exchange/importing/text_records.h"

#include "base/text.h"
#include "exchange/formats/agent_format.h"
#include "exchange/formats/comma_contact.h"
#include "exchange/formats/ldif_contact.h"
#include "exchange/importing/import_report.h"
#include "exchange/importing/import_text.h"
#include "exchange/importing/new_records_import.h"
#include "present/backup_prompt.h"
#include "present/disk_error.h"

namespace tabrel {

struct TextImport::Format {
  const char* question;
  const char* title;
  const char* caption;  // of the file selector
  const char* pattern;
  bool ldif;  // else Agent
};

void TextImport::Tell(const std::string& text, const char* title, MessageIcon icon) {
  dialogs_.Show({text, title, icon, MessageButtons::kOk, {}});
}

std::optional<std::string> TextImport::ChooseFile(const Format& format) {
  if (!host_.CheckWritable()) return std::nullopt;
  if (dialogs_.Show({format.question, format.title, MessageIcon::kQuestion, MessageButtons::kYesNo,
                     MessageAnswer::kNo}) != MessageAnswer::kYes) {
    return std::nullopt;
  }
  const auto choice = files_.Select(state_.export_folder, format.pattern, format.caption);
  if (!choice || TrimView(choice->file).empty()) {
    Tell("You must select a file to import.", "Nothing to do!", MessageIcon::kExclamation);
    return std::nullopt;
  }
  return WithSlash(choice->folder) + choice->file;
}

std::optional<DecodedText> TextImport::ReadText(const std::string& path) {
  auto text = ReadImportText(path);
  if (!text.ok()) {
    ReportDiskError(dialogs_, text.status(), kImportUnchanged);
    return std::nullopt;
  }
  if (HoldsNul(text.value().text)) {
    Tell(NotTextMessage(path), "Error!", MessageIcon::kExclamation);
    return std::nullopt;
  }
  return std::move(text.value());
}

void TextImport::Comma() {
  static constexpr Format kComma = {
      "\r\nThis will attempt to import the file you select and convert its contents to Tabrel "
      "records. Proceed?",
      "Import Comma Delimited Format", " Select .TXT file ", "*.txt;*.csv", false};
  const auto path = ChooseFile(kComma);
  if (!path) return;
  auto text = ReadText(*path);
  if (!text) return;
  if (SurveyComma(text->text, false, false).records == 0) {
    Tell(*path + "\r\nholds no records to import.", "Nothing to do!", MessageIcon::kExclamation);
    return;
  }
  view_.OpenCommaParse(*path);
}

void TextImport::Ldif() {
  static constexpr Format kLdif = {
      "\r\nThis will attempt to import the file you select and convert its contents to Tabrel "
      "records. Proceed?",
      "Import .ldif Format", " Select .ldif file ", "*.ldif", true};
  Run(kLdif);
}

void TextImport::Agent() {
  static constexpr Format kAgent = {
      "This will attempt to import the file you select and convert its contents to Tabrel "
      "records. Proceed?",
      "Import Agent Address Book Format", " Select .TXT file ", "*.txt", false};
  Run(kAgent);
}

void TextImport::Run(const Format& format) {
  const auto path = ChooseFile(format);
  if (!path) return;
  const std::string invalid =
      *path + (format.ldif
                   ? "\r\nis not a valid .ldif address book export file! Operation aborted."
                   : "\r\nis not a valid Agent address book export file! Operation aborted.");
  auto text = ReadText(*path);
  if (!text) return;
  if (!format.ldif && !AgentReader(text->text).LooksValid()) {
    Tell(invalid, "Error!", MessageIcon::kExclamation);
    return;
  }
  // The data set in use now is the one the records go into, whatever the
  // main window does while the questions below wait.
  AppState target = state_;
  auto opened = NewRecordsImport::Open(target, clock_.Now());
  if (!opened.ok()) {
    ReportDiskError(dialogs_, opened.status(), kImportUnchanged);
    return;
  }
  NewRecordsImport& import = opened.value();
  progress_.SetBusy(true);
  std::string skipped;
  std::size_t entries = 0;
  if (format.ldif) {
    const LdifSkipped left_out = AddLdifRecords(text->text, import);
    skipped = LdifSkippedText(left_out);
    entries = left_out.entries() + import.added();
  } else {
    const std::size_t left_out = AddAgentRecords(text->text, import);
    if (left_out > 0) {
      skipped = std::to_string(left_out) + (left_out == 1 ? " entry was" : " entries were") +
                " skipped: they have neither a name nor an e-mail address.";
    }
    entries = left_out + import.added();
  }
  progress_.SetBusy(false);
  const char* keyword = format.ldif ? kLdifKeyword.data() : kAgentKeyword.data();
  if (import.added() == 0) {
    if (entries == 0) {
      Tell(invalid, "Error!", MessageIcon::kExclamation);
    } else {
      Tell(*path + "\r\nholds no entries that can become records. Nothing was imported.\r\n\r\n" +
               skipped,
           "Nothing to do!", MessageIcon::kExclamation);
    }
    return;
  }
  if (Status s = import.CheckLimit(); !s.ok()) {
    Tell(s.ErrorLine() + "\r\n" + std::string(kImportUnchanged), "Error!",
         MessageIcon::kExclamation);
    return;
  }
  if (format.ldif) {
    std::string question =
        *path + " appears to contain " + std::to_string(import.added()) + " records. Proceed?";
    if (!skipped.empty()) question += "\r\n\r\n" + skipped;
    if (dialogs_.Show({question, "Ready to Import!", MessageIcon::kQuestion, MessageButtons::kYesNo,
                       MessageAnswer::kNo}) != MessageAnswer::kYes) {
      return;
    }
  }
  if (!CommitImport(
          target, [&import] { return import.Commit(); },
          [this](bool busy) { progress_.SetBusy(busy); }, dialogs_, clock_, host_)) {
    return;
  }
  std::string report = std::string("Done! All the new records have been given the keyword ") +
                       keyword + ", to help you find them.\r\n\r\n" + AddedText(import.added());
  if (!skipped.empty()) report += "\r\n" + skipped;
  report += LossNote(import.replaced_characters(), import.cut_values());
  report += "\r\n\r\n" + std::string(kBackupNote);
  Tell(report, "Import Complete", MessageIcon::kInformation);
}

}  // namespace tabrel
