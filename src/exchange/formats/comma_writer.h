#pragma once

#include <string>
#include <string_view>

namespace tabrel {

// Comma-delimited text as this program exports it (Windows-1252, lines
// ended by CR LF): a header line of twenty quoted field names, then one line
// per record with the twenty fields, trimmed of blanks, each in quotes and
// separated by commas without blanks. A quote inside a field is written
// twice, as every reader of such files expects; no other byte is changed.
// The type code, the notes and the stamp are not written.

// The header line, with its line end.
void AppendCommaHeader(std::string& out);
// The line of one stored record (1047 bytes), with its line end.
void AppendCommaRecord(std::string_view record, std::string& out);

}  // namespace tabrel
