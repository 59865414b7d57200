// Line wrapping of texts and word-wrapped printing.
#include "present/text_wrap.h"

#include <gtest/gtest.h>

#include "fakes/fake_printer.h"

namespace tabrel {
namespace {

TEST(ChopTextTest, BreaksAfterABlankOnceALineHoldsMoreThan55Characters) {
  const std::string a54(54, 'a'), a55(55, 'a'), forty(40, 'a');
  const std::pair<std::string, std::string> cases[] = {
      {a55, a55},
      {a55 + " next", a55 + " \r\nnext"},
      {a54 + " b c", a54 + " b \r\nc"},  // a blank as the 55th character does not break yet
      {std::string(70, 'x'), std::string(70, 'x')},
      {"", ""},
      // A line break restarts the count.
      {forty + "\r\n" + forty + " z", forty + "\r\n" + forty + " z"},
      {forty + "xx" + forty + " z", forty + "xx" + forty + " \r\nz"},
  };
  for (const auto& [source, wrapped] : cases) {
    std::string target = "[";
    chopText(source, target);
    EXPECT_EQ(target, "[" + wrapped) << source;
  }
}

TEST(PrintWrappedTest, WrapsAtBlanksWithinTheWidthLessTenNeverInsideAWord) {
  // 100 twips a character: width 1010 leaves room for 10 characters.
  const std::pair<const char*, std::vector<std::string>> cases[] = {
      {"aaaa bbbb cccc dddd", {"aaaa bbbb ", "cccc dddd"}},
      {"extraordinarily long first word", {"extraordinarily ", "long ", "first word"}},
      {"ab cdefghijklmnop", {"ab cdefghijklmnop"}},
      {"aaaa bbbb    cccc", {"aaaa bbbb ", "cccc"}},
      {"", {""}},
  };
  for (const auto& [text, expected] : cases) {
    testing::FakePrinter printer;
    PrintWrapped(printer, 1, 1000, 1010, text);
    std::vector<std::string> lines;
    for (const auto& line : printer.open.lines) lines.push_back(line.text);
    EXPECT_EQ(lines, expected) << text;
    EXPECT_TRUE(printer.jobs.empty()) << "the caller ends the document";
    const auto& first = printer.open.lines.front();
    EXPECT_EQ(first.font, "Arial");
    EXPECT_TRUE(first.bold);
    EXPECT_EQ(first.x, 1);
    EXPECT_EQ(first.y, 1000);
  }
}

}  // namespace
}  // namespace tabrel
