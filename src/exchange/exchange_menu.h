#pragma once

#include "exchange/exchange_view.h"
#include "exchange/quick_update.h"
#include "exchange/record_export.h"
#include "platform/dialogs.h"
#include "platform/file_selector.h"
#include "present/main_list_host.h"
#include "present/progress_view.h"
#include "store/app_state.h"
#include "store/atomic_file.h"

namespace tabrel {

// The twelve items of the "&Import / Export" menu.
enum class ExchangeItem {
  kImportTabrel,
  kImportOldTabrel,
  kImportComma,
  kImportAgent,
  kImportNetscape,
  kExportTabrel,
  kExportOldTabrel,
  kExportComma,
  kExportAgent,
  kExportNetscape,
  kQuickUpdate,
  kMakeQuickUpdate,
};

// The presenter of the Import / Export menu, owned by the main window's
// presenter, which hands it every item of that menu. Exports read the
// records of the rows the record list shows (MainListHost::MainGrid);
// imports check that the data set may be written (MainListHost::
// CheckWritable) and the chosen file, and open the import window
// (ImportWindow) on it.
class ExchangeMenu {
 public:
  // Everything passed must outlive the menu.
  ExchangeMenu(const AppState& state, MainListHost& host, ExchangeView& view,
               ProgressView& progress, Dialogs& dialogs, FileSelector& files);

  // Runs the item; false (nothing done) for an item not available yet.
  bool Click(ExchangeItem item);

  // "Import Windows Tabrel Records": choose a file, check it, open the
  // import window.
  void mu_ImportTabrel_Click();
  // "Import DOS Tabrel Records": the same for contact.dat, .mer or .bak.
  void mu_ImportOldTabrel_Click();
  // "Export Windows Tabrel Records".
  void mu_exportTabrel_Click() { export_.Native(); }
  // "Export DOS Tabrel Records".
  void mu_ExportOldTabrel_Click() { export_.Dos(); }
  // "Get Quick Update".
  void mu_QuickUpdate_Click() { quick_update_.mu_QuickUpdate_Click(); }
  // "Make Quick Update".
  void mu_MakeQuickUpdate_Click() { quick_update_.mu_MakeQuickUpdate_Click(); }

 private:
  void ChooseImportFile(ImportKind kind);

  const AppState& state_;
  MainListHost& host_;
  ExchangeView& view_;
  Dialogs& dialogs_;
  FileSelector& files_;
  RecordExport export_;
  QuickUpdate quick_update_;
};

}  // namespace tabrel
