// Whole-file reads and atomic rewrites of tabrel.dat.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <vector>

#include "benchmarks.h"
#include "store/app_state.h"
#include "store/file_reader.h"
#include "store/layout.h"
#include "store/record_file.h"

namespace tabrel::bench {
namespace {

RecordFile ContactFile(const BenchDataSet& data) {
  return RecordFile(data.File(kContactFileName), layout::kContactRecordLength);
}

// A whole-file read as the program does it, into memory kept from one
// read to the next.
void BM_ReadFile(benchmark::State& state, BenchDataSet& data) {
  if (!ReadyFor(state, data)) return;
  const RecordFile file = ContactFile(data);
  ReadBuffer buffer;
  std::size_t bytes = 0;
  for (auto _ : state) {
    auto records = file.ReadAll(buffer);
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

// The floor under BM_ReadFile: one pread of the whole file into memory
// already touched.
void BM_ReadFileWarmBuffer(benchmark::State& state, BenchDataSet& data) {
  if (!ReadyFor(state, data)) return;
  const int fd = ::open(data.File(kContactFileName).c_str(), O_RDONLY | O_CLOEXEC);
  struct stat st {};
  if (fd < 0 || ::fstat(fd, &st) != 0) {
    state.SkipWithError("tabrel.dat could not be opened");
    return;
  }
  const auto size = static_cast<std::size_t>(st.st_size);
  std::vector<char> buffer(size, 1);
  for (auto _ : state) {
    std::size_t done = 0;
    while (done < size) {
      const ssize_t n = ::pread(fd, buffer.data() + done, size - done, static_cast<off_t>(done));
      if (n <= 0) break;
      done += static_cast<std::size_t>(n);
    }
    benchmark::DoNotOptimize(buffer.data());
  }
  ::close(fd);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
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
  benchmark::RegisterBenchmark("BM_ReadFileWarmBuffer", BM_ReadFileWarmBuffer, std::ref(data))
      ->Arg(data.count())
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("BM_RewriteFile", BM_RewriteFile, std::ref(data))
      ->Arg(data.count())
      ->Unit(benchmark::kMillisecond);
}

}  // namespace tabrel::bench
