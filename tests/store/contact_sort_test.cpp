#include "store/contact_sort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <sstream>

#include "fakes/case_file.h"
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

class ContactSortCaseTest : public ContactSortTest,
                            public ::testing::WithParamInterface<testing::FileCase> {};

TEST_P(ContactSortCaseTest, SortPutsRecordsInNameOrderAndKeepsEqualNamesInFileOrder) {
  std::vector<Row> rows;
  for (const std::string& row : GetParam().All("row")) {
    const std::vector<std::string> fields = testing::SplitOn(row, '|');
    rows.push_back({fields.at(0), fields.at(1), fields.at(2)});
  }
  std::istringstream in(GetParam().Get("sorted"));
  ExpectSortedAs(rows, {std::istream_iterator<std::string>(in), {}});
}

TABREL_FILE_CASES(Files, ContactSortCaseTest, "store", "contact_sort.cases");

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
