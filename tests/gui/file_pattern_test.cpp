// Which names the file selector lists for a pattern.
#include "gui/file_pattern.h"

#include <gtest/gtest.h>

namespace tabrel::gui {
namespace {

TEST(FilePatternTest, AnyOfTheSemicolonSeparatedWildcardsMatchesIgnoringCase) {
  const struct {
    const char* pattern;
    const char* name;
    bool matches;
  } cases[] = {
      {"tabrel.dat;keyword.dat", "Keyword.Dat", true},
      {"tabrel.dat;keyword.dat", "old_tabrel.dat", false},
      {"*.ldif", "Export.LDIF", true},
      {"*.ldif", "export.ldif.bak", false},
      {"*.ldif", "ldif", false},
      {" *.txt ; *.csv ;", "phones.csv", true},
      {"tr?0.ini", "TR30.INI", true},
      {"", "anything.at.all", true},
      {";", "anything.at.all", true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FilePattern(QString::fromUtf8(c.pattern)).Matches(QString::fromUtf8(c.name)),
              c.matches)
        << c.pattern << " / " << c.name;
  }
}

}  // namespace
}  // namespace tabrel::gui
