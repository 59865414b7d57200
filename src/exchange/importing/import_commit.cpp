#include "exchange/importing/import_commit.h"

#include "exchange/importing/import_report.h"
#include "present/backup_prompt.h"
#include "present/disk_error.h"

namespace tabrel {

std::optional<MergeOutcome> CommitImport(AppState& target,
                                         const std::function<MergeOutcome()>& commit,
                                         const std::function<void(bool)>& busy, Dialogs& dialogs,
                                         Clock& clock, MainListHost& host) {
  MakeBackup(target, dialogs, clock);
  busy(true);
  MergeOutcome written = commit();
  busy(false);
  if (!written.ok()) {
    ReportDiskError(dialogs, written.written.status, ImportFailureText(written.written));
    return std::nullopt;
  }
  host.PopKeywordGrid();
  return written;
}

}  // namespace tabrel
