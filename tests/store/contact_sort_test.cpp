#include "store/contact_sort.h"

#include <gtest/gtest.h>
#include <utime.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iterator>
#include <random>

#include "fakes/contact_files.h"
#include "fakes/temp_dir.h"
#include "store/text.h"

namespace tabrel {
namespace {

using testing::Contact;
using testing::ContactBytes;
using testing::TempDir;

constexpr std::size_t kLength = layout::kContactRecordLength;

struct Row {
  std::string type;
  std::string name;  // LastName of an individual, Org of an organisation
  std::string id;    // first name (individuals) and stamp, telling equal names apart
};

std::vector<ContactRecord> Records(const std::vector<Row>& rows) {
  std::vector<ContactRecord> records;
  for (const Row& row : rows) records.push_back(Contact(row.type, row.name, row.id, row.id));
  return records;
}

std::vector<std::string> Chunks(const std::string& bytes) {
  std::vector<std::string> chunks;
  for (std::size_t at = 0; at + kLength <= bytes.size(); at += kLength) {
    chunks.push_back(bytes.substr(at, kLength));
  }
  return chunks;
}

std::vector<std::string> Ids(const std::string& bytes) {
  std::vector<std::string> ids;
  for (const auto& chunk : Chunks(bytes)) ids.push_back(Trim(DecodeContact(chunk).Modified));
  return ids;
}

TEST(SortKeyTest, KeyIsTheTrimmedUpperCasedNameOfTheRecordsType) {
  struct Case {
    std::string type;
    std::string last;
    std::string org;
    std::string key;
  };
  const Case cases[] = {
      {"1", "  Smith  ", "Acme", "SMITH"},
      {"3", "o'brien", "", "O'BRIEN"},
      {"2", "Smith", " acme tools ", "ACME TOOLS"},
      {"4", "", "\xE9mile", "\xC9MILE"},
      {"1", "", "Acme", ""},
      {" ", "Smith", "Acme", ""},
      {"9", "Smith", "Acme", ""},
  };
  for (const Case& c : cases) {
    ContactRecord record = BlankContactRecord();
    record.RecType = c.type;
    record.LastName = c.last;
    record.Org = c.org;
    EXPECT_EQ(SortKey(EncodeContact(record)), c.key) << c.type << " " << c.last;
  }
}

TEST(SortKeyTest, KeyLessComparesByteCodesWithAPrefixFirst) {
  // Strictly ascending.
  const std::string keys[] = {"",        "A",      "MILL",  "MILLER TOOLS", "MILLS",
                              "O'BRIEN", "OBRIEN", "ZORRO", "\xC9MILE"};
  for (std::size_t i = 0; i < std::size(keys); ++i) {
    EXPECT_FALSE(KeyLess(keys[i], keys[i])) << keys[i];
    for (std::size_t j = i + 1; j < std::size(keys); ++j) {
      EXPECT_TRUE(KeyLess(keys[i], keys[j])) << keys[i] << " < " << keys[j];
      EXPECT_FALSE(KeyLess(keys[j], keys[i])) << keys[j] << " < " << keys[i];
    }
  }
}

class ContactSortTest : public ::testing::Test {
 protected:
  TempDir program;
  TempDir data;
  AppState state{program.path()};

  void SetUp() override { state.data_path = data.path(); }
  std::string File() const { return data.Read("tabrel.dat"); }
};

TEST_F(ContactSortTest, SortPutsRecordsInNameOrder) {
  struct Case {
    const char* what;
    std::vector<Row> in;
    std::vector<std::string> ids;
  };
  const Case cases[] = {
      {"prefix first, organisations among individuals",
       {{"1", "Mills", "a"}, {"2", "Miller Tools", "b"}, {"1", "Mill", "c"}},
       {"c", "b", "a"}},
      {"equal names keep file order, whatever the first name or case",
       {{"1", "Smith", "Zed"}, {"3", "smith", "x"}, {"1", "Brown", "b"}, {"1", "Smith", "Adam"}},
       {"b", "Zed", "x", "Adam"}},
      {"unknown types last, in file order",
       {{" ", "Aaron", "1"},
        {"9", "Able", "2"},
        {"1", "Zed", "3"},
        {"4", "Org B", "4"},
        {" ", "Abe", "5"}},
       {"4", "3", "1", "2", "5"}},
      {"public and personal mixed",
       {{"3", "Baker", "1"}, {"1", "adams", "2"}, {"4", "Charlie Co", "3"}, {"2", "baker", "4"}},
       {"2", "1", "4", "3"}},
      {"leading blanks ignored", {{"1", "  Zulu", "1"}, {"1", "Alpha", "2"}}, {"2", "1"}},
      {"accented capitals after Z", {{"1", "\xC9mile", "1"}, {"1", "Zorro", "2"}}, {"2", "1"}},
      {"empty names first among the typed",
       {{"1", "Adams", "1"}, {"2", "", "2"}, {"7", "", "3"}},
       {"2", "1", "3"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string before = ContactBytes(Records(c.in));
    data.Write("tabrel.dat", before);
    ASSERT_TRUE(SortContactFile(state).ok());
    EXPECT_EQ(Ids(File()), c.ids);
    auto sorted = Chunks(File());
    auto original = Chunks(before);
    std::sort(sorted.begin(), sorted.end());
    std::sort(original.begin(), original.end());
    EXPECT_EQ(sorted, original) << "every record exactly once";
  }
}

TEST_F(ContactSortTest, SortOfManyRecordsIsOrderedStableAndComplete) {
  std::mt19937 random(7);
  const char* names[] = {"Mill", "mill", "Miller", "MILLS", "O'Neil", "\xE9mile", "", " Zed"};
  const char* types[] = {"1", "2", "3", "4", "1", " ", "9"};
  std::vector<Row> rows;
  for (int i = 0; i < 400; ++i) {
    char id[8];
    std::snprintf(id, sizeof id, "%04d", i);  // ids rise with file order
    rows.push_back({types[random() % 7], names[random() % 8], id});
  }
  const std::string before = ContactBytes(Records(rows));
  data.Write("tabrel.dat", before);
  ASSERT_TRUE(SortContactFile(state).ok());
  const auto after = Chunks(File());
  ASSERT_EQ(after.size(), rows.size());
  auto typed = [](const std::string& r) { return r[0] >= '1' && r[0] <= '4'; };
  for (std::size_t i = 1; i < after.size(); ++i) {
    const std::string &a = after[i - 1], &b = after[i];
    ASSERT_TRUE(typed(a) || !typed(b)) << "untyped record before a typed one at " << i;
    if (typed(a) != typed(b)) continue;
    ASSERT_FALSE(KeyLess(SortKey(b), SortKey(a))) << "out of order at " << i;
    if (SortKey(a) == SortKey(b)) {
      ASSERT_LT(DecodeContact(a).Modified, DecodeContact(b).Modified)
          << "equal keys swapped at " << i;
    }
  }
  auto sorted = after;
  auto original = Chunks(before);
  std::sort(sorted.begin(), sorted.end());
  std::sort(original.begin(), original.end());
  EXPECT_EQ(sorted, original);
}

TEST_F(ContactSortTest, SortKeepsATrailingPartialRecordAtTheEnd) {
  data.Write("tabrel.dat", ContactBytes(Records({{"1", "B", "1"}, {"1", "A", "2"}})) + "torn");
  ASSERT_TRUE(SortContactFile(state).ok());
  EXPECT_EQ(File(), ContactBytes(Records({{"1", "A", "2"}, {"1", "B", "1"}})) + "torn");
}

TEST_F(ContactSortTest, SortOfASortedFileDoesNotRewriteIt) {
  const std::string sorted =
      ContactBytes(Records(
          {{"1", "Adams", "1"}, {"2", "adams", "2"}, {"3", "Baker", "3"}, {" ", "A", "4"}})) +
      "torn";
  data.Write("tabrel.dat", sorted);
  const utimbuf old_times{1000000000, 1000000000};
  ASSERT_EQ(::utime(data.File("tabrel.dat").c_str(), &old_times), 0);
  ASSERT_TRUE(SortContactFile(state).ok());
  EXPECT_EQ(File(), sorted);
  const auto written = std::filesystem::last_write_time(data.File("tabrel.dat"));
  EXPECT_EQ(std::chrono::file_clock::to_sys(written).time_since_epoch(),
            std::chrono::seconds(1000000000));
}

TEST_F(ContactSortTest, SortOfAnEmptyOrMissingFileIsHarmless) {
  ASSERT_TRUE(SortContactFile(state).ok());
  EXPECT_EQ(File(), "");
  data.Write("tabrel.dat", "short");
  ASSERT_TRUE(SortContactFile(state).ok());
  EXPECT_EQ(File(), "short");
}

class ContactSortFaultTest : public ContactSortTest,
                             public ::testing::WithParamInterface<RewriteStep> {};

TEST_P(ContactSortFaultTest, FailedSortLeavesTabrelDatByteIdentical) {
  const std::string original =
      ContactBytes(Records({{"1", "C", "1"}, {"1", "A", "2"}, {"2", "B", "3"}})) + "torn";
  data.Write("tabrel.dat", original);
  const RewriteStep failing = GetParam();
  const RewriteFaultHook fault = [&](RewriteStep step) { return step == failing; };
  EXPECT_FALSE(SortContactFile(state, &fault).ok());
  EXPECT_EQ(File(), original);
  EXPECT_FALSE(data.Exists("tabrel.$$$"));
  EXPECT_FALSE(program.Exists("tabrel.$$$"));
}

INSTANTIATE_TEST_SUITE_P(EveryStep, ContactSortFaultTest,
                         ::testing::Values(RewriteStep::kCreate, RewriteStep::kWrite,
                                           RewriteStep::kFlush, RewriteStep::kClose,
                                           RewriteStep::kRename));

}  // namespace
}  // namespace tabrel
