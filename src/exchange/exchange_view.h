#pragma once

#include <string>

namespace tabrel {

// The two record files the import window reads.
enum class ImportKind {
  kNative,  // Tabrel 3 records, as tabrel.dat holds them (1047 bytes)
  kDos,     // records of the DOS generation (533 bytes)
};

// A file the user chose to import, checked to hold whole records of `kind`.
struct ImportSource {
  ImportKind kind = ImportKind::kNative;
  std::string path;  // full path
};

// What the Import / Export menu asks of the main window's view besides the
// hourglass and the progress bar (ProgressView); MainView derives from it.
class ExchangeView {
 public:
  virtual ~ExchangeView() = default;
  // Opens the modeless import window "Tabrel Record Import Controls" on
  // `source`; the main window stays usable while it is open.
  virtual void OpenImportWindow(const ImportSource& source) = 0;
};

}  // namespace tabrel
