#pragma once

#include <string>

namespace tabrel {

// The files the import window reads.
enum class ImportKind {
  kNative,  // Tabrel 3 records, as tabrel.dat holds them (1047 bytes)
  kDos,     // records of the DOS generation (533 bytes)
  kVcard,   // vCards 2.1, 3.0 or 4.0 from other address books
};

// The exchange formats, as the format table (exchange/format_table.h) lists
// them.
enum class FormatId { kNative, kDos, kComma, kLdif, kAgent, kVcard };

// A file the user chose to import, checked to hold whole records, or
// vCards, of `kind`.
struct ImportSource {
  ImportKind kind = ImportKind::kNative;
  std::string path;  // full path
  // "Add Extra Items to Notes": a card's values no field holds become lines
  // of the notes instead of being left out.
  bool extras_to_notes = false;
  // Planned to be committed (Import, not Preview): the added records go to
  // the staged data file as they are decided (DataSetMerge::WriteAddedAhead).
  bool write_ahead = false;
};

}  // namespace tabrel
