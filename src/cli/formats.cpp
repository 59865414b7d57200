#include "cli/formats.h"

#include <array>

#include "exchange/formats/agent_format.h"
#include "exchange/formats/comma_writer.h"
#include "exchange/formats/dos_record.h"
#include "exchange/formats/ldif_writer.h"
#include "store/layout.h"

namespace tabrel::cli {
namespace {

void WriteNative(StoredRecords records, const WriteOptions&, std::string& out) {
  out.reserve(out.size() + records.size() * layout::kContactRecordLength);
  for (std::string_view record : records) out.append(record);
}

void WriteDos(StoredRecords records, const WriteOptions&, std::string& out) {
  out.reserve(out.size() + records.size() * layout::kDosRecordLength);
  for (std::string_view record : records) AppendDosRecord(record, out);
}

// Comma text starts with its header line, as a new file does.
void WriteComma(StoredRecords records, const WriteOptions& options, std::string& out) {
  if (options.header) AppendCommaHeader(out);
  for (std::string_view record : records) AppendCommaRecord(record, out);
}

void WriteLdif(StoredRecords records, const WriteOptions&, std::string& out) {
  AppendLdifEntries(records, out);
}

void WriteAgent(StoredRecords records, const WriteOptions&, std::string& out) {
  for (std::string_view record : records) AppendAgentEntry(record, out);
}

void WriteVcard(StoredRecords records, const WriteOptions& options, std::string& out) {
  AppendVcards(records, VcardWriteOptions{options.vcard_version}, out);
}

const std::array<Format, 6> kFormats = {{
    {"native", "records", layout::kContactRecordLength, WriteNative, ImportWay::kRecords,
     ImportKind::kNative, nullptr},
    {"dos", "DOS records", layout::kDosRecordLength, WriteDos, ImportWay::kRecords,
     ImportKind::kDos, nullptr},
    {"csv", "comma text records", 0, WriteComma, ImportWay::kNewRecords, std::nullopt, nullptr,
     true},
    {"ldif", "LDIF entries", 0, WriteLdif, ImportWay::kNewRecords, std::nullopt, nullptr},
    {"agent", "Agent address book entries", 0, WriteAgent, ImportWay::kNewRecords, std::nullopt,
     nullptr},
    {"vcard", "vCards", 0, WriteVcard, ImportWay::kVcard, ImportKind::kVcard, nullptr},
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

std::string FormatNames() {
  std::string names;
  for (std::size_t i = 0; i < kFormats.size(); ++i) {
    if (i > 0) names += i + 1 == kFormats.size() ? " or " : ", ";
    names += kFormats[i].name;
  }
  return names;
}

std::string NotAvailableText(const Format& format, bool exporting) {
  return std::string(exporting ? "Export" : "Import") + " of the " + std::string(format.name) +
         " format is not available in this version of tabrel-cli.";
}

}  // namespace tabrel::cli
