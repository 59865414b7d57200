#include "store/stamp.h"

#include <gtest/gtest.h>

namespace tabrel {
namespace {

TEST(StampTest, DateThenSecondsSinceMidnightInNineteenCharacters) {
  struct Case {
    LocalDateTime when;
    const char* stamp;
  };
  const Case cases[] = {
      {{1999, 12, 31, 45296.13}, "12-31-1999 45296.13"},
      {{2000, 1, 2, 0}, "01-02-2000 0       "},  // midnight
      {{2000, 1, 2, 0.5}, "01-02-2000 .5      "},
      {{2024, 7, 4, 3600}, "07-04-2024 3600    "},
      {{2024, 7, 4, 43200.5}, "07-04-2024 43200.5 "},
      {{2024, 7, 4, 86399.99}, "07-04-2024 86399.99"},
      {{2024, 7, 4, 0.015625}, "07-04-2024 .015625 "},
  };
  for (const Case& c : cases) {
    const std::string stamp = MakeStamp(c.when);
    EXPECT_EQ(stamp, c.stamp);
    EXPECT_EQ(stamp.size(), 19u);
  }
}

}  // namespace
}  // namespace tabrel
