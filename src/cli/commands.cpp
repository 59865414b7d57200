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
#include "cli/report_kinds.h"
#include "cli/sync_command.h"
#include "cli/write_lock.h"
#include "exchange/export_job.h"
#include "exchange/format_table.h"
#include "exchange/formats/agent_format.h"
#include "exchange/formats/comma_columns.h"
#include "exchange/formats/comma_contact.h"
#include "exchange/formats/ldif_contact.h"
#include "exchange/formats/vcard_parser.h"
#include "exchange/import_window.h"
#include "exchange/importing/import_decision.h"
#include "exchange/importing/import_job.h"
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
#include "store/commit_record.h"
#include "store/contact_record.h"
#include "store/data_set.h"
#include "store/data_set_check.h"
#include "store/file_info.h"
#include "store/file_reader.h"
#include "store/layout.h"
#include "store/program_folder.h"
#include "store/record_text_check.h"
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
  ReadBuffer read;
  auto records = SelectRecords(state, args.selection, read);
  if (!records.ok()) return Fail(env, records.status().ErrorLine());
  const ReportKind& kind = *FindReportKind(args.kind);
  const std::string text =
      kind.build(records.value(), {state.settings, args.with_unlinked, clock.Now()});
  return WriteOutput(args, env, state, dialogs, text);
}

int Export(AppState& state, const Args& args, Environment& env, CliDialogs& dialogs) {
  const ExchangeFormat& format = *FindFormat(args.kind);
  const WriteOptions options{args.vcard_version};
  // The records are read once, and written from what was read: a run of
  // the file at a time where each entry stands on its own.
  ReadBuffer read;
  Result<std::vector<std::string_view>> records = std::vector<std::string_view>();
  if (args.output.empty() || format.whole_list) {
    records = SelectRecords(state, args.selection, read);
    if (!records.ok()) return Fail(env, records.status().ErrorLine());
  }
  if (args.output.empty()) {
    const ExportBytes bytes = ExportJob::BytesOf(format, options, records.value());
    return WriteOutput(args, env, state, dialogs, bytes.bytes);
  }
  const std::string path = Absolute(args.output, env);
  const ExistingFile existing = args.replace ? ExistingFile::kReplace
                                : args.yes   ? ExistingFile::kAdd
                                             : ExistingFile::kKeep;
  const ExportJob job(state, dialogs);
  ExportEnd end;
  if (format.whole_list) {
    end = job.Run(format, options, path, records.value(), existing);
  } else {
    auto file = LookAt(state.DataFile(kContactFileName));
    if (!file.ok()) return Fail(env, file.status().ErrorLine());
    const ExportJob::RecordRuns runs{
        static_cast<std::size_t>(file.value().size / layout::kContactRecordLength),
        [&](const ExportJob::RunVisitor& visit) {
          return VisitSelection(state, args.selection, visit);
        }};
    end = job.Run(format, options, path, runs, existing);
  }
  if (const std::string note = LeftOutNote(end.missing); !note.empty()) {
    env.err << WithLineFeeds(note) << "\n";
  }
  switch (end.kind) {
    case ExportEnd::Kind::kStopped:
      return end.refusal.empty() ? kExitFailed : Fail(env, end.refusal);
    case ExportEnd::Kind::kFailed:
      return Fail(env, end.failure.ErrorLine() + "\nNothing was exported; no file was changed.");
    case ExportEnd::Kind::kWritten:
      break;
  }
  env.err << end.exported << " " << format.entries << " exported; " << path << " now holds "
          << end.held << ".\n";
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

// A failure's error line, then what it means for the data.
int FailImport(Environment& env, const Status& status,
               std::string_view consequence = kImportUnchanged) {
  return Fail(env, status.ErrorLine() + "\n" + std::string(consequence));
}

// The import's questions answered by the flags: the backup set is offered
// as the window offers it, unless --no-backup; a failed one stops the
// import.
class CliImportQuestions final : public ImportQuestions {
 public:
  CliImportQuestions(const Args& args, CliDialogs& dialogs, Clock& clock)
      : args_(args), dialogs_(dialogs), clock_(clock) {}
  BackupOffer OfferBackup(AppState& target) override {
    if (args_.no_backup) return {};
    BackupOffer offer = tabrel::OfferBackup(target, dialogs_, clock_);
    if (dialogs_.refused()) offer.outcome = BackupOffer::Outcome::kUnanswered;
    return offer;
  }
  bool ImportWithoutBackup(const BackupOffer&) override { return false; }

 private:
  const Args& args_;
  CliDialogs& dialogs_;
  Clock& clock_;
};

// What the dry run prints of a decided import.
std::string Preview(const DecidedImport& import) {
  if (import.records) return PreviewOf(*import.records).Text("\n");
  std::string text =
      std::to_string(import.added->added()) + " to add, 0 to replace, 0 to skip (duplicates).\n";
  if (!import.left_out.empty()) text += import.left_out + "\n";
  if (const std::string lost = LossNote(*import.added); !lost.empty()) {
    text += WithLineFeeds(lost.substr(2)) + "\n";
  }
  return text;
}

// What an import that wrote reports.
std::string Summary(const DecidedImport& import, std::size_t keywords_added) {
  if (import.records) return import.records->report().Summary(keywords_added);
  std::string text = AddedText(import.added->added());
  if (!import.left_out.empty()) text += "\r\n" + import.left_out;
  return text + LossNote(*import.added);
}

// The keyword of a comma import, as stored; empty with the refusal told.
std::optional<std::string> CommaKeyword(const Args& args, Environment& env) {
  const EncodeResult stored = EncodeCp1252(
      args.selection.keyword.empty() ? std::string(kCommaKeyword) : args.selection.keyword);
  if (stored.replaced > 0) {
    Fail(env, "The keyword holds characters the record files cannot store.");
    return std::nullopt;
  }
  return std::string(TrimView(Fit(stored.bytes, layout::kKW1.width)));
}

// Every import: the input read whole first, then the data set taken for
// writing, the records decided, and the end the windows share
// (FinishImport).
int Import(AppState& state, const Args& args, Environment& env, CliDialogs& dialogs, Clock& clock) {
  const ExchangeFormat& format = *FindFormat(args.kind);
  auto input = ReadInput(args, env);
  if (!input.ok()) return FailImport(env, input.status());
  const bool text_format = format.import_way == ImportWay::kNewRecords;
  std::optional<DecodedText> text;
  std::string keyword;
  std::optional<std::string> records;
  if (!text_format) {
    // Refused, or not, as they are decided.
    records = std::move(input.value());
  } else {
    if (args.encoding.empty()) {
      text = DecodeText(input.value());
    } else {
      auto decoded = DecodeTextAs(input.value(), args.encoding);
      if (!decoded.ok()) return FailImport(env, decoded.status());
      text = std::move(decoded.value());
    }
    if (HoldsNul(text->text)) {
      return Fail(
          env, "The input is not text: it holds NUL characters. " + std::string(kImportUnchanged));
    }
    if (args.kind == "csv") {
      auto stored = CommaKeyword(args, env);
      if (!stored) return kExitFailed;
      keyword = *stored;
    }
  }
  std::optional<WriteLease> lease;
  if (!args.dry_run) {
    auto taken = AcquireForWriting(state.data_path, env.err);
    if (!taken.ok()) return Fail(env, taken.status().description());
    lease.emplace(std::move(taken.value()));
  }
  DecideOptions options;
  options.rules = args.rules;
  options.extras_to_notes = args.extras_to_notes;
  options.header = args.header;
  options.links = args.links;
  options.individual = args.individual;
  options.keyword = keyword;
  options.input_name = args.input == "-" ? "The input" : Absolute(args.input, env);
  options.write_ahead = !args.dry_run;
  auto decided =
      DecideImport(state, format.id, text_format ? std::move(text->text) : std::move(*records),
                   options, clock.Now());
  if (!decided.ok()) return FailImport(env, decided.status());
  const DecidedImport& import = decided.value();
  if (!import.refusal.empty()) return Fail(env, WithLineFeeds(import.refusal));
  if (args.dry_run) {
    env.out << WithLineFeeds(DecodeCp1252(Preview(import))) << std::flush;
    if (Status s = import.merge().CheckLimit(); !s.ok()) {
      return Fail(env, s.description() + ".\n" + std::string(kImportUnchanged));
    }
    return kExitDone;
  }
  CliImportQuestions questions(args, dialogs, clock);
  const ImportEnd end = FinishImport(state, import.merge(), questions);
  if (end.kind == ImportEnd::Kind::kStopped) {
    if (dialogs.refused()) {
      return Fail(env,
                  "Nothing was imported: give --yes to replace the backup set with the "
                  "current data first, or --no-backup to import without replacing it.");
    }
    return Fail(env, end.message + "\nGive --no-backup to import without a backup set.");
  }
  if (!end.ok()) return Fail(env, end.message);
  std::string summary = WithLineFeeds(DecodeCp1252(Summary(import, end.keywords_added)));
  if (!summary.ends_with("\n")) summary += "\n";
  env.err << summary;
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
  auto lease = AcquireForWriting(state.data_path, env.err);
  if (!lease.ok()) return Fail(env, lease.status().description());
  const bool done =
      args.restore ? RestoreBackup(state, dialogs, clock) : MakeBackup(state, dialogs, clock);
  if (done) return kExitDone;
  if (dialogs.refused()) return Fail(env, "Nothing was changed: give --yes to go ahead.");
  return kExitFailed;
}

int Check(AppState& state, const Args& args, Environment& env) {
  const DataSetCheck check = args.repair ? DataSetCheck::Repair(state) : DataSetCheck::Run(state);
  for (const std::string& line : check.repaired) env.out << line << "\n";
  for (const std::string& line : check.faults) env.out << WithLineFeeds(line) << "\n";
  if (check.sound()) env.out << "The data set in " << state.data_path << " is sound.\n";
  env.out << std::flush;
  return check.sound() ? kExitDone : kExitFailed;
}

// Whether the command may write to the data set, and so takes it for itself
// (and repairs it) rather than only reading it.
bool Writes(const Args& args) {
  return (args.command == Command::kImport && !args.dry_run) ||
         (args.command == Command::kBackup && !args.status) || args.command == Command::kCheck;
}

}  // namespace

namespace {

// The selection text of the record list `selection` picks; a word search
// over every record puts the list in free mode.
std::string SelectionText(AppState& state, const Selection& selection) {
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
  if (!selection.search.empty() && selection.kind == Selection::Kind::kAll) {
    // Free list mode searches every record, without the main window's
    // search file.
    state.list_mode = kListFree;
    chosen = std::string(kWordSearchPrefix) + Encoded(selection.search);
  }
  return chosen;
}

// A word search within a keyword's rows, after the keyword chose them.
bool SearchesWithin(const Selection& selection) {
  return !selection.search.empty() && selection.kind != Selection::Kind::kAll;
}

}  // namespace

Result<Grid> SelectRows(AppState& state, const Selection& selection) {
  Grid grid;
  grid.SetFormatString(kMainGridFormat);
  auto added = AppendSelectedRows(grid, state, SelectionText(state, selection), {});
  if (!added.ok()) return added.status();
  if (!SearchesWithin(selection)) return grid;

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

Status VisitSelection(AppState& state, const Selection& selection, const SelectedRun& visit) {
  const std::string chosen = SelectionText(state, selection);
  if (!SearchesWithin(selection)) return VisitSelectedRecords(state, chosen, visit);
  WordMatcher matcher(UpperCp1252(Encoded(selection.search)));
  std::vector<std::string_view> kept;
  return VisitSelectedRecords(state, chosen, [&](std::span<const std::string_view> run) {
    kept.clear();
    for (std::string_view record : run) {
      if (matcher.Matches(record)) kept.push_back(record);
    }
    return kept.empty() || visit(kept);
  });
}

Result<std::vector<std::string_view>> SelectRecords(AppState& state, const Selection& selection,
                                                    ReadBuffer& buffer) {
  auto records = SelectedRecords(state, SelectionText(state, selection), buffer);
  if (!records.ok() || !SearchesWithin(selection)) return records;
  WordMatcher matcher(UpperCp1252(Encoded(selection.search)));
  std::erase_if(records.value(),
                [&matcher](std::string_view record) { return !matcher.Matches(record); });
  return records;
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
  // A reader shows no half of a change a crash cut short.
  if (!Writes(args)) {
    if (Status s = CheckNoUnfinishedCommit(state.data_path); !s.ok()) {
      return Fail(env, s.description());
    }
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
    case Command::kCheck:
      return Check(state, args, env);
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
