// tabrel_bench: record file and record list timings over a generated data set
// of the largest size a data set can have.
#include <benchmark/benchmark.h>

#include "bench_data_set.h"
#include "benchmarks.h"
#include "store/layout.h"

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  tabrel::bench::BenchDataSet data(static_cast<int>(tabrel::layout::kMaxRecords));
  tabrel::bench::RegisterFileBenchmarks(data);
  tabrel::bench::RegisterMainGridBenchmarks(data);
  tabrel::bench::RegisterChangeBenchmarks(data);
  tabrel::bench::RegisterReportBenchmarks(data);
  tabrel::bench::RegisterExchangeBenchmarks(data);
  tabrel::bench::RegisterCliBenchmarks(data);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
