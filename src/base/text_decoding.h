#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "base/result.h"

namespace tabrel {

// Text files written by other programs (address book exports), read into
// UTF-8 whatever their encoding.

struct DecodedText {
  std::string text;      // UTF-8, without a byte-order mark
  std::string encoding;  // what the bytes were read as: "UTF-8", "UTF-16LE", "Windows-1252", ...
  // Byte sequences that are no character of that encoding; each became
  // U+FFFD, which stored text later shows as "?".
  std::size_t invalid = 0;
};

// Finds the encoding by itself: a byte-order mark first (UTF-8, UTF-16 LE
// or BE); then UTF-16 without one, told by the zero bytes that plain text
// in it has at every other place; then UTF-8 when the bytes are valid
// UTF-8; else Windows-1252, which older installations and older Windows
// programs wrote. Never fails.
DecodedText DecodeText(std::string_view bytes);
// The same, taking the bytes over when they are the text already (UTF-8
// without a mark), so that a large file is not copied.
DecodedText DecodeText(std::string&& bytes);

// The first step of DecodeText alone: the text of a file whose bytes declare
// a Unicode form themselves (a UTF-8 or UTF-16 byte-order mark, or UTF-16
// told by its zero bytes); empty for any other file. A reader whose values
// name their own encodings (a vCard 2.1 CHARSET) keeps the bytes of such a
// file and decodes value by value.
std::optional<DecodedText> DecodeUnicodeForm(std::string_view bytes);

// The last step of DecodeText: 8-bit text whose encoding nobody named, kept
// when it is well-formed UTF-8, else read as Windows-1252.
std::string Utf8OrWindows1252(std::string_view bytes);

// `bytes` in the character set a file names for them ("UTF-8",
// "ISO-8859-1", "windows-1252", "SHIFT_JIS", ...; case does not matter) as
// UTF-8. ISO-8859-1 is read as its superset Windows-1252, as the programs
// that name it usually mean; US-ASCII, and UTF-8 that is not, as unnamed
// text. Empty for a set the system does not know.
std::optional<std::string> CharsetToUtf8(std::string_view bytes, std::string_view charset);

// Reads `bytes` as `encoding` (a name iconv knows, as TextEncodingChoice
// lists them); an empty name means DecodeText. A byte-order mark at the
// start is dropped. Fails only for an encoding this system cannot convert.
Result<DecodedText> DecodeTextAs(std::string_view bytes, const std::string& encoding);

// `bytes` in `encoding` converted to UTF-8 by the system's converter
// (iconv); sequences it cannot read become U+FFFD and are counted in
// `invalid`. Fails only for an encoding the system does not know.
Result<std::string> ConvertToUtf8(std::string_view bytes, const std::string& encoding,
                                  std::size_t* invalid = nullptr);

// The encodings a user may choose for a file whose own cannot be told from
// its bytes (the legacy code pages all look alike).
struct TextEncodingChoice {
  std::string_view caption;  // what the user sees
  std::string_view name;     // the iconv name; empty: find it by itself
};
inline constexpr std::array<TextEncodingChoice, 14> kTextEncodingChoices = {{
    {"Automatic (byte-order mark, UTF-8, else Windows-1252)", ""},
    {"UTF-8", "UTF-8"},
    {"UTF-16 (byte-order mark, else big-endian)", "UTF-16"},
    {"UTF-16 little-endian", "UTF-16LE"},
    {"UTF-16 big-endian", "UTF-16BE"},
    {"Windows-1252 (Western European)", "WINDOWS-1252"},
    {"ISO-8859-1 (Latin-1)", "ISO-8859-1"},
    {"ISO-8859-15 (Latin-9)", "ISO-8859-15"},
    {"Windows-1250 (Central European)", "WINDOWS-1250"},
    {"Windows-1251 (Cyrillic)", "WINDOWS-1251"},
    {"Shift_JIS (Japanese)", "SHIFT_JIS"},
    {"Mac Roman", "MACINTOSH"},
    {"IBM 850 (DOS Western European)", "IBM850"},
    {"IBM 437 (DOS United States)", "IBM437"},
}};

}  // namespace tabrel
