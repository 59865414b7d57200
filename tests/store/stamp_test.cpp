#include "store/stamp.h"

#include <gtest/gtest.h>

#include "fakes/case_file.h"
#include "fakes/contact_files.h"
#include "store/stamp_set.h"

#include <set>
#include <sstream>
#include <string>

namespace tabrel {
namespace {

using StampCaseTest = testing::FileCaseTest;

TEST_P(StampCaseTest, WritesReadsAndStepsTheStamp) {
  const testing::FileCase& c = GetParam();
  LocalDateTime when;
  if (c.Has("check")) {
    EXPECT_EQ(IsReadableStamp(c.Get("check")), c.Get("readable") == "1");
    return;
  }
  if (c.Has("parse")) {
    const auto parsed = ParseStamp(c.Get("parse"));
    ASSERT_EQ(parsed.has_value(), c.Get("date") == "1");
    if (!parsed) return;
    when = *parsed;
  } else {
    std::istringstream(c.Get("when")) >> when.year >> when.month >> when.day >>
        when.seconds_since_midnight;
  }
  testing::ExpectIfGiven(c, "stamp", MakeStamp(when));
  testing::ExpectIfGiven(c, "next", MakeStamp(NextStampTime(when)));
  testing::ExpectIfGiven(c, "previous", MakeStamp(PreviousStampTime(when)));
}

TABREL_FILE_CASES(Stamps, StampCaseTest, "store", "stamp.cases");

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
