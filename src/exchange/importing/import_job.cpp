#include "exchange/importing/import_job.h"

#include "exchange/importing/import_report.h"

namespace tabrel {

BackupOffer DialogImportQuestions::OfferBackup(AppState& target) {
  return tabrel::OfferBackup(target, dialogs_, clock_);
}

bool DialogImportQuestions::ImportWithoutBackup(const BackupOffer& failed) {
  return dialogs_.Show({ImportWithoutBackupText(failed), "Backup failed", MessageIcon::kQuestion,
                        MessageButtons::kYesNo, MessageAnswer::kNo}) == MessageAnswer::kYes;
}

std::string ImportWithoutBackupText(const BackupOffer& failed) {
  std::string text =
      "The backup set could not be made: " + failed.failure.ErrorLine() + ". Import anyway?";
  if (failed.halfway) text += "\r\n\r\n" + failed.consequence;
  return text;
}

ImportEnd FinishImport(AppState& target, const DataSetMerge& merge, ImportQuestions& questions,
                       const std::function<void(bool)>& busy,
                       const std::function<bool()>& proceed) {
  using Kind = ImportEnd::Kind;
  // Not an error of the disk: the sentence alone.
  if (Status s = merge.CheckLimit(); !s.ok()) {
    return {Kind::kRefused, s.description() + ".\r\n" + std::string(kImportUnchanged)};
  }
  if (!merge.changed()) return {};
  if (proceed && !proceed()) return {Kind::kStopped, std::string(kImportUnchanged)};
  const BackupOffer offer = questions.OfferBackup(target);
  if (offer.outcome == BackupOffer::Outcome::kUnanswered) {
    return {Kind::kStopped, std::string(kImportUnchanged)};
  }
  if (offer.outcome == BackupOffer::Outcome::kFailed && !questions.ImportWithoutBackup(offer)) {
    return {Kind::kStopped, "The backup set could not be made: " + offer.failure.ErrorLine() +
                                ".\r\n" + std::string(kImportUnchanged)};
  }
  if (busy) busy(true);
  const MergeOutcome written = merge.Commit();
  if (busy) busy(false);
  if (!written.ok()) {
    return {Kind::kFailed,
            written.written.status.ErrorLine() + "\r\n" + ImportFailureText(written.written)};
  }
  return {Kind::kWritten, {}, written.keywords_added};
}

}  // namespace tabrel
