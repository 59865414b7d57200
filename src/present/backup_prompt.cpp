#include "present/backup_prompt.h"

#include "present/disk_error.h"
#include "store/backup.h"

namespace tabrel {
namespace {

std::string Describe(const char* which, const AppState& state, const BackupSetCounts& counts,
                     Clock& clock) {
  return std::string("Your ") + which + " " + state.data_path + " data set contains " +
         std::to_string(counts.records) + " records and " + std::to_string(counts.keywords) +
         " keywords, last modified " + clock.FormatDateTime(counts.modified);
}

// The message of a copy that failed after replacing its first file and
// could not put it back: what each file holds now, and where the intact
// copies are.
std::string HalfDone(const GroupCommit& commit, const char* what, const std::string& first_now,
                     const std::string& kept_what, const std::string& second_still,
                     const std::string& intact) {
  std::string text = std::string("The ") + what + " stopped halfway and could not be undone:";
  for (const GroupCommit::LeftNew& file : commit.left_new) {
    text += "\r\n- " + file.path + " " + first_now;
    text += file.old_copy.empty() ? " (it did not exist before)."
                                  : "; " + kept_what + " kept in " + file.old_copy + ".";
  }
  return text + "\r\n- " + second_still + "\r\n" + intact;
}

}  // namespace

BackupOffer OfferBackup(AppState& state, Dialogs& dialogs, Clock& clock) {
  using Outcome = BackupOffer::Outcome;
  auto sets = CountBackupSets(state);
  if (!sets.ok()) return {Outcome::kFailed, sets.status(), "No backup set was made.", false};
  if (!sets.value().backup_empty()) {
    const std::string text =
        Describe("current", state, sets.value().live, clock) + "\r\n\r\n" +
        Describe("backup", state, sets.value().backup, clock) + "\r\n\r\n" +
        "Do you wish to replace the existing backup set with the current data? If you answer "
        "yes, you will be able to restore your current data in the event you are displeased with "
        "an import operation. Note, however, that this will over-write the existing backup set!";
    if (dialogs.Show({text, "Create backup data set?", MessageIcon::kQuestion,
                      MessageButtons::kYesNo, MessageAnswer::kNo}) != MessageAnswer::kYes) {
      return {Outcome::kDeclined, Status::Ok(), {}, false};
    }
  }
  if (const GroupCommit copied = CopyLiveToBackup(state); !copied.ok()) {
    const bool halfway = !copied.left_new.empty();
    return {Outcome::kFailed, copied.status,
            !halfway ? std::string("No backup set was made; the previous one is unchanged.")
                     : HalfDone(copied, "backup", "holds your current records",
                                "the previous backup's records are",
                                "keyword.bak still holds the previous backup's keywords.",
                                "Your current data in tabrel.dat and keyword.dat is unchanged."),
            halfway};
  }
  dialogs.Show(
      {"New backup set created!", "Finished", MessageIcon::kInformation, MessageButtons::kOk, {}});
  return {Outcome::kMade, Status::Ok(), {}, false};
}

bool MakeBackup(AppState& state, Dialogs& dialogs, Clock& clock) {
  const BackupOffer offer = OfferBackup(state, dialogs, clock);
  if (offer.outcome == BackupOffer::Outcome::kFailed) {
    ReportDiskError(dialogs, offer.failure, offer.consequence);
  }
  return offer.outcome == BackupOffer::Outcome::kMade;
}

bool RestoreBackup(AppState& state, Dialogs& dialogs, Clock& clock) {
  auto sets = CountBackupSets(state);
  if (!sets.ok()) {
    ReportDiskError(dialogs, sets.status(), "Nothing was restored.");
    return false;
  }
  if (sets.value().backup_empty()) {
    dialogs.Show(
        {"Your backup data set for " + state.data_path + "\r\ndoes not contain any records!",
         "Nothing to do!",
         MessageIcon::kExclamation,
         MessageButtons::kOk,
         {}});
    return false;
  }
  const std::string text = Describe("current", state, sets.value().live, clock) + "\r\n\r\n" +
                           Describe("backup", state, sets.value().backup, clock) +
                           "\r\n\r\nDo you wish to replace the current set with the backup?";
  if (dialogs.Show({text, "Confirm", MessageIcon::kQuestion, MessageButtons::kYesNo,
                    MessageAnswer::kNo}) != MessageAnswer::kYes) {
    return false;
  }
  if (const GroupCommit copied = CopyBackupToLive(state); !copied.ok()) {
    ReportDiskError(
        dialogs, copied.status,
        copied.left_new.empty()
            ? "Nothing was restored; your current data is unchanged."
            : HalfDone(copied, "restore", "holds the backup's records", "your current records are",
                       "keyword.dat still holds your current keywords.",
                       "The backup set in tabrel.bak and keyword.bak is unchanged."));
    return false;
  }
  dialogs.Show(
      {"Previous data restored!", "Finished", MessageIcon::kInformation, MessageButtons::kOk, {}});
  return true;
}

}  // namespace tabrel
