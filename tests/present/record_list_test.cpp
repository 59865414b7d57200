#include "present/record_list.h"

#include <gtest/gtest.h>

#include "base/text.h"
#include "fakes/contact_files.h"

namespace tabrel {
namespace {

// A row's cells read the same whether asked for one at a time before its
// text is made, or after, and a control character shows as a blank.
TEST(RecordListTest, CellsReadAlikeBeforeAndAfterTheRowIsMadeAndControlsShowAsBlanks) {
  testing::DataSetFolders folders;
  ContactRecord person = testing::Contact("1", "Lee\tX", "Ann",
                                          "S\x02"
                                          "1");
  person.Phone = "555\n1";
  person.City = "Salem";
  ContactRecord org = testing::Contact("4",
                                       "Acme\x01"
                                       "Co",
                                       "", "S2");
  testing::WriteContacts(folders.data, {person, testing::Contact("9", "Odd", "", "S3"), org});
  Grid grid;
  grid.SetFormatString(kMainGridFormat);
  ASSERT_EQ(AppendSelectedRows(grid, folders.state, kAllRecords, {}).value(), 2);

  const std::vector<std::vector<std::string>> expected = {{"Lee X, Ann", "555 1", "Salem", "S 1"},
                                                          {"Acme Co", "", "", "S2"}};
  for (int row = 1; row <= 2; ++row) {
    const auto& want = expected[static_cast<std::size_t>(row - 1)];
    for (int pass = 0; pass < 2; ++pass) {
      EXPECT_EQ(RTrim(grid.TextAt(row, kIdColumn)), want[3]) << row << pass;
      EXPECT_EQ(RTrim(grid.TextAt(row, 6)), want[2]) << row << pass;
      EXPECT_EQ(RTrim(grid.TextAt(row, 1)), want[1]) << row << pass;
      EXPECT_EQ(RTrim(grid.TextAt(row, 0)), want[0]) << row << pass;
    }
  }
  grid.AddItem("kept\trow");
  grid.SetTextAt(2, 1, "new");
  EXPECT_EQ(RTrim(grid.TextAt(2, kIdColumn)), "S2");
  EXPECT_EQ(grid.TextAt(2, 1), "new");
  EXPECT_EQ(grid.TextAt(3, 1), "row");
}

}  // namespace
}  // namespace tabrel
