#include "base/basic_number.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>

namespace tabrel {
namespace {

TEST(BasicNumberTest, ValReadsTheLeadingNumberAsTheProgramAlwaysHas) {
  const struct {
    const char* text;
    double value;
  } cases[] = {
      {" 1 2\t3\n4", 1234}, {"+5", 5},        {"-2.5x", -2.5},     {"1.5E-1", 0.15},
      {"1d+2", 100},        {"12x5", 12},     {"5e", 5},           {".5", 0.5},
      {"&H7FFF", 32767},    {"&hFFFF", -1},   {"&H0FFFF", 65535},  {"&HFFFFFFFF", -1},
      {"&O17", 15},         {"&o177777", -1}, {"&O200000", 65536}, {"&X1", 0},
      {"abc", 0},           {"", 0},          {"1e999", 0},        {"&H1G", 1},
      {"1 2.5x", 12.5},     {"2e-1", 0.2},    {"12-31-1999", 12},
  };
  for (const auto& c : cases) EXPECT_EQ(BasicVal(c.text), c.value) << c.text;
}

TEST(BasicNumberTest, RoundingToSixteenBitsGoesHalfToEvenAndRefusesWhatDoesNotFit) {
  EXPECT_EQ(RoundToInt16(2.5), 2);
  EXPECT_EQ(RoundToInt16(-32768.5), -32768);
  EXPECT_EQ(RoundToInt16(32767.4), 32767);
  EXPECT_EQ(RoundToInt16(32767.5), std::nullopt);
  EXPECT_EQ(RoundToInt16(-32769), std::nullopt);
  EXPECT_EQ(RoundToInt16(std::nan("")), std::nullopt);
}

TEST(BasicNumberTest, NumbersAreWrittenShortestAndTheSingleOnesWithASignPlace) {
  EXPECT_EQ(ShortestDecimal(5.5), "5.5");
  EXPECT_EQ(ShortestDecimal(1e20), "1E+20");
  EXPECT_EQ(ShortestDecimal(-0.0), "0");
  EXPECT_EQ(ShortestDecimal(std::numeric_limits<double>::infinity()), "0");
  // Whole numbers take a shorter way than the rest; both must agree.
  const struct {
    float value;
    const char* text;
  } cases[] = {
      {45296.13f, " 45296.13"}, {0.5f, " .5"},        {-0.25f, "-.25"},
      {-12.5f, "-12.5"},        {100.0f, " 100"},     {86399.99f, " 86399.99"},
      {1234567.8f, " 1234568"}, {1e8f, " 1E+08"},     {0.0f, " 0"},
      {-42.0f, "-42"},          {-0.0f, "-0"},        {9999999.0f, " 9999999"},
      {1e7f, " 1E+07"},         {86399.0f, " 86399"}, {-0.05f, "-.05"},
  };
  for (const auto& c : cases) EXPECT_EQ(BasicStr(c.value), c.text) << c.text;
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
