// Line wrapping of texts and word-wrapped printing.
#include "reports/text_wrap.h"

#include <gtest/gtest.h>

#include "fakes/fake_printer.h"

namespace tabrel {
namespace {

std::string Chop(const std::string& source) {
  std::string target = "[";
  chopText(source, target);
  return target;
}

TEST(ChopTextTest, BreaksOnlyAfterABlankOnceALineHoldsMoreThan55Characters) {
  const std::string fifty_five(55, 'a');
  EXPECT_EQ(Chop(fifty_five), "[" + fifty_five);
  EXPECT_EQ(Chop(fifty_five + " next"), "[" + fifty_five + " \r\nnext");
  // A blank as the 55th character does not break yet.
  EXPECT_EQ(Chop(std::string(54, 'a') + " b c"), "[" + std::string(54, 'a') + " b \r\nc");
  EXPECT_EQ(Chop(std::string(70, 'x')), "[" + std::string(70, 'x'));
  EXPECT_EQ(Chop(""), "[");
}

TEST(ChopTextTest, ExistingLineBreaksRestartTheCount) {
  const std::string forty(40, 'a');
  // After CR LF the count starts again, so 40 + 40 characters never break.
  EXPECT_EQ(Chop(forty + "\r\n" + forty + " z"), "[" + forty + "\r\n" + forty + " z");
  // Without the break the blank after 81 characters breaks the line.
  EXPECT_EQ(Chop(forty + "xx" + forty + " z"), "[" + forty + "xx" + forty + " \r\nz");
}

class PrintWrappedTest : public ::testing::Test {
 protected:
  std::vector<std::string> Print(const std::string& text, int width) {
    PrintWrapped(printer, 1, 1000, width, text);
    std::vector<std::string> lines;
    for (const auto& line : printer.open.lines) lines.push_back(line.text);
    return lines;
  }
  testing::FakePrinter printer;
};

TEST_F(PrintWrappedTest, WrapsAtBlanksWithinTheWidthLessTen) {
  // 100 twips a character: width 1010 leaves room for 10 characters.
  EXPECT_EQ(Print("aaaa bbbb cccc dddd", 1010),
            (std::vector<std::string>{"aaaa bbbb ", "cccc dddd"}));
  const auto& first = printer.open.lines.front();
  EXPECT_EQ(first.font, "Arial");
  EXPECT_TRUE(first.bold);
  EXPECT_EQ(first.points, 10);
  EXPECT_EQ(first.x, 1);
  EXPECT_EQ(first.y, 1000);
  EXPECT_EQ(printer.open.lines[1].x, 1);
  EXPECT_EQ(printer.open.lines[1].y, 1240);
}

TEST_F(PrintWrappedTest, NeverBreaksInsideAWord) {
  EXPECT_EQ(Print("extraordinarily long first word", 1010),
            (std::vector<std::string>{"extraordinarily ", "long ", "first word"}));
}

TEST_F(PrintWrappedTest, ALastPieceWithoutBlanksIsPrintedWhole) {
  EXPECT_EQ(Print("ab cdefghijklmnop", 1010), (std::vector<std::string>{"ab cdefghijklmnop"}));
  printer.open.lines.clear();
  EXPECT_EQ(Print("nospacesatallinthistext", 510),
            (std::vector<std::string>{"nospacesatallinthistext"}));
}

TEST_F(PrintWrappedTest, EmptyTextPrintsOneEmptyLine) {
  EXPECT_EQ(Print("", 1010), (std::vector<std::string>{""}));
  EXPECT_TRUE(printer.jobs.empty());  // the caller ends the document
}

TEST_F(PrintWrappedTest, BlanksBetweenLinesAreDropped) {
  EXPECT_EQ(Print("aaaa bbbb    cccc", 1010), (std::vector<std::string>{"aaaa bbbb ", "cccc"}));
}

}  // namespace
}  // namespace tabrel
