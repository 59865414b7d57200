#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "base/result.h"
#include "base/status.h"
#include "platform/platform.h"
#include "platform/shell.h"
#include "present/grid.h"
#include "present/product.h"
#include "reports/preview_view.h"
#include "reports/report_text.h"
#include "store/app_state.h"
#include "store/file_reader.h"

namespace tabrel {

// The reports of the Print Preview menu and their preview, and the
// envelope print of the record view panel.
//
// A report reads the records of the record list's rows, in the order
// shown, through one stamp index (a row whose record is gone is left out),
// writes the report to tr_view.tmp in the program folder and shows the file
// in the preview, complete and editable up to the preview-lines setting,
// cut and read-only beyond it. The menus stay disabled from the start of a
// report until Close. No failure leaves an event procedure: each becomes a
// message box; a report that cannot be made closes its preview again.
//
// The reports read state.settings and never change a record, the editor's
// copy or the current record; the envelope prints state.editor_record.
class PrintPreview {
 public:
  PrintPreview(AppState& state, PreviewView& view, MenuSwitch& menus, Platform& platform);

  // Print Preview menu items, each over the record list `list` (rows 1 ..
  // Rows() - 1, the stamp in column kIdColumn). The list's current cell ends
  // on its last row, ID column.
  // Print Preview > Simple Phone List.
  void mu_SimplePhoneList_Click(Grid& list);
  // Print Preview > Complete Phone List.
  void mu_PrintPhoneList_Click(Grid& list);
  // Print Preview > Complete Records (text).
  void mu_PrintCompleteRecords_Click(Grid& list);
  // Print Preview > Complete Records (html); asks first whether records
  // without a web address are listed too.
  void mu_PrintComplete_HTML_Click(Grid& list);
  // Print Preview > Address Labels.
  void mu_printMailingAddresses_Click(Grid& list);
  // Print Preview > Email Addresses.
  void mu_printEmail_Click(Grid& list);

  // The five buttons of the print-options frame.
  // Print: the preview's text to the default printer.
  void SendPrint_Click();
  // File: the list moved to a file the user names.
  void SendFile_Click();
  // .DOC: the list handed to the word processor.
  void PrintToFile_Click();
  // .HTML: the list handed to the web browser.
  void PrintToHTML_Click();
  // Close: the preview closed, the menus back.
  void CancelPrint_Click();

  // The view panel's Envelope button (or its V key): prints the editor's copy.
  void Envelope_Click();

  // Shows tr_view.tmp in the preview (the last step of every report).
  void ShowPreview();
  // Replaces tr_view.tmp by the preview's text, lines ended by CR LF.
  Status WritePreviewBack();

  // True when the preview holds the whole file (and so may be edited).
  bool preview_complete() const { return preview_complete_; }
  // True from the start of the address labels until Close.
  bool label_mode() const { return label_mode_; }
  std::string PreviewPath() const;

 private:
  using Builder = std::function<std::string(StoredRecords, const ReportProgress&)>;

  // The report contract: menus off, records of the rows, the file, the
  // preview. `retry` gives a failed report one more attempt after the
  // user has seen the failure, as the phone lists do.
  void RunReport(Grid& list, const Builder& build, bool retry);
  Result<std::string> MakeReport(Grid& list, const Builder& build);
  void ShowPreviewOf(std::string_view content);
  // WritePreviewBack when the preview is complete; false after telling the
  // user why it failed.
  bool WriteBackIfComplete();
  // tr_view.tmp's bytes, or nothing after telling the user it is gone.
  std::optional<std::string> ReadPreviewFile();
  void HandOff(const char* file_name, const std::string& program_setting,
               std::string_view program_kind);
  void ShowFailure(const std::string& text);
  // After File moved a cut preview's file away, nothing is left to use.
  void ShowPreviewGone();
  void ShowPrinterFailure(const Status& status, std::string_view what);

  AppState& state_;
  PreviewView& view_;
  MenuSwitch& menus_;
  Platform& platform_;
  Shell& shell_;
  bool preview_complete_ = false;
  bool label_mode_ = false;
  ReadBuffer index_buffer_;  // kept from one report to the next
};

}  // namespace tabrel
