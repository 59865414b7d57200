#include "exchange/import_window.h"

#include <algorithm>

#include "base/codec.h"
#include "exchange/import_preview.h"
#include "exchange/record_import.h"
#include "present/backup_prompt.h"
#include "present/progress_throttle.h"
#include "store/file_info.h"
#include "store/record_stream.h"

namespace tabrel {

std::string NotRecordsText(ImportKind kind) {
  return kind == ImportKind::kDos
             ? "This file does not contain DOS Tabrel records, or they are corrupt"
             : "This file does not contain Tabrel 3 records, or they are corrupt";
}

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
  auto info = LookAt(source_.path);
  if (!info.ok()) {
    view_.SetDescription(info.status().ErrorLine());
  } else if (!info.value().exists) {
    view_.SetDescription("This file is no longer there.");
  } else {
    Describe(info.value().size, info.value().modified);
  }
}

bool ImportWindow::Describe(std::size_t size, std::time_t modified) {
  const std::size_t length = RecordLengthOf(source_.kind);
  const char* what =
      source_.kind == ImportKind::kDos ? " DOS version Tabrel records," : " Tabrel 3 records,";
  view_.SetDescription("This file contains " + std::to_string(size / length) + what +
                       "\r\nand was last modified " + clock_.FormatDateTime(modified));
  return size > 0 && size % length == 0;
}

void ImportWindow::Report(const std::string& text, const std::string& title, MessageIcon icon) {
  dialogs_.Show({text, title, icon, MessageButtons::kOk, {}});
}

bool ImportWindow::ReadWhole(std::string& records) {
  auto stream = RecordStream::Open(source_.path, RecordLengthOf(source_.kind));
  if (!stream.ok()) {
    Report(ImportFailureText(stream.status(), true), "Disk access error!",
           MessageIcon::kExclamation);
    return false;
  }
  RecordStream& file = stream.value();
  if (!Describe(file.size(), file.modified())) {
    Report(NotRecordsText(source_.kind), "Error", MessageIcon::kCritical);
    return false;
  }
  records.clear();
  records.reserve(file.size());
  for (;;) {
    auto block = file.Next();
    if (!block.ok()) {
      Report(ImportFailureText(block.status(), true), "Disk access error!",
             MessageIcon::kExclamation);
      return false;
    }
    if (block.value().empty()) return true;
    records.append(block.value());
  }
}

void ImportWindow::Preview_Click() {
  std::string records;
  if (!ReadWhole(records)) return;
  view_.SetBusy(true);
  auto preview = PreviewImport(target_, source_.kind, records, view_.Rules(), clock_.Now());
  view_.SetBusy(false);
  if (!preview.ok()) {
    Report(ImportFailureText(preview.status(), true), "Disk access error!",
           MessageIcon::kExclamation);
    return;
  }
  view_.SetListVisible(true);
  view_.SetListText(DecodeCp1252(preview.value().Text("\r\n")));
  view_.SetResultText("Preview: nothing was imported yet.\r\n" + preview.value().Counts());
}

void ImportWindow::Command1_Click() {
  // The file is read afresh on every press: it may have been replaced since
  // the window opened, or since the last press.
  const std::size_t length = RecordLengthOf(source_.kind);
  auto stream = RecordStream::Open(source_.path, length);
  if (!stream.ok()) {
    Report(ImportFailureText(stream.status(), true), "Disk access error!",
           MessageIcon::kExclamation);
    return;
  }
  RecordStream& file = stream.value();
  if (!Describe(file.size(), file.modified())) {
    Report(NotRecordsText(source_.kind), "Error", MessageIcon::kCritical);
    return;
  }
  const int count = static_cast<int>(file.count());

  view_.SetResultText("");
  view_.SetListText("");
  view_.SetProgressRange(1, std::max(count, 2));
  view_.SetBusy(true);
  view_.SetListVisible(false);
  auto opened = RecordImport::Open(target_, view_.Rules(), clock_.Now());
  if (!opened.ok()) {
    view_.SetBusy(false);
    view_.SetListVisible(true);
    Report(ImportFailureText(opened.status(), true), "Disk access error!",
           MessageIcon::kExclamation);
    return;
  }
  RecordImport& import = opened.value();
  const ProgressThrottle progress(count, [this](int n) { view_.SetProgressValue(n); });
  int taken = 0;
  for (;;) {
    auto block = file.Next();
    if (!block.ok()) {
      view_.SetBusy(false);
      view_.SetListVisible(true);
      Report(ImportFailureText(block.status(), true), "Disk access error!",
             MessageIcon::kExclamation);
      return;
    }
    if (block.value().empty()) break;
    for (std::size_t at = 0; at < block.value().size(); at += length) {
      import.Take(source_.kind, block.value().substr(at, length));
      progress.Step(++taken);
    }
  }
  view_.SetBusy(false);
  view_.SetListVisible(true);
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
