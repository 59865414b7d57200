#include "exchange/exchange_menu.h"

#include "base/text.h"
#include "exchange/import_window.h"
#include "exchange/record_import.h"
#include "present/disk_error.h"
#include "store/file_info.h"

namespace tabrel {

ExchangeMenu::ExchangeMenu(const AppState& state, MainListHost& host, ExchangeView& view,
                           ProgressView& progress, Dialogs& dialogs, FileSelector& files)
    : state_(state),
      host_(host),
      view_(view),
      dialogs_(dialogs),
      files_(files),
      export_(state, host, progress, dialogs),
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
    case ExchangeItem::kImportComma:
    case ExchangeItem::kImportAgent:
    case ExchangeItem::kImportNetscape:
    case ExchangeItem::kExportComma:
    case ExchangeItem::kExportAgent:
    case ExchangeItem::kExportNetscape:
      break;
  }
  return false;
}

void ExchangeMenu::mu_ImportTabrel_Click() {
  ChooseImportFile(ImportKind::kNative);
}

void ExchangeMenu::mu_ImportOldTabrel_Click() {
  ChooseImportFile(ImportKind::kDos);
}

void ExchangeMenu::ChooseImportFile(ImportKind kind) {
  if (!host_.CheckWritable()) return;
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
    ReportDiskError(dialogs_, info.status(), "Nothing was imported.");
    return;
  }
  const std::size_t length = RecordLengthOf(kind);
  if (!info.value().is_regular || info.value().size == 0 || info.value().size % length != 0) {
    dialogs_.Show({NotRecordsText(kind), "Error", MessageIcon::kCritical, MessageButtons::kOk, {}});
    return;
  }
  view_.OpenImportWindow({kind, path});
}

}  // namespace tabrel
