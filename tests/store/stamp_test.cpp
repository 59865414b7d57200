#include "store/stamp.h"

#include <gtest/gtest.h>

namespace tabrel {
namespace {

TEST(StampTest, DateThenSecondsSinceMidnightInNineteenCharacters) {
  const std::pair<LocalDateTime, const char*> cases[] = {
      {{1999, 12, 31, 45296.13}, "12-31-1999 45296.13"},
      {{2000, 1, 2, 0}, "01-02-2000 0       "},  // midnight
      {{2000, 1, 2, 0.5}, "01-02-2000 .5      "},
      {{2024, 7, 4, 0.015625}, "07-04-2024 .015625 "},
  };
  for (const auto& [when, stamp] : cases) EXPECT_EQ(MakeStamp(when), stamp);
}

}  // namespace
}  // namespace tabrel
