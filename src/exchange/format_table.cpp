#include "exchange/format_table.h"

#include "exchange/formats/agent_format.h"
#include "exchange/formats/comma_writer.h"
#include "exchange/formats/dos_record.h"
#include "exchange/formats/ldif_writer.h"

namespace tabrel {
namespace {

void Told(const WriteOptions& options, std::size_t written) {
  if (options.progress) options.progress(written);
}

}  // namespace

void WriteNativeRecords(std::span<const std::string_view> records, const WriteOptions& options,
                        std::string& out) {
  out.reserve(out.size() + records.size() * layout::kContactRecordLength);
  for (std::string_view record : records) out.append(record);
  Told(options, records.size());
}

void WriteDosRecords(std::span<const std::string_view> records, const WriteOptions& options,
                     std::string& out) {
  out.reserve(out.size() + records.size() * layout::kDosRecordLength);
  for (std::size_t i = 0; i < records.size(); ++i) {
    AppendDosRecord(records[i], out);
    Told(options, i + 1);
  }
}

void WriteCommaRecords(std::span<const std::string_view> records, const WriteOptions& options,
                       std::string& out) {
  out.reserve(out.size() + records.size() * 512);
  if (options.header) AppendCommaHeader(out);
  for (std::size_t i = 0; i < records.size(); ++i) {
    AppendCommaRecord(records[i], out);
    Told(options, i + 1);
  }
}

void WriteLdifRecords(std::span<const std::string_view> records, const WriteOptions& options,
                      std::string& out) {
  out.reserve(out.size() + records.size() * 512);
  AppendLdifEntries(records, out);
  Told(options, records.size());
}

void WriteAgentRecords(std::span<const std::string_view> records, const WriteOptions& options,
                       std::string& out) {
  out.reserve(out.size() + records.size() * 512);
  for (std::size_t i = 0; i < records.size(); ++i) {
    AppendAgentEntry(records[i], out);
    Told(options, i + 1);
  }
}

void WriteVcardRecords(std::span<const std::string_view> records, const WriteOptions& options,
                       std::string& out) {
  AppendVcards(records, VcardWriteOptions{options.vcard_version}, out);
  Told(options, records.size());
}

const ExchangeFormat* FindFormat(std::string_view name) {
  for (const ExchangeFormat& format : kExchangeFormats) {
    if (format.name == name) return &format;
  }
  return nullptr;
}

std::string FormatNames() {
  std::string names;
  for (std::size_t i = 0; i < kExchangeFormats.size(); ++i) {
    if (i > 0) names += i + 1 == kExchangeFormats.size() ? " or " : ", ";
    names += kExchangeFormats[i].name;
  }
  return names;
}

}  // namespace tabrel
