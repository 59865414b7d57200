#include "present/progress_throttle.h"

#include <gtest/gtest.h>

#include <vector>

namespace tabrel {
namespace {

std::vector<int> Shown(int count, bool count_known_at_start) {
  std::vector<int> shown;
  ProgressThrottle throttle([&](int item) { shown.push_back(item); },
                            count_known_at_start ? count : 0);
  if (!count_known_at_start) throttle.SetCount(count);
  for (int item = 1; item <= count; ++item) throttle.Step(item);
  return shown;
}

TEST(ProgressThrottleTest, AboutTwoHundredStepsAreShownHoweverLongTheLoop) {
  EXPECT_EQ(Shown(3, true), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(Shown(399, false).size(), 399u) << "below 400 items every one is shown";
  const std::vector<int> long_loop = Shown(32767, false);
  ASSERT_EQ(long_loop.size(), 202u);  // the first, then every 163rd
  EXPECT_EQ(long_loop[1], 163);
  EXPECT_EQ(long_loop.back(), 32763);
}

}  // namespace
}  // namespace tabrel
