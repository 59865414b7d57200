#pragma once

// Private copies of the data set for benchmarks that change it.
#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "bench_data_set.h"
#include "store/app_state.h"

namespace tabrel::bench {

inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

inline bool WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  return static_cast<bool>(out);
}

// A private copy of the data set that a benchmark may change; Reset() puts
// the starting bytes back.
class Scratch {
 public:
  Scratch(const BenchDataSet& data, std::string contacts)
      : contacts_(std::move(contacts)), keywords_(ReadBytes(data.File(kKeywordFileName))) {
    std::string pattern = (std::filesystem::temp_directory_path() / "tabrel-bench-XXXXXX").string();
    folder_ = std::string(mkdtemp(pattern.data())) + "/";
    Reset();
  }
  ~Scratch() {
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
  }
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;

  bool Reset() const {
    return WriteBytes(folder_ + kContactFileName, contacts_) &&
           WriteBytes(folder_ + kKeywordFileName, keywords_);
  }
  const std::string& folder() const { return folder_; }

 private:
  std::string contacts_;
  std::string keywords_;
  std::string folder_;
};

// Times `step` on a fresh copy each iteration.
template <typename Step>
void OnScratch(benchmark::State& state, const Scratch& scratch, Step step) {
  for (auto _ : state) {
    state.PauseTiming();
    if (!scratch.Reset()) {
      state.SkipWithError("the scratch copy could not be written");
      return;
    }
    state.ResumeTiming();
    if (Status s = step(); !s.ok()) {
      state.SkipWithError(s.ErrorLine().c_str());
      return;
    }
  }
}

inline AppState StateOn(const Scratch& scratch) {
  AppState app(scratch.folder());
  app.data_path = scratch.folder();
  return app;
}

}  // namespace tabrel::bench
