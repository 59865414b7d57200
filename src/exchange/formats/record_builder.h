#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "store/layout.h"

namespace tabrel {

// The record fields an import from another program can fill, in the order
// the comma-delimited import assigns them (and lists its link labels).
enum class RecordField {
  kLastName,
  kFirstName,
  kTitle,
  kOrg,
  kPhone,
  kExt,
  kFax,
  kCellular,
  kBeeper,
  kEMail,
  kWeb,
  kAdd1,
  kAdd2,
  kCity,
  kState,
  kZip,
  kCountry,
  kNotes,
};
inline constexpr std::size_t kRecordFieldCount = 18;

// Where each RecordField is stored.
layout::Span SpanOf(RecordField field);

// One new record built from values read out of another program's file.
//
// Values arrive as UTF-8 and are stored as Windows-1252: each character the
// code page cannot hold becomes "?" and is counted. A one-line field never
// receives a line break or a tab: its lines are trimmed and joined by one
// blank. The exception is a two-line street: when the first address line
// holds several lines and the second is left empty, the first line stays in
// Add1 and the rest goes to Add2. Notes keep their line breaks, as CR LF.
// Values are trimmed of blanks and cut to their field's width.
class RecordBuilder {
 public:
  // Every field empty; the counts start again.
  void Clear();

  // Sets `field` to `utf8`, replacing what it held.
  void Set(RecordField field, std::string_view utf8);
  // Adds `utf8` to the notes after a blank (the unused fields of a comma
  // import), even when the notes were empty.
  void AppendToNotes(std::string_view utf8);
  // Adds `utf8` to the notes as a line of its own (a value no field holds).
  void AppendNoteLine(std::string_view utf8);
  // True when the field holds more than blanks.
  bool Has(RecordField field) const;
  // The field as stored so far (Windows-1252, line breaks as CR LF).
  const std::string& Get(RecordField field) const { return values_[Index(field)]; }

  // Characters that became "?", and values longer than their field, since
  // the last Clear().
  std::size_t replaced() const { return replaced_; }
  std::size_t cut() const { return cut_; }

  // Writes the record as stored (1047 bytes) into `out`, with the type code,
  // the keyword (Windows-1252, cut to 14) as KW1, and the stamp; the other
  // keywords are blank. Counts the values it cuts.
  void Write(std::string& out, char type, std::string_view keyword, std::string_view stamp);
  // The same into the record's place (kContactRecordLength bytes).
  void Write(std::span<char> out, char type, std::string_view keyword, std::string_view stamp);
  // Gives a record Write() wrote without one its stamp.
  static void Stamp(std::span<char> record, std::string_view stamp);

 private:
  static std::size_t Index(RecordField field) { return static_cast<std::size_t>(field); }
  void Put(std::span<char> out, layout::Span span, std::string_view value);

  std::array<std::string, kRecordFieldCount> values_{};
  // The street's own lines, kept until Write() knows whether Add2 is free.
  std::string street_rest_;
  std::size_t replaced_ = 0;
  std::size_t cut_ = 0;
};

}  // namespace tabrel
