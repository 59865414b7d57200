// Record exchange over the largest data set: imports through the merge
// engine (the file read, every record decided against one index, both data
// files written once), imports of comma-delimited, LDIF, Agent and vCard
// files of every record into an empty data set (the file read and decoded,
// every entry made a record, both data files written once), and the exports
// and Make Quick Update through the real presenters, from a record list of
// every record.
#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "base/text.h"
#include "benchmarks.h"
#include "exchange/formats/agent_format.h"
#include "exchange/formats/comma_contact.h"
#include "exchange/formats/comma_writer.h"
#include "exchange/formats/ldif_contact.h"
#include "exchange/formats/ldif_writer.h"
#include "exchange/formats/vcard_writer.h"
#include "exchange/importing/import_plan.h"
#include "exchange/importing/import_text.h"
#include "exchange/importing/new_records_import.h"
#include "exchange/importing/record_import.h"
#include "exchange/importing/text_records.h"
#include "mainwin/main_window.h"
#include "null_platform.h"
#include "present/record_list.h"
#include "scratch.h"
#include "store/file_info.h"
#include "store/file_reader.h"
#include "store/layout.h"

namespace tabrel::bench {
namespace {

namespace l = layout;

// Answers every question with Yes and every file name box with `answer`.
class YesDialogs : public NullDialogs {
 public:
  MessageAnswer Show(const Message&) override { return reply; }
  MessageAnswer reply = MessageAnswer::kYes;
  std::optional<std::string> Input(const std::string&, const std::string&,
                                   const std::string&) override {
    return answer;
  }
  std::string answer;
};

// Imports `incoming` into a copy of the data set holding `existing`, under
// "Both of the above" and "If they are older", the added records written
// ahead as Import writes them.
void RunImport(benchmark::State& state, const BenchDataSet& data, std::string existing,
               const std::string& incoming) {
  const Scratch scratch(data, std::move(existing));
  const std::string file = scratch.folder() + "incoming.dat";
  if (!WriteBytes(file, incoming)) {
    state.SkipWithError("the import file could not be written");
    return;
  }
  const AppState app = StateOn(scratch);
  std::size_t replaced = 0;
  std::size_t added = 0;
  OnScratch(state, scratch, [&]() -> Status {
    auto reader = FileReader::Open(file, FileReader::Missing::kFail);
    if (!reader.ok()) return reader.status();
    auto import = RecordImport::Open(app, DuplicateRules{}, {2024, 3, 14, 41234.56}, true);
    if (!import.ok()) return import.status();
    const Status read =
        reader.value().ScanRecords(l::kContactRecordLength, [&](std::string_view run, std::size_t) {
          for (std::size_t at = 0; at < run.size(); at += l::kContactRecordLength) {
            import.value().Take(ImportKind::kNative, run.substr(at, l::kContactRecordLength));
          }
          return true;
        });
    if (!read.ok()) return read;
    replaced = import.value().report().replaced();
    added = import.value().report().added();
    return import.value().Commit().written.status;
  });
  state.counters["added"] = static_cast<double>(added);
  state.counters["replaced"] = static_cast<double>(replaced);
}

// 500 records into a data set of 32,267: the generator's last 500 records,
// some of them duplicates by name of records already there.
void BM_ImportNative_Few(benchmark::State& state, BenchDataSet& data) {
  if (!ReadyFor(state, data)) return;
  const std::string all = ReadBytes(data.File(kContactFileName));
  const std::size_t split = all.size() - 500 * l::kContactRecordLength;
  RunImport(state, data, all.substr(0, split), all.substr(split));
}

// Every record again, each saved on a later day: each replaces its twin.
void BM_ImportNative_Full(benchmark::State& state, BenchDataSet& data) {
  if (!ReadyFor(state, data)) return;
  const std::string all = ReadBytes(data.File(kContactFileName));
  std::string newer = all;
  for (std::size_t at = 0; at < newer.size(); at += l::kContactRecordLength) {
    newer.replace(at + l::kModified.offset + 6, 4, "2031");
  }
  RunImport(state, data, all, newer);
}

enum class TextFormat { kComma, kLdif, kAgent };

// Every record of the data set as a file of `format`, as this program's own
// export writes it.
std::string TextFileOf(const std::string& records, TextFormat format) {
  std::string text;
  text.reserve(records.size());
  if (format == TextFormat::kComma) AppendCommaHeader(text);
  std::vector<std::string_view> all;
  for (std::size_t at = 0; at + l::kContactRecordLength <= records.size();
       at += l::kContactRecordLength) {
    all.emplace_back(records.data() + at, l::kContactRecordLength);
  }
  if (format == TextFormat::kLdif) AppendLdifEntries(all, text);
  for (std::string_view record : all) {
    if (format == TextFormat::kComma) AppendCommaRecord(record, text);
    if (format == TextFormat::kAgent) AppendAgentEntry(record, text);
  }
  return text;
}

// Imports a file of every record of the data set, in `format`, into an
// empty data set: the file read and decoded, each entry made a record with
// a fresh stamp and written ahead, both data files committed once.
void RunTextImport(benchmark::State& state, BenchDataSet& data, TextFormat format) {
  if (!ReadyFor(state, data)) return;
  const Scratch scratch(data, "");
  const std::string file = scratch.folder() + "incoming.txt";
  if (!WriteBytes(file, TextFileOf(ReadBytes(data.File(kContactFileName)), format))) {
    state.SkipWithError("the import file could not be written");
    return;
  }
  const AppState app = StateOn(scratch);
  std::size_t added = 0;
  OnScratch(state, scratch, [&]() -> Status {
    auto text = ReadImportText(file);
    if (!text.ok()) return text.status();
    auto import = NewRecordsImport::Open(app, {2024, 3, 14, 41234.56}, true);
    if (!import.ok()) return import.status();
    switch (format) {
      case TextFormat::kComma: {
        CommaImportOptions options;
        const CommaSurvey survey = SurveyComma(text.value().text, true, false);
        options.links = SuggestLinks(survey.columns, survey.sample);
        AddCommaRecords(text.value().text, options, "comma_new", import.value());
        break;
      }
      case TextFormat::kLdif:
        AddLdifRecords(text.value().text, import.value());
        break;
      case TextFormat::kAgent:
        AddAgentRecords(text.value().text, import.value());
        break;
    }
    added = import.value().added();
    return import.value().Commit().written.status;
  });
  state.counters["added"] = static_cast<double>(added);
  state.SetItemsProcessed(state.iterations() * data.count());
}

void BM_ImportComma(benchmark::State& state, BenchDataSet& data) {
  RunTextImport(state, data, TextFormat::kComma);
}
void BM_ImportLdif(benchmark::State& state, BenchDataSet& data) {
  RunTextImport(state, data, TextFormat::kLdif);
}
void BM_ImportAgent(benchmark::State& state, BenchDataSet& data) {
  RunTextImport(state, data, TextFormat::kAgent);
}

using ExportClick = void (ExchangeMenu::*)();

// An export of every record to a new file in a folder of its own.
// Every question is answered with `reply`.
void RunExport(benchmark::State& state, BenchDataSet& data, ExportClick click, bool quick_update,
               MessageAnswer reply = MessageAnswer::kYes) {
  if (!ReadyFor(state, data)) return;
  AppState app(data.folder());
  app.data_path = data.folder();
  std::string pattern = (std::filesystem::temp_directory_path() / "tabrel-out-XXXXXX").string();
  const std::string out = std::string(mkdtemp(pattern.data())) + "/";
  app.export_folder = out;
  app.settings.QuickUpTarget = Fit(out + "quickup.dat", 100);
  NullMainView view;
  NullPlatform services;
  YesDialogs dialogs;
  dialogs.answer = out + "export.dat";
  dialogs.reply = reply;
  Platform platform{dialogs,          services.help,      services.clock, services.files,
                    services.printer, services.clipboard, services.shell, services.serial};
  MainWindow window(app, view, platform);
  std::string everything(kAllRecords);
  window.PopMainGrid(everything);
  for (auto _ : state) {
    state.PauseTiming();
    // Each export writes a new file rather than adding to the last one.
    std::filesystem::remove(out + "export.dat");
    state.ResumeTiming();
    (window.exchange().*click)();
  }
  const std::string written = out + (quick_update ? "quickup.dat" : "export.dat");
  auto info = LookAt(written);
  if (!info.ok() || !info.value().exists) state.SkipWithError("nothing was written");
  state.counters["bytes"] = info.ok() ? static_cast<double>(info.value().size) : 0;
  state.SetItemsProcessed(state.iterations() * data.count());
  std::error_code ec;
  std::filesystem::remove_all(out, ec);
}

void BM_ExportNative(benchmark::State& state, BenchDataSet& data) {
  RunExport(state, data, &ExchangeMenu::mu_exportTabrel_Click, false);
}
void BM_ExportDos(benchmark::State& state, BenchDataSet& data) {
  RunExport(state, data, &ExchangeMenu::mu_ExportOldTabrel_Click, false);
}
void BM_MakeQuickUpdate(benchmark::State& state, BenchDataSet& data) {
  RunExport(state, data, &ExchangeMenu::mu_MakeQuickUpdate_Click, true);
}

void BM_ExportComma(benchmark::State& state, BenchDataSet& data) {
  RunExport(state, data, &ExchangeMenu::mu_ExportComma_Click, false);
}
void BM_ExportLdif(benchmark::State& state, BenchDataSet& data) {
  RunExport(state, data, &ExchangeMenu::mu_ExportNetscape_Click, false);
}
void BM_ExportAgent(benchmark::State& state, BenchDataSet& data) {
  RunExport(state, data, &ExchangeMenu::mu_ExportAgent_Click, false);
}

// The vCard version question: Yes is 3.0, No is 4.0.
void BM_ExportVcard(benchmark::State& state, BenchDataSet& data) {
  RunExport(state, data, &ExchangeMenu::mu_ExportVcard_Click, false, MessageAnswer::kYes);
}
void BM_ExportVcard40(benchmark::State& state, BenchDataSet& data) {
  RunExport(state, data, &ExchangeMenu::mu_ExportVcard_Click, false, MessageAnswer::kNo);
}

// The data set's records as vCard 3.0, imported into an empty data set
// through the same plan the import window makes.
void BM_ImportVcard(benchmark::State& state, BenchDataSet& data) {
  if (!ReadyFor(state, data)) return;
  const std::string all = ReadBytes(data.File(kContactFileName));
  std::vector<std::string_view> records;
  for (std::size_t at = 0; at + l::kContactRecordLength <= all.size();
       at += l::kContactRecordLength) {
    records.push_back(std::string_view(all).substr(at, l::kContactRecordLength));
  }
  const Scratch scratch(data, "");
  const std::string file = scratch.folder() + "cards.vcf";
  if (!WriteBytes(file, VcardsOf(records, {}))) {
    state.SkipWithError("the vCard file could not be written");
    return;
  }
  const AppState app = StateOn(scratch);
  std::size_t added = 0;
  OnScratch(state, scratch, [&]() -> Status {
    // As Import plans it, writing ahead.
    ImportPlan plan =
        PlanImport(app, {ImportKind::kVcard, file, false, true}, {}, {2024, 3, 14, 41234.56});
    if (!plan.failure.ok()) return plan.failure;
    if (!plan.refusal.empty()) return Status::Error(error_number::kDeviceIo, plan.refusal);
    if (Status s = plan.import.merge().CheckLimit(); !s.ok()) return s;
    added = plan.import.report().added();
    return plan.import.Commit().written.status;
  });
  state.counters["added"] = static_cast<double>(added);
  state.SetItemsProcessed(state.iterations() * data.count());
}

void Register(const char* name, void (*run)(benchmark::State&, BenchDataSet&), BenchDataSet& data) {
  benchmark::RegisterBenchmark(name, run, std::ref(data))
      ->Arg(data.count())
      ->Unit(benchmark::kMillisecond);
}

}  // namespace

void RegisterExchangeBenchmarks(BenchDataSet& data) {
  Register("BM_ImportNative_Few", BM_ImportNative_Few, data);
  Register("BM_ImportNative_Full", BM_ImportNative_Full, data);
  Register("BM_ExportNative", BM_ExportNative, data);
  Register("BM_ExportDos", BM_ExportDos, data);
  Register("BM_MakeQuickUpdate", BM_MakeQuickUpdate, data);
  Register("BM_ImportComma", BM_ImportComma, data);
  Register("BM_ImportLdif", BM_ImportLdif, data);
  Register("BM_ImportAgent", BM_ImportAgent, data);
  Register("BM_ExportComma", BM_ExportComma, data);
  Register("BM_ExportLdif", BM_ExportLdif, data);
  Register("BM_ExportAgent", BM_ExportAgent, data);
  Register("BM_ImportVcard", BM_ImportVcard, data);
  Register("BM_ExportVcard", BM_ExportVcard, data);
  Register("BM_ExportVcard40", BM_ExportVcard40, data);
}

}  // namespace tabrel::bench
