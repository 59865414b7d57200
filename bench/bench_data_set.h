#pragma once

#include <string>

#include "base/status.h"

namespace tabrel::bench {

// A temporary folder holding a generated data set (tabrel.dat and
// keyword.dat) of a given number of records. The files are written on the
// first Prepare(), so listing the benchmarks writes nothing; the folder goes
// with the object.
class BenchDataSet {
 public:
  explicit BenchDataSet(int count);
  ~BenchDataSet();
  BenchDataSet(const BenchDataSet&) = delete;
  BenchDataSet& operator=(const BenchDataSet&) = delete;

  // Creates the folder and writes the data set unless that is done already.
  Status Prepare();

  int count() const { return count_; }
  // The folder with a trailing "/"; empty before Prepare().
  const std::string& folder() const { return folder_; }
  std::string File(const std::string& name) const { return folder_ + name; }

 private:
  int count_;
  std::string folder_;
  bool prepared_ = false;
};

}  // namespace tabrel::bench
