#include "cli/cli_args.h"

#include <algorithm>
#include <array>
#include <vector>

#include <cctype>

#include "base/text.h"
#include "base/text_decoding.h"
#include "cli/report_kinds.h"
#include "exchange/format_table.h"
#include "store/contact_record.h"

namespace tabrel::cli {
namespace {

struct CommandName {
  Command command;
  std::string_view name;
  std::size_t positionals;  // words the command takes besides options
  std::string_view usage;   // what follows the command's name
};

constexpr std::array<CommandName, 8> kCommands = {{
    {Command::kList, "list", 0, "[SELECTION]"},
    {Command::kShow, "show", 1, "STAMP"},
    {Command::kReport, "report", 1, "KIND [SELECTION] [-o FILE] [--with-unlinked]"},
    {Command::kExport, "export", 1,
     "FORMAT [SELECTION] [-o FILE [--yes | --replace]] [--version 3.0|4.0]"},
    {Command::kImport, "import", 2,
     "FORMAT FILE|- [--duplicates name|org|both] [--skip never|always|older]\n"
     "                        [--dry-run] [--yes | --no-backup]\n"
     "                        [--map auto|FIELD=COLUMN,...] [--header | --no-header]\n"
     "                        [--encoding NAME] [--keyword TEXT]\n"
     "                        [--type individual|organization] [--extras-to-notes]"},
    {Command::kBackup, "backup", 0, "[--status | --restore] [--yes]"},
    {Command::kCheck, "check", 0, "[--repair]"},
    {Command::kSync, "sync", 0, "[--dry-run] [--allow-mass-delete]"},
}};

constexpr unsigned Bit(Command c) {
  return 1u << static_cast<unsigned>(c);
}
constexpr unsigned kAny = ~0u;
constexpr unsigned kSelecting = Bit(Command::kList) | Bit(Command::kReport) | Bit(Command::kExport);

struct Option {
  std::string_view name;
  bool takes_value;
  unsigned commands;  // where it may be given (global options anywhere)
  // Sets the option; an error text when the value is not one it takes.
  std::string (*apply)(Args& args, std::string_view value);
};

bool SameNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
           return std::toupper(x) == std::toupper(y);
         });
}

// The name of a link: the stored field it fills.
std::string_view LinkName(RecordField field) {
  for (const ContactField& stored : kContactFields) {
    if (stored.span.offset == SpanOf(field).offset) return stored.name;
  }
  return {};
}

// "auto", or "LastName=1,FirstName=2,...": each named field takes that
// column (numbered from 1); fields not named stay empty.
std::string SetMap(Args& a, std::string_view v) {
  if (v == "auto") return a.links.reset(), std::string();
  CommaLinks links{};
  for (std::string_view rest = v; !rest.empty();) {
    const std::size_t comma = rest.find(',');
    const std::string_view pair = rest.substr(0, comma);
    rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
    const std::size_t eq = pair.find('=');
    const std::string_view name = pair.substr(0, eq);
    std::size_t column = 0;
    for (const char c : eq == std::string_view::npos ? std::string_view() : pair.substr(eq + 1)) {
      column = std::isdigit(static_cast<unsigned char>(c)) && column < 10000
                   ? column * 10 + (c - '0')
                   : 0;
      if (column == 0) break;
    }
    std::size_t field = 0;
    while (field < kRecordFieldCount && LinkName(static_cast<RecordField>(field)) != name) ++field;
    if (field == kRecordFieldCount || column == 0) {
      std::string names;
      for (std::size_t f = 0; f < kRecordFieldCount; ++f) {
        names += (f == 0 ? "" : ", ") + std::string(LinkName(static_cast<RecordField>(f)));
      }
      return "--map takes auto or FIELD=COLUMN,... (FIELD one of " + names +
             ", COLUMN from 1), not '" + std::string(pair) + "'";
    }
    links[field] = column;
  }
  a.links = links;
  return {};
}

std::string SetDefinition(Args& args, std::string_view value) {
  if (value == "name") {
    args.rules.definition = DuplicateDefinition::kSameName;
  } else if (value == "org") {
    args.rules.definition = DuplicateDefinition::kSameOrg;
  } else if (value == "both") {
    args.rules.definition = DuplicateDefinition::kNameAndOrg;
  } else {
    return "--duplicates takes name, org or both, not '" + std::string(value) + "'";
  }
  return "";
}

std::string SetSkip(Args& args, std::string_view value) {
  if (value == "never") {
    args.rules.skip = DuplicateSkip::kNever;
  } else if (value == "always") {
    args.rules.skip = DuplicateSkip::kAlways;
  } else if (value == "older") {
    args.rules.skip = DuplicateSkip::kIfOlder;
  } else {
    return "--skip takes never, always or older, not '" + std::string(value) + "'";
  }
  return "";
}

const std::array<Option, 28> kOptions = {{
    {"--help", false, kAny, [](Args& a, std::string_view) { return a.help = true, std::string(); }},
    {"-h", false, kAny, [](Args& a, std::string_view) { return a.help = true, std::string(); }},
    {"--data", true, kAny,
     [](Args& a, std::string_view v) { return a.data = std::string(v), std::string(); }},
    {"--public", false, kAny,
     [](Args& a, std::string_view) {
       if (a.filter == kFilterPersonalOnly)
         return std::string("--public and --personal exclude each other");
       return a.filter = kFilterPublicOnly, std::string();
     }},
    {"--personal", false, kAny,
     [](Args& a, std::string_view) {
       if (a.filter == kFilterPublicOnly)
         return std::string("--public and --personal exclude each other");
       return a.filter = kFilterPersonalOnly, std::string();
     }},
    {"--keyword", true, kSelecting | Bit(Command::kImport),
     [](Args& a, std::string_view v) {
       if (a.selection.kind != Selection::Kind::kAll)
         return std::string("give one of --keyword and --no-keywords, once");
       a.selection.kind = Selection::Kind::kKeyword;
       a.selection.keyword = std::string(v);
       return std::string();
     }},
    {"--no-keywords", false, kSelecting,
     [](Args& a, std::string_view) {
       if (a.selection.kind != Selection::Kind::kAll)
         return std::string("give one of --keyword and --no-keywords, once");
       return a.selection.kind = Selection::Kind::kNoKeywords, std::string();
     }},
    {"--search", true, kSelecting,
     [](Args& a, std::string_view v) {
       if (v.empty()) return std::string("--search needs a word");
       return a.selection.search = std::string(v), std::string();
     }},
    {"-o", true, Bit(Command::kReport) | Bit(Command::kExport),
     [](Args& a, std::string_view v) {
       if (v.empty()) return std::string("-o needs a file name");
       return a.output = std::string(v), std::string();
     }},
    {"--with-unlinked", false, Bit(Command::kReport),
     [](Args& a, std::string_view) { return a.with_unlinked = true, std::string(); }},
    {"--yes", false, Bit(Command::kExport) | Bit(Command::kImport) | Bit(Command::kBackup),
     [](Args& a, std::string_view) { return a.yes = true, std::string(); }},
    {"--replace", false, Bit(Command::kExport),
     [](Args& a, std::string_view) { return a.replace = true, std::string(); }},
    {"--duplicates", true, Bit(Command::kImport), SetDefinition},
    {"--skip", true, Bit(Command::kImport), SetSkip},
    {"--dry-run", false, Bit(Command::kImport) | Bit(Command::kSync),
     [](Args& a, std::string_view) { return a.dry_run = true, std::string(); }},
    {"--no-backup", false, Bit(Command::kImport),
     [](Args& a, std::string_view) { return a.no_backup = true, std::string(); }},
    {"--version", true, Bit(Command::kExport),
     [](Args& a, std::string_view v) {
       if (v == "3.0") return a.vcard_version = VcardVersion::k30, std::string();
       if (v == "4.0") return a.vcard_version = VcardVersion::k40, std::string();
       return "--version takes 3.0 or 4.0, not '" + std::string(v) + "'";
     }},
    {"--map", true, Bit(Command::kImport), SetMap},
    {"--header", false, Bit(Command::kImport),
     [](Args& a, std::string_view) { return a.header = true, std::string(); }},
    {"--no-header", false, Bit(Command::kImport),
     [](Args& a, std::string_view) { return a.header = false, std::string(); }},
    {"--encoding", true, Bit(Command::kImport),
     [](Args& a, std::string_view v) {
       for (const TextEncodingChoice& choice : kTextEncodingChoices) {
         if (!choice.name.empty() && SameNoCase(v, choice.name)) {
           return a.encoding = choice.name, std::string();
         }
       }
       std::string names;
       for (const TextEncodingChoice& choice : kTextEncodingChoices) {
         if (!choice.name.empty()) names += (names.empty() ? "" : ", ") + std::string(choice.name);
       }
       return "--encoding takes one of " + names + ", not '" + std::string(v) + "'";
     }},
    {"--type", true, Bit(Command::kImport),
     [](Args& a, std::string_view v) {
       if (v == "individual") return a.individual = true, std::string();
       if (v == "organization") return a.individual = false, std::string();
       return "--type takes individual or organization, not '" + std::string(v) + "'";
     }},
    {"--extras-to-notes", false, Bit(Command::kImport),
     [](Args& a, std::string_view) { return a.extras_to_notes = true, std::string(); }},
    {"--allow-mass-delete", false, Bit(Command::kSync),
     [](Args& a, std::string_view) { return a.allow_mass_delete = true, std::string(); }},
    {"--status", false, Bit(Command::kBackup),
     [](Args& a, std::string_view) { return a.status = true, std::string(); }},
    {"--restore", false, Bit(Command::kBackup),
     [](Args& a, std::string_view) { return a.restore = true, std::string(); }},
    {"--repair", false, Bit(Command::kCheck),
     [](Args& a, std::string_view) { return a.repair = true, std::string(); }},
    {"--output", true, Bit(Command::kReport) | Bit(Command::kExport),
     [](Args& a, std::string_view v) {
       if (v.empty()) return std::string("--output needs a file name");
       return a.output = std::string(v), std::string();
     }},
}};

const CommandName* FindCommand(std::string_view name) {
  for (const CommandName& c : kCommands) {
    if (c.name == name) return &c;
  }
  return nullptr;
}

const CommandName* FindCommand(Command command) {
  for (const CommandName& c : kCommands) {
    if (c.command == command) return &c;
  }
  return nullptr;
}

// The checks that need the whole command line.
std::string CheckWhole(const Args& args, const CommandName& command,
                       const std::vector<std::string_view>& words) {
  if (words.size() != command.positionals) {
    return std::string(command.name) + " takes " + std::string(command.usage);
  }
  switch (args.command) {
    case Command::kReport:
      if (!IsReportKind(words[0])) {
        return "unknown report kind '" + std::string(words[0]) +
               "' (simple-phone, phone, text, html, labels or email)";
      }
      break;
    case Command::kExport:
    case Command::kImport:
      if (!IsFormatName(words[0])) {
        return "unknown format '" + std::string(words[0]) + "' (" + FormatNames() + ")";
      }
      break;
    default:
      break;
  }
  if (args.yes && args.no_backup) return "--yes and --no-backup exclude each other";
  if (args.yes && args.replace) return "--yes and --replace exclude each other";
  if ((args.yes || args.replace) && args.command == Command::kExport && args.output.empty()) {
    return "--yes and --replace answer for the file -o names";
  }
  if (args.status && args.restore) return "--status and --restore exclude each other";
  return "";
}

}  // namespace

bool IsReportKind(std::string_view name) {
  return FindReportKind(name) != nullptr;
}

bool IsFormatName(std::string_view name) {
  return FindFormat(name) != nullptr;
}

Parsed ParseArgs(std::span<const std::string_view> arguments) {
  Parsed parsed;
  Args& args = parsed.args;
  const CommandName* command = nullptr;
  std::vector<std::string_view> words;
  bool options_end = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    std::string_view word = arguments[i];
    if (options_end || word == "-" || !word.starts_with("-")) {
      if (command == nullptr) {
        command = FindCommand(word);
        if (command == nullptr) {
          parsed.error = "unknown command '" + std::string(word) + "'";
          return parsed;
        }
        args.command = command->command;
      } else {
        words.push_back(word);
      }
      continue;
    }
    if (word == "--") {
      options_end = true;
      continue;
    }
    std::string_view value;
    bool has_value = false;
    if (const auto eq = word.find('='); eq != std::string_view::npos && word.starts_with("--")) {
      value = word.substr(eq + 1);
      word = word.substr(0, eq);
      has_value = true;
    }
    const Option* option = nullptr;
    for (const Option& o : kOptions) {
      if (o.name == word) option = &o;
    }
    const std::string where = command ? " for " + std::string(command->name) : std::string();
    if (option == nullptr || (option->commands & Bit(args.command)) == 0) {
      parsed.error = "unknown option '" + std::string(word) + "'" + where;
      return parsed;
    }
    if (option->takes_value && !has_value) {
      if (i + 1 == arguments.size()) {
        parsed.error = std::string(word) + " needs a value";
        return parsed;
      }
      value = arguments[++i];
    } else if (!option->takes_value && has_value) {
      parsed.error = std::string(word) + " takes no value";
      return parsed;
    }
    if (std::string error = option->apply(args, value); !error.empty()) {
      parsed.error = std::move(error);
      return parsed;
    }
  }
  if (args.help) return parsed;
  if (command == nullptr) {
    parsed.error = "no command given";
    return parsed;
  }
  parsed.error = CheckWhole(args, *command, words);
  if (!parsed.error.empty()) return parsed;
  switch (args.command) {
    case Command::kShow:
      args.stamp = std::string(words[0]);
      break;
    case Command::kReport:
    case Command::kExport:
      args.kind = std::string(words[0]);
      break;
    case Command::kImport:
      args.kind = std::string(words[0]);
      args.input = std::string(words[1]);
      break;
    default:
      break;
  }
  return parsed;
}

std::string HelpText(Command command) {
  constexpr std::string_view kSelection =
      "SELECTION (default: every record):\n"
      "  --keyword TEXT       the records that have the keyword TEXT\n"
      "  --no-keywords        the records that have no keyword\n"
      "  --search WORD        only records that contain WORD (with either of the above,\n"
      "                       or alone over every record)\n";
  constexpr std::string_view kCommon =
      "Options of every command:\n"
      "  --data DIR           the data set in DIR (default: the program folder,\n"
      "                       $XDG_DATA_HOME/tabrel or ~/.local/share/tabrel)\n"
      "  --public, --personal only public or only personal records\n"
      "  --help               this help\n"
      "Data goes to stdout, messages to stderr. Exit status: 0 done, 1 failed or\n"
      "refused (the data as it was), 2 usage error.\n";
  if (command == Command::kNone) {
    std::string text =
        "Usage: tabrel-cli [--data DIR] [--public | --personal] COMMAND [ARGS]\n\n"
        "The Tabrel address book from a terminal or a script.\n\nCommands:\n";
    for (const CommandName& c : kCommands) {
      text += "  " + std::string(c.name) + std::string(8 - c.name.size(), ' ') +
              std::string(c.usage) + "\n";
    }
    text += "\n" + std::string(kSelection) + "\n" + std::string(kCommon) +
            "\n'tabrel-cli COMMAND --help' describes each command.\n";
    return text;
  }
  const CommandName& c = *FindCommand(command);
  std::string text = "Usage: tabrel-cli [--data DIR] [--public | --personal] " +
                     std::string(c.name) + " " + std::string(c.usage) + "\n\n";
  switch (command) {
    case Command::kList:
      text +=
          "Prints one line per record of the record list, tab-separated, UTF-8: name,\n"
          "phone, ext, fax, address 1, address 2, city, state, zip, country, stamp.\n\n";
      text += kSelection;
      break;
    case Command::kShow:
      text +=
          "Prints the record with the stamp STAMP (the last column of list), field by\nfield, "
          "UTF-8.\n";
      break;
    case Command::kReport:
      text +=
          "Writes a report of the selected records, byte for byte the file the print\n"
          "preview writes: Windows-1252 text with CR LF line ends (iconv -f cp1252\n"
          "converts it for a terminal).\n"
          "KIND: simple-phone, phone, text, html, labels or email.\n"
          "  -o FILE              write to FILE (replacing it) instead of stdout\n"
          "  --with-unlinked      html: also list records without a web address\n"
          "The html footer dates the page today, or at $SOURCE_DATE_EPOCH when set.\n\n";
      text += kSelection;
      break;
    case Command::kExport:
      text += "Exports the selected records.\nFORMAT: " + FormatNames() + ".\n";
      text +=
          "  -o FILE              write to FILE instead of stdout. When FILE exists,\n"
          "                       --yes adds to it where the format can be added to\n"
          "                       (native, dos, csv without a second header) and\n"
          "                       --replace replaces it; without either nothing is\n"
          "                       written. Files of a data set and tr30.ini are refused.\n\n";
      text += kSelection;
      break;
    case Command::kImport:
      text += "Merges the records of FILE (or stdin for -) into the data set.\n";
      text += "FORMAT: " + FormatNames() + ".\n";
      text +=
          "  --duplicates name    a record duplicates one with the same first and last name\n"
          "  --duplicates org     ... with the same organization name\n"
          "  --duplicates both    ... with both the same (the default)\n"
          "  --skip never         a duplicate replaces the record it duplicates\n"
          "  --skip always        a duplicate is skipped\n"
          "  --skip older         a duplicate is skipped unless it is newer (the default)\n"
          "  --dry-run            print for each incoming record \"add\", \"replace STAMP\"\n"
          "                       or \"skip (duplicate of STAMP)\" and its name, the\n"
          "                       counts, what would not be stored and whether the data\n"
          "                       set would pass 32,767 records; change nothing\n"
          "  --yes                replace the backup set with the current data first\n"
          "  --no-backup          import without making a backup set\n"
          "When a backup set exists one of --yes and --no-backup is needed; without a\n"
          "backup set one is made first. A backup set that cannot be made stops the\n"
          "import unless --no-backup.\n"
          "vCards are decided by the duplicate rules as records are; comma text, LDIF\n"
          "and Agent entries are always added, with a fresh stamp and a keyword:\n"
          "  --map auto           link comma columns to fields as suggested (the default)\n"
          "  --map LastName=1,FirstName=2,...\n"
          "                       link each named field to a column (from 1), as the\n"
          "                       field selector's links do; fields not named stay empty\n"
          "  --keyword TEXT       the comma records' keyword (default comma_new)\n"
          "  --type individual    records without a clear type are individuals\n"
          "  --type organization  ... organizations (the default)\n"
          "  --header             the first comma line holds field names\n"
          "  --no-header          the first comma line is a record (default: as the field\n"
          "                       selector finds it)\n"
          "  --encoding NAME      read comma, LDIF or Agent text in NAME (UTF-8, UTF-16,\n"
          "                       WINDOWS-1252, ISO-8859-1, SHIFT_JIS...; default: found\n"
          "                       from the bytes)\n"
          "  --extras-to-notes    what no field holds goes to the notes: the unlinked\n"
          "                       comma columns; an LDIF attribute or a vCard property\n"
          "                       as a line of its own (\"Birthday: 1970-01-01\")\n"
          "The dry run and the import say, per kind, the values no field could hold\n"
          "(\"Not stored, no field holds them: birthday: 40; photo: 3.\").\n";
      break;
    case Command::kBackup:
      text +=
          "Copies the data set over its backup set (tabrel.bak, keyword.bak).\n"
          "  --status             print what the data set and its backup set hold\n"
          "  --restore            copy the backup set over the data set instead\n"
          "  --yes                needed to replace an existing backup set, and to restore\n";
      break;
    case Command::kCheck:
      text +=
          "Checks the data set: whole records, stamps unique, every keyword a record\n"
          "carries listed in keyword.dat, no change left unfinished by a crash, no\n"
          "temporary files left over, the backup set whole. Prints what it found.\n"
          "  --repair             take the data set, complete or undo an unfinished\n"
          "                       change and remove what was left over first\n"
          "Exit status 0 when the data set is sound (after the repair), 1 otherwise.\n";
      break;
    case Command::kSync:
      text +=
          "Syncs the data set both ways with the address-book server (CardDAV) that\n"
          "carddav.ini in the data folder names (keys: url, user, addressbook,\n"
          "password-command or secret-store = yes). Edits on both sides of a record keep\n"
          "both, the local one with the keyword Conflict.\n"
          "  --dry-run            list what would be sent, taken and deleted; change\n"
          "                       nothing on either side\n"
          "  --allow-mass-delete  go on when more than half of either side would be deleted\n";
      break;
    case Command::kNone:
      break;
  }
  return text + "\n" + std::string(kCommon);
}

}  // namespace tabrel::cli
