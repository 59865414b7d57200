// What the modem dials for a number as typed, under the telephone settings.
#include "contact/dial_string.h"

#include <gtest/gtest.h>

namespace tabrel {
namespace {

struct DialCase {
  const char* typed;
  const char* area;
  const char* long_distance;
  const char* pbx;
  const char* dialled;
};

TEST(DialStringTest, FollowsTheAreaCodeLongDistanceAndPbxRules) {
  const DialCase cases[] = {
      // Inside the own area code: the last seven digits.
      {"(555) 123-4567", "555", "", "", "1234567"},
      {"(555) 123-4567", "555", "", "9", "91234567"},
      // Another area code: trunk 1 and the long-distance prefix in front.
      {"444-123-4567", "555", "", "", "14441234567"},
      {"444-123-4567", "555", "1010", "9", "9110104441234567"},
      // A trunk 1 typed with the number is not dialled twice...
      {"1-444-123-4567", "555", "", "", "14441234567"},
      {"1 (444) 123-4567", "555", "1010", "9,", "9,110104441234567"},
      // ...and does not hide the own area code.
      {"1-555-123-4567", "555", "", "", "1234567"},
      // A local number is dialled as it is, even when it starts like the area code.
      {"123-4567", "555", "", "", "1234567"},
      {"555-1234", "555", "", "", "5551234"},
      {"555-1234", "555", "", "9", "95551234"},
      // No area code set: nothing is dropped.
      {"555-123-4567", "", "", "", "15551234567"},
      // Letters and an extension typed into the field: only the digits.
      {"444-123-4567 ext. 12", "555", "", "", "1444123456712"},
      {"CALL 123-4567", "", "", "", "1234567"},
      // Twelve digits starting with 1 are not a trunk-prefixed number.
      {"1-444-123-45678", "555", "", "", "1144412345678"},
  };
  for (const DialCase& c : cases) {
    SCOPED_TRACE(c.typed);
    EXPECT_EQ(BuildDialString(DialDigits(c.typed), c.area, c.long_distance, c.pbx), c.dialled);
  }
}

TEST(DialStringTest, ANumberWithoutDigitsHasNoDigits) {
  EXPECT_EQ(DialDigits("n/a"), "");
  EXPECT_EQ(DialDigits("unlisted"), "");
  EXPECT_EQ(DialDigits("+49 (0)30-12 34"), "490301234");
}

}  // namespace
}  // namespace tabrel
