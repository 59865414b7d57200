#pragma once

#include <benchmark/benchmark.h>

#include "bench_data_set.h"

namespace tabrel::bench {

// Each adds its benchmarks, run over `data` (which must outlive the run) with
// the record count as their argument.
void RegisterFileBenchmarks(BenchDataSet& data);
void RegisterMainGridBenchmarks(BenchDataSet& data);
void RegisterChangeBenchmarks(BenchDataSet& data);
void RegisterReportBenchmarks(BenchDataSet& data);
void RegisterExchangeBenchmarks(BenchDataSet& data);
void RegisterCliBenchmarks(BenchDataSet& data);

// Writes the data set on first use. False, with the benchmark marked as
// failed, when it cannot or when it holds another number of records than the
// benchmark's argument.
inline bool ReadyFor(benchmark::State& state, BenchDataSet& data) {
  if (state.range(0) != data.count()) {
    state.SkipWithError("the data set holds a different number of records");
    return false;
  }
  if (Status s = data.Prepare(); !s.ok()) {
    state.SkipWithError(s.ErrorLine().c_str());
    return false;
  }
  return true;
}

}  // namespace tabrel::bench
