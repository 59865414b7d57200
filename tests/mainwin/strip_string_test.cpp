#include "mainwin/strip_string.h"

#include <gtest/gtest.h>

namespace tabrel {
namespace {

TEST(StripStringTest, TrimsTheTextAndKeepsOnlyPrintableAscii) {
  struct Case {
    std::string text;
    std::string trimmed;
    std::string result;
  };
  const Case cases[] = {
      {"  Jo Smith  ", "Jo Smith", "Jo Smith"},
      {"a\tb\r\nc", "a\tb\r\nc", "abc"},
      {" caf\xE9 ", "caf\xE9", "caf"},
      {"~x\x7F"
       "y ",
       "~x\x7Fy", "~xy"},
      {"\x01 keep inner  blanks \x80", "\x01 keep inner  blanks \x80", " keep inner  blanks "},
      {"    ", "", ""},
  };
  for (const Case& c : cases) {
    std::string text = c.text;
    std::string result;
    StripString(text, result);
    EXPECT_EQ(text, c.trimmed);
    EXPECT_EQ(result, c.result);
  }
}

TEST(StripStringTest, AppendsToWhatTheResultAlreadyHolds) {
  std::string text = " b ";
  std::string result = "a";
  StripString(text, result);
  EXPECT_EQ(result, "ab");
}

}  // namespace
}  // namespace tabrel
