#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "base/status.h"
#include "store/atomic_file.h"

namespace tabrel {

// The counts of one import run and its list of added and replaced records,
// with the texts the import window shows. Texts are Windows-1252.
class ImportReport {
 public:
  // The most record lines the list shows; the next record adds
  // "too many to display..." instead, and later ones add nothing.
  static constexpr std::size_t kListedRecords = 99;

  // A record was added or replaced; its names (as stored) make its line
  // "Added: First Last / Org" or "Replaced: ...".
  void Added(std::string_view first, std::string_view last, std::string_view org);
  void Replaced(std::string_view first, std::string_view last, std::string_view org);
  void Skipped() { ++skipped_; }
  // An added or replaced record of no known type: it is stored, but the
  // record list never shows it.
  void UnknownType() { ++unknown_types_; }
  // A line the summary adds after the counts (what an import from another
  // format lost, say); Windows-1252, without a line end.
  void Note(std::string line) { notes_.push_back(std::move(line)); }

  std::size_t added() const { return added_; }
  std::size_t replaced() const { return replaced_; }
  std::size_t skipped() const { return skipped_; }
  std::size_t unknown_types() const { return unknown_types_; }

  // The list: each line led by CR LF, so it begins with an empty line.
  const std::string& list() const { return list_; }
  // The summary: the counts, the keywords added, the notes, and the note
  // on the backup set.
  std::string Summary(std::size_t keywords_added) const;

 private:
  void Line(std::string_view verb, std::string_view first, std::string_view last,
            std::string_view org);

  std::size_t added_ = 0;
  std::size_t replaced_ = 0;
  std::size_t skipped_ = 0;
  std::size_t unknown_types_ = 0;
  std::string list_;
  std::vector<std::string> notes_;
};

// The note on the backup set that closes the report of an import.
inline constexpr std::string_view kBackupNote =
    "Note - If you made a backup data set this operation can be reversed at the main menu: File, "
    "Restore Backup Data.";

// What an import that stopped before writing means for the user.
inline constexpr std::string_view kImportUnchanged =
    "Nothing was imported; your data is unchanged.";

// What a failed write of an import means for the user, said after the error
// line (ReportDiskError): nothing changed, or, when the failure could not be
// undone, which file holds what.
std::string ImportFailureText(const GroupCommit& written);

}  // namespace tabrel
