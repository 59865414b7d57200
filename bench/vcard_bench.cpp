// vCard exchange over the largest data set: the export of every record of
// the list through the real presenter, and the import of a file of 32,767
// cards into an empty data set through the merge engine (the file read and
// parsed, every card decided and stored, both data files written once).
#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "benchmarks.h"
#include "exchange/import_plan.h"
#include "exchange/vcard_writer.h"
#include "mainwin/main_window.h"
#include "null_platform.h"
#include "present/record_list.h"
#include "scratch.h"
#include "store/file_info.h"
#include "store/layout.h"

namespace tabrel::bench {
namespace {

namespace l = layout;

// Answers every question with `answer` and every file name box with `name`.
class AnsweringDialogs : public NullDialogs {
 public:
  MessageAnswer Show(const Message&) override { return answer; }
  std::optional<std::string> Input(const std::string&, const std::string&,
                                   const std::string&) override {
    return name;
  }
  MessageAnswer answer = MessageAnswer::kYes;
  std::string name;
};

// Every record of the list written to a new file: Yes to the version
// question is 3.0, No is 4.0.
void RunExport(benchmark::State& state, BenchDataSet& data, MessageAnswer version) {
  if (!ReadyFor(state, data)) return;
  AppState app(data.folder());
  app.data_path = data.folder();
  std::string pattern = (std::filesystem::temp_directory_path() / "tabrel-out-XXXXXX").string();
  const std::string out = std::string(mkdtemp(pattern.data())) + "/";
  app.export_folder = out;
  NullMainView view;
  NullPlatform services;
  AnsweringDialogs dialogs;
  dialogs.name = out + "tabrel.vcf";
  Platform platform{dialogs,          services.help,      services.clock, services.files,
                    services.printer, services.clipboard, services.shell, services.serial};
  MainWindow window(app, view, platform);
  std::string everything(kAllRecords);
  window.PopMainGrid(everything);
  for (auto _ : state) {
    // A new file each time, so the only question is the version.
    state.PauseTiming();
    std::filesystem::remove(out + "tabrel.vcf");
    state.ResumeTiming();
    dialogs.answer = version;
    window.exchange().mu_ExportVcard_Click();
  }
  auto info = LookAt(out + "tabrel.vcf");
  if (!info.ok() || !info.value().exists) state.SkipWithError("nothing was written");
  state.counters["bytes"] = info.ok() ? static_cast<double>(info.value().size) : 0;
  state.SetItemsProcessed(state.iterations() * data.count());
  std::error_code ec;
  std::filesystem::remove_all(out, ec);
}

void BM_ExportVcard(benchmark::State& state, BenchDataSet& data) {
  RunExport(state, data, MessageAnswer::kYes);
}
void BM_ExportVcard40(benchmark::State& state, BenchDataSet& data) {
  RunExport(state, data, MessageAnswer::kNo);
}

// The data set's records as vCard 3.0, imported into an empty data set.
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
    ImportPlan plan = PlanImport(app, {ImportKind::kVcard, file}, {}, {2024, 3, 14, 41234.56});
    if (!plan.failure.ok()) return plan.failure;
    if (!plan.refusal.empty()) return Status::Error(error_number::kDeviceIo, plan.refusal);
    if (Status s = plan.import.merge().CheckLimit(); !s.ok()) return s;
    added = plan.import.report().added();
    return plan.import.Commit().status;
  });
  state.counters["added"] = static_cast<double>(added);
  auto info = LookAt(file);
  state.counters["bytes"] = info.ok() ? static_cast<double>(info.value().size) : 0;
  state.SetItemsProcessed(state.iterations() * data.count());
}

void Register(const char* name, void (*run)(benchmark::State&, BenchDataSet&), BenchDataSet& data) {
  benchmark::RegisterBenchmark(name, run, std::ref(data))
      ->Arg(data.count())
      ->Unit(benchmark::kMillisecond);
}

}  // namespace

void RegisterVcardBenchmarks(BenchDataSet& data) {
  Register("BM_ExportVcard", BM_ExportVcard, data);
  Register("BM_ExportVcard40", BM_ExportVcard40, data);
  Register("BM_ImportVcard", BM_ImportVcard, data);
}

}  // namespace tabrel::bench
