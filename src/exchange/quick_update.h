#pragma once

#include <string>
#include <string_view>

#include "exchange/exchange_view.h"
#include "exchange/export_target.h"
#include "platform/dialogs.h"
#include "present/main_list_host.h"
#include "present/progress_view.h"
#include "store/app_state.h"
#include "store/atomic_file.h"

namespace tabrel {

// The name of the shared file when a Quick Update setting names a folder.
inline constexpr const char* kQuickUpdateFileName = "quickup.dat";

// The file a Quick Update setting (as stored, Windows-1252, blank-padded)
// names: the trimmed text as a path, taken inside the export folder when it
// does not start with "/"; when that is an existing folder, quickup.dat in
// it. Empty for a blank setting.
std::string QuickUpdateFile(const AppState& state, std::string_view setting);

// Quick Update: a group shares one file of Tabrel 3 records on a shared
// folder. Make writes the records shown in the record list to the Quick
// Update target (a temporary file beside it, then renamed over it, so the
// group never sees a half-written file and a failure leaves the old one);
// Get opens the import window on the Quick Update path, read in place, so
// nothing is copied into the data folder.
class QuickUpdate {
 public:
  // Everything passed must outlive this object.
  QuickUpdate(const AppState& state, MainListHost& host, ExchangeView& view, ProgressView& progress,
              Dialogs& dialogs)
      : state_(state),
        host_(host),
        view_(view),
        progress_(progress),
        dialogs_(dialogs),
        targets_(state, dialogs) {}

  // "Make Quick Update".
  void mu_MakeQuickUpdate_Click();
  // "Get Quick Update".
  void mu_QuickUpdate_Click();

 private:
  void Tell(const std::string& text, const std::string& title, MessageIcon icon);

  const AppState& state_;
  MainListHost& host_;
  ExchangeView& view_;
  ProgressView& progress_;
  Dialogs& dialogs_;
  ExportTargets targets_;
};

}  // namespace tabrel
