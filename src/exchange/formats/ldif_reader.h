#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "base/text_lines.h"

namespace tabrel {

// One attribute line of an LDIF record. Views stay valid until the next
// LdifReader::Next().
struct LdifAttribute {
  std::string_view type;     // as written: compare without case
  std::string_view options;  // what follows the first ";" ("lang-en;phonetic"), else empty
  std::string_view value;    // the value's bytes, base64 decoded
  bool url = false;          // a ":<" value: `value` names a file or URL, never to be read
  bool base64 = false;       // a "::" value: its bytes may be in any encoding
};

// One record of an LDIF file: an entry, or a change to a directory.
struct LdifRecord {
  std::string_view dn;          // decoded
  std::string_view changetype;  // empty for an entry; "add", "modify", "delete", ...
  std::size_t line = 0;         // where its "dn:" line is, from 1
  std::vector<LdifAttribute> attributes;
};

// Reads LDIF (RFC 2849) from text already decoded to UTF-8:
// - lines end with CR LF, CR or LF; a line starting with one blank
//   continues the line before it (the blank is dropped), comments included;
// - lines starting with "#" are comments; a "version:" line before the
//   first record is skipped; records are separated by empty lines, and a
//   "dn:" line always starts a new record;
// - "name;options: value", "name:: base64" and "name:< URL" lines; blanks
//   after the colon are not part of the value;
// - "control:" lines and, in change records, the lines of the change
//   ("add:", "-", ...) come through as attributes; a change record is told
//   by its changetype.
// A line with no colon, or a base64 value that does not decode, is skipped
// and counted. Lines before the first "dn:" line belong to no record.
class LdifReader {
 public:
  explicit LdifReader(std::string_view text) : lines_in_(text) {}

  // The next record into `record`; false at the end of the text.
  bool Next(LdifRecord& record);

  // Lines that could not be read (no colon, bad base64).
  std::size_t bad_lines() const { return bad_lines_; }

 private:
  // Parses one unfolded line of a record; false when it is not an attribute.
  bool ParseLine(std::string_view line, LdifAttribute& attribute);

  LineReader lines_in_;
  std::size_t bad_lines_ = 0;
  // Unfolded lines and decoded values of the record in hand. Reserved
  // before use so that views into it never move.
  std::string buffer_;
  std::vector<std::string_view> physical_;
  std::vector<std::string_view> lines_;
};

// Where `text` may be cut so that each part reads on its own as it does in
// the whole: the start of the first line that begins a record ("dn:", which
// always does) and follows an LF at or after `from`; npos when none does.
std::size_t LdifRecordStartFrom(std::string_view text, std::size_t from);

// True when `a` and `b` are equal but for the case of ASCII letters.
bool EqualsNoCase(std::string_view a, std::string_view b);

}  // namespace tabrel
