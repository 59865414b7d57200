#include "exchange/import_window.h"

#include <algorithm>

#include "base/codec.h"
#include "exchange/import_plan.h"
#include "present/backup_prompt.h"

namespace tabrel {

ImportWindow::ImportWindow(const AppState& state, ImportView& view, ImportHost& host,
                           Dialogs& dialogs, Clock& clock, ImportSource source)
    : target_(state),
      view_(view),
      host_(host),
      dialogs_(dialogs),
      clock_(clock),
      source_(std::move(source)) {}

void ImportWindow::Form_Load() {
  view_.SetFilePath(source_.path);
  view_.SetTargetText("The records go into the data set in " + target_.data_path);
  view_.SetRules(DuplicateRules{});
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

void ImportWindow::Command1_Click() {
  view_.SetResultText("");
  view_.SetListText("");
  view_.SetBusy(true);
  view_.SetListVisible(false);
  // The file is read afresh on every press: it may have been replaced since
  // the window opened, or since the last press.
  std::size_t range = 0;
  std::size_t stride = 1;
  const auto progress = [&](std::size_t done, std::size_t total) {
    if (total != range) {
      range = total;
      stride = std::max<std::size_t>(1, total / 200);
      view_.SetProgressRange(1, static_cast<int>(std::max<std::size_t>(total, 2)));
    }
    if (done % stride == 0 || done == 1 || done == total) {
      view_.SetProgressValue(static_cast<int>(done));
    }
  };
  ImportPlan plan = PlanImport(target_, source_, view_.Rules(), clock_.Now(), progress);
  view_.SetBusy(false);
  view_.SetListVisible(true);
  if (plan.file.exists) Describe(plan.file);
  if (!plan.failure.ok()) {
    Report(ImportFailureText(plan.failure, true), "Disk access error!", MessageIcon::kExclamation);
    return;
  }
  if (!plan.refusal.empty()) {
    Report(plan.refusal, "Error", MessageIcon::kCritical);
    return;
  }
  RecordImport& import = plan.import;
  if (Status s = import.merge().CheckLimit(); !s.ok()) {
    Report(ImportFailureText(s, true), "Error!", MessageIcon::kExclamation);
    return;
  }

  std::size_t keywords_added = 0;
  if (import.merge().changed()) {
    // Offered now, after the file was checked and right before anything is
    // written, so that a refused file or a second press cannot cost the
    // user the backup set that would have undone an earlier import.
    MakeBackup(target_, dialogs_, clock_);
    view_.SetBusy(true);
    const MergeOutcome written = import.Commit(fault_);
    view_.SetBusy(false);
    if (!written.status.ok()) {
      Report(ImportFailureText(written.status, written.unchanged), "Disk access error!",
             MessageIcon::kExclamation);
      return;
    }
    keywords_added = written.keywords_added;
    host_.RefillKeywordList();
  }
  view_.SetListText(DecodeCp1252(import.report().list()));
  view_.SetResultText(DecodeCp1252(import.report().Summary(keywords_added)));
}

void ImportWindow::FinishedImporting_Click() {
  view_.Close();
}

}  // namespace tabrel
