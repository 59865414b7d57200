// Line wrapping of texts and word-wrapped printing, from the cases in
// testdata/present/text_wrap.cases.
#include "present/text_wrap.h"

#include <gtest/gtest.h>

#include "fakes/case_file.h"
#include "fakes/fake_printer.h"
#include "present/strip_string.h"

namespace tabrel {
namespace {

using TextWrapTest = testing::FileCaseTest;

TEST_P(TextWrapTest, WrapsAtBlanksNeverInsideAWord) {
  const testing::FileCase& c = GetParam();
  if (c.Has("chop")) {
    std::string target = "[";
    chopText(c.Get("chop"), target);
    EXPECT_EQ(target, "[" + c.Get("is"));
  } else if (c.Has("strip")) {
    std::string stripped = c.Get("strip");
    std::string result = ">";
    StripString(stripped, result);
    EXPECT_EQ(stripped, c.Get("trimmed"));
    EXPECT_EQ(result, ">" + c.Get("appended"));
  } else {
    testing::FakePrinter printer;
    PrintWrapped(printer, 1, 1000, 1010, c.Get("print"));
    std::vector<std::string> lines;
    for (const auto& line : printer.open.lines) lines.push_back(line.text);
    EXPECT_EQ(lines, c.All("line"));
    EXPECT_TRUE(printer.jobs.empty()) << "the caller ends the document";
    const auto& first = printer.open.lines.at(0);
    EXPECT_TRUE(first.font == "Arial" && first.bold && first.x == 1 && first.y == 1000);
  }
}

TABREL_FILE_CASES(Texts, TextWrapTest, "present", "text_wrap.cases");

}  // namespace
}  // namespace tabrel
