#pragma once

#include <cstdint>
#include <string>

#include "store/atomic_file.h"
#include "store/contact_record.h"
#include "store/settings_record.h"

namespace tabrel {

// List modes.
inline constexpr std::int16_t kListNormal = 0;
inline constexpr std::int16_t kListFree = -1;
// Public/personal filter: the value names the record types it hides.
inline constexpr std::int16_t kFilterAll = 0;
inline constexpr std::int16_t kFilterPublicOnly = 34;    // hides "3" and "4"
inline constexpr std::int16_t kFilterPersonalOnly = 12;  // hides "1" and "2"

// File names, lower case on every installation of this program.
inline constexpr const char* kContactFileName = "tabrel.dat";
inline constexpr const char* kKeywordFileName = "keyword.dat";
inline constexpr const char* kSettingsFileName = "tr30.ini";
inline constexpr const char* kSearchListName = "tabrel.tmp";

// What the record editor opens on; the values are those the program has
// always stored for them.
enum class EditorMode : std::int16_t {
  kExisting = 0,    // a record of the file, to be saved in its place
  kNewRecord = -1,  // a record not yet in the file (new, or a duplicate once loaded)
};
// Whether the editor is to open on a copy of the chosen record.
enum class DuplicateFlag : std::int16_t {
  kOff = 0,
  kDuplicating = -1,  // set by Duplicate Record until the editor has loaded the copy
};

// The program-wide state. One object, owned by main() (or a test), passed by
// reference to every presenter; nothing else holds program-wide data.
struct AppState {
  explicit AppState(std::string program_folder_path);

  // Where tr30.ini and the temporary and report files live; ends with "/".
  std::string program_folder;
  // Folder of the current data set; always ends with "/".
  std::string data_path;
  // Where exports go by default and where a relative export name is taken
  // from; ends with "/". main() sets the user's documents folder; it starts
  // as the program folder.
  std::string export_folder;
  SettingsRecord settings;
  std::int16_t list_mode = kListNormal;
  std::int16_t filter = kFilterAll;
  ContactRecord current_record;
  ContactRecord editor_record;
  int current_record_number = 0;
  // Both back at kExisting and kOff whenever the editor closes.
  EditorMode editor_mode = EditorMode::kExisting;
  DuplicateFlag duplicate_flag = DuplicateFlag::kOff;
  std::string last_search_word;
  // True while another copy of the program holds the data set's lock: the
  // data set is shown, and every change to it is refused (CheckWritable).
  bool read_only = false;
  // Tests only: fails chosen steps of every write to the data set's files,
  // to prove what each failure leaves behind and what the user is told.
  RewriteFaultHook write_fault;

  std::string ProgramFile(const std::string& name) const { return program_folder + name; }
  // A file of the data set. Data sets copied from other installations may
  // hold their files in capitals (TABREL.DAT): when the lower-case name does
  // not exist but a name differing only in case does, that file is used.
  std::string DataFile(const std::string& name) const;
};

// `folder` trimmed, with "/" appended when it does not end with one.
std::string WithSlash(const std::string& folder);

}  // namespace tabrel
