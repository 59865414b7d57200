#include "store/basic_number.h"

#include <gtest/gtest.h>

#include <utility>

namespace tabrel {
namespace {

TEST(BasicValTest, ReadsTheLeadingNumberTheWayStoredTextsAreRead) {
  struct Case {
    const char* text;
    double value;
  };
  const Case cases[] = {
      {"", 0},       {"42", 42},     {"  1 2 3 ", 123}, {"\t5\n0", 50}, {"12abc", 12},
      {"abc", 0},    {"-7.5", -7.5}, {"+3", 3},         {".5", 0.5},    {"5.", 5},
      {"1e2", 100},  {"1D2", 100},   {"2.5E-1", 0.25},  {"1e", 1},      {"5-3", 5},
      {"1,000", 1},  {"1.2.3", 1.2}, {"&H10", 16},      {"&HFFFF", -1}, {"&H10000", 65536},
      {"&hff", 255}, {"&O17", 15},   {"&Z1", 0},        {"-", 0},
  };
  for (const Case& c : cases) EXPECT_DOUBLE_EQ(BasicVal(c.text), c.value) << '"' << c.text << '"';
}

TEST(RoundToInt16Test, RoundsHalfToEvenAndRefusesWhatDoesNotFit) {
  constexpr int kRefused = 1 << 20;
  const std::pair<double, int> cases[] = {
      {2.5, 2},           {3.5, 4},           {-2.5, -2},
      {0.5, 0},           {1.5, 2},           {2.4999, 2},
      {-0.6, -1},         {32767.4, 32767},   {32767.5, kRefused},
      {-32768.5, -32768}, {-32769, kRefused}, {1e10, kRefused},
  };
  for (const auto& [value, expected] : cases) {
    const auto rounded = RoundToInt16(value);
    EXPECT_EQ(rounded ? int{*rounded} : kRefused, expected) << value;
  }
}

TEST(ShortestDecimalTest, WritesTheShortestTextThatReadsBack) {
  struct Case {
    double value;
    const char* text;
  };
  for (const Case& c : {Case{5.5, "5.5"}, Case{100, "100"}, Case{0, "0"}, Case{-3, "-3"},
                        Case{0.1, "0.1"}, Case{1e20, "1E+20"}, Case{12, "12"}}) {
    EXPECT_EQ(ShortestDecimal(c.value), c.text) << c.value;
  }
}

TEST(BasicStrTest, WritesSinglePrecisionWithALeadingBlankAndNoLeadingZero) {
  struct Case {
    float value;
    const char* text;
  };
  for (const Case& c : {Case{45296.13f, " 45296.13"}, Case{0.5f, " .5"}, Case{0.0f, " 0"},
                        Case{-0.25f, "-.25"}, Case{3600.0f, " 3600"}, Case{1.0f / 3, " .3333333"},
                        Case{86399.99f, " 86399.99"}, Case{12.5f, " 12.5"}, Case{-7.0f, "-7"}}) {
    EXPECT_EQ(BasicStr(c.value), c.text) << c.value;
  }
}

}  // namespace
}  // namespace tabrel
