// What the modem dials for a number as typed, under the telephone settings,
// from the cases in testdata/contact/dial_string.cases.
#include "contact/dial_string.h"

#include <gtest/gtest.h>

#include "fakes/case_file.h"

namespace tabrel {
namespace {

using DialStringTest = testing::FileCaseTest;

TEST_P(DialStringTest, FollowsTheAreaCodeLongDistanceAndPbxRules) {
  const testing::FileCase& c = GetParam();
  const std::string digits = DialDigits(c.Get("typed"));
  testing::ExpectIfGiven(c, "digits", digits);
  if (c.Has("dialled")) {
    EXPECT_EQ(BuildDialString(digits, c.Get("area"), c.Get("long_distance"), c.Get("pbx")),
              c.Get("dialled"));
  }
}

TABREL_FILE_CASES(Numbers, DialStringTest, "contact", "dial_string.cases");

}  // namespace
}  // namespace tabrel
