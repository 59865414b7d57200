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

bool ExchangeMenu::Click(ExchangeItem item) {
  switch (item) {
    case ExchangeItem::kImportTabrel:
      mu_ImportTabrel_Click();
      return true;
    case ExchangeItem::kImportOldTabrel:
      mu_ImportOldTabrel_Click();
      return true;
    case ExchangeItem::kExportTabrel:
      mu_exportTabrel_Click();
      return true;
    case ExchangeItem::kExportOldTabrel:
      mu_ExportOldTabrel_Click();
      return true;
    case ExchangeItem::kQuickUpdate:
      mu_QuickUpdate_Click();
      return true;
    case ExchangeItem::kMakeQuickUpdate:
      mu_MakeQuickUpdate_Click();
      return true;
    case ExchangeItem::kImportVcard:
      mu_ImportVcard_Click();
      return true;
    case ExchangeItem::kExportVcard:
      mu_ExportVcard_Click();
      return true;
    case ExchangeItem::kImportComma:
      mu_ImportComma_Click();
      return true;
    case ExchangeItem::kImportAgent:
      mu_ImportAgent_Click();
      return true;
    case ExchangeItem::kImportNetscape:
      mu_ImportNetscape_Click();
      return true;
    case ExchangeItem::kExportComma:
      mu_ExportComma_Click();
      return true;
    case ExchangeItem::kExportAgent:
      mu_ExportAgent_Click();
      return true;
    case ExchangeItem::kExportNetscape:
      mu_ExportNetscape_Click();
      return true;
  }
  return false;
}

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
