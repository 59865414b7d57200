#include "exchange/import_window.h"

#include <algorithm>

#include "base/codec.h"
#include "exchange/importing/import_commit.h"
#include "exchange/importing/import_plan.h"
#include "exchange/importing/import_preview.h"
#include "present/backup_prompt.h"
#include "present/disk_error.h"
#include "present/progress_throttle.h"

namespace tabrel {

ImportWindow::ImportWindow(const AppState& state, ImportView& view, MainListHost& host,
                           Dialogs& dialogs, Clock& clock, ImportSource source)
    : live_(state),
      target_(state),
      view_(view),
      host_(host),
      dialogs_(dialogs),
      clock_(clock),
      source_(std::move(source)) {}

void ImportWindow::Form_Load() {
  view_.SetFilePath(source_.path);
  view_.SetTargetText("The records go into the data set in " + target_.data_path);
  view_.SetRules(DuplicateRules{});
  view_.ShowExtrasToNotes(source_.kind == ImportKind::kVcard);
  view_.SetResultText("");
  view_.SetListText("");
  view_.SetListVisible(true);
  auto facts = LookAtImportFile(source_);
  if (!facts.ok()) {
    view_.SetDescription(facts.status().ErrorLine());
  } else if (!facts.value().exists) {
    view_.SetDescription("This file is no longer there.");
  } else {
    Describe(facts.value());
  }
}

void ImportWindow::Describe(const ImportFileFacts& facts) {
  view_.SetDescription(EntriesText(source_.kind, facts.entries) + "\r\nand was last modified " +
                       clock_.FormatDateTime(facts.modified));
}

void ImportWindow::Report(const std::string& text, const std::string& title, MessageIcon icon) {
  dialogs_.Show({text, title, icon, MessageButtons::kOk, {}});
}

bool MayImportInto(const AppState& live, AppState& target, MainListHost& host, Dialogs& dialogs,
                   DataSetLock& lock) {
  if (live.data_path == target.data_path) {
    if (!host.CheckWritable()) return false;
  } else {
    lock = DataSetLock::Acquire(target.data_path);
    if (lock.held_elsewhere()) {
      dialogs.Show({"The data set in " + target.data_path +
                        " is open in another copy of Tabrel, so nothing can be imported into it "
                        "now. Close the other copy, then press Import again.",
                    "Data set in use",
                    MessageIcon::kInformation,
                    MessageButtons::kOk,
                    {}});
      return false;
    }
  }
  target.read_only = false;
  target.write_fault = live.write_fault;
  return true;
}

void ImportWindow::Preview_Click() {
  // Decided as Import decides, from the file read afresh; nothing is
  // written, so a read-only data set may be previewed too.
  view_.SetBusy(true);
  source_.extras_to_notes = view_.ExtrasToNotes();
  ImportPlan plan = PlanImport(target_, source_, view_.Rules(), clock_.Now());
  view_.SetBusy(false);
  if (plan.file.exists) Describe(plan.file);
  if (!plan.failure.ok()) {
    ReportDiskError(dialogs_, plan.failure);
    return;
  }
  if (!plan.refusal.empty()) {
    Report(plan.refusal, "Error", MessageIcon::kCritical);
    return;
  }
  const ImportPreview preview = PreviewOf(plan.import);
  view_.SetListVisible(true);
  view_.SetListText(DecodeCp1252(preview.Text("\r\n")));
  view_.SetResultText("Preview: nothing was imported yet.\r\n" + preview.Counts());
}

void ImportWindow::Command1_Click() {
  DataSetLock lock;
  if (!MayImportInto(live_, target_, host_, dialogs_, lock)) return;
  view_.SetResultText("");
  view_.SetListText("");
  view_.SetBusy(true);
  view_.SetListVisible(false);
  // The file is read afresh on every press: it may have been replaced since
  // the window opened, or since the last press. A vCard file's count of
  // cards is known only as they are read, so the range may grow.
  ProgressThrottle throttle([this](int n) { view_.SetProgressValue(n); });
  std::size_t range = 0;
  const auto progress = [&](std::size_t done, std::size_t total) {
    if (total != range) {
      range = total;
      throttle.SetCount(static_cast<int>(total));
      view_.SetProgressRange(1, static_cast<int>(std::max<std::size_t>(total, 2)));
    }
    throttle.Step(static_cast<int>(done));
  };
  source_.extras_to_notes = view_.ExtrasToNotes();
  ImportSource source = source_;
  source.write_ahead = true;
  ImportPlan plan = PlanImport(target_, source, view_.Rules(), clock_.Now(), progress);
  view_.SetBusy(false);
  view_.SetListVisible(true);
  if (plan.file.exists) Describe(plan.file);
  if (!plan.failure.ok()) {
    ReportDiskError(dialogs_, plan.failure, kImportUnchanged);
    return;
  }
  if (!plan.refusal.empty()) {
    Report(plan.refusal, "Error", MessageIcon::kCritical);
    return;
  }
  RecordImport& import = plan.import;
  const auto keywords_added = CommitImport(
      target_, import.merge(), [this](bool busy) { view_.SetBusy(busy); }, dialogs_, clock_, host_);
  if (!keywords_added) return;
  view_.SetListText(DecodeCp1252(import.report().list()));
  view_.SetResultText(DecodeCp1252(import.report().Summary(*keywords_added)));
}

void ImportWindow::FinishedImporting_Click() {
  view_.Close();
}

}  // namespace tabrel
