#include "exchange/exchange_menu.h"

#include "base/text.h"
#include "exchange/import_window.h"
#include "exchange/importing/import_plan.h"
#include "present/disk_error.h"

namespace tabrel {

ExchangeMenu::ExchangeMenu(const AppState& state, MainListHost& host, ExchangeView& view,
                           ProgressView& progress, Dialogs& dialogs, FileSelector& files,
                           Clock& clock)
    : state_(state),
      host_(host),
      view_(view),
      dialogs_(dialogs),
      files_(files),
      export_(state, host, progress, dialogs),
      text_import_(state, host, view, progress, dialogs, files, clock),
      quick_update_(state, host, view, progress, dialogs) {}

void ExchangeMenu::mu_ImportTabrel_Click() {
  ChooseImportFile(FormatId::kNative);
}

void ExchangeMenu::mu_ImportOldTabrel_Click() {
  ChooseImportFile(FormatId::kDos);
}

void ExchangeMenu::mu_ImportVcard_Click() {
  ChooseImportFile(FormatId::kVcard);
}

void ExchangeMenu::ChooseImportFile(FormatId id) {
  const ExchangeFormat& format = FormatOf(id);
  const ImportKind kind = *format.import_kind;
  const auto choice = files_.Select(state_.export_folder, std::string(format.file_pattern),
                                    std::string(format.file_caption));
  if (!choice || TrimView(choice->file).empty()) {
    dialogs_.Show({"You must select a file to import.",
                   "Nothing to do!",
                   MessageIcon::kExclamation,
                   MessageButtons::kOk,
                   {}});
    return;
  }
  const std::string path = WithSlash(choice->folder) + choice->file;
  auto facts = LookAtImportFile({kind, path});
  if (!facts.ok()) {
    ReportDiskError(dialogs_, facts.status(), "Nothing was imported.");
    return;
  }
  if (!facts.value().importable) {
    dialogs_.Show({NotRecordsText(kind), "Error", MessageIcon::kCritical, MessageButtons::kOk, {}});
    return;
  }
  view_.OpenImportWindow({kind, path});
}

}  // namespace tabrel
