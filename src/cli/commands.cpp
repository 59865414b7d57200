#include "cli/commands.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <vector>

#include "base/codec.h"
#include "base/text.h"
#include "base/text_decoding.h"
#include "cli/cli_dialogs.h"
#include "cli/formats.h"
#include "cli/report_kinds.h"
#include "cli/sync_command.h"
#include "cli/write_lock.h"
#include "exchange/export_target.h"
#include "exchange/formats/agent_format.h"
#include "exchange/formats/comma_columns.h"
#include "exchange/formats/comma_contact.h"
#include "exchange/formats/ldif_contact.h"
#include "exchange/import_window.h"
#include "exchange/importing/import_plan.h"
#include "exchange/importing/import_preview.h"
#include "exchange/importing/import_report.h"
#include "exchange/importing/import_text.h"
#include "exchange/importing/new_records_import.h"
#include "exchange/importing/record_import.h"
#include "exchange/importing/text_records.h"
#include "present/backup_prompt.h"
#include "present/record_list.h"
#include "present/shown_records.h"
#include "store/backup.h"
#include "store/contact_record.h"
#include "store/data_set.h"
#include "store/file_reader.h"
#include "store/layout.h"
#include "store/program_folder.h"
#include "store/settings_record.h"
#include "store/stamp_index.h"

namespace tabrel::cli {
namespace {

std::string Encoded(std::string_view utf8) {
  return EncodeCp1252(utf8).bytes;
}

// A path typed on the command line, taken from the working folder.
std::string Absolute(const std::string& path, const Environment& env) {
  if (path.starts_with("/")) return path;
  return WithSlash(env.working_folder) + path;
}

int Fail(Environment& env, const std::string& text) {
  env.err << "tabrel-cli: " << WithLineFeeds(text) << "\n";
  return kExitFailed;
}

// The program folder and its settings, and the data set the command works
// on. Reads tr30.ini when it is there and never creates it.
Status OpenDataSet(AppState& state, const Args& args, const Environment& env) {
  state.settings = DefaultSettings();
  state.export_folder = WithSlash(env.working_folder);
  state.filter = args.filter;
  std::error_code ec;
  if (std::filesystem::exists(state.ProgramFile(kSettingsFileName), ec)) {
    auto settings = ReadSettingsFile(state.program_folder);
    if (!settings.ok()) return settings.status();
    state.settings = settings.value();
  }
  state.data_path = args.data.empty() ? state.program_folder : WithSlash(Absolute(args.data, env));
  return CheckDataFolder(state.data_path);
}

std::string RowText(const Grid& grid, int row) {
  std::string text;
  for (int col = 0; col < grid.Cols(); ++col) {
    if (col > 0) text.push_back('\t');
    text.append(grid.TextAt(row, col));
  }
  return text;
}

// Writes `bytes` to the file -o names, or to stdout.
int WriteOutput(const Args& args, Environment& env, AppState& state, CliDialogs& dialogs,
                std::string_view bytes) {
  if (args.output.empty()) {
    env.out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    env.out.flush();
    return env.out ? kExitDone : Fail(env, "The output could not be written.");
  }
  const std::string path = Absolute(args.output, env);
  const ExportTargets targets(state, dialogs);
  if (!targets.Acceptable(path)) return kExitFailed;
  const std::string_view pieces[] = {bytes};
  if (Status s = targets.Write({path, "", 0}, pieces); !s.ok()) {
    return Fail(env, s.ErrorLine() + "\nNothing was written.");
  }
  return kExitDone;
}

int List(AppState& state, const Args& args, Environment& env) {
  auto rows = SelectRows(state, args.selection);
  if (!rows.ok()) return Fail(env, rows.status().ErrorLine());
  const Grid& grid = rows.value();
  std::string line;
  std::string out;
  for (int row = 1; row < grid.Rows(); ++row) {
    line.clear();
    for (int col = 0; col < grid.Cols(); ++col) {
      if (col > 0) line.push_back('\t');
      line.append(TrimView(grid.TextAt(row, col)));
    }
    out.append(DecodeCp1252(line)).push_back('\n');
  }
  env.out << out << std::flush;
  return env.out ? kExitDone : Fail(env, "The output could not be written.");
}

int Show(AppState& state, const Args& args, Environment& env) {
  auto index = StampIndex::Open(state);
  if (!index.ok()) return Fail(env, index.status().ErrorLine());
  const auto found = index.value().Find(Encoded(Trim(args.stamp)));
  if (!found) return Fail(env, "No record has the stamp \"" + Trim(args.stamp) + "\".");
  const ContactRecord record = DecodeContact(found->record);
  std::string out;
  for (const ContactField& field : kContactFields) {
    std::string value = WithLineFeeds(DecodeCp1252(Trim(record.*field.member)));
    // Lines after the first of a note are indented under it.
    for (std::size_t at = value.find('\n'); at != std::string::npos;
         at = value.find('\n', at + 1)) {
      value.insert(at + 1, "  ");
    }
    out.append(field.name).append(": ").append(value).push_back('\n');
  }
  env.out << out << std::flush;
  return kExitDone;
}

int Report(AppState& state, const Args& args, Environment& env, CliDialogs& dialogs, Clock& clock) {
  auto rows = SelectRows(state, args.selection);
  if (!rows.ok()) return Fail(env, rows.status().ErrorLine());
  auto shown = RecordsOfShownRows(state, rows.value());
  if (!shown.ok()) return Fail(env, shown.status().ErrorLine());
  const ReportKind& kind = *FindReportKind(args.kind);
  const std::string text =
      kind.build(shown.value().records, {state.settings, args.with_unlinked, clock.Now()});
  return WriteOutput(args, env, state, dialogs, text);
}

int Export(AppState& state, const Args& args, Environment& env, CliDialogs& dialogs) {
  const Format& format = *FindFormat(args.kind);
  if (!format.exportable()) return Fail(env, NotAvailableText(format, true));
  auto rows = SelectRows(state, args.selection);
  if (!rows.ok()) return Fail(env, rows.status().ErrorLine());
  auto shown = RecordsOfShownRows(state, rows.value());
  if (!shown.ok()) return Fail(env, shown.status().ErrorLine());
  const std::vector<std::string_view>& records = shown.value().records;
  std::string bytes;
  format.write(records, WriteOptions{args.vcard_version}, bytes);
  if (const std::string note = LeftOutNote(shown.value().missing); !note.empty()) {
    env.err << WithLineFeeds(note) << "\n";
  }
  if (args.output.empty()) return WriteOutput(args, env, state, dialogs, bytes);

  const std::string path = Absolute(args.output, env);
  const ExportTargets targets(state, dialogs);
  if (!targets.Acceptable(path)) return kExitFailed;
  const int count = static_cast<int>(records.size());
  const std::optional<ExportTarget> target =
      format.record_length > 0
          ? targets.AddingRecords(path, format.record_length, format.records, count)
          : targets.Replacing(path, path + " already exists. Replace it?", "Export");
  if (!target) {
    if (dialogs.refused()) {
      return Fail(env,
                  "Nothing was exported: give --yes to add the records to the file, or "
                  "--replace to replace it.");
    }
    return kExitFailed;
  }
  const std::string_view pieces[] = {bytes};
  if (Status s = targets.Write(*target, pieces); !s.ok()) {
    return Fail(env, s.ErrorLine() + "\nNothing was exported; no file was changed.");
  }
  env.err << records.size() << " " << format.records << " exported; " << path << " now holds "
          << target->kept_records + records.size() << ".\n";
  return kExitDone;
}

// The whole import file, or stdin for "-". Read whole, as the bytes of a
// format with a reader are text of any length; record files are checked for
// whole records by the caller.
Result<std::string> ReadInput(const Args& args, Environment& env) {
  std::string bytes;
  if (args.input == "-") {
    bytes.assign(std::istreambuf_iterator<char>(env.in), {});
    if (env.in.bad()) {
      return Status::Error(error_number::kDeviceIo, "The standard input could not be read.");
    }
    return bytes;
  }
  auto file = FileReader::Open(Absolute(args.input, env), FileReader::Missing::kFail);
  if (!file.ok()) return file.status();
  bytes.resize(file.value().size());
  if (Status s = file.value().ReadAt(0, bytes); !s.ok()) return s;
  return bytes;
}

constexpr std::string_view kNothingImported = "Nothing was imported; your data is unchanged.";

// A failure's error line, then what it means for the data.
int FailImport(Environment& env, const Status& status,
               std::string_view consequence = kNothingImported) {
  return Fail(env, status.ErrorLine() + "\n" + std::string(consequence));
}

// Offers the backup set as the window does, right before the merge is
// written; the refusal to print when the user's answer was needed.
std::optional<int> OfferBackup(AppState& state, Environment& env, CliDialogs& dialogs,
                               Clock& clock) {
  MakeBackup(state, dialogs, clock);
  if (!dialogs.refused()) return std::nullopt;
  return Fail(env,
              "Nothing was imported: give --yes to replace the backup set with the "
              "current data first, or --no-backup to import without replacing it.");
}

// vCards: read from the file, each decided under the duplicate rules.
int ImportVcards(AppState& state, const Args& args, Environment& env, CliDialogs& dialogs,
                 Clock& clock) {
  if (args.input == "-") return Fail(env, "A vCard import reads a file: give its name, not -.");
  const ImportSource source{ImportKind::kVcard, Absolute(args.input, env)};
  std::optional<WriteLease> lease;
  if (!args.dry_run) {
    auto taken = AcquireForWriting(state.data_path);
    if (!taken.ok()) return Fail(env, taken.status().description());
    lease.emplace(std::move(taken.value()));
  }
  ImportPlan plan = PlanImport(state, source, args.rules, clock.Now());
  if (!plan.failure.ok()) return FailImport(env, plan.failure);
  if (!plan.refusal.empty()) return Fail(env, WithLineFeeds(plan.refusal));
  RecordImport& import = plan.import;
  if (args.dry_run) {
    const ImportPreview preview = PreviewOf(import);
    env.out << DecodeCp1252(preview.Text("\n")) << std::flush;
    return preview.limit.ok() ? kExitDone : FailImport(env, preview.limit);
  }
  if (Status s = import.merge().CheckLimit(); !s.ok()) return FailImport(env, s);
  std::size_t keywords_added = 0;
  if (import.merge().changed()) {
    if (auto refused = OfferBackup(state, env, dialogs, clock)) return *refused;
    const MergeOutcome written = import.Commit();
    if (!written.ok()) {
      return FailImport(env, written.written.status, ImportFailureText(written.written));
    }
    keywords_added = written.keywords_added;
  }
  std::string summary = WithLineFeeds(DecodeCp1252(import.report().Summary(keywords_added)));
  if (!summary.ends_with("\n")) summary += "\n";
  env.err << summary;
  return kExitDone;
}

// Comma text, LDIF and Agent entries: each added under a fresh stamp.
int ImportNewRecords(AppState& state, const Args& args, Environment& env, CliDialogs& dialogs,
                     Clock& clock) {
  auto input = ReadInput(args, env);
  if (!input.ok()) return FailImport(env, input.status());
  const DecodedText text = DecodeText(input.value());
  if (HoldsNul(text.text)) {
    return Fail(env,
                "The input is not text: it holds NUL characters. " + std::string(kNothingImported));
  }
  std::string keyword;
  if (args.kind == "csv") {
    const EncodeResult stored = EncodeCp1252(
        args.selection.keyword.empty() ? std::string(kCommaKeyword) : args.selection.keyword);
    if (stored.replaced > 0) {
      return Fail(env, "The keyword holds characters the record files cannot store.");
    }
    keyword = Fit(stored.bytes, layout::kKW1.width);
  }
  std::optional<WriteLease> lease;
  if (!args.dry_run) {
    auto taken = AcquireForWriting(state.data_path);
    if (!taken.ok()) return Fail(env, taken.status().description());
    lease.emplace(std::move(taken.value()));
  }
  auto opened = NewRecordsImport::Open(state, clock.Now());
  if (!opened.ok()) return FailImport(env, opened.status());
  NewRecordsImport& import = opened.value();
  std::string left_out;
  if (args.kind == "csv") {
    CommaImportOptions options;
    options.header = !args.no_header;
    options.individual = args.individual;
    options.extras_to_notes = args.extras_to_notes;
    const CommaSurvey survey = SurveyComma(text.text, options.header, false);
    options.links = SuggestLinks(survey.columns, survey.sample);
    AddCommaRecords(text.text, options, TrimView(keyword), import);
  } else if (args.kind == "ldif") {
    left_out = LdifSkippedText(AddLdifRecords(text.text, import));
  } else {
    const std::size_t skipped = AddAgentRecords(text.text, import);
    if (skipped > 0) {
      left_out = std::to_string(skipped) +
                 " entries were left out: they have neither a name nor an e-mail address.";
    }
  }
  if (Status s = import.CheckLimit(); !s.ok()) return FailImport(env, s);
  if (args.dry_run) {
    env.out << import.added() << " to add, 0 to replace, 0 to skip (duplicates).\n";
    if (!left_out.empty()) env.out << WithLineFeeds(DecodeCp1252(left_out)) << "\n";
    return kExitDone;
  }
  if (import.added() > 0) {
    if (auto refused = OfferBackup(state, env, dialogs, clock)) return *refused;
    const MergeOutcome written = import.Commit();
    if (!written.ok()) {
      return FailImport(env, written.written.status, ImportFailureText(written.written));
    }
  }
  env.err << WithLineFeeds(
                 DecodeCp1252(AddedText(import.added()) +
                              LossNote(import.replaced_characters(), import.cut_values())))
          << "\n";
  if (!left_out.empty()) env.err << WithLineFeeds(DecodeCp1252(left_out)) << "\n";
  return kExitDone;
}

int Import(AppState& state, const Args& args, Environment& env, CliDialogs& dialogs, Clock& clock) {
  const Format& format = *FindFormat(args.kind);
  if (!format.importable()) return Fail(env, NotAvailableText(format, false));
  if (format.import_way == ImportWay::kVcard) return ImportVcards(state, args, env, dialogs, clock);
  if (format.import_way == ImportWay::kNewRecords) {
    return ImportNewRecords(state, args, env, dialogs, clock);
  }
  const ImportKind kind = format.import_kind.value_or(ImportKind::kNative);
  auto input = ReadInput(args, env);
  if (!input.ok()) return FailImport(env, input.status());
  std::string records = std::move(input.value());
  if (format.read != nullptr) {
    std::string warnings;
    auto read = format.read(records, warnings);
    if (!warnings.empty()) env.err << WithLineFeeds(warnings);
    if (!read.ok()) return FailImport(env, read.status());
    records = std::move(read.value());
  }
  const std::size_t length = RecordLengthOf(kind);
  if (records.empty() || records.size() % length != 0) return Fail(env, NotRecordsText(kind));

  if (args.dry_run) {
    auto preview = PreviewImport(state, kind, records, args.rules, clock.Now());
    if (!preview.ok()) return FailImport(env, preview.status());
    env.out << DecodeCp1252(preview.value().Text("\n")) << std::flush;
    if (!preview.value().limit.ok()) {
      return FailImport(env, preview.value().limit);
    }
    return kExitDone;
  }

  auto lease = AcquireForWriting(state.data_path);
  if (!lease.ok()) return Fail(env, lease.status().description());
  auto opened = RecordImport::Open(state, args.rules, clock.Now());
  if (!opened.ok()) return FailImport(env, opened.status());
  RecordImport& import = opened.value();
  for (std::size_t at = 0; at < records.size(); at += length) {
    import.Take(kind, std::string_view(records).substr(at, length));
  }
  if (Status s = import.merge().CheckLimit(); !s.ok()) {
    return FailImport(env, s);
  }
  std::size_t keywords_added = 0;
  if (import.merge().changed()) {
    if (auto refused = OfferBackup(state, env, dialogs, clock)) return *refused;
    const MergeOutcome written = import.Commit();
    if (!written.ok()) {
      return FailImport(env, written.written.status, ImportFailureText(written.written));
    }
    keywords_added = written.keywords_added;
  }
  const ImportReport& report = import.report();
  env.err << report.added() << " records were added.\n"
          << report.replaced() << " records were replaced.\n"
          << report.skipped() << " duplicates were skipped.\n"
          << keywords_added << " keywords were added.\n";
  if (report.unknown_types() > 0) {
    env.err << report.unknown_types()
            << " of the records have no known type: they are stored, but the record list does "
               "not show them.\n";
  }
  return kExitDone;
}

std::string Describe(const char* which, const AppState& state, const BackupSetCounts& counts,
                     Clock& clock) {
  return std::string(which) + state.data_path + ": " + std::to_string(counts.records) +
         " records, " + std::to_string(counts.keywords) + " keywords, last modified " +
         clock.FormatDateTime(counts.modified) + "\n";
}

int Backup(AppState& state, const Args& args, Environment& env, CliDialogs& dialogs, Clock& clock) {
  if (args.status) {
    auto sets = CountBackupSets(state);
    if (!sets.ok()) return Fail(env, sets.status().ErrorLine());
    env.out << Describe("data set   ", state, sets.value().live, clock);
    if (sets.value().backup_empty()) {
      env.out << "backup set " << state.data_path << ": none\n";
    } else {
      env.out << Describe("backup set ", state, sets.value().backup, clock);
    }
    return kExitDone;
  }
  auto lease = AcquireForWriting(state.data_path);
  if (!lease.ok()) return Fail(env, lease.status().description());
  const bool done =
      args.restore ? RestoreBackup(state, dialogs, clock) : MakeBackup(state, dialogs, clock);
  if (done) return kExitDone;
  if (dialogs.refused()) return Fail(env, "Nothing was changed: give --yes to go ahead.");
  return kExitFailed;
}

}  // namespace

Result<Grid> SelectRows(AppState& state, const Selection& selection) {
  Grid grid;
  grid.SetFormatString(kMainGridFormat);
  std::string chosen;
  switch (selection.kind) {
    case Selection::Kind::kAll:
      chosen = kAllRecords;
      break;
    case Selection::Kind::kNoKeywords:
      break;
    case Selection::Kind::kKeyword:
      chosen = Fit(Encoded(selection.keyword), layout::kKW1.width);
      break;
  }
  const bool search = !selection.search.empty();
  if (search && selection.kind == Selection::Kind::kAll) {
    // Free list mode searches every record, without the main window's
    // search file.
    state.list_mode = kListFree;
    chosen = std::string(kWordSearchPrefix) + Encoded(selection.search);
  }
  auto added = AppendSelectedRows(grid, state, chosen, {});
  if (!added.ok()) return added.status();
  if (!search || selection.kind == Selection::Kind::kAll) return grid;

  auto index = StampIndex::Open(state);
  if (!index.ok()) return index.status();
  WordMatcher matcher(UpperCp1252(Encoded(selection.search)));
  Grid kept;
  kept.SetFormatString(kMainGridFormat);
  for (int row = 1; row < grid.Rows(); ++row) {
    const auto found = index.value().Find(grid.TextAt(row, kIdColumn));
    if (found && matcher.Matches(found->record)) kept.AddItem(RowText(grid, row));
  }
  return kept;
}

int Run(const Args& args, Environment& env) {
  if (args.help) {
    env.out << HelpText(args.command) << std::flush;
    return kExitDone;
  }
  auto folder = ProgramFolderPath(env.xdg_data_home, env.home);
  if (!folder.ok()) return Fail(env, folder.status().ErrorLine());
  AppState state(folder.value());
  if (Status s = OpenDataSet(state, args, env); !s.ok()) {
    return Fail(env, s.ErrorLine() + "\nThe data set in " + state.data_path + " cannot be used.");
  }
  std::optional<MessageAnswer> answer;
  if (args.yes) answer = MessageAnswer::kYes;
  if (args.no_backup || args.replace) answer = MessageAnswer::kNo;
  CliDialogs dialogs(env.err, answer);
  CliClock clock(env.source_date_epoch);
  switch (args.command) {
    case Command::kList:
      return List(state, args, env);
    case Command::kShow:
      return Show(state, args, env);
    case Command::kReport:
      return Report(state, args, env, dialogs, clock);
    case Command::kExport:
      return Export(state, args, env, dialogs);
    case Command::kImport:
      return Import(state, args, env, dialogs, clock);
    case Command::kBackup:
      return Backup(state, args, env, dialogs, clock);
    case Command::kSync:
      return Sync(state, args, env, clock);
    case Command::kNone:
      break;
  }
  return kExitUsage;
}

int Main(std::span<const std::string_view> arguments, Environment& env) {
  try {
    const Parsed parsed = ParseArgs(arguments);
    if (!parsed.error.empty()) {
      env.err << "tabrel-cli: " << parsed.error << "\nTry 'tabrel-cli --help'.\n";
      return kExitUsage;
    }
    return Run(parsed.args, env);
  } catch (const std::exception& e) {
    return Fail(env, std::string("Stopped: ") + e.what() + ". The data is as it was.");
  }
}

}  // namespace tabrel::cli
