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

enum class FormatId { kNative, kDos, kComma, kLdif, kAgent, kVcard };

// One exchange format, as the menus, the windows and tabrel-cli know it.
// Texts are UTF-8 and end lines with CR LF.
struct ExchangeFormat {
  FormatId id;
  std::string_view name;         // as tabrel-cli names it
  std::string_view entries;      // what a file of it holds, as tabrel-cli's messages name it
  std::string_view records;      // what the windows' closing message counts
  std::string_view import_item;  // menu captions
  std::string_view export_item;
  // The import: the question first (empty: none), the file selector.
  std::string_view import_question;
  std::string_view import_title;
  std::string_view file_pattern;
  std::string_view file_caption;
  ImportWay import_way;
  std::optional<ImportKind> import_kind;  // kRecords and kVcard
  // The export: the question (the vCard export asks for a version
  // instead), the "Filename?" prompt's last sentence, the default file name.
  std::string_view export_question;
  std::string_view export_title;
  std::string_view prompt_end;
  std::string_view default_name;
  std::string_view replace_question;  // after the path, when the file is there
  std::string_view done_end;          // the closing message's end
  bool versioned;                     // the vCard version is part of the texts
  ExportTo export_to;
  std::size_t record_length;  // kAddRecords
  FormatWriter write;

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

inline constexpr std::string_view kImportQuestionAfterLine =
    "\r\nThis will attempt to import the file you select and convert its contents to Tabrel "
    "records. Proceed?";
inline constexpr std::string_view kImportQuestion =
    "This will attempt to import the file you select and convert its contents to Tabrel "
    "records. Proceed?";
inline constexpr std::string_view kShareEnd =
    ". You may share these with others by sending the file via email, on disk, or however you "
    "want!";
inline constexpr std::string_view kReplaceShown =
    " already exists. Replace it with the shown records?";

// Every format, in the order of the menus and of tabrel-cli's help.
inline constexpr std::array<ExchangeFormat, 6> kExchangeFormats = {{
    {FormatId::kNative,
     "native",
     "records",
     "records",
     "Import Windows Tabrel Records",
     "Export Windows Tabrel Records",
     "",
     "",
     "*.*",
     " Select a file ",
     ImportWay::kRecords,
     ImportKind::kNative,
     "This will export the currently displayed records to Tabrel 3's native data format. "
     "Proceed?",
     "Export Tabrel 3 format records!",
     "Any other Tabrel 3 installation will be able to import these.",
     "export.dat",
     kReplaceShown,
     kShareEnd,
     false,
     ExportTo::kAddRecords,
     layout::kContactRecordLength,
     WriteNativeRecords},
    {FormatId::kDos,
     "dos",
     "DOS records",
     "DOS records",
     "Import DOS Tabrel Records",
     "Export DOS Tabrel Records",
     "",
     "",
     "contact.dat;contact.mer;contact.bak",
     " Select .DAT/MER/BAK file ",
     ImportWay::kRecords,
     ImportKind::kDos,
     "\r\nThis will export the currently displayed records to the Tabrel DOS (version 2.1 and "
     "higher) native data format. Proceed?",
     "Export DOS version Tabrel records!",
     "Any other Tabrel 3 installation will be able to import these.",
     "contact.mer",
     kReplaceShown,
     kShareEnd,
     false,
     ExportTo::kAddRecords,
     layout::kDosRecordLength,
     WriteDosRecords},
    {FormatId::kComma,
     "csv",
     "comma text records",
     "records",
     "Import Comma-Delimited Records",
     "Export Comma-Delimited Records",
     kImportQuestionAfterLine,
     "Import Comma Delimited Format",
     "*.txt;*.csv",
     " Select .TXT file ",
     ImportWay::kNewRecords,
     std::nullopt,
     "\r\nThis will export the currently displayed records to a generic comma-delimited format "
     "that numerous other programs can import. Proceed?",
     "Export Comma Delimited Format",
     "Many different programs will be able to import these.",
     "comma-d.txt",
     kReplaceShown,
     kShareEnd,
     false,
     ExportTo::kAddText,
     0,
     WriteCommaRecords},
    {FormatId::kLdif,
     "ldif",
     "LDIF entries",
     "records",
     "Import Lightweight Data Interchange Format",
     "Export Lightweight Data Interchange Format",
     kImportQuestionAfterLine,
     "Import .ldif Format",
     "*.ldif",
     " Select .ldif file ",
     ImportWay::kNewRecords,
     std::nullopt,
     "\r\nThis will export the currently displayed records to the Lightweight Data Exchange "
     "Format (.ldif). Proceed?",
     "Export .ldif Format",
     "Netscape's Address Book will be able to import these.",
     "tabrel.ldif",
     kReplaceShown,
     kShareEnd,
     false,
     ExportTo::kReplace,
     0,
     WriteLdifRecords},
    {FormatId::kAgent,
     "agent",
     "Agent address book entries",
     "records",
     "Import Agent Address Book Format",
     "Export Agent Address Book Format",
     kImportQuestion,
     "Import Agent Address Book Format",
     "*.txt",
     " Select .TXT file ",
     ImportWay::kNewRecords,
     std::nullopt,
     "This will export the currently displayed records to a format that Agent's address book "
     "can import. Proceed?",
     "Export Agent Address Book Format",
     "Agent's Address Book will be able to import these.",
     "agent.txt",
     kReplaceShown,
     kShareEnd,
     false,
     ExportTo::kReplace,
     0,
     WriteAgentRecords},
    {FormatId::kVcard,
     "vcard",
     "vCards",
     "vCards",
     "Import vCard",
     "Export vCard",
     "",
     "",
     "*.vcf;*.vcard",
     " Select a vCard file ",
     ImportWay::kVcard,
     ImportKind::kVcard,
     "",
     "Export vCard",
     "",
     "tabrel.vcf",
     " already exists. Replace it?",
     ". Other address books can import them.",
     true,
     ExportTo::kReplace,
     0,
     WriteVcardRecords},
}};

constexpr const ExchangeFormat& FormatOf(FormatId id) {
  return kExchangeFormats[static_cast<std::size_t>(id)];
}
// The format tabrel-cli names `name`; null for none.
const ExchangeFormat* FindFormat(std::string_view name);
// Their names for a message: "native, dos, ... or vcard".
std::string FormatNames();

}  // namespace tabrel
