// Record list fills through the real main window presenter, with a window
// and desktop services that do nothing.
#include <benchmark/benchmark.h>

#include <fstream>
#include <functional>
#include <string>

#include "benchmarks.h"
#include "mainwin/main_window.h"
#include "null_platform.h"
#include "present/record_list.h"
#include "sample_data.h"
#include "store/layout.h"
#include "store/record_file.h"

namespace tabrel::bench {
namespace {

namespace l = layout;

// The ID column of every record, one a line, as a word search leaves it.
std::string SearchList(const std::string& records) {
  std::string out;
  for (std::size_t at = 0; at + l::kContactRecordLength <= records.size();
       at += l::kContactRecordLength) {
    out.append(records, at + l::kModified.offset, l::kModified.width);
    out.append("\r\n");
  }
  return out;
}

bool WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  return static_cast<bool>(out);
}

void PopMainGrid(benchmark::State& state, BenchDataSet& data, const std::string& selection) {
  if (!ReadyFor(state, data)) return;
  AppState app(data.folder());
  app.data_path = data.folder();
  NullMainView view;
  NullPlatform services;
  MainWindow window(app, view, services.platform);

  const bool search = selection.starts_with(kWordSearchPrefix);
  std::string search_list;
  if (search) {
    auto records = RecordFile(data.File(kContactFileName), l::kContactRecordLength).ReadAll();
    if (!records.ok()) {
      state.SkipWithError(records.status().ErrorLine().c_str());
      return;
    }
    search_list = SearchList(records.value());
  }
  const std::string list_path = app.ProgramFile(kSearchListName);

  for (auto _ : state) {
    if (search) {
      // The fill deletes the list after every search.
      state.PauseTiming();
      const bool written = WriteFile(list_path, search_list);
      state.ResumeTiming();
      if (!written) {
        state.SkipWithError("tabrel.tmp could not be written");
        return;
      }
    }
    std::string text = selection;
    window.PopMainGrid(text);
    benchmark::DoNotOptimize(window.MainGrid().Rows());
  }
  state.counters["rows"] = window.MainGrid().Rows() - 1;
  state.SetItemsProcessed(state.iterations() * data.count());
}

void Register(const char* name, BenchDataSet& data, std::string selection) {
  benchmark::RegisterBenchmark(
      name, [&data, selection](benchmark::State& state) { PopMainGrid(state, data, selection); })
      ->Arg(data.count())
      ->Unit(benchmark::kMillisecond);
}

}  // namespace

void RegisterMainGridBenchmarks(BenchDataSet& data) {
  Register("BM_PopMainGrid_All", data, std::string(kAllRecords));
  Register("BM_PopMainGrid_Keyword", data, sample::CommonKeyword());
  // A word in street names, cities and notes; stored text is matched in capitals.
  Register("BM_PopMainGrid_Search", data, std::string(kWordSearchPrefix) + "SPRING");
}

}  // namespace tabrel::bench
