#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tabrel {

// The values of a file an import read but could not store, counted by kind
// ("birthday", "other e-mail address", "column Keyword 1", an attribute's
// name), in the order the kinds were first met. Kinds compare without case.
class LeftOut {
 public:
  using Kind = std::pair<std::string, std::size_t>;

  void Count(std::string_view kind, std::size_t n = 1);
  bool empty() const { return kinds_.empty(); }
  const std::vector<Kind>& kinds() const { return kinds_; }

 private:
  std::vector<Kind> kinds_;
};

}  // namespace tabrel
