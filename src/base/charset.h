#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tabrel {

// Text from other programs' files, in whatever encoding they wrote, turned
// into UTF-8. Nothing here fails on bad input: a byte sequence that is no
// character of its encoding becomes U+FFFD (or stays a malformed byte of
// UTF-8), which the Windows-1252 encoder then stores as a counted "?".

// A text file's bytes with its Unicode form settled, as far as the bytes
// tell it themselves: a UTF-8 byte-order mark is dropped; UTF-16, told by
// its byte-order mark or, without one, by the zero bytes that plain text in
// it has at every other place, is converted to UTF-8. Any other file is
// kept byte for byte, since the encoding of 8-bit text may differ from one
// value to the next (a vCard 2.1 file names it per value).
struct FileText {
  std::string text;
  // True when the file said it is Unicode (a byte-order mark, or UTF-16):
  // `text` is then UTF-8 throughout.
  bool unicode = false;
  std::string_view encoding;  // "UTF-8", "UTF-16LE", "UTF-16BE" or "8-bit"
};
FileText SettleUnicodeForm(std::string_view bytes);

// 8-bit text whose encoding nobody named, as UTF-8: kept as it is when it is
// well-formed UTF-8, else read as Windows-1252, which older programs wrote.
std::string Utf8OrWindows1252(std::string_view bytes);

// `bytes` in the character set `charset` (a name as files give it: "UTF-8",
// "ISO-8859-1", "windows-1252", "SHIFT_JIS", ...; case does not matter) as
// UTF-8. ISO-8859-1 is read as Windows-1252, its superset, as programs that
// name it usually mean. The rarer sets go through the system's converter
// (iconv). Empty for a set the system does not know.
std::optional<std::string> CharsetToUtf8(std::string_view bytes, std::string_view charset);

}  // namespace tabrel
