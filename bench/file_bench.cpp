// Whole-file reads and atomic rewrites of tabrel.dat.
#include <benchmark/benchmark.h>

#include <functional>

#include "benchmarks.h"
#include "store/app_state.h"
#include "store/layout.h"
#include "store/record_file.h"

namespace tabrel::bench {
namespace {

RecordFile ContactFile(const BenchDataSet& data) {
  return RecordFile(data.File(kContactFileName), layout::kContactRecordLength);
}

void BM_ReadFile(benchmark::State& state, BenchDataSet& data) {
  if (!ReadyFor(state, data)) return;
  const RecordFile file = ContactFile(data);
  std::size_t bytes = 0;
  for (auto _ : state) {
    auto records = file.ReadAll();
    if (!records.ok()) {
      state.SkipWithError(records.status().ErrorLine().c_str());
      return;
    }
    bytes = records.value().size();
    benchmark::DoNotOptimize(records.value().data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
  state.SetItemsProcessed(state.iterations() * data.count());
}

// Temp file written, flushed to disk and renamed over tabrel.dat, as a
// delete does it.
void BM_RewriteFile(benchmark::State& state, BenchDataSet& data) {
  if (!ReadyFor(state, data)) return;
  const RecordFile file = ContactFile(data);
  auto records = file.ReadAll();
  if (!records.ok()) {
    state.SkipWithError(records.status().ErrorLine().c_str());
    return;
  }
  const std::string& content = records.value();
  for (auto _ : state) {
    if (Status s = file.Rewrite(content); !s.ok()) {
      state.SkipWithError(s.ErrorLine().c_str());
      return;
    }
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * content.size()));
  state.SetItemsProcessed(state.iterations() * data.count());
}

}  // namespace

void RegisterFileBenchmarks(BenchDataSet& data) {
  benchmark::RegisterBenchmark("BM_ReadFile", BM_ReadFile, std::ref(data))
      ->Arg(data.count())
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("BM_RewriteFile", BM_RewriteFile, std::ref(data))
      ->Arg(data.count())
      ->Unit(benchmark::kMillisecond);
}

}  // namespace tabrel::bench
