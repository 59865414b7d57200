#include "store/stamp.h"

#include <gtest/gtest.h>

#include "fakes/contact_files.h"
#include "store/stamp_set.h"

#include <set>
#include <string>

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

TEST(StampTest, ParsingGivesBackTheDateAndSecondsOrNothingForANonDate) {
  EXPECT_EQ(MakeStamp(ParseStamp("12-31-1999 45296.13").value()), "12-31-1999 45296.13");

  for (const char* not_a_date : {"...................", "13-01-2000 5", "02-30-2001 5",
                                 "1-2-2000   5       ", "", "12-31-19"}) {
    EXPECT_FALSE(ParseStamp(not_a_date).has_value()) << not_a_date;
  }
  EXPECT_TRUE(ParseStamp("02-29-2000 0").has_value());  // a leap day
}

TEST(StampTest, StepsGoOneUnitOfTheWrittenResolution) {
  struct Case {
    LocalDateTime from;
    const char* next;
    const char* previous;
  };
  const Case cases[] = {
      {{1999, 12, 31, 45296.13}, "12-31-1999 45296.14", "12-31-1999 45296.12"},
      {{2001, 3, 1, 9999.999}, "03-01-2001 10000   ", "03-01-2001 9999.998"},
      {{2001, 3, 1, 10000}, "03-01-2001 10000.01", "03-01-2001 9999.999"},
      {{2001, 3, 1, 123.4567}, "03-01-2001 123.4568", "03-01-2001 123.4566"},
      // Midnight rolls the date, also across a year and a leap day.
      {{1999, 12, 31, 86399.99}, "01-01-2000 0       ", "12-31-1999 86399.98"},
      {{2000, 3, 1, 0}, "03-01-2000 .01     ", "02-29-2000 86399.99"},
      // Seven decimals are all the nineteen characters hold.
      {{2000, 3, 1, 0.02}, "03-01-2000 .0200001", "03-01-2000 .0199999"},
      {{2000, 3, 1, 0.01}, "03-01-2000 .0100001", "03-01-2000 0       "},
      {{2000, 3, 1, 0.1}, "03-01-2000 .1000001", "03-01-2000 .0999999"},
      // Eight digits do not fit: the step goes from the seven shown.
      {{2000, 3, 7, 0.0488888881}, "03-07-2000 .0488889", "03-07-2000 .0488887"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MakeStamp(NextStampTime(c.from)), c.next) << MakeStamp(c.from);
    EXPECT_EQ(MakeStamp(PreviousStampTime(c.from)), c.previous) << MakeStamp(c.from);
  }
}

TEST(StampTest, AWalkInEitherDirectionNeverRepeatsAStamp) {
  for (const double start : {86399.5, 10000.05, 1000.005, 0.02}) {
    std::set<std::string> seen;
    LocalDateTime forward{2010, 6, 30, start};
    LocalDateTime backward = forward;
    for (int i = 0; i < 2000; ++i) {
      EXPECT_TRUE(seen.insert(MakeStamp(forward)).second) << MakeStamp(forward);
      forward = NextStampTime(forward);
      backward = PreviousStampTime(backward);
      EXPECT_TRUE(seen.insert(MakeStamp(backward)).second) << MakeStamp(backward);
    }
  }
}

TEST(StampSetTest, TakenStampsAreSkippedForwardForSavesAndBackwardForRecordsFromOutside) {
  testing::DataSetFolders folders;
  testing::WriteContacts(folders.data, {testing::Contact("1", "A", "", "12-31-1999 45296.13"),
                                        testing::Contact("1", "B", "", "12-31-1999 45296.14"),
                                        testing::Contact("1", "C", "", "12-31-1999 45296.12"),
                                        testing::Contact("1", "D", "", " 12-31-1999 45296.1 ")});
  auto read = StampSet::Read(folders.state);
  ASSERT_TRUE(read.ok()) << read.status().ErrorLine();
  StampSet& stamps = read.value();
  EXPECT_EQ(stamps.size(), 4u);
  EXPECT_TRUE(stamps.Contains("12-31-1999 45296.1")) << "blanks around a stamp do not count";
  const LocalDateTime now{1999, 12, 31, 45296.13};
  EXPECT_EQ(stamps.TakeAtOrAfter(now), "12-31-1999 45296.15");
  EXPECT_EQ(stamps.TakeAtOrAfter(now), "12-31-1999 45296.16");
  EXPECT_EQ(stamps.TakeAtOrBefore(now), "12-31-1999 45296.11");
  EXPECT_EQ(stamps.TakeAtOrBefore(now), "12-31-1999 45296.09");
  EXPECT_EQ(stamps.TakeAtOrAfter({2000, 1, 1, 5}), "01-01-2000 5       ") << "a free stamp is kept";
}

}  // namespace
}  // namespace tabrel
