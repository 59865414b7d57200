// The command line's words, parsed: what each option sets, and the usage
// errors.
#include "cli/cli_args.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "fakes/case_file.h"

namespace tabrel::cli {
namespace {

using Words = std::vector<std::string_view>;

Parsed Parse(const Words& words) {
  return ParseArgs(words);
}

TEST(CliArgsTest, EachOptionSetsWhatItNames) {
  const struct {
    Words words;
    std::function<bool(const Args&)> holds;
  } cases[] = {
      {{"list"},
       [](const Args& a) {
         return a.command == Command::kList && a.selection.kind == Selection::Kind::kAll &&
                a.filter == kFilterAll && a.data.empty();
       }},
      {{"--data", "/x", "--public", "list"},
       [](const Args& a) { return a.data == "/x" && a.filter == kFilterPublicOnly; }},
      {{"list", "--data=/y"}, [](const Args& a) { return a.data == "/y"; }},
      {{"list", "--personal"}, [](const Args& a) { return a.filter == kFilterPersonalOnly; }},
      {{"list", "--keyword", "Golf"},
       [](const Args& a) {
         return a.selection.kind == Selection::Kind::kKeyword && a.selection.keyword == "Golf";
       }},
      {{"list", "--no-keywords", "--search", "oak"},
       [](const Args& a) {
         return a.selection.kind == Selection::Kind::kNoKeywords && a.selection.search == "oak";
       }},
      {{"show", "01-01-2000 1"}, [](const Args& a) { return a.stamp == "01-01-2000 1"; }},
      {{"report", "html", "--with-unlinked", "-o", "a.htm"},
       [](const Args& a) {
         return a.command == Command::kReport && a.kind == "html" && a.with_unlinked &&
                a.output == "a.htm";
       }},
      {{"export", "dos", "--output", "f", "--replace"},
       [](const Args& a) { return a.kind == "dos" && a.output == "f" && a.replace && !a.yes; }},
      {{"import", "native", "-"},
       [](const Args& a) {
         return a.input == "-" && a.rules.definition == DuplicateDefinition::kNameAndOrg &&
                a.rules.skip == DuplicateSkip::kIfOlder && !a.dry_run && !a.yes;
       }},
      {{"import", "dos", "f.mer", "--duplicates", "name", "--skip", "never", "--dry-run"},
       [](const Args& a) {
         return a.kind == "dos" && a.input == "f.mer" &&
                a.rules.definition == DuplicateDefinition::kSameName &&
                a.rules.skip == DuplicateSkip::kNever && a.dry_run;
       }},
      {{"import", "native", "f", "--duplicates=org", "--skip=always", "--no-backup"},
       [](const Args& a) {
         return a.rules.definition == DuplicateDefinition::kSameOrg &&
                a.rules.skip == DuplicateSkip::kAlways && a.no_backup;
       }},
      {{"import", "native", "--", "-odd-name"},
       [](const Args& a) { return a.input == "-odd-name"; }},
      {{"backup", "--restore", "--yes"}, [](const Args& a) { return a.restore && a.yes; }},
      {{"import", "--help"}, [](const Args& a) { return a.help && a.command == Command::kImport; }},
  };
  for (const auto& c : cases) {
    const Parsed parsed = Parse(c.words);
    EXPECT_EQ(parsed.error, "") << ::testing::PrintToString(c.words);
    EXPECT_TRUE(c.holds(parsed.args)) << ::testing::PrintToString(c.words);
  }
}

using UsageErrorTest = testing::FileCaseTest;

// args: the words, split at blanks; error: what tabrel-cli prints.
TEST_P(UsageErrorTest, NamesTheWordAndWhatWasExpected) {
  std::vector<std::string> words = testing::SplitOn(GetParam().Get("args"), ' ');
  const std::vector<std::string_view> views(words.begin(), words.end());
  EXPECT_EQ(ParseArgs(views).error, GetParam().Get("error"));
}

TABREL_FILE_CASES(Words, UsageErrorTest, "cli", "usage_errors.cases");

}  // namespace
}  // namespace tabrel::cli
