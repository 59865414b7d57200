#pragma once

#include "exchange/export_target.h"
#include "platform/dialogs.h"
#include "present/main_list_host.h"
#include "present/progress_view.h"
#include "store/app_state.h"
#include "store/atomic_file.h"

namespace tabrel {

// The native and DOS exports: the records of the record list's rows, in the
// order shown, each found by its stamp (one StampIndex for the whole list),
// written after the records the chosen file already holds or in place of
// them. Native records are written as stored; DOS records as DosRecordOf
// makes them. Rows whose record is gone are left out and counted, and the
// closing message gives the number of records the file now holds.
class RecordExport {
 public:
  // Everything passed must outlive this object.
  RecordExport(const AppState& state, MainListHost& host, ProgressView& progress, Dialogs& dialogs)
      : state_(state),
        host_(host),
        progress_(progress),
        dialogs_(dialogs),
        targets_(state, dialogs) {}

  // "Export Windows Tabrel Records".
  void Native();
  // "Export DOS Tabrel Records".
  void Dos();

 private:
  struct Format;
  void Run(const Format& format);

  const AppState& state_;
  MainListHost& host_;
  ProgressView& progress_;
  Dialogs& dialogs_;
  ExportTargets targets_;
};

}  // namespace tabrel
