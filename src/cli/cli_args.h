#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include <string_view>
#include "exchange/formats/comma_columns.h"
#include "exchange/formats/vcard_writer.h"

#include "exchange/importing/duplicate_index.h"
#include "store/app_state.h"

namespace tabrel::cli {

// The commands of tabrel-cli.
enum class Command { kNone, kList, kShow, kReport, kExport, kImport, kBackup, kCheck, kSync };

// Which records a command works on (default: every record).
struct Selection {
  enum class Kind { kAll, kKeyword, kNoKeywords };
  Kind kind = Kind::kAll;
  std::string keyword;  // UTF-8, as typed
  std::string search;   // UTF-8; empty: no word search
};

// A command line, parsed. Texts are UTF-8 as typed.
struct Args {
  Command command = Command::kNone;
  bool help = false;  // --help: print the command's help, do nothing else
  std::string data;   // --data DIR; empty: the program folder
  std::int16_t filter = kFilterAll;
  Selection selection;
  std::string stamp;   // show
  std::string kind;    // report KIND, export and import FORMAT
  std::string output;  // -o FILE; empty: stdout
  std::string input;   // import FILE; "-" for stdin
  DuplicateRules rules;
  bool dry_run = false;
  bool yes = false;                // answer Yes where the window would ask
  bool no_backup = false;          // import: answer No to the backup question
  bool replace = false;            // export: replace the file -o names rather than add to it
  bool with_unlinked = false;      // html: also records without a web address
  bool status = false;             // backup --status
  bool restore = false;            // backup --restore
  bool repair = false;             // check --repair
  bool allow_mass_delete = false;  // sync
  // export vcard --version 4.0
  VcardVersion vcard_version = VcardVersion::k30;
  // import csv: the links (--map; empty: suggested, as the field selector
  // suggests them), the first line as field names as the field selector
  // finds it unless --header or --no-header, records without a type made
  // organisations unless --type individual, extra columns kept in the notes
  // with --extras-to-notes; the keyword is --keyword (else "comma_new").
  std::optional<CommaLinks> links;
  std::optional<bool> header;
  // Text formats: the encoding to read them in (an iconv name of the field
  // selector's list); empty: found from the bytes.
  std::string encoding;
  bool individual = false;
  bool extras_to_notes = false;
};

// The outcome of parsing: `error` is empty on success, otherwise the usage
// error to print (exit status 2).
struct Parsed {
  Args args;
  std::string error;
};

// `arguments` are the words after the program name.
Parsed ParseArgs(std::span<const std::string_view> arguments);

// The report kinds and the exchange formats the command line knows, for
// checking names while parsing.
bool IsReportKind(std::string_view name);
bool IsFormatName(std::string_view name);

// The help text of `command` (kNone: the whole program), ending in "\n".
std::string HelpText(Command command);

}  // namespace tabrel::cli
