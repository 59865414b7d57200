#pragma once

#include <optional>
#include <string>

#include "exchange/exchange_host.h"
#include "exchange/export_target.h"
#include "platform/dialogs.h"
#include "store/app_state.h"
#include "store/atomic_file.h"

namespace tabrel {

// The exports: the records of the record list's rows, in the order shown,
// each found by its stamp (one StampIndex for the whole list). Native and
// DOS records are written after the records the chosen file already holds
// or in place of them (native records as stored, DOS records as
// DosRecordOf makes them); comma-delimited lines after what the file holds
// (its header line only into a new file) or in its place; LDIF and Agent
// entries replace the file, after asking. Rows whose record is gone are left
// out and counted, and the closing message gives the number of records the
// file now holds.
class RecordExport {
 public:
  // Everything passed must outlive this object.
  RecordExport(const AppState& state, ExchangeHost& host, Dialogs& dialogs)
      : state_(state), host_(host), dialogs_(dialogs), targets_(state, dialogs) {}

  // "Export Windows Tabrel Records".
  void Native();
  // "Export DOS Tabrel Records".
  void Dos();
  // "Export Comma-Delimited Records".
  void Comma();
  // "Export Lightweight Data Interchange Format".
  void Ldif();
  // "Export Agent Address Book Format".
  void Agent();

  void set_fault(RewriteFaultHook fault) { fault_ = std::move(fault); }

 private:
  struct Format;
  void Run(const Format& format);
  // Asks what becomes of a file already at `path`; empty: nothing is written.
  std::optional<ExportTarget> Target(const Format& format, const std::string& path,
                                     int shown) const;

  const AppState& state_;
  ExchangeHost& host_;
  Dialogs& dialogs_;
  ExportTargets targets_;
  RewriteFaultHook fault_;
};

}  // namespace tabrel
