#include "base/basic_number.h"

#include <gtest/gtest.h>

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
  EXPECT_EQ(BasicStr(45296.13f), " 45296.13");
  EXPECT_EQ(BasicStr(0.5f), " .5");
  EXPECT_EQ(BasicStr(-0.25f), "-.25");
  EXPECT_EQ(BasicStr(-12.5f), "-12.5");
  EXPECT_EQ(BasicStr(100.0f), " 100");
}

}  // namespace
}  // namespace tabrel
