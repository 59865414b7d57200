#pragma once

#include <string>

#include "exchange/export_job.h"
#include "exchange/format_table.h"
#include "platform/dialogs.h"
#include "present/main_list_host.h"
#include "present/progress_view.h"
#include "store/app_state.h"

namespace tabrel {

// The exports of the Import / Export menu: the records of the record list's
// rows, in the order shown, written by the ExportJob in the format the item
// names. Native and DOS records are written after the records the chosen
// file already holds or in place of them; comma-delimited lines after what
// the file holds (its header line only into a new file) or in its place;
// LDIF, Agent entries and vCards replace the file, after asking. Rows whose
// record is gone are left out and counted, and the closing message gives
// the number of records the file now holds.
class RecordExport {
 public:
  // Everything passed must outlive this object.
  RecordExport(const AppState& state, MainListHost& host, ProgressView& progress, Dialogs& dialogs)
      : host_(host), progress_(progress), dialogs_(dialogs), job_(state, dialogs) {}

  // The export of a format after its question: "This will export the
  // currently displayed records to ... Proceed?".
  void Run(FormatId id);
  // "Export vCard": the question chooses the version: 3.0, which nearly
  // every address book reads, unless the user asks for 4.0.
  void Vcard();

 private:
  void Write(const ExchangeFormat& format, const WriteOptions& options);

  MainListHost& host_;
  ProgressView& progress_;
  Dialogs& dialogs_;
  ExportJob job_;
};

}  // namespace tabrel
