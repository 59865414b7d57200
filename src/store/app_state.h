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

// The program-wide state. One object, owned by main() (or a test), passed by
// reference to every presenter; nothing else holds program-wide data.
struct AppState {
  explicit AppState(std::string program_folder_path);

  // Where tr30.ini and the temporary and report files live; ends with "/".
  std::string program_folder;
  // Folder of the current data set; always ends with "/".
  std::string data_path;
  SettingsRecord settings;
  std::int16_t list_mode = kListNormal;
  std::int16_t filter = kFilterAll;
  ContactRecord current_record;
  ContactRecord editor_record;
  int current_record_number = 0;
  // The editor: -1 while it holds a record not yet in the file (new or
  // duplicate), 0 while it edits an existing one.
  std::int16_t editor_mode = 0;
  // -1 while a duplicate is being prepared, else 0.
  std::int16_t duplicate_flag = 0;
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
