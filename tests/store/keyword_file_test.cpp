#include "store/keyword_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "base/text.h"
#include "fakes/contact_files.h"

namespace tabrel {
namespace {

using testing::Contact;
using testing::ContactBytes;
using testing::Keyword;

// keyword.dat bytes holding `texts` as 14-byte entries.
std::string Entries(const std::vector<std::string>& texts) {
  std::string bytes;
  for (const auto& text : texts) bytes += Keyword(text);
  return bytes;
}

ContactRecord Tagged(const std::string& last, const std::string& kw1, const std::string& kw2,
                     const std::string& kw3) {
  ContactRecord record = Contact("1", last, "First", "12-31-1999 45296.13");
  record.Notes = "notes of " + last;
  record.KW1 = kw1;
  record.KW2 = kw2;
  record.KW3 = kw3;
  return record;
}

class KeywordFileTest : public ::testing::Test, public testing::DataSetFolders {
 protected:
  const std::vector<ContactRecord> records_ = {
      Tagged("Adams", "Friends", "Golf", "friends"),
      Tagged("Baker", "", " Friends", "Friendship"),
      Tagged("Clark", "Golf", "", "Friends"),
  };

  void SetUp() override { data.Write("tabrel.dat", ContactBytes(records_) + "partial"); }
  std::string KeywordDat() const { return data.Read("keyword.dat"); }
  // tabrel.dat after every slot holding `from` (trimmed) became `to`.
  std::string Renamed(const std::string& from, const std::string& to) const {
    std::vector<ContactRecord> expected = records_;
    for (auto& record : expected) {
      for (std::string* slot : {&record.KW1, &record.KW2, &record.KW3}) {
        if (Trim(*slot) == from) *slot = to;
      }
    }
    return ContactBytes(expected) + "partial";
  }
};

TEST_F(KeywordFileTest, SortOrdersByUpperCasedByteCodeAndKeepsEqualEntriesInFileOrder) {
  struct Case {
    std::vector<std::string> in;
    std::vector<std::string> out;
  };
  std::vector<Case> cases = {
      // Personal "~" keywords come after letters and digits.
      {{"zeta", "Alpha", "~Home", "beta", "9lives"}, {"9lives", "Alpha", "beta", "zeta", "~Home"}},
      // Equal once upper-cased: file order decides.
      {{"mail", "Zip", "MAIL", "Mail"}, {"mail", "MAIL", "Mail", "Zip"}},
      // Blank padding sorts a prefix first.
      {{"Mills", "Mill-", "Mill"}, {"Mill", "Mill-", "Mills"}},
      // Accented capitals (and small ones, upper-cased) sort after "~".
      {{"\xE9t\xE9", "~x", "\xC9mile", "Zoo"}, {"Zoo", "~x", "\xC9mile", "\xE9t\xE9"}},
      // Enough entries that an unstable sort shows.
      {{}, {}},
  };
  const char* variants[] = {"key", "Key", "kEy", "keY", "KEy", "KeY", "kEY", "KEY"};
  std::vector<std::string> keys;
  for (int i = 0; i < 60; ++i) {
    cases.back().in.push_back(i % 3 ? variants[i % 8] : (i % 2 ? "a" : "A"));
    (i % 3 ? keys : cases.back().out).push_back(cases.back().in.back());
  }
  cases.back().out.insert(cases.back().out.end(), keys.begin(), keys.end());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.in.front());
    data.Write("keyword.dat", Entries(c.in) + "part");
    ASSERT_TRUE(SortKeywordFile(state).ok());
    EXPECT_EQ(KeywordDat(), Entries(c.out) + "part");
  }
  std::filesystem::remove(data.File("keyword.dat"));
  std::filesystem::create_directory(data.File("keyword.dat"));
  EXPECT_FALSE(SortKeywordFile(state).ok()) << "a list that cannot be read is not sorted";
}

TEST(KeywordMergeTest, MergeAddsOnlyEntriesNotHeldOnAll14BytesAndWithAVisibleCharacter) {
  const std::vector<std::string> merged =
      MergeKeywords({Keyword("Work"), Keyword("Friends")},
                    {"Work", "work", "Golf", "~", "", "Golf", " Work", "~~~", "\x7F\xE9", "!", "}",
                     "Chess", "A keyword longer than 14", "A keyword long"});
  EXPECT_EQ(merged,
            (std::vector<std::string>{Keyword("Work"), Keyword("Friends"), Keyword("work"),
                                      Keyword("Golf"), Keyword(" Work"), Keyword("!"), Keyword("}"),
                                      Keyword("Chess"), Keyword("A keyword long")}));
}

TEST_F(KeywordFileTest, RenameTrimsAndCutsAndChangesTheListAndEveryMatchingSlot) {
  data.Write("keyword.dat", Entries({"Golf", "Friends", "friends", "Friendship"}));
  ASSERT_TRUE(RenameKeyword(state, " Friends ", "  Old friends from school").ok());
  EXPECT_EQ(KeywordDat(), Entries({"Golf", "Old friends fr", "friends", "Friendship"}));
  EXPECT_EQ(data.Read("tabrel.dat"), Renamed("Friends", "Old friends fr"));
}

TEST_F(KeywordFileTest, RenameIntoAListedNameNeverListsItTwice) {
  using Texts = std::vector<std::string>;
  const std::pair<Texts, Texts> lists[] = {{{"Pals", "Golf", "Friends"}, {"Pals", "Golf"}},
                                           {{"Friends", "Golf", "Pals"}, {"Pals", "Golf"}},
                                           {{"Friends", "Pals", "Friends"}, {"Pals"}}};
  for (const auto& [before, after] : lists) {
    data.Write("keyword.dat", Entries(before));
    ASSERT_TRUE(RenameKeyword(state, "Friends", "Pals").ok());
    EXPECT_EQ(KeywordDat(), Entries(after));
  }
}

TEST_F(KeywordFileTest, RenameThatMatchesNothingChangesNoFile) {
  const std::string list = Entries({"Golf", "", "Friends"});
  const std::string records = data.Read("tabrel.dat");
  // Empty or blank old names never turn empty slots into keywords; the
  // comparison is case-sensitive; renaming to itself is no change.
  const std::pair<std::string, std::string> renames[] = {
      {"", "Pals"}, {"   ", "Pals"}, {"FRIENDS", "Pals"}, {"Friends", "Friends"}, {"Chess", "Go"}};
  for (const auto& [from, to] : renames) {
    SCOPED_TRACE(from);
    data.Write("keyword.dat", list);
    ASSERT_TRUE(RenameKeyword(state, from, to).ok());
    EXPECT_EQ(KeywordDat(), list);
    EXPECT_EQ(data.Read("tabrel.dat"), records);
  }
}

TEST_F(KeywordFileTest, DeleteDropsMatchingAndBlankEntriesThenBlanksMatchingSlotsInPlace) {
  const std::string records = data.Read("tabrel.dat");
  data.Write("keyword.dat", Entries({"Friends", "", " Friends", "friends", "Friendship", "~Golf"}));
  ASSERT_TRUE(DeleteKeywordEntry(state, "Friends").ok());
  EXPECT_EQ(KeywordDat(), Entries({"friends", "Friendship", "~Golf"}));
  EXPECT_EQ(data.Read("tabrel.dat"), records);
  ASSERT_TRUE(RemoveKeywordFromRecords(state, "Friends").ok());
  // Adams keeps "Golf" in KW2: KW1 is blanked, not refilled.
  EXPECT_EQ(data.Read("tabrel.dat"), Renamed("Friends", ""));
  const std::string blanked = data.Read("tabrel.dat");
  ASSERT_TRUE(RemoveKeywordFromRecords(state, "").ok());
  EXPECT_EQ(data.Read("tabrel.dat"), blanked);
}

}  // namespace
}  // namespace tabrel
