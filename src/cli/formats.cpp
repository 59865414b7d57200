#include "cli/formats.h"

#include <array>

#include "exchange/dos_record.h"
#include "store/layout.h"

namespace tabrel::cli {
namespace {

void WriteNative(StoredRecords records, std::string& out) {
  out.reserve(out.size() + records.size() * layout::kContactRecordLength);
  for (std::string_view record : records) out.append(record);
}

void WriteDos(StoredRecords records, std::string& out) {
  out.reserve(out.size() + records.size() * layout::kDosRecordLength);
  for (std::string_view record : records) AppendDosRecord(record, out);
}

// Comma text, LDIF, Agent and vCard join here once their readers and
// writers exist: a writer for export, a reader (or an import kind) for
// import.
const std::array<Format, 6> kFormats = {{
    {"native", "records", layout::kContactRecordLength, WriteNative, ImportKind::kNative, nullptr},
    {"dos", "DOS records", layout::kDosRecordLength, WriteDos, ImportKind::kDos, nullptr},
    {"csv", "comma text records", 0, nullptr, std::nullopt, nullptr},
    {"ldif", "LDIF entries", 0, nullptr, std::nullopt, nullptr},
    {"agent", "Agent address book entries", 0, nullptr, std::nullopt, nullptr},
    {"vcard", "vCards", 0, nullptr, std::nullopt, nullptr},
}};

}  // namespace

std::span<const Format> Formats() {
  return kFormats;
}

const Format* FindFormat(std::string_view name) {
  for (const Format& format : kFormats) {
    if (format.name == name) return &format;
  }
  return nullptr;
}

std::string NotAvailableText(const Format& format, bool exporting) {
  return std::string(exporting ? "Export" : "Import") + " of the " + std::string(format.name) +
         " format is not available in this version of tabrel-cli.";
}

}  // namespace tabrel::cli
