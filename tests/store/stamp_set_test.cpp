// Fresh stamps for records that arrive without a usable one.
#include "store/stamp_set.h"
#include "store/stamp.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace tabrel {
namespace {

TEST(StampSetTest, ARunTakenBackFromOneReadingOfTheClockSkipsHeldStamps) {
  StampSet stamps;
  LocalDateTime cursor{1999, 12, 31, 45296.13};
  stamps.Add("12-31-1999 45296.12");
  stamps.Add("  12-31-1999 45296.1  ");  // held stamps compare trimmed
  EXPECT_EQ(stamps.TakeBackFrom(cursor), "12-31-1999 45296.13");
  EXPECT_EQ(stamps.TakeBackFrom(cursor), "12-31-1999 45296.11");
  EXPECT_EQ(stamps.TakeBackFrom(cursor), "12-31-1999 45296.09");
  EXPECT_TRUE(stamps.Contains("12-31-1999 45296.11"));
}

TEST(StampSetTest, ARunRollsBackOverMidnightAndNeverRepeats) {
  StampSet stamps;
  LocalDateTime cursor{2000, 3, 1, 0.0100002};
  std::set<std::string> seen;
  for (int i = 0; i < 5000; ++i) EXPECT_TRUE(seen.insert(stamps.TakeBackFrom(cursor)).second);
  for (const char* stamp : {"03-01-2000 .0100001", "03-01-2000 0       ", "02-29-2000 86399.99",
                            "02-29-2000 86399.98"}) {
    EXPECT_TRUE(seen.contains(stamp)) << stamp;
  }
}

TEST(StampSetTest, ARemovedStampIsFreeOnlyWhenNoRecordHoldsItAnyMore) {
  StampSet stamps;
  stamps.Add("01-01-2001 100");
  stamps.Add("01-01-2001 100");  // two records share it
  stamps.Remove("01-01-2001 100");
  EXPECT_TRUE(stamps.Contains("01-01-2001 100"));
  stamps.Remove("01-01-2001 100");
  EXPECT_FALSE(stamps.Contains("01-01-2001 100"));
  EXPECT_EQ(stamps.TakeAtOrBefore({2001, 1, 1, 100}), "01-01-2001 100     ");
}

TEST(StampSetTest, CountsHoldersOfManyStampsAcrossRemovals) {
  StampSet stamps;
  auto stamp = [](int i) { return "01-01-2001 " + std::to_string(i); };
  for (int i = 0; i < 3000; ++i) stamps.Add(stamp(i));
  for (int i = 0; i < 3000; i += 2) stamps.Remove(stamp(i));
  stamps.Remove(stamp(5000));  // never held: nothing happens
  for (int i = 3000; i < 6000; ++i) stamps.Add(stamp(i));
  for (int i = 0; i < 6000; ++i) {
    EXPECT_EQ(stamps.Contains(stamp(i)), i >= 3000 || i % 2 == 1) << i;
  }
  EXPECT_EQ(stamps.size(), 4500u);
}

}  // namespace
}  // namespace tabrel
