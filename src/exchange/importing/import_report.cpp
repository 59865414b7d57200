#include "exchange/importing/import_report.h"

#include "base/text.h"

namespace tabrel {

void ImportReport::Line(std::string_view verb, std::string_view first, std::string_view last,
                        std::string_view org) {
  const std::size_t listed = added_ + replaced_;
  if (listed < kListedRecords + 1) {
    list_.append("\r\n").append(verb).append(TrimView(first)).append(" ");
    list_.append(TrimView(last)).append(" / ").append(TrimView(org));
  } else if (listed == kListedRecords + 1) {
    list_.append("\r\ntoo many to display...");
  }
}

void ImportReport::Added(std::string_view first, std::string_view last, std::string_view org) {
  ++added_;
  Line("Added: ", first, last, org);
}

void ImportReport::Replaced(std::string_view first, std::string_view last, std::string_view org) {
  ++replaced_;
  Line("Replaced: ", first, last, org);
}

std::string ImportReport::Summary(std::size_t keywords_added) const {
  std::string text = std::to_string(added_) + " records were added.\r\n" +
                     std::to_string(replaced_) + " records were replaced.\r\n" +
                     std::to_string(skipped_) + " duplicates were skipped.\r\n" +
                     std::to_string(keywords_added) + " keywords were added.";
  if (unknown_types_ > 0) {
    text += "\r\n" + std::to_string(unknown_types_) +
            " of the records have no known type: they are stored, but the record list does not "
            "show them.";
  }
  for (const std::string& note : notes_) text += "\r\n" + note;
  return text + "\r\n\r\n" + std::string(kBackupNote);
}

std::string ImportFailureText(const GroupCommit& written) {
  if (written.left_new.empty()) return std::string(kImportUnchanged);
  // tabrel.dat is renamed first; only it can be left new.
  std::string text = "The import stopped halfway and could not be undone:";
  for (const GroupCommit::LeftNew& file : written.left_new) {
    text += "\r\n- " + file.path + " holds the imported records";
    text += file.old_copy.empty() ? " (it did not exist before)."
                                  : "; its previous content is kept in " + file.old_copy + ".";
  }
  return text +
         "\r\n- keyword.dat still holds the keyword list as it was.\r\nIf you made a backup "
         "data set, restore it at the main menu: File, Restore Backup Data.";
}

}  // namespace tabrel
