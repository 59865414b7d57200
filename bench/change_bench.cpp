// Operations that change the data set, each on its own copy of the generated
// data set, restored between iterations outside the timing.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <functional>
#include <random>
#include <string>

#include "base/text.h"
#include "benchmarks.h"
#include "editor/contact_editor.h"
#include "mainwin/main_window.h"
#include "null_platform.h"
#include "present/backup_prompt.h"
#include "present/record_list.h"
#include "sample_data.h"
#include "scratch.h"
#include "store/contact_insert.h"
#include "store/contact_sort.h"
#include "store/data_set.h"
#include "store/keyword_file.h"
#include "store/layout.h"

namespace tabrel::bench {
namespace {

namespace l = layout;

// Answers every question with Yes and every input box with `answer`.
class YesDialogs : public Dialogs {
 public:
  MessageAnswer Show(const Message&) override { return MessageAnswer::kYes; }
  std::optional<std::string> Input(const std::string&, const std::string&,
                                   const std::string&) override {
    return answer;
  }
  std::string answer;
};

std::string Contacts(const BenchDataSet& data) {
  return ReadBytes(data.File(kContactFileName));
}

std::string Shuffled(std::string records) {
  const std::size_t n = records.size() / l::kContactRecordLength;
  std::mt19937 random(20261206);
  std::string out(records.size(), ' ');
  std::vector<std::size_t> order(n);
  for (std::size_t i = 0; i < n; ++i) order[i] = i;
  std::shuffle(order.begin(), order.end(), random);
  for (std::size_t i = 0; i < n; ++i) {
    out.replace(i * l::kContactRecordLength, l::kContactRecordLength, records,
                order[i] * l::kContactRecordLength, l::kContactRecordLength);
  }
  return out;
}

void BM_Sort(benchmark::State& state, BenchDataSet& data) {
  if (!ReadyFor(state, data)) return;
  const Scratch scratch(data, Shuffled(Contacts(data)));
  const AppState app = StateOn(scratch);
  ReadBuffer buffer;  // as the main window keeps one
  OnScratch(state, scratch, [&] { return SortContactFile(app, buffer); });
}

void BM_KeywordRename(benchmark::State& state, BenchDataSet& data) {
  if (!ReadyFor(state, data)) return;
  const Scratch scratch(data, Contacts(data));
  const AppState app = StateOn(scratch);
  const std::string keyword = Trim(sample::CommonKeyword());
  OnScratch(state, scratch, [&] { return RenameKeyword(app, keyword, "Renamed").status; });
}

void BM_MakeBackup(benchmark::State& state, BenchDataSet& data) {
  if (!ReadyFor(state, data)) return;
  const Scratch scratch(data, Contacts(data));
  AppState app = StateOn(scratch);
  YesDialogs dialogs;
  FixedClock clock;
  for (auto _ : state) {
    if (!MakeBackup(app, dialogs, clock)) {
      state.SkipWithError("no backup was made");
      return;
    }
  }
}

// A record whose name sorts into the middle of the file.
ContactRecord MiddleRecord() {
  ContactRecord record = BlankContactRecord();
  record.RecType = "1";
  record.LastName = "Meyer";
  record.FirstName = "Mia";
  record.Modified = "12-06-2026 41234.5";
  return record;
}

void BM_FileNewEntry(benchmark::State& state, BenchDataSet& data) {
  if (!ReadyFor(state, data)) return;
  std::string contacts = Contacts(data);
  // Room for the new record under the limit.
  contacts.resize(contacts.size() - l::kContactRecordLength);
  const Scratch scratch(data, contacts);
  const AppState app = StateOn(scratch);
  const ContactRecord record = MiddleRecord();
  OnScratch(state, scratch, [&] { return InsertInNameOrder(app, record); });
}

void BM_DeleteRecord(benchmark::State& state, BenchDataSet& data) {
  if (!ReadyFor(state, data)) return;
  const std::string contacts = Contacts(data);
  const Scratch scratch(data, contacts);
  AppState app = StateOn(scratch);
  const std::size_t middle = contacts.size() / l::kContactRecordLength / 2;
  app.editor_record.Modified =
      contacts.substr(middle * l::kContactRecordLength + l::kModified.offset, l::kModified.width);
  OnScratch(state, scratch, [&] { return DeleteRecord(app); });
}

// The whole F6 path: tabrel.tmp written from the listed rows, the list refilled.
void BM_WordSearch(benchmark::State& state, BenchDataSet& data) {
  if (!ReadyFor(state, data)) return;
  AppState app(data.folder());
  app.data_path = data.folder();
  NullMainView view;
  NullPlatform services;
  YesDialogs dialogs;
  dialogs.answer = "spring";
  Platform platform{dialogs,          services.help,      services.clock, services.files,
                    services.printer, services.clipboard, services.shell, services.serial};
  MainWindow window(app, view, platform);
  for (auto _ : state) {
    state.PauseTiming();
    std::string all(kAllRecords);
    window.PopMainGrid(all);
    state.ResumeTiming();
    window.mu_WordSearchCurrent_Click();
  }
  state.counters["rows"] = window.MainGrid().Rows() - 1;
}

// The view panel opened on the last row of a list of every record.
void BM_ShowRecord(benchmark::State& state, BenchDataSet& data) {
  if (!ReadyFor(state, data)) return;
  AppState app(data.folder());
  app.data_path = data.folder();
  NullMainView view;
  NullPlatform services;
  MainWindow window(app, view, services.platform);
  std::string all(kAllRecords);
  window.PopMainGrid(all);
  for (auto _ : state) {
    window.MainGrid().SetRow(window.MainGrid().Rows() - 1);
    window.MainGrid_dblClick();
    benchmark::DoNotOptimize(app.editor_record.Modified.data());
  }
  if (!window.view_panel_visible()) state.SkipWithError("the record was not shown");
}

void Register(const char* name, void (*run)(benchmark::State&, BenchDataSet&), BenchDataSet& data) {
  benchmark::RegisterBenchmark(name, run, std::ref(data))
      ->Arg(data.count())
      ->Unit(benchmark::kMillisecond);
}

}  // namespace

void RegisterChangeBenchmarks(BenchDataSet& data) {
  Register("BM_Sort", BM_Sort, data);
  Register("BM_WordSearch", BM_WordSearch, data);
  Register("BM_KeywordRename", BM_KeywordRename, data);
  Register("BM_MakeBackup", BM_MakeBackup, data);
  Register("BM_FileNewEntry", BM_FileNewEntry, data);
  Register("BM_DeleteRecord", BM_DeleteRecord, data);
  Register("BM_ShowRecord", BM_ShowRecord, data);
}

}  // namespace tabrel::bench
