// Numbers as stamps and settings write and read them.
#include "base/basic_number.h"

#include <gtest/gtest.h>

#include <clocale>

namespace tabrel {
namespace {

TEST(BasicNumberTest, WritesSinglesWithSevenDigitsAndALeadingBlank) {
  const std::pair<float, const char*> cases[] = {
      {45296.13f, " 45296.13"},
      {0.5f, " .5"},
      {-1.25f, "-1.25"},
      {100.0f, " 100"},
      {86399.99f, " 86399.99"},
      {1234567.8f, " 1234568"},
      {1e8f, " 1E+08"},
      {0.0f, " 0"},
      {-0.05f, "-.05"},
      {-42.0f, "-42"},
      {-0.0f, "-0"},
      {9999999.0f, " 9999999"},
      {1e7f, " 1E+07"},
      {86399.0f, " 86399"},
  };
  for (const auto& [value, text] : cases) EXPECT_EQ(BasicStr(value), text) << value;
}

TEST(BasicNumberTest, ReadsTheLeadingNumberOfAText) {
  const std::pair<const char*, double> cases[] = {
      {" 45296.13", 45296.13},
      {"1 2.5x", 12.5},
      {"+3", 3},
      {"-.5", -0.5},
      {"1D2", 100},
      {"2e-1", 0.2},
      {"&H10", 16},
      {"&O17", 15},
      {"abc", 0},
      {"", 0},
      {"1e999", 0},
      {"12-31-1999", 12},
  };
  for (const auto& [text, value] : cases) EXPECT_DOUBLE_EQ(BasicVal(text), value) << text;
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
