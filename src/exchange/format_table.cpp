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

// Appends each record as `append` writes it, telling the progress.
void EachRecord(std::span<const std::string_view> records, const WriteOptions& options,
                std::string& out, void (*append)(std::string_view, std::string&)) {
  for (std::size_t i = 0; i < records.size(); ++i) {
    append(records[i], out);
    Told(options, i + 1);
  }
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
  EachRecord(records, options, out, AppendDosRecord);
}

void WriteCommaRecords(std::span<const std::string_view> records, const WriteOptions& options,
                       std::string& out) {
  out.reserve(out.size() + records.size() * 512);
  if (options.header) AppendCommaHeader(out);
  EachRecord(records, options, out, AppendCommaRecord);
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
  EachRecord(records, options, out, AppendAgentEntry);
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
