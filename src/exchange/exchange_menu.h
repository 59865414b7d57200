#pragma once

#include "exchange/exchange_view.h"
#include "exchange/quick_update.h"
#include "exchange/record_export.h"
#include "exchange/text_import.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/file_selector.h"
#include "present/main_list_host.h"
#include "present/progress_view.h"
#include "store/app_state.h"
#include "store/atomic_file.h"

namespace tabrel {

// The presenter of the Import / Export menu, owned by the main window's
// presenter, which runs every item of that menu. Exports read the
// records of the rows the record list shows (MainListHost::MainGrid);
// imports check the chosen file and open the import window (ImportWindow)
// on it. The main window refuses the items that write while the data set
// is read-only before they reach this menu.
class ExchangeMenu {
 public:
  // Everything passed must outlive the menu.
  ExchangeMenu(const AppState& state, MainListHost& host, ExchangeView& view,
               ProgressView& progress, Dialogs& dialogs, FileSelector& files, Clock& clock);

  // "Import Windows Tabrel Records": choose a file, check it, open the
  // import window.
  void mu_ImportTabrel_Click();
  // "Import DOS Tabrel Records": the same for contact.dat, .mer or .bak.
  void mu_ImportOldTabrel_Click();
  // "Export Windows Tabrel Records".
  void mu_exportTabrel_Click() { export_.Run(FormatId::kNative); }
  // "Export DOS Tabrel Records".
  void mu_ExportOldTabrel_Click() { export_.Run(FormatId::kDos); }
  // "Import vCard": choose a file, check that it holds cards, open the
  // import window on it.
  void mu_ImportVcard_Click();
  // "Export vCard".
  void mu_ExportVcard_Click() { export_.Vcard(); }
  // "Import Comma-Delimited Records": choose a file, check it, open the
  // field selector window.
  void mu_ImportComma_Click() { text_import_.Comma(); }
  // "Import Lightweight Data Interchange Format".
  void mu_ImportNetscape_Click() { text_import_.Ldif(); }
  // "Import Agent Address Book Format".
  void mu_ImportAgent_Click() { text_import_.Agent(); }
  // "Export Comma-Delimited Records".
  void mu_ExportComma_Click() { export_.Run(FormatId::kComma); }
  // "Export Lightweight Data Interchange Format".
  void mu_ExportNetscape_Click() { export_.Run(FormatId::kLdif); }
  // "Export Agent Address Book Format".
  void mu_ExportAgent_Click() { export_.Run(FormatId::kAgent); }
  // "Get Quick Update".
  void mu_QuickUpdate_Click() { quick_update_.mu_QuickUpdate_Click(); }
  // "Make Quick Update".
  void mu_MakeQuickUpdate_Click() { quick_update_.mu_MakeQuickUpdate_Click(); }

 private:
  void ChooseImportFile(FormatId id);

  const AppState& state_;
  MainListHost& host_;
  ExchangeView& view_;
  Dialogs& dialogs_;
  FileSelector& files_;
  RecordExport export_;
  TextImport text_import_;
  QuickUpdate quick_update_;
};

}  // namespace tabrel
