#include "store/keyword_file.h"

#include <gtest/gtest.h>
#include <utime.h>

#include <algorithm>
#include <chrono>
#include <filesystem>

#include "fakes/contact_files.h"
#include "fakes/temp_dir.h"
#include "store/text.h"

namespace tabrel {
namespace {

using testing::Contact;
using testing::ContactBytes;
using testing::Keyword;
using testing::TempDir;

constexpr RewriteStep kAllSteps[] = {RewriteStep::kCreate, RewriteStep::kWrite, RewriteStep::kFlush,
                                     RewriteStep::kClose, RewriteStep::kRename};

// keyword.dat bytes holding `texts` as 14-byte entries.
std::string Entries(const std::vector<std::string>& texts) {
  std::string bytes;
  for (const auto& text : texts) bytes += Keyword(text);
  return bytes;
}

ContactRecord Tagged(const std::string& last, const std::string& kw1, const std::string& kw2,
                     const std::string& kw3) {
  ContactRecord record = Contact("1", last, "First", "12-31-1999 45296.13");
  record.City = "Springfield";
  record.Notes = "notes of " + last;
  record.KW1 = kw1;
  record.KW2 = kw2;
  record.KW3 = kw3;
  return record;
}

class KeywordFileTest : public ::testing::Test {
 protected:
  TempDir program;
  TempDir data;
  AppState state{program.path()};

  void SetUp() override { state.data_path = data.path(); }
  std::string KeywordDat() const { return data.Read("keyword.dat"); }
};

TEST_F(KeywordFileTest, WriteCutsOrPadsEachEntryAndReadReturnsThemAsStored) {
  data.Write("keyword.$$$", "leftover from a crash");
  ASSERT_TRUE(WriteKeywords(state, {"Short", "Exactly14chars", "Longer than fourteen", ""}).ok());
  EXPECT_EQ(KeywordDat(), "Short         Exactly14charsLonger than fo" + std::string(14, ' '));
  EXPECT_FALSE(data.Exists("keyword.$$$"));
  auto read = ReadKeywords(state);
  ASSERT_TRUE(read.ok());
  EXPECT_EQ(read.value(), (std::vector<std::string>{Keyword("Short"), "Exactly14chars",
                                                    "Longer than fo", std::string(14, ' ')}));
}

TEST_F(KeywordFileTest, AppendAddsTheKeywordCutTo14AfterTheLastEntry) {
  data.Write("keyword.dat", Entries({"Work"}));
  ASSERT_TRUE(AppendKeyword(state, "A very long keyword").ok());
  ASSERT_TRUE(AppendKeyword(state, "~Home").ok());
  EXPECT_EQ(KeywordDat(), Entries({"Work", "A very long ke", "~Home"}));
}

// Sorting.

TEST_F(KeywordFileTest, SortOrdersByUpperCasedByteCodeAndKeepsEqualEntriesInOrder) {
  struct Case {
    std::vector<std::string> in;
    std::vector<std::string> out;
  };
  const Case cases[] = {
      // Personal "~" keywords come after letters and digits.
      {{"zeta", "Alpha", "~Home", "beta", "9lives"}, {"9lives", "Alpha", "beta", "zeta", "~Home"}},
      {{"Delta", "charlie", "Bravo"}, {"Bravo", "charlie", "Delta"}},
      // "_" (95) lies between the capitals and the small letters.
      {{"_under", "abc"}, {"abc", "_under"}},
      // Equal once upper-cased: file order decides.
      {{"mail", "Zip", "MAIL", "Mail"}, {"mail", "MAIL", "Mail", "Zip"}},
      // Blank padding sorts a prefix first.
      {{"Mills", "Mill-", "Mill"}, {"Mill", "Mill-", "Mills"}},
      // Accented capitals (and small ones, upper-cased) sort after "~".
      {{"\xE9t\xE9", "~x", "\xC9mile", "Zoo"}, {"Zoo", "~x", "\xC9mile", "\xE9t\xE9"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.in.front());
    data.Write("keyword.dat", Entries(c.in));
    ASSERT_TRUE(SortKeywordFile(state).ok());
    EXPECT_EQ(KeywordDat(), Entries(c.out));
    EXPECT_FALSE(data.Exists("keyword.$$$"));
  }
}

TEST_F(KeywordFileTest, SortOfManyEntriesKeepsEqualOnesInFileOrder) {
  const char* variants[] = {"key", "Key", "kEy", "keY", "KEy", "KeY", "kEY", "KEY"};
  std::vector<std::string> in;
  std::vector<std::string> a_group;
  std::vector<std::string> key_group;
  for (int i = 0; i < 200; ++i) {
    if (i % 3 == 0) {
      in.push_back(i % 2 ? "a" : "A");
      a_group.push_back(in.back());
    } else {
      in.push_back(variants[(i * 5) % 8]);
      key_group.push_back(in.back());
    }
  }
  data.Write("keyword.dat", Entries(in));
  ASSERT_TRUE(SortKeywordFile(state).ok());
  a_group.insert(a_group.end(), key_group.begin(), key_group.end());
  EXPECT_EQ(KeywordDat(), Entries(a_group));
}

TEST_F(KeywordFileTest, SortKeepsATrailingPartialEntryAtTheEnd) {
  data.Write("keyword.dat", Entries({"b", "a"}) + "part");
  ASSERT_TRUE(SortKeywordFile(state).ok());
  EXPECT_EQ(KeywordDat(), Entries({"a", "b"}) + "part");
}

TEST_F(KeywordFileTest, SortOfASortedFileDoesNotRewriteIt) {
  const std::string sorted = Entries({"Alpha", "beta", "BETA", "~Home"});
  data.Write("keyword.dat", sorted);
  const utimbuf old_times{1000000000, 1000000000};
  ASSERT_EQ(::utime(data.File("keyword.dat").c_str(), &old_times), 0);
  ASSERT_TRUE(SortKeywordFile(state).ok());
  EXPECT_EQ(KeywordDat(), sorted);
  const auto written = std::filesystem::last_write_time(data.File("keyword.dat"));
  EXPECT_EQ(std::chrono::file_clock::to_sys(written).time_since_epoch(),
            std::chrono::seconds(1000000000));
}

TEST_F(KeywordFileTest, SortOfAnEmptyOrMissingFileIsHarmless) {
  ASSERT_TRUE(SortKeywordFile(state).ok());
  EXPECT_EQ(KeywordDat(), "");
  data.Write("keyword.dat", "");
  ASSERT_TRUE(SortKeywordFile(state).ok());
  EXPECT_EQ(KeywordDat(), "");
}

TEST_F(KeywordFileTest, FailedSortLeavesKeywordDatAsItWas) {
  const std::string original = Entries({"b", "a", "c"});
  data.Write("keyword.dat", original);
  for (RewriteStep failing : kAllSteps) {
    const RewriteFaultHook fault = [&](RewriteStep step) { return step == failing; };
    EXPECT_FALSE(SortKeywordFile(state, &fault).ok());
    EXPECT_EQ(KeywordDat(), original);
    EXPECT_FALSE(data.Exists("keyword.$$$"));
  }
}

TEST_F(KeywordFileTest, SortWorksOnADataSetStoredInCapitals) {
  data.Write("KEYWORD.DAT", Entries({"b", "a"}));
  ASSERT_TRUE(SortKeywordFile(state).ok());
  EXPECT_EQ(data.Read("KEYWORD.DAT"), Entries({"a", "b"}));
  EXPECT_FALSE(data.Exists("keyword.dat"));
}

// Merging keyword.tmp from the program folder.

TEST_F(KeywordFileTest, MergeAppendsOnlyEntriesNotHeldOnAll14Bytes) {
  data.Write("keyword.dat", Entries({"Work", "Friends"}));
  const std::string incoming = Entries({"Work", "work", "Golf", "~", "", "Golf", " Work", "~~~",
                                        "\x7F\xE9", "!", "}", "Chess"}) +
                               "tail";
  program.Write("keyword.tmp", incoming);
  ASSERT_TRUE(MergeKeywordFile(state).ok());
  EXPECT_EQ(KeywordDat(), Entries({"Work", "Friends", "work", "Golf", " Work", "!", "}", "Chess"}));
  EXPECT_EQ(program.Read("keyword.tmp"), incoming);
}

TEST_F(KeywordFileTest, MergeReadsKeywordTmpFromTheProgramFolderOnly) {
  const std::string original = Entries({"Work"});
  data.Write("keyword.dat", original);
  data.Write("keyword.tmp", Entries({"Golf"}));
  ASSERT_TRUE(MergeKeywordFile(state).ok());
  EXPECT_EQ(KeywordDat(), original);
}

// Renaming.

class KeywordRenameTest : public KeywordFileTest {
 protected:
  const std::vector<ContactRecord> records_ = {
      Tagged("Adams", "Friends", "Golf", "friends"),
      Tagged("Baker", "", " Friends", "Friendship"),
      Tagged("Clark", "Golf", "", "Friends"),
  };
  void SetUp() override {
    KeywordFileTest::SetUp();
    data.Write("tabrel.dat", ContactBytes(records_) + "partial");
  }
  // The records after every slot holding `from` (trimmed) became `to`.
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

TEST_F(KeywordRenameTest, RenameChangesTheListAndEveryMatchingSlotOnly) {
  data.Write("keyword.dat", Entries({"Golf", "Friends", "friends", "Friendship"}));
  ASSERT_TRUE(RenameKeyword(state, "Friends", "Pals").ok());
  EXPECT_EQ(KeywordDat(), Entries({"Golf", "Pals", "friends", "Friendship"}));
  EXPECT_EQ(data.Read("tabrel.dat"), Renamed("Friends", "Pals"));
  EXPECT_FALSE(data.Exists("keyword.$$$"));
  EXPECT_FALSE(data.Exists("tabrel.$$$"));
}

TEST_F(KeywordRenameTest, RenameTrimsBothNamesAndCutsTheNewOneTo14) {
  data.Write("keyword.dat", Entries({"Golf", "Friends"}));
  ASSERT_TRUE(RenameKeyword(state, " Friends ", "  Old friends from school").ok());
  EXPECT_EQ(KeywordDat(), Entries({"Golf", "Old friends fr"}));
  EXPECT_EQ(data.Read("tabrel.dat"), Renamed("Friends", "Old friends fr"));
}

TEST_F(KeywordRenameTest, RenameIntoAListedNameNeverListsItTwice) {
  const std::vector<std::vector<std::string>> lists = {
      {"Pals", "Golf", "Friends"}, {"Friends", "Golf", "Pals"}, {"Friends", "Pals", "Friends"}};
  for (const auto& list : lists) {
    SCOPED_TRACE(list.front());
    data.Write("keyword.dat", Entries(list));
    ASSERT_TRUE(RenameKeyword(state, "Friends", "Pals").ok());
    auto after = ReadKeywords(state);
    ASSERT_TRUE(after.ok());
    EXPECT_EQ(std::count(after.value().begin(), after.value().end(), Keyword("Pals")), 1);
    EXPECT_EQ(std::count(after.value().begin(), after.value().end(), Keyword("Friends")), 0);
    EXPECT_EQ(std::count(after.value().begin(), after.value().end(), Keyword("Golf")),
              std::count(list.begin(), list.end(), "Golf"));
  }
}

TEST_F(KeywordRenameTest, RenameThatMatchesNothingChangesNoFile) {
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

TEST_F(KeywordRenameTest, FailedRenameLeavesBothFilesAsTheyWere) {
  const std::string list = Entries({"Golf", "Friends"});
  const std::string records = data.Read("tabrel.dat");
  data.Write("keyword.dat", list);
  for (RewriteStep failing : kAllSteps) {
    const RewriteFaultHook fault = [&](RewriteStep step) { return step == failing; };
    EXPECT_FALSE(RenameKeyword(state, "Friends", "Pals", &fault).ok());
    EXPECT_EQ(KeywordDat(), list);
    EXPECT_EQ(data.Read("tabrel.dat"), records);
    EXPECT_FALSE(data.Exists("keyword.$$$"));
  }
}

// Deleting.

TEST_F(KeywordRenameTest, DeleteEntryDropsMatchingAndBlankEntriesOnly) {
  const std::string records = data.Read("tabrel.dat");
  data.Write("keyword.dat", Entries({"Golf", "", "Friends", " Golf", "golf", "Golfing", "~Golf"}));
  ASSERT_TRUE(DeleteKeywordEntry(state, "Golf").ok());
  EXPECT_EQ(KeywordDat(), Entries({"Friends", "golf", "Golfing", "~Golf"}));
  EXPECT_EQ(data.Read("tabrel.dat"), records);
}

TEST_F(KeywordRenameTest, RemoveFromRecordsBlanksMatchingSlotsWithoutMovingOthers) {
  const std::string list = Entries({"Golf", "Friends"});
  data.Write("keyword.dat", list);
  ASSERT_TRUE(RemoveKeywordFromRecords(state, "Friends").ok());
  // Adams keeps "Golf" in KW2: KW1 is blanked, not refilled.
  EXPECT_EQ(data.Read("tabrel.dat"), Renamed("Friends", ""));
  EXPECT_EQ(KeywordDat(), list);
  const std::string blanked = data.Read("tabrel.dat");
  ASSERT_TRUE(RemoveKeywordFromRecords(state, "").ok());
  EXPECT_EQ(data.Read("tabrel.dat"), blanked);
}

}  // namespace
}  // namespace tabrel
