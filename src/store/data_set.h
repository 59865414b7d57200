#pragma once

#include "base/result.h"
#include "base/status.h"
#include "store/app_state.h"
#include "store/atomic_file.h"

namespace tabrel {

// Refuses a change while the data set is open read-only (another copy of
// the program holds its lock, see store/data_set_lock.h). Every function of
// the store that writes to the data set asks this first.
Status CheckWritable(const AppState& state);

// Finds the record whose 19-character stamp equals the stamp of
// state.editor_record: the one current_record_number names when its stamp
// matches (a list row knows its record's place, so the file is not
// searched), else the first in file order. On a match copies it into the
// editor record, sets current_record_number and yields true; without one
// changes nothing and yields false.
Result<bool> LoadRecordByStamp(AppState& state);

// Removes from tabrel.dat every record whose trimmed stamp equals the trimmed
// stamp of state.editor_record, in one atomic rewrite; the other records keep
// their order. On failure the file is as it was.
Status DeleteRecord(AppState& state);

// Whether `folder` can hold a data set: it exists, is a folder, and can be
// read and written. Nothing is created.
Status CheckDataFolder(const std::string& folder);

// Start-up: reads tr30.ini from the program folder (creating it with the
// defaults when missing or empty) and sets the data path to the program
// folder. A short file is read as far as it goes, defaults for the rest.
Status LoadSettings(AppState& state);

// Reads record 1 of tr30.ini (an empty file is created when it is missing);
// defaults where the file is short.
Result<SettingsRecord> ReadSettingsFile(const std::string& program_folder);
// Writes `settings` as record 1 of tr30.ini through an atomic rewrite; bytes
// after the record are kept.
Status WriteSettingsFile(const std::string& program_folder, const SettingsRecord& settings,
                         const RewriteFaultHook* fault = nullptr);

}  // namespace tabrel
