#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "base/status.h"
#include "platform/dialogs.h"
#include "store/app_state.h"
#include "store/atomic_file.h"

namespace tabrel {

// The file an export writes and what it keeps of the file already there.
struct ExportTarget {
  std::string path;  // full path
  std::string kept;  // bytes of the present file that stay ahead of the new ones
  std::size_t kept_records = 0;
};

// How every export chooses, checks and writes its file.
//
// A name typed without a leading "/" is taken inside the export folder
// (AppState::export_folder, the user's documents folder). A file of a data
// set (tabrel.dat, keyword.dat and their backups, in the data set in use,
// the default one in the program folder or either alternate one) or the
// settings file tr30.ini is refused, compared by device and inode so that
// no other spelling or link gets past; so is a folder. The new file is
// written beside the old one under a temporary name and renamed over it: a
// failure leaves the old file, and a reader never sees half a file.
//
// Every refusal and question is shown to the user here; an empty result
// means the export ends without writing.
class ExportTargets {
 public:
  // `state` and `dialogs` must outlive this object.
  ExportTargets(const AppState& state, Dialogs& dialogs) : state_(state), dialogs_(dialogs) {}

  // The "Filename?" input box with `prompt`, pre-filled with the full path
  // of `default_name` in the export folder. Empty after Cancel or an empty
  // answer; otherwise the answer as a full path.
  std::optional<std::string> AskFileName(const std::string& prompt,
                                         std::string_view default_name) const;
  // `typed` (UTF-8) trimmed, and taken inside the export folder unless it
  // starts with "/".
  std::string Resolve(std::string_view typed) const;

  // True when `path` may be written; otherwise the user has been told why.
  bool Acceptable(const std::string& path) const;

  // For a format that adds records of `record_length` bytes to the file:
  // refuses a file whose length is not a whole number of such records, and
  // when the file holds records asks "<file> already holds N <what>. Add the
  // M shown records to them?" (Yes adds, No replaces the file, Cancel ends).
  std::optional<ExportTarget> AddingRecords(const std::string& path, std::size_t record_length,
                                            std::string_view what, int shown) const;
  // For a text format that adds to the file (comma-delimited): when the
  // file holds anything, asks "<file> already exists. Add the M shown
  // records to it?" (Yes adds them after what it holds, No replaces the
  // file, Cancel ends). What it holds is kept as it is, ended by a line end,
  // and its records are counted, its header left out.
  std::optional<ExportTarget> AddingText(const std::string& path, int shown) const;
  // For a format that replaces the file: when one is there, asks `question`
  // (Yes replaces; No, the default, ends).
  std::optional<ExportTarget> Replacing(const std::string& path, const std::string& question,
                                        const std::string& title) const;

  // Writes the target's kept bytes and then `pieces` over target.path,
  // through a temporary file of a unique name beside it (StagedRewrite), so
  // that several writers of a shared folder never meet; the state's
  // write_fault fails chosen steps.
  Status Write(const ExportTarget& target, std::span<const std::string_view> pieces) const;

 private:
  void Refuse(const std::string& text) const;

  const AppState& state_;
  Dialogs& dialogs_;
};

// Tells the user that an export's file could not be written: "Error " +
// number + " " + description under the title "Error!", then `consequence`
// on a line of its own.
void ReportExportFailure(Dialogs& dialogs, const Status& status, std::string_view consequence);

// "1 row of the list was" / "N rows of the list were" left out: the note an
// export adds when rows named records no longer in the data set; empty for 0.
std::string LeftOutNote(int missing);

}  // namespace tabrel
