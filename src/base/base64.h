#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tabrel {

// Base64 of RFC 4648 (the standard alphabet, "=" padding), as LDIF and
// vCard files carry binary and non-ASCII values.

std::string EncodeBase64(std::string_view bytes);

// The bytes `text` stands for. Blanks and line ends inside it are skipped
// (folded values keep them); missing padding is allowed. Empty for a text
// holding any other character outside the alphabet, or a lone last digit.
std::optional<std::string> DecodeBase64(std::string_view text);
// The same bytes after `out`; false, with `out` as it was, where
// DecodeBase64 gives nothing.
bool AppendDecodedBase64(std::string_view text, std::string& out);

}  // namespace tabrel
