#pragma once

#include <string>
#include <string_view>

namespace tabrel {

// Blank handling of stored text. Only the blank (code 32) counts as white
// space, as the stored files define it; tabs and other bytes are kept.
std::string_view TrimView(std::string_view text);
std::string_view RTrimView(std::string_view text);
std::string Trim(std::string_view text);
std::string RTrim(std::string_view text);
// Cut to `width` bytes or pad with blanks on the right to `width`.
std::string Fit(std::string_view text, std::size_t width);
// True when the text holds nothing but blanks.
bool IsBlank(std::string_view text);

}  // namespace tabrel
