#pragma once

#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

#include "base/status.h"
#include "store/contact_record.h"

namespace tabrel::sample {

// Plausible contact records for benchmarks and screenshots. The sequence
// depends on the seed alone, so every run and every machine sees the same
// data set. Stamps never repeat within one generator.
class SampleContacts {
 public:
  explicit SampleContacts(std::uint64_t seed = 20240314);

  ContactRecord Next();

 private:
  std::uint32_t Below(std::uint32_t bound);
  bool Chance(int percent) { return Below(100) < static_cast<std::uint32_t>(percent); }
  template <typename T, std::size_t N>
  const T& Pick(const T (&items)[N]) {
    return items[Below(N)];
  }
  std::string Keyword();
  std::string Notes();
  std::string Stamp();

  std::uint64_t state_;
  std::unordered_set<std::string> stamps_;
};

// The keyword list of the sample data set, each keyword blank-padded to the
// 14 bytes keyword.dat stores. A leading "~" marks a personal keyword.
std::vector<std::string> SampleKeywords();

// The keyword that the most records carry (about a third of them), as stored.
std::string CommonKeyword();

// Replaces tabrel.dat in `folder` by `count` generated records and
// keyword.dat by SampleKeywords(). The records are written in slices, so
// the whole file is never held in memory.
Status WriteSampleDataSet(const std::string& folder, int count, std::uint64_t seed = 20240314);

}  // namespace tabrel::sample
