#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "present/backup_prompt.h"
#include "store/app_state.h"
#include "store/data_set_merge.h"

namespace tabrel {

// What an import asks before it writes: message boxes in the windows,
// flags on the command line.
class ImportQuestions {
 public:
  virtual ~ImportQuestions() = default;
  // Offers the backup set of `target` right before anything is written.
  virtual BackupOffer OfferBackup(AppState& target) = 0;
  // The backup set that was asked for could not be made: import anyway?
  virtual bool ImportWithoutBackup(const BackupOffer& failed) = 0;
};

// The questions as message boxes.
class DialogImportQuestions final : public ImportQuestions {
 public:
  DialogImportQuestions(Dialogs& dialogs, Clock& clock) : dialogs_(dialogs), clock_(clock) {}
  BackupOffer OfferBackup(AppState& target) override;
  // "The backup set could not be made: <reason>. Import anyway?", No the
  // default.
  bool ImportWithoutBackup(const BackupOffer& failed) override;

 private:
  Dialogs& dialogs_;
  Clock& clock_;
};

// "The backup set could not be made: <reason>. Import anyway?"
std::string ImportWithoutBackupText(const BackupOffer& failed);

// How an import that had its records decided ended.
struct ImportEnd {
  enum class Kind {
    kWritten,    // the merge was written
    kUnchanged,  // nothing to write
    kRefused,    // past the records a data set can hold: nothing written
    kStopped,    // the backup asked for failed and the user stopped
    kFailed,     // the write failed; `message` says what the files hold
  };
  Kind kind = Kind::kUnchanged;
  // kRefused, kStopped, kFailed: what to tell the user, CR LF between
  // lines, ending in what it means for the data.
  std::string message;
  std::size_t keywords_added = 0;

  bool ok() const { return kind == Kind::kWritten || kind == Kind::kUnchanged; }
};

// The end every import of both front ends shares, once its records are
// decided in `merge`: the size limit, the backup set offered right before
// anything is written (a failed one stops the import unless the user goes
// on) once `proceed`, when given, agreed, and the merge written by DataSetMerge::Commit with `busy`
// showing.
ImportEnd FinishImport(AppState& target, const DataSetMerge& merge, ImportQuestions& questions,
                       const std::function<void(bool)>& busy = nullptr,
                       const std::function<bool()>& proceed = nullptr);

}  // namespace tabrel
