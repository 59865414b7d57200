#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "base/result.h"
#include "exchange/exchange_view.h"
#include "reports/report_text.h"

namespace tabrel::cli {

// Appends the export of stored records (1047 bytes each, in list order) to
// `out`.
using FormatWriter = void (*)(StoredRecords records, std::string& out);
// Turns the bytes of an import file into stored records (1047 bytes each)
// for the native import; `warnings` gathers what the user should hear
// about (characters dropped, say), one line each.
using FormatReader = Result<std::string> (*)(std::string_view file, std::string& warnings);

// One exchange format of the export and import commands. A format is
// exported when it has a writer and imported when it names an import kind,
// read by the import engine as it is, or has a reader.
struct Format {
  std::string_view name;
  std::string_view records;  // what a file of it holds, as messages name it
  // Exports to a file add records of this length to those it holds (the
  // window asks first); 0: an export replaces the file.
  std::size_t record_length = 0;
  FormatWriter write = nullptr;
  std::optional<ImportKind> import_kind;
  FormatReader read = nullptr;

  bool exportable() const { return write != nullptr; }
  bool importable() const { return import_kind.has_value() || read != nullptr; }
};

// Every format the command line names, available or not.
std::span<const Format> Formats();
const Format* FindFormat(std::string_view name);

// The message for a format that cannot be exported or imported yet.
std::string NotAvailableText(const Format& format, bool exporting);

}  // namespace tabrel::cli
