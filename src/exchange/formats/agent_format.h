#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "base/text_lines.h"
#include "exchange/formats/record_builder.h"

namespace tabrel {

// The address book file of the Agent newsreader: entries of labelled lines,
//   Name: First Last
//   Addresses: "First Last"<address>
//   Comments: notes
//   Field-Text:
//   (an empty line)
// Lines are recognised by their first characters; others are ignored.

// One entry as read, in UTF-8.
struct AgentEntry {
  std::string name;      // the text after "Name:", trimmed
  std::string address;   // the e-mail address (see AgentReader)
  std::string comments;  // the text after "Comments: "
  bool HasNameOrAddress() const { return !name.empty() || !address.empty(); }
};

// Reads the entries of an Agent file from text decoded to UTF-8, with lines
// ended by CR LF, CR or LF. A "Name:" line starts an entry; a "Field-Text:"
// line ends it, and so do the next "Name:" line and the end of the text for
// an entry that lacks one. The e-mail address is the text between the last
// "<" of the "Addresses:" line and the ">" after it; without such a pair it
// is the trimmed value when that holds an "@", else empty.
class AgentReader {
 public:
  explicit AgentReader(std::string_view text);

  // True when the first line that is not empty begins with "Name:", as
  // every file this format knows does.
  bool LooksValid() const { return valid_; }

  // The next entry into `entry`; false at the end of the text.
  bool Next(AgentEntry& entry);

 private:
  LineReader lines_;
  bool valid_ = false;
};

// Fills `out` (cleared first) from `entry`: the name up to its first blank
// is the first name, the rest the last name; the address is the e-mail; the
// comments are the notes.
void ContactFromAgent(const AgentEntry& entry, RecordBuilder& out);

// The keyword of every record an Agent import adds.
inline constexpr std::string_view kAgentKeyword = "AgentNew";

// The five lines (CR LF) of one stored record (1047 bytes), its trimmed
// Windows-1252 fields as stored; the notes' line breaks become blanks, so
// that no line of a note is read back as a label.
void AppendAgentEntry(std::string_view record, std::string& out);

}  // namespace tabrel
