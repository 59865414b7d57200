#pragma once

#include "exchange/export_target.h"
#include "platform/dialogs.h"
#include "present/main_list_host.h"
#include "present/progress_view.h"
#include "store/app_state.h"
#include "store/atomic_file.h"

namespace tabrel {

inline constexpr const char* kVcardExportTitle = "Export vCard";

// "Export vCard": the records of the record list's rows, in the order shown
// (one StampIndex for the whole list; rows whose record is gone are left out
// and counted), written as vCards (VcardsOf) to a file that replaces the one
// there, after asking. A question first chooses the version: 3.0, which
// nearly every address book reads, unless the user asks for 4.0.
class VcardExport {
 public:
  // Everything passed must outlive this object.
  VcardExport(const AppState& state, MainListHost& host, ProgressView& progress, Dialogs& dialogs)
      : state_(state),
        host_(host),
        progress_(progress),
        dialogs_(dialogs),
        targets_(state, dialogs) {}

  void Run();

 private:
  void Tell(const std::string& text, const char* title, MessageIcon icon);

  const AppState& state_;
  MainListHost& host_;
  ProgressView& progress_;
  Dialogs& dialogs_;
  ExportTargets targets_;
};

}  // namespace tabrel
