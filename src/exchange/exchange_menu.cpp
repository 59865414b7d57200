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
      vcard_export_(state, host, progress, dialogs),
      text_import_(state, host, view, progress, dialogs, files, clock),
      quick_update_(state, host, view, progress, dialogs) {}

void ExchangeMenu::mu_ImportTabrel_Click() {
  ChooseImportFile(ImportKind::kNative);
}

void ExchangeMenu::mu_ImportOldTabrel_Click() {
  ChooseImportFile(ImportKind::kDos);
}

void ExchangeMenu::mu_ImportVcard_Click() {
  ChooseImportFile(ImportKind::kVcard);
}

void ExchangeMenu::ChooseImportFile(ImportKind kind) {
  if (!host_.CheckWritable()) return;
  struct Choice {
    const char* pattern;
    const char* caption;
  };
  static constexpr Choice kNative = {"*.*", " Select a file "};
  static constexpr Choice kDos = {"contact.dat;contact.mer;contact.bak",
                                  " Select .DAT/MER/BAK file "};
  static constexpr Choice kVcard = {"*.vcf;*.vcard", " Select a vCard file "};
  const Choice& what = kind == ImportKind::kDos     ? kDos
                       : kind == ImportKind::kVcard ? kVcard
                                                    : kNative;
  const auto choice = files_.Select(state_.export_folder, what.pattern, what.caption);
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
