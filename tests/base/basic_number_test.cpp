#include "base/basic_number.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>

namespace tabrel {
namespace {

TEST(BasicNumberTest, RoundingToSixteenBitsGoesHalfToEvenAndRefusesWhatDoesNotFit) {
  EXPECT_EQ(RoundToInt16(2.5), 2);
  EXPECT_EQ(RoundToInt16(-32768.5), -32768);
  EXPECT_EQ(RoundToInt16(32767.4), 32767);
  EXPECT_EQ(RoundToInt16(32767.5), std::nullopt);
  EXPECT_EQ(RoundToInt16(-32769), std::nullopt);
  EXPECT_EQ(RoundToInt16(std::nan("")), std::nullopt);
}

TEST(BasicNumberTest, NumbersAreWrittenShortest) {
  EXPECT_EQ(ShortestDecimal(5.5), "5.5");
  EXPECT_EQ(ShortestDecimal(1e20), "1E+20");
  EXPECT_EQ(ShortestDecimal(-0.0), "0");
  EXPECT_EQ(ShortestDecimal(std::numeric_limits<double>::infinity()), "0");
}

// The GUI takes on the user's locale; a decimal comma must not reach a
// stamp or be needed to read one.
TEST(BasicNumberTest, TheUsersLocaleChangesNothing) {
  const char* german = std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
  if (german == nullptr) GTEST_SKIP() << "no German locale on this system";
  const std::string written = BasicStr(45296.13f);
  const double read = BasicVal("45296.13");
  std::setlocale(LC_NUMERIC, "C");
  EXPECT_EQ(written, " 45296.13");
  EXPECT_DOUBLE_EQ(read, 45296.13);
}

}  // namespace
}  // namespace tabrel
