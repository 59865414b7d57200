#include "exchange/importing/import_commit.h"

#include "exchange/importing/import_job.h"
#include "present/disk_error.h"

namespace tabrel {

std::optional<std::size_t> CommitImport(AppState& target, const DataSetMerge& merge,
                                        const std::function<void(bool)>& busy, Dialogs& dialogs,
                                        Clock& clock, MainListHost& host,
                                        const std::function<bool()>& proceed) {
  DialogImportQuestions questions(dialogs, clock);
  const ImportEnd end = FinishImport(target, merge, questions, busy, proceed);
  switch (end.kind) {
    case ImportEnd::Kind::kWritten:
      host.ImportWritten();
      return end.keywords_added;
    case ImportEnd::Kind::kUnchanged:
      return 0;
    case ImportEnd::Kind::kRefused:
      dialogs.Show({end.message, "Error!", MessageIcon::kExclamation, MessageButtons::kOk, {}});
      break;
    case ImportEnd::Kind::kStopped:
      break;  // the user answered No
    case ImportEnd::Kind::kFailed:
      dialogs.Show({end.message,
                    std::string(kDiskErrorTitle),
                    MessageIcon::kExclamation,
                    MessageButtons::kOk,
                    {}});
      break;
  }
  return std::nullopt;
}

}  // namespace tabrel
