#pragma once

#include <array>
#include <string>
#include <string_view>

#include "exchange/exchange_view.h"
#include "exchange/importing/duplicate_index.h"
#include "exchange/importing/import_plan.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "present/main_list_host.h"
#include "store/app_state.h"
#include "store/atomic_file.h"
#include "store/data_set_lock.h"

namespace tabrel {

inline constexpr std::string_view kImportWindowCaption = "Tabrel Record Import Controls";

// The window's fixed texts, for the view to build its controls with.
struct ImportControl {
  std::string_view name;
  std::string_view caption;
  std::string_view tooltip;
};
inline constexpr ImportControl kImportFileLabel = {"Label1", "",
                                                   "this is the file you have selected to import"};
inline constexpr ImportControl kDefineFrame = {
    "Frame1", " Define \"duplicate\" ", "set rules about when records are considered to match"};
inline constexpr ImportControl kSkipFrame = {"Frame2", " Skip duplicates... ",
                                             "set rules on what to do when records match"};
inline constexpr ImportControl kPreviewButton = {
    "PreviewButton", "Preview", "show what the import would do, without changing anything"};
inline constexpr ImportControl kImportButton = {"Command1", "Import", "start the import process"};
inline constexpr ImportControl kCloseButton = {"FinishedImporting", "Close",
                                               "quit import utility without further action"};
inline constexpr ImportControl kResultsLabel = {"Label2", "R  E  S  U  L  T  S", ""};

struct DefinitionOption {
  DuplicateDefinition value;
  std::string_view name;
  std::string_view caption;
};
inline constexpr std::array<DefinitionOption, 3> kDefinitionOptions = {{
    {DuplicateDefinition::kSameName, "DupDefNameOnly", "Same first and last name"},
    {DuplicateDefinition::kSameOrg, "DupDefOrgOnly", "Same organization name"},
    {DuplicateDefinition::kNameAndOrg, "DupDefNameAndOrg", "Both of the above"},
}};
struct SkipOption {
  DuplicateSkip value;
  std::string_view name;
  std::string_view caption;
};
inline constexpr std::array<SkipOption, 3> kSkipOptions = {{
    {DuplicateSkip::kNever, "DupSkipNever", "Never"},
    {DuplicateSkip::kAlways, "DupSkipAlways", "Always"},
    {DuplicateSkip::kIfOlder, "DupSkipOlder", "If they are older"},
}};

// The import window TR_ImportFrm. Texts cross as UTF-8; line breaks are
// CR LF.
class ImportView {
 public:
  virtual ~ImportView() = default;
  // Label1: the file being imported.
  virtual void SetFilePath(const std::string& path) = 0;
  // ImportDescription: what the file holds.
  virtual void SetDescription(const std::string& text) = 0;
  // The data set the records go into.
  virtual void SetTargetText(const std::string& text) = 0;
  // The options selected in the two frames.
  virtual void SetRules(DuplicateRules rules) = 0;
  virtual DuplicateRules Rules() const = 0;
  // "Add Extra Items to Notes" (kCommaExtras), shown for vCards only.
  virtual void ShowExtrasToNotes(bool shown) = 0;
  virtual bool ExtrasToNotes() const = 0;
  // ProgressBar1.
  virtual void SetProgressRange(int minimum, int maximum) = 0;
  virtual void SetProgressValue(int value) = 0;
  // The hourglass pointer over the window.
  virtual void SetBusy(bool busy) = 0;
  // ResultList: the summary of counts.
  virtual void SetResultText(const std::string& text) = 0;
  // Text1: the added and replaced records, hidden during an import.
  virtual void SetListText(const std::string& text) = 0;
  virtual void SetListVisible(bool visible) = 0;
  // Hides and unloads the window; a view that deletes itself does so after
  // the event procedure returns.
  virtual void Close() = 0;
};

// Whether an import window may write now into `target`, the copy it took of
// the program's state `live` when it opened. While the main window still
// shows that data set, the main window's own check decides
// (MainListHost::CheckWritable); once it has moved to another, `lock` takes
// the target's lock for as long as the caller holds it, and a lock held by
// another copy of the program is refused. False after telling the user why;
// when true, `target` may be written and fails as `live` says (write_fault).
bool MayImportInto(const AppState& live, AppState& target, MainListHost& host, Dialogs& dialogs,
                   DataSetLock& lock);

// The presenter of the import window: merges a native, DOS or vCard file
// into the data set that was in use when the window opened (switching data sets in
// the main window meanwhile does not move the import), under the duplicate
// rules chosen in the window.
//
// Import may be pressed again: each press reads the file afresh, checks it,
// decides every record in memory, refuses a result past 32,767 records,
// offers the backup set (once per press, right before writing), and writes
// tabrel.dat and keyword.dat once, as a pair. A failure anywhere leaves both
// files as they were and says so. The record list is not refilled; the
// keyword list is.
//
// Only the copy of the program that holds a data set's lock writes it: a
// press is refused as every change is (MainListHost::CheckWritable) while the
// data set is open read-only, and when the main window has moved to another
// data set meanwhile, the press takes the lock of the one it imports into
// for as long as it writes, and is refused when another copy holds it.
class ImportWindow {
 public:
  // `state` (the program's, read again at each press), the view, the host
  // and the services must outlive the window.
  ImportWindow(const AppState& state, ImportView& view, MainListHost& host, Dialogs& dialogs,
               Clock& clock, ImportSource source);

  // The window opens: shows the file, what it holds and where it goes.
  void Form_Load();
  // "Preview" pressed: lists what Import would do with each record, in the
  // list box, and changes nothing; allowed while the data set is read-only.
  void Preview_Click();
  // "Import" pressed.
  void Command1_Click();
  // "Close" pressed.
  void FinishedImporting_Click();

  // The folder of the data set the records go into.
  const std::string& data_path() const { return target_.data_path; }

 private:
  // Describes the file: what it holds and when it last changed.
  void Describe(const ImportFileFacts& facts);
  void Report(const std::string& text, const std::string& title, MessageIcon icon);

  const AppState& live_;
  AppState target_;  // the state when the window opened: its data path
  ImportView& view_;
  MainListHost& host_;
  Dialogs& dialogs_;
  Clock& clock_;
  ImportSource source_;
};

}  // namespace tabrel
