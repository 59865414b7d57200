#pragma once

#include <functional>

namespace tabrel {

// Passes on about two hundred of the item numbers of a long loop (the
// first, then every count/200-th), however many items there are, so that
// drawing a progress bar never costs more than the work it shows.
class ProgressThrottle {
 public:
  // `show` is told the item numbers worth drawing.
  explicit ProgressThrottle(std::function<void(int item)> show, int count = 0);

  // The number of items, when it is known only once the loop starts.
  void SetCount(int count);
  // Item `item` (from 1) is in hand.
  void Step(int item) const;

 private:
  std::function<void(int)> show_;
  int stride_ = 1;
};

}  // namespace tabrel
