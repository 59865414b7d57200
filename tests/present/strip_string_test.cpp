#include "present/strip_string.h"

#include <gtest/gtest.h>

#include <tuple>

namespace tabrel {
namespace {

TEST(StripStringTest, TrimsTheTextAndAppendsOnlyItsPrintableAscii) {
  // The text, as trimmed, and what is appended.
  const std::tuple<std::string, std::string, std::string> cases[] = {
      {" caf\xE9\t\r\n~x\x7Fy ", "caf\xE9\t\r\n~x\x7Fy", "caf~xy"},
      {"\x01 keep inner  blanks \x80", "\x01 keep inner  blanks \x80", " keep inner  blanks "},
  };
  for (const auto& [text, trimmed, appended] : cases) {
    std::string stripped = text;
    std::string result = ">";
    StripString(stripped, result);
    EXPECT_EQ(stripped, trimmed);
    EXPECT_EQ(result, ">" + appended);
  }
}

}  // namespace
}  // namespace tabrel
