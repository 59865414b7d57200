#include "exchange/text_import.h"

#include <algorithm>

#include "base/text.h"
#include "exchange/formats/agent_format.h"
#include "exchange/formats/comma_contact.h"
#include "exchange/formats/ldif_contact.h"
#include "exchange/importing/import_commit.h"
#include "exchange/importing/import_decision.h"
#include "exchange/importing/import_report.h"
#include "exchange/importing/import_text.h"
#include "exchange/importing/new_records_import.h"
#include "present/backup_prompt.h"
#include "present/disk_error.h"
#include "present/progress_throttle.h"

namespace tabrel {

namespace {

constexpr std::string_view kAgentNameLabel = "Name:";

// The lines of `text` that begin with `label`, the first line included.
std::size_t EntriesBegun(std::string_view text, std::string_view label) {
  std::size_t count = text.starts_with(label) ? 1 : 0;
  for (std::size_t at = text.find('\n'); at != std::string_view::npos;
       at = text.find('\n', at + 1)) {
    if (text.substr(at + 1).starts_with(label)) ++count;
  }
  return count;
}

}  // namespace

void TextImport::Tell(const std::string& text, const char* title, MessageIcon icon) {
  dialogs_.Show({text, title, icon, MessageButtons::kOk, {}});
}

std::optional<std::string> TextImport::ChooseFile(const ExchangeFormat& format) {
  if (dialogs_.Show({std::string(format.import_question), std::string(format.import_title),
                     MessageIcon::kQuestion, MessageButtons::kYesNo, MessageAnswer::kNo}) !=
      MessageAnswer::kYes) {
    return std::nullopt;
  }
  const auto choice = files_.Select(state_.export_folder, std::string(format.file_pattern),
                                    std::string(format.file_caption));
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
  const auto path = ChooseFile(FormatOf(FormatId::kComma));
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
  Run(FormatOf(FormatId::kLdif));
}

void TextImport::Agent() {
  Run(FormatOf(FormatId::kAgent));
}

void TextImport::Run(const ExchangeFormat& format) {
  const bool ldif = format.id == FormatId::kLdif;
  const auto path = ChooseFile(format);
  if (!path) return;
  const std::string invalid =
      *path + (ldif ? "\r\nis not a valid .ldif address book export file! Operation aborted."
                    : "\r\nis not a valid Agent address book export file! Operation aborted.");
  auto text = ReadText(*path);
  if (!text) return;
  if (!ldif && !AgentReader(text->text).LooksValid()) {
    Tell(invalid, "Error!", MessageIcon::kExclamation);
    return;
  }
  // The data set in use now is the one the records go into, whatever the
  // main window does while the questions below wait.
  AppState target = state_;
  std::optional<DecidedImport> decided;
  // Reads the entries, as tabrel-cli does; false with the user told why.
  const auto decide = [&](bool extras_to_notes) {
    // The bar runs over the entries the file begins, as far as a look at
    // their first lines tells; it only shows.
    const int expected = static_cast<int>(
        EntriesBegun(text->text, ldif ? std::string_view("dn:") : kAgentNameLabel));
    progress_.SetBusy(true);
    progress_.SetProgressVisible(true);
    progress_.SetProgressRange(1, std::max(expected, 2));
    const ProgressThrottle throttle([this](int n) { progress_.SetProgressValue(n); }, expected);
    DecideOptions options;
    options.extras_to_notes = extras_to_notes;
    options.write_ahead = true;
    auto read = DecideImport(target, format.id, text->text, options, clock_.Now(),
                             [&throttle](std::size_t n) { throttle.Step(static_cast<int>(n)); });
    progress_.SetProgressVisible(false);
    progress_.SetBusy(false);
    if (!read.ok()) {
      ReportDiskError(dialogs_, read.status(), kImportUnchanged);
      return false;
    }
    decided.emplace(std::move(read.value()));
    return true;
  };
  if (!decide(false)) return;
  // Values no field holds may go to the notes instead, as the vCard and
  // comma imports offer with "Add Extra Items to Notes".
  if (ldif && decided->added->added() > 0 && !decided->added->left_out().empty() &&
      dialogs_.Show({LeftOutText(decided->added->left_out()) +
                         "\r\n\r\nAdd Extra Items to Notes? Each value becomes a line of its "
                         "record's notes, after its attribute's name.",
                     "Add Extra Items to Notes", MessageIcon::kQuestion, MessageButtons::kYesNo,
                     MessageAnswer::kNo}) == MessageAnswer::kYes &&
      !decide(true)) {
    return;
  }
  const NewRecordsImport& import = *decided->added;
  const std::string& skipped = decided->left_out;
  const char* keyword = ldif ? kLdifKeyword.data() : kAgentKeyword.data();
  if (import.added() == 0) {
    if (decided->skipped == 0) {
      Tell(invalid, "Error!", MessageIcon::kExclamation);
    } else {
      Tell(*path + "\r\nholds no entries that can become records. Nothing was imported.\r\n\r\n" +
               skipped,
           "Nothing to do!", MessageIcon::kExclamation);
    }
    return;
  }
  // The LDIF import asks once the records are counted and the limit checked.
  const auto proceed = [&] {
    if (!ldif) return true;
    std::string question =
        *path + " appears to contain " + std::to_string(import.added()) + " records. Proceed?";
    if (!skipped.empty()) question += "\r\n\r\n" + skipped;
    if (const std::string lost = LossNote(import); !lost.empty()) question += "\r\n" + lost;
    return dialogs_.Show({question, "Ready to Import!", MessageIcon::kQuestion,
                          MessageButtons::kYesNo, MessageAnswer::kNo}) == MessageAnswer::kYes;
  };
  if (!CommitImport(
          target, import.merge(), [this](bool busy) { progress_.SetBusy(busy); }, dialogs_, clock_,
          host_, proceed)) {
    return;
  }
  std::string report = std::string("Done! All the new records have been given the keyword ") +
                       keyword + ", to help you find them.\r\n\r\n" + AddedText(import.added());
  if (!skipped.empty()) report += "\r\n" + skipped;
  report += LossNote(import);
  report += "\r\n\r\n" + std::string(kBackupNote);
  Tell(report, "Import Complete", MessageIcon::kInformation);
}

}  // namespace tabrel
