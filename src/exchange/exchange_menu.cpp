#include "exchange/exchange_menu.h"

#include "base/text.h"
#include "exchange/import_window.h"
#include "exchange/record_import.h"
#include "store/file_info.h"

namespace tabrel {

ExchangeMenu::ExchangeMenu(const AppState& state, ExchangeHost& host, Dialogs& dialogs,
                           FileSelector& files, Clock& clock)
    : state_(state),
      host_(host),
      dialogs_(dialogs),
      files_(files),
      export_(state, host, dialogs),
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
  text_import_.set_fault(fault);
  quick_update_.set_fault(fault);
}

void ExchangeMenu::mu_ImportTabrel_Click() {
  ChooseImportFile(ImportKind::kNative);
}

void ExchangeMenu::mu_ImportOldTabrel_Click() {
  ChooseImportFile(ImportKind::kDos);
}

void ExchangeMenu::ChooseImportFile(ImportKind kind) {
  const bool dos = kind == ImportKind::kDos;
  const auto choice =
      files_.Select(state_.export_folder, dos ? "contact.dat;contact.mer;contact.bak" : "*.*",
                    dos ? " Select .DAT/MER/BAK file " : " Select a file ");
  if (!choice || TrimView(choice->file).empty()) {
    dialogs_.Show({"You must select a file to import.",
                   "Nothing to do!",
                   MessageIcon::kExclamation,
                   MessageButtons::kOk,
                   {}});
    return;
  }
  const std::string path = WithSlash(choice->folder) + choice->file;
  auto info = LookAt(path);
  if (!info.ok()) {
    dialogs_.Show({info.status().ErrorLine() + "\r\nNothing was imported.",
                   "Disk access error!",
                   MessageIcon::kExclamation,
                   MessageButtons::kOk,
                   {}});
    return;
  }
  const std::size_t length = RecordLengthOf(kind);
  if (!info.value().is_regular || info.value().size == 0 || info.value().size % length != 0) {
    dialogs_.Show({NotRecordsText(kind), "Error", MessageIcon::kCritical, MessageButtons::kOk, {}});
    return;
  }
  host_.OpenImportWindow({kind, path});
}

}  // namespace tabrel
