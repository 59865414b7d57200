#include "exchange/quick_update.h"

#include <algorithm>
#include <cerrno>

#include "base/codec.h"
#include "base/text.h"
#include "exchange/import_window.h"
#include "present/disk_error.h"
#include "present/shown_records.h"
#include "store/file_info.h"
#include "store/layout.h"

namespace tabrel {

std::string QuickUpdateFile(const AppState& state, std::string_view setting) {
  const std::string name = DecodeCp1252(TrimView(setting));
  if (name.empty()) return "";
  std::string path = name.starts_with('/') ? name : WithSlash(state.export_folder) + name;
  auto info = LookAt(path);
  if (info.ok() && info.value().is_folder) path = WithSlash(path) + kQuickUpdateFileName;
  return path;
}

void QuickUpdate::Tell(const std::string& text, const std::string& title, MessageIcon icon) {
  dialogs_.Show({text, title, icon, MessageButtons::kOk, {}});
}

void QuickUpdate::mu_MakeQuickUpdate_Click() {
  const std::string target = QuickUpdateFile(state_, state_.settings.QuickUpTarget);
  if (target.empty()) {
    Tell(
        "No Quick Update Target found! Look in settings, contact your network administrator if "
        "applicable.",
        "No Quick Target found", MessageIcon::kExclamation);
    return;
  }
  // Checking the target creates nothing: a "No" below must leave the shared
  // folder as it was.
  if (!targets_.Acceptable(target)) return;
  if (Status s = CheckWritableFolder(FolderOf(target)); !s.ok()) {
    ReportDiskError(dialogs_, s,
                    "The Quick Update file cannot be written there; nothing was changed.");
    return;
  }
  const std::string nothing =
      "The record list shows no records, so there is nothing to publish. The Quick Update file "
      "was left as it was.";
  if (host_.MainGrid().Rows() < 2) {
    Tell(nothing, "Nothing to do!", MessageIcon::kExclamation);
    return;
  }
  if (dialogs_.Show({"This will export the currently displayed records to: \r\n\r\n" + target +
                         "\r\n\r\nMake sure that you have only the records others are expecting "
                         "displayed! \r\n\r\nProceed?",
                     "Ready to create new Quick Update data set!", MessageIcon::kQuestion,
                     MessageButtons::kYesNo, MessageAnswer::kNo}) != MessageAnswer::kYes) {
    return;
  }

  // The bar shows the records gathered, then full as they are written.
  const int shown = host_.MainGrid().Rows() - 1;
  progress_.SetBusy(true);
  progress_.SetProgressVisible(true);
  progress_.SetProgressRange(1, std::max(shown, 2));
  auto rows = RecordsOfShownRows(state_, host_.MainGrid());
  Status written = rows.status();
  if (rows.ok() && !rows.value().records.empty()) {
    progress_.SetProgressValue(std::max(shown, 1));
    written = targets_.Write(ExportTarget{target, "", 0}, rows.value().records);
  }
  progress_.SetProgressVisible(false);
  progress_.SetBusy(false);
  if (!written.ok()) {
    ReportDiskError(dialogs_, written, "The Quick Update file was left as it was.");
    return;
  }
  if (rows.value().records.empty()) {
    Tell(nothing + "\r\n\r\n" + LeftOutNote(rows.value().missing), "Nothing to do!",
         MessageIcon::kExclamation);
    return;
  }
  std::string text = "Done! \r\n\r\n" + target + "\r\n\r\n...contains " +
                     std::to_string(rows.value().records.size()) +
                     " records. It has replaced any previous file of the same name. You may now "
                     "notify others that the Quick Update data has been replaced.";
  if (const std::string note = LeftOutNote(rows.value().missing); !note.empty()) {
    text += "\r\n\r\n" + note;
  }
  Tell(text, "Export Complete", MessageIcon::kInformation);
}

void QuickUpdate::mu_QuickUpdate_Click() {
  const std::string path = QuickUpdateFile(state_, state_.settings.QuickUpPath);
  if (path.empty()) {
    Tell(
        "No Quick Update Path found! Look in settings, contact your network administrator if "
        "applicable.",
        "No Quick Path found", MessageIcon::kExclamation);
    return;
  }
  auto info = LookAt(path);
  if (info.ok() && !info.value().exists) info = Status::FromErrno(ENOENT, path);
  if (!info.ok()) {
    ReportDiskError(dialogs_, info.status(),
                    "The Quick Update file cannot be read; nothing was imported.");
    return;
  }
  const FileInfo& file = info.value();
  if (!file.is_regular || file.size == 0 || file.size % layout::kContactRecordLength != 0) {
    Tell(NotRecordsText(ImportKind::kNative), "Error", MessageIcon::kCritical);
    return;
  }
  view_.OpenImportWindow({ImportKind::kNative, path});
}

}  // namespace tabrel
