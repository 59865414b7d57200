#pragma once

#include <algorithm>
#include <functional>
#include <utility>

namespace tabrel {

// Passes on about two hundred of the steps 1..count of a long loop, the
// first and the last among them, so that moving a progress bar never costs
// more than the work it shows.
class ProgressThrottle {
 public:
  ProgressThrottle(int count, std::function<void(int)> show)
      : count_(count), stride_(std::max(1, count / 200)), show_(std::move(show)) {}

  void Step(int n) const {
    if (n % stride_ == 0 || n == 1 || n == count_) show_(n);
  }

 private:
  int count_;
  int stride_;
  std::function<void(int)> show_;
};

}  // namespace tabrel
