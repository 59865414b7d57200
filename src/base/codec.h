#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tabrel {

// Stored text is single-byte Windows-1252. The core works on those bytes; the
// GUI converts at its edge with these two functions.
//
// Decoding never fails: the five bytes that Windows-1252 leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) decode to the C1 controls of the same value,
// as Windows itself does, so every byte survives a round trip.
//
// Encoding replaces each character that Windows-1252 cannot hold with "?"
// and counts it, so the caller can tell the user before anything is saved.
// Every other character converts exactly. Malformed UTF-8 counts as one
// replaced character per bad byte.
std::string DecodeCp1252(std::string_view bytes);  // -> UTF-8

struct EncodeResult {
  std::string bytes;         // Windows-1252
  std::size_t replaced = 0;  // characters that became "?"
};
EncodeResult EncodeCp1252(std::string_view utf8);

// Upper case of one Windows-1252 character, as the system's upper-casing of
// stored text does it: a-z and the accented small letters of the code page.
unsigned char UpperCp1252(unsigned char c);
std::string UpperCp1252(std::string_view text);
void UpperCp1252InPlace(std::string& text);
// UTF-8 text in capitals by the same rules: each character the code page
// holds is upper-cased as UpperCp1252 does it ("é" -> "É"); any other, and
// any malformed byte, stays as it is.
std::string UpperUtf8ByCp1252(std::string_view utf8);

}  // namespace tabrel
