#include "exchange/exchange_menu.h"

#include "base/text.h"
#include "exchange/import_plan.h"
#include "exchange/import_window.h"

namespace tabrel {

ExchangeMenu::ExchangeMenu(const AppState& state, ExchangeHost& host, Dialogs& dialogs,
                           FileSelector& files, Clock& clock)
    : state_(state),
      host_(host),
      dialogs_(dialogs),
      files_(files),
      export_(state, host, dialogs),
      vcard_export_(state, host, dialogs),
      text_import_(state, host, dialogs, files, clock),
      quick_update_(state, host, dialogs) {}

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

void ExchangeMenu::set_fault(const RewriteFaultHook& fault) {
  export_.set_fault(fault);
  vcard_export_.set_fault(fault);
  text_import_.set_fault(fault);
  quick_update_.set_fault(fault);
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
    dialogs_.Show({facts.status().ErrorLine() + "\r\nNothing was imported.",
                   "Disk access error!",
                   MessageIcon::kExclamation,
                   MessageButtons::kOk,
                   {}});
    return;
  }
  if (!facts.value().importable) {
    dialogs_.Show({NotRecordsText(kind), "Error", MessageIcon::kCritical, MessageButtons::kOk, {}});
    return;
  }
  host_.OpenImportWindow({kind, path});
}

}  // namespace tabrel
