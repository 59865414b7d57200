#include "store/contact_sort.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "fakes/contact_files.h"

namespace tabrel {
namespace {

struct Row {
  std::string type;
  std::string name;  // LastName of an individual, Org of an organisation
  std::string id;    // first name and stamp, telling equal names apart
};

// tabrel.dat holding `rows` in order, and a partial record after them.
std::string Bytes(const std::vector<Row>& rows) {
  std::vector<ContactRecord> records;
  for (const Row& r : rows) records.push_back(testing::Contact(r.type, r.name, r.id, r.id));
  return testing::ContactBytes(records) + "torn";
}

class ContactSortTest : public ::testing::Test, public testing::DataSetFolders {
 protected:
  // Sorting a file of `rows` must leave them, byte for byte, in the order
  // of `ids`, the partial record still last.
  void ExpectSortedAs(const std::vector<Row>& rows, const std::vector<std::string>& ids) {
    std::vector<Row> sorted;
    for (const auto& id : ids) {
      sorted.push_back(
          *std::find_if(rows.begin(), rows.end(), [&](auto& r) { return r.id == id; }));
    }
    data.Write("tabrel.dat", Bytes(rows));
    ASSERT_TRUE(SortContactFile(state).ok());
    const std::string after = data.Read("tabrel.dat");
    EXPECT_EQ(testing::Stamps(after), ids);
    EXPECT_TRUE(after == Bytes(sorted)) << "the records and the tail must come through unchanged";
  }
};

TEST_F(ContactSortTest, SortPutsRecordsInNameOrderAndKeepsEqualNamesInFileOrder) {
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
       {{" ", "Aaron", "1"}, {"9", "Able", "2"}, {"1", "Zed", "3"}, {"4", "Org B", "4"}},
       {"4", "3", "1", "2"}},
      {"public and personal mixed, leading blanks ignored",
       {{"3", "Baker", "1"}, {"1", "  adams", "2"}, {"4", "Charlie Co", "3"}, {"2", "baker", "4"}},
       {"2", "1", "4", "3"}},
      {"accented capitals after Z, empty names first",
       {{"1", "\xE9mile", "1"}, {"1", "Zorro", "2"}, {"2", "", "3"}},
       {"3", "2", "1"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ExpectSortedAs(c.in, c.ids);
  }
}

TEST_F(ContactSortTest, EqualNamesKeepTheirFileOrderInALargeFile) {
  std::vector<Row> rows;
  std::vector<std::string> adams;
  std::vector<std::string> mills;
  for (int i = 0; i < 60; ++i) {
    const std::string id = std::to_string(100 + i);
    rows.push_back({i % 2 ? "3" : "2", i % 3 ? "Mill" : "adams", id});
    (i % 3 ? mills : adams).push_back(id);
  }
  adams.insert(adams.end(), mills.begin(), mills.end());
  ExpectSortedAs(rows, adams);
}

}  // namespace
}  // namespace tabrel
