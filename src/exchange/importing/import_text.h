#pragma once

#include <string>
#include <string_view>

#include "base/result.h"
#include "base/text_decoding.h"

namespace tabrel {

// The bytes of a file chosen for an import or for an export to add to,
// read whole with pread (never mapped, never created). A folder or a device
// is an error.
Result<std::string> ReadChosenFile(const std::string& path);

// The text of a file chosen for an import from another program, read
// whole (never mapped, never created) and decoded to UTF-8: by itself when
// `encoding` is empty (DecodeText), else as that encoding. Fails when the
// file cannot be read or the encoding is unknown.
Result<DecodedText> ReadImportText(const std::string& path, const std::string& encoding = "");

// True when decoded text holds NUL characters, which no text file does:
// the file chosen is a program or a data file.
bool HoldsNul(std::string_view text);

// The refusal of such a file: "<path>" then why.
std::string NotTextMessage(const std::string& path);

}  // namespace tabrel
