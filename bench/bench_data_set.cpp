#include "bench_data_set.h"

#include <stdlib.h>

#include <cerrno>
#include <filesystem>

#include "sample_data.h"

namespace tabrel::bench {

BenchDataSet::BenchDataSet(int count) : count_(count) {}

BenchDataSet::~BenchDataSet() {
  if (folder_.empty()) return;
  std::error_code ec;
  std::filesystem::remove_all(folder_, ec);
}

Status BenchDataSet::Prepare() {
  if (prepared_) return Status::Ok();
  if (folder_.empty()) {
    std::string pattern = (std::filesystem::temp_directory_path() / "tabrel-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) return Status::FromErrno(errno, pattern);
    folder_ = pattern + "/";
  }
  if (Status s = sample::WriteSampleDataSet(folder_, count_); !s.ok()) return s;
  prepared_ = true;
  return Status::Ok();
}

}  // namespace tabrel::bench
