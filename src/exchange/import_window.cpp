#include "exchange/import_window.h"

#include <algorithm>

#include "base/codec.h"
#include "exchange/import_preview.h"
#include "exchange/record_import.h"
#include "present/backup_prompt.h"
#include "present/disk_error.h"
#include "present/progress_throttle.h"
#include "store/file_info.h"
#include "store/file_reader.h"

namespace tabrel {
namespace {

constexpr std::string_view kUnchanged = "Nothing was imported; your data is unchanged.";

}  // namespace

std::string NotRecordsText(ImportKind kind) {
  return kind == ImportKind::kDos
             ? "This file does not contain DOS Tabrel records, or they are corrupt"
             : "This file does not contain Tabrel 3 records, or they are corrupt";
}

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

bool ImportWindow::MayWrite(DataSetLock& lock) {
  if (live_.data_path == target_.data_path) {
    if (!host_.CheckWritable()) return false;
  } else {
    lock = DataSetLock::Acquire(target_.data_path);
    if (lock.held_elsewhere()) {
      Report("The data set in " + target_.data_path +
                 " is open in another copy of Tabrel, so nothing can be imported into it now. "
                 "Close the other copy, then press Import again.",
             "Data set in use", MessageIcon::kInformation);
      return false;
    }
  }
  target_.read_only = false;
  target_.write_fault = live_.write_fault;
  return true;
}

void ImportWindow::Preview_Click() {
  // Read afresh, as Import reads it; nothing is written, so a read-only data
  // set may be previewed too.
  auto opened_file = FileReader::Open(source_.path, FileReader::Missing::kFail);
  Result<FileInfo> info = opened_file.ok() ? LookAt(opened_file.value()) : opened_file.status();
  if (!info.ok()) {
    ReportDiskError(dialogs_, info.status());
    return;
  }
  const FileReader& file = opened_file.value();
  if (!Describe(file.size(), info.value().modified)) {
    Report(NotRecordsText(source_.kind), "Error", MessageIcon::kCritical);
    return;
  }
  view_.SetBusy(true);
  auto records = file.ReadRecords(RecordLengthOf(source_.kind));
  Result<ImportPreview> preview =
      records.ok()
          ? PreviewImport(target_, source_.kind, records.value(), view_.Rules(), clock_.Now())
          : Result<ImportPreview>(records.status());
  view_.SetBusy(false);
  if (!preview.ok()) {
    ReportDiskError(dialogs_, preview.status());
    return;
  }
  view_.SetListVisible(true);
  view_.SetListText(DecodeCp1252(preview.value().Text("\r\n")));
  view_.SetResultText("Preview: nothing was imported yet.\r\n" + preview.value().Counts());
}

void ImportWindow::Command1_Click() {
  DataSetLock lock;
  if (!MayWrite(lock)) return;
  // The file is read afresh on every press: it may have been replaced since
  // the window opened, or since the last press.
  const std::size_t length = RecordLengthOf(source_.kind);
  auto opened_file = FileReader::Open(source_.path, FileReader::Missing::kFail);
  Result<FileInfo> info = opened_file.ok() ? LookAt(opened_file.value()) : opened_file.status();
  if (!info.ok()) {
    ReportDiskError(dialogs_, info.status(), kUnchanged);
    return;
  }
  const FileReader& file = opened_file.value();
  if (!Describe(file.size(), info.value().modified)) {
    Report(NotRecordsText(source_.kind), "Error", MessageIcon::kCritical);
    return;
  }
  const int count = static_cast<int>(file.size() / length);

  view_.SetResultText("");
  view_.SetListText("");
  view_.SetProgressRange(1, std::max(count, 2));
  view_.SetBusy(true);
  view_.SetListVisible(false);
  auto opened = RecordImport::Open(target_, view_.Rules(), clock_.Now());
  if (!opened.ok()) {
    view_.SetBusy(false);
    view_.SetListVisible(true);
    ReportDiskError(dialogs_, opened.status(), kUnchanged);
    return;
  }
  RecordImport& import = opened.value();
  const ProgressThrottle progress([this](int n) { view_.SetProgressValue(n); }, count);
  int taken = 0;
  const Status read = file.ScanRecords(length, [&](std::string_view run, std::size_t) {
    for (std::size_t at = 0; at < run.size(); at += length) {
      import.Take(source_.kind, run.substr(at, length));
      progress.Step(++taken);
    }
    return true;
  });
  view_.SetBusy(false);
  view_.SetListVisible(true);
  if (!read.ok()) {
    ReportDiskError(dialogs_, read, kUnchanged);
    return;
  }
  if (Status s = import.merge().CheckLimit(); !s.ok()) {
    Report(s.ErrorLine() + "\r\n" + std::string(kUnchanged), "Error!", MessageIcon::kExclamation);
    return;
  }

  std::size_t keywords_added = 0;
  if (import.merge().changed()) {
    // Offered now, after the file was checked and right before anything is
    // written, so that a refused file or a second press cannot cost the
    // user the backup set that would have undone an earlier import.
    MakeBackup(target_, dialogs_, clock_);
    view_.SetBusy(true);
    const MergeOutcome written = import.Commit();
    view_.SetBusy(false);
    if (!written.ok()) {
      ReportDiskError(dialogs_, written.written.status, ImportFailureText(written.written));
      return;
    }
    keywords_added = written.keywords_added;
    host_.PopKeywordGrid();
  }
  view_.SetListText(DecodeCp1252(import.report().list()));
  view_.SetResultText(DecodeCp1252(import.report().Summary(keywords_added)));
}

void ImportWindow::FinishedImporting_Click() {
  view_.Close();
}

}  // namespace tabrel
