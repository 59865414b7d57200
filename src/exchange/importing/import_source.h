#pragma once

#include <string>

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

}  // namespace tabrel
