#include "present/progress_throttle.h"

#include <algorithm>
#include <utility>

namespace tabrel {

ProgressThrottle::ProgressThrottle(std::function<void(int)> show, int count)
    : show_(std::move(show)) {
  SetCount(count);
}

void ProgressThrottle::SetCount(int count) {
  stride_ = std::max(1, count / 200);
}

void ProgressThrottle::Step(int item) const {
  if (item % stride_ == 0 || item == 1) show_(item);
}

}  // namespace tabrel
