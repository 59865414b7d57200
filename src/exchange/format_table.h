#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "exchange/formats/vcard_writer.h"
#include "exchange/importing/import_source.h"
#include "store/layout.h"

namespace tabrel {

// What an export may be told besides its records.
struct WriteOptions {
  VcardVersion vcard_version = VcardVersion::k30;
  bool header = true;  // comma text: the line of field names first (a new file)
  // Told the number of records written so far, record by record where the
  // format writes them one at a time.
  std::function<void(std::size_t)> progress = nullptr;
};

// Appends the export of stored records (1047 bytes each, in list order) to
// `out`.
using FormatWriter = void (*)(std::span<const std::string_view> records,
                              const WriteOptions& options, std::string& out);

// How the records of an import file become records of the data set.
enum class ImportWay {
  kRecords,     // stored or DOS records, under the duplicate rules
  kVcard,       // cards made records, under the duplicate rules
  kNewRecords,  // comma text, LDIF or Agent entries, each added with a fresh stamp
};

// What an export does with a file that holds something already.
enum class ExportTo {
  kAddRecords,  // records of record_length bytes added to those it holds
  kAddText,     // lines added after what it holds, its header written once
  kReplace,     // the file replaced
};

// The import question, after an empty line or without it.
inline constexpr std::string_view kImportQuestionAfterLine =
    "\r\nThis will attempt to import the file you select and convert its contents to Tabrel "
    "records. Proceed?";
inline constexpr std::string_view kImportQuestion = kImportQuestionAfterLine.substr(2);
inline constexpr std::string_view kShareEnd =
    ". You may share these with others by sending the file via email, on disk, or however you "
    "want!";
inline constexpr std::string_view kReplaceShown =
    " already exists. Replace it with the shown records?";

// One exchange format, as the menus, the windows and tabrel-cli know it.
// Texts are UTF-8 and end lines with CR LF.
struct ExchangeFormat {
  FormatId id;
  std::string_view name;         // as tabrel-cli names it
  std::string_view entries;      // what a file of it holds, as tabrel-cli's messages name it
  std::string_view records;      // what the windows' closing message counts
  std::string_view import_item;  // the menu items' captions
  std::string_view export_item;
  // The import: its question (none when empty), the file selector.
  std::string_view import_question = "";
  std::string_view import_title = "";
  std::string_view file_pattern;
  std::string_view file_caption;
  ImportWay import_way;
  std::optional<ImportKind> import_kind = std::nullopt;  // kRecords and kVcard
  // The export: its question (the vCard export asks for a version
  // instead), the "Filename?" prompt's last sentence, the default file name.
  std::string_view export_question = "";
  std::string_view export_title;
  std::string_view prompt_end = "";
  std::string_view default_name;
  std::string_view replace_question = kReplaceShown;  // after the path, when the file is there
  std::string_view done_end = kShareEnd;              // the closing message's end
  bool versioned = false;                             // the vCard version is part of the texts
  ExportTo export_to;
  std::size_t record_length = 0;  // kAddRecords
  FormatWriter write;
  // The writer needs every record at once (LDIF makes its dn's distinct over
  // the file); the others write each record's entry on its own.
  bool whole_list = false;

  bool addable() const { return export_to != ExportTo::kReplace; }
};

void WriteNativeRecords(std::span<const std::string_view> records, const WriteOptions& options,
                        std::string& out);
void WriteDosRecords(std::span<const std::string_view> records, const WriteOptions& options,
                     std::string& out);
void WriteCommaRecords(std::span<const std::string_view> records, const WriteOptions& options,
                       std::string& out);
void WriteLdifRecords(std::span<const std::string_view> records, const WriteOptions& options,
                      std::string& out);
void WriteAgentRecords(std::span<const std::string_view> records, const WriteOptions& options,
                       std::string& out);
void WriteVcardRecords(std::span<const std::string_view> records, const WriteOptions& options,
                       std::string& out);

// Every format, in the order of the menus and of tabrel-cli's help.
inline constexpr std::array<ExchangeFormat, 6> kExchangeFormats = {{
    {.id = FormatId::kNative,
     .name = "native",
     .entries = "records",
     .records = "records",
     .import_item = "Import Windows Tabrel Records",
     .export_item = "Export Windows Tabrel Records",
     .file_pattern = "*.*",
     .file_caption = " Select a file ",
     .import_way = ImportWay::kRecords,
     .import_kind = ImportKind::kNative,
     .export_question = "This will export the currently displayed records to Tabrel 3's native "
                        "data format. Proceed?",
     .export_title = "Export Tabrel 3 format records!",
     .prompt_end = "Any other Tabrel 3 installation will be able to import these.",
     .default_name = "export.dat",
     .export_to = ExportTo::kAddRecords,
     .record_length = layout::kContactRecordLength,
     .write = WriteNativeRecords},
    {.id = FormatId::kDos,
     .name = "dos",
     .entries = "DOS records",
     .records = "DOS records",
     .import_item = "Import DOS Tabrel Records",
     .export_item = "Export DOS Tabrel Records",
     .file_pattern = "contact.dat;contact.mer;contact.bak",
     .file_caption = " Select .DAT/MER/BAK file ",
     .import_way = ImportWay::kRecords,
     .import_kind = ImportKind::kDos,
     .export_question = "\r\nThis will export the currently displayed records to the Tabrel DOS "
                        "(version 2.1 and higher) native data format. Proceed?",
     .export_title = "Export DOS version Tabrel records!",
     .prompt_end = "Any other Tabrel 3 installation will be able to import these.",
     .default_name = "contact.mer",
     .export_to = ExportTo::kAddRecords,
     .record_length = layout::kDosRecordLength,
     .write = WriteDosRecords},
    {.id = FormatId::kComma,
     .name = "csv",
     .entries = "comma text records",
     .records = "records",
     .import_item = "Import Comma-Delimited Records",
     .export_item = "Export Comma-Delimited Records",
     .import_question = kImportQuestionAfterLine,
     .import_title = "Import Comma Delimited Format",
     .file_pattern = "*.txt;*.csv",
     .file_caption = " Select .TXT file ",
     .import_way = ImportWay::kNewRecords,
     .export_question = "\r\nThis will export the currently displayed records to a generic "
                        "comma-delimited format that numerous other programs can import. "
                        "Proceed?",
     .export_title = "Export Comma Delimited Format",
     .prompt_end = "Many different programs will be able to import these.",
     .default_name = "comma-d.txt",
     .export_to = ExportTo::kAddText,
     .write = WriteCommaRecords},
    {.id = FormatId::kLdif,
     .name = "ldif",
     .entries = "LDIF entries",
     .records = "records",
     .import_item = "Import Lightweight Data Interchange Format",
     .export_item = "Export Lightweight Data Interchange Format",
     .import_question = kImportQuestionAfterLine,
     .import_title = "Import .ldif Format",
     .file_pattern = "*.ldif",
     .file_caption = " Select .ldif file ",
     .import_way = ImportWay::kNewRecords,
     .export_question = "\r\nThis will export the currently displayed records to the "
                        "Lightweight Data Exchange Format (.ldif). Proceed?",
     .export_title = "Export .ldif Format",
     .prompt_end = "Netscape's Address Book will be able to import these.",
     .default_name = "tabrel.ldif",
     .export_to = ExportTo::kReplace,
     .write = WriteLdifRecords,
     .whole_list = true},
    {.id = FormatId::kAgent,
     .name = "agent",
     .entries = "Agent address book entries",
     .records = "records",
     .import_item = "Import Agent Address Book Format",
     .export_item = "Export Agent Address Book Format",
     .import_question = kImportQuestion,
     .import_title = "Import Agent Address Book Format",
     .file_pattern = "*.txt",
     .file_caption = " Select .TXT file ",
     .import_way = ImportWay::kNewRecords,
     .export_question = "This will export the currently displayed records to a format that "
                        "Agent's address book can import. Proceed?",
     .export_title = "Export Agent Address Book Format",
     .prompt_end = "Agent's Address Book will be able to import these.",
     .default_name = "agent.txt",
     .export_to = ExportTo::kReplace,
     .write = WriteAgentRecords},
    {.id = FormatId::kVcard,
     .name = "vcard",
     .entries = "vCards",
     .records = "vCards",
     .import_item = "Import vCard",
     .export_item = "Export vCard",
     .file_pattern = "*.vcf;*.vcard",
     .file_caption = " Select a vCard file ",
     .import_way = ImportWay::kVcard,
     .import_kind = ImportKind::kVcard,
     .export_title = "Export vCard",
     .default_name = "tabrel.vcf",
     .replace_question = " already exists. Replace it?",
     .done_end = ". Other address books can import them.",
     .versioned = true,
     .export_to = ExportTo::kReplace,
     .write = WriteVcardRecords},
}};

constexpr const ExchangeFormat& FormatOf(FormatId id) {
  return kExchangeFormats[static_cast<std::size_t>(id)];
}
// The format tabrel-cli names `name`; null for none.
const ExchangeFormat* FindFormat(std::string_view name);
// Their names for a message: "native, dos, ... or vcard".
std::string FormatNames();

}  // namespace tabrel
