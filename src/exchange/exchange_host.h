#pragma once

#include <string>

#include "present/grid.h"

namespace tabrel {

// The files the import window reads.
enum class ImportKind {
  kNative,  // Tabrel 3 records, as tabrel.dat holds them (1047 bytes)
  kDos,     // records of the DOS generation (533 bytes)
  kVcard,   // vCards 2.1, 3.0 or 4.0 from other address books
};

// A file the user chose to import, checked to hold whole records, or
// vCards, of `kind`.
struct ImportSource {
  ImportKind kind = ImportKind::kNative;
  std::string path;  // full path
};

// What the import window asks of the main window.
class ImportHost {
 public:
  virtual ~ImportHost() = default;
  // Refills the keyword list from the data set in use, so that keywords an
  // import brought can be picked at once.
  virtual void RefillKeywordList() = 0;
};

// What the Import / Export menu asks of the main window.
class ExchangeHost : public ImportHost {
 public:
  // The record list: rows 1 .. Rows() - 1, each record's stamp in its ID
  // column.
  virtual const Grid& ShownRows() const = 0;
  // Opens the modeless import window "Tabrel Record Import Controls" on
  // `source`; the main window stays usable while it is open.
  virtual void OpenImportWindow(const ImportSource& source) = 0;
  // Opens the modeless field selector "Comma-Delimited Import Field
  // Selector" on the comma-delimited file at `path` (checked to be text).
  virtual void OpenCommaParse(const std::string& path) = 0;
  // The main window's hourglass pointer and progress bar.
  virtual void SetBusy(bool busy) = 0;
  virtual void SetProgressVisible(bool visible) = 0;
  virtual void SetProgressRange(int minimum, int maximum) = 0;
  virtual void SetProgressValue(int value) = 0;
};

}  // namespace tabrel
