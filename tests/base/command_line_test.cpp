// Program settings split into the words a program is started with.
#include "base/command_line.h"

#include <gtest/gtest.h>

namespace tabrel {
namespace {

using Words = std::vector<std::string>;

TEST(SplitCommandLineTest, BlanksSeparateAndQuotesGroup) {
  const struct {
    const char* line;
    Words words;
  } cases[] = {
      {"  libreoffice   --writer  ", {"libreoffice", "--writer"}},
      {"edit\t--new\t\"a\tb\"", {"edit", "--new", "a\tb"}},
      {"\"/opt/My Editor/edit\" --new", {"/opt/My Editor/edit", "--new"}},
      {"browser --title=\"My list\"", {"browser", "--title=My list"}},
      {"a \"\" b", {"a", "", "b"}},
      {"\"unclosed quote runs on", {"unclosed quote runs on"}},
      {"C:\\Program Files\\edit.exe", {"C:\\Program", "Files\\edit.exe"}},
      {"\"it's\" 'single' quotes", {"it's", "'single'", "quotes"}},
      {"", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(SplitCommandLine(c.line), c.words) << c.line;
}

}  // namespace
}  // namespace tabrel
