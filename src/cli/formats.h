#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "base/result.h"
#include "exchange/exchange_view.h"
#include "exchange/formats/vcard_writer.h"
#include "reports/report_text.h"

namespace tabrel::cli {

// What an export may be told besides its records.
struct WriteOptions {
  VcardVersion vcard_version = VcardVersion::k30;
  bool header = true;  // comma text: the line of field names first
};

// Appends the export of stored records (1047 bytes each, in list order) to
// `out`.
using FormatWriter = void (*)(StoredRecords records, const WriteOptions& options, std::string& out);
// Turns the bytes of an import file into stored records (1047 bytes each)
// for the native import; `warnings` gathers what the user should hear
// about (characters dropped, say), one line each.
using FormatReader = Result<std::string> (*)(std::string_view file, std::string& warnings);

// How the records of an import file become records of the data set.
enum class ImportWay {
  kNone,
  kRecords,     // stored or DOS records, under the duplicate rules
  kVcard,       // cards made records, under the duplicate rules
  kNewRecords,  // comma text, LDIF or Agent entries, each added with a fresh stamp
};

// One exchange format of the export and import commands. A format is
// exported when it has a writer and imported when it has a way in.
struct Format {
  std::string_view name;
  std::string_view records;  // what a file of it holds, as messages name it
  // Exports to a file add records of this length to those it holds (the
  // window asks first); 0: an export replaces the file, unless adds_text.
  std::size_t record_length = 0;
  FormatWriter write = nullptr;
  ImportWay import_way = ImportWay::kNone;
  std::optional<ImportKind> import_kind;  // kRecords and kVcard
  FormatReader read = nullptr;            // kRecords: bytes to stored records first
  bool adds_text = false;                 // an export adds its lines after those the file holds

  bool exportable() const { return write != nullptr; }
  bool importable() const { return import_way != ImportWay::kNone; }
  bool addable() const { return record_length > 0 || adds_text; }
};

// Every format the command line names, available or not.
std::span<const Format> Formats();
const Format* FindFormat(std::string_view name);
// Their names for a message: "native, dos, ... or vcard".
std::string FormatNames();

// The message for a format that cannot be exported or imported yet.
std::string NotAvailableText(const Format& format, bool exporting);

}  // namespace tabrel::cli
