#include "exchange/importing/import_text.h"

#include "store/file_reader.h"

namespace tabrel {

Result<std::string> ReadChosenFile(const std::string& path) {
  auto file = FileReader::Open(path, FileReader::Missing::kFail);
  if (!file.ok()) return file.status();
  return file.value().ReadRecords(1);
}

Result<DecodedText> ReadImportText(const std::string& path, const std::string& encoding) {
  auto bytes = ReadChosenFile(path);
  if (!bytes.ok()) return bytes.status();
  if (encoding.empty()) return DecodeText(std::move(bytes.value()));
  return DecodeTextAs(bytes.value(), encoding);
}

bool HoldsNul(std::string_view text) {
  return text.find('\0') != std::string_view::npos;
}

std::string NotTextMessage(const std::string& path) {
  return path +
         "\r\nis not a text file: it holds NUL characters, as program and data files do. "
         "Nothing was imported.";
}

}  // namespace tabrel
