// Looking records up by stamp once per report.
#include "reports/stamp_index.h"

#include <gtest/gtest.h>

#include "fakes/contact_files.h"
#include "store/data_set.h"

namespace tabrel {
namespace {

using testing::Contact;

TEST(StampIndexTest, FindsWhatLoadRecordByStampLoads) {
  testing::TempDir dir;
  testing::WriteContacts(
      dir, {Contact("1", "First", "", "01-01-2000 1"), Contact("2", "Second", "", "01-01-2000 2"),
            Contact("3", "Copy", "", "01-01-2000 1")});
  AppState state(dir.path());
  auto index = StampIndex::Open(state);
  ASSERT_TRUE(index.ok());
  for (const std::string stamp : {"01-01-2000 1", "01-01-2000 2", "01-01-2000 3"}) {
    state.editor_record = BlankContactRecord();
    state.editor_record.Modified = stamp;
    auto loaded = LoadRecordByStamp(state);
    ASSERT_TRUE(loaded.ok());
    auto found = index.value().Find(stamp);
    ASSERT_EQ(found.has_value(), loaded.value()) << stamp;
    if (!found) continue;
    EXPECT_EQ(DecodeContact(found->record), state.editor_record) << stamp;
    EXPECT_EQ(found->number, state.current_record_number);
  }
  // The first of two records with one stamp wins, in file order.
  EXPECT_EQ(index.value().Find("01-01-2000 1")->number, 1);
}

TEST(StampIndexTest, MatchesTheWholeStampFittedToItsWidth) {
  testing::TempDir dir;
  testing::WriteContacts(dir, {Contact("1", "Padded", "", "01-01-2000 45")});
  auto index = StampIndex::Open(AppState(dir.path()));
  ASSERT_TRUE(index.ok());
  EXPECT_TRUE(index.value().Find("01-01-2000 45      ").has_value());
  EXPECT_TRUE(index.value().Find("01-01-2000 45      and more").has_value());
  EXPECT_FALSE(index.value().Find("01-01-2000 4").has_value());
  EXPECT_FALSE(index.value().Find(" 01-01-2000 45").has_value());
  EXPECT_FALSE(index.value().Find("").has_value());
}

TEST(StampIndexTest, AMissingFileIsAnEmptyDataSetAndAPartialRecordIsIgnored) {
  testing::TempDir dir;
  auto empty = StampIndex::Open(AppState(dir.path()));
  ASSERT_TRUE(empty.ok());
  EXPECT_FALSE(empty.value().Find("01-01-2000 1").has_value());

  dir.Write("tabrel.dat",
            testing::ContactBytes({Contact("1", "Whole", "", "01-01-2000 1")}) +
                EncodeContact(Contact("1", "Torn", "", "01-01-2000 2")).substr(0, 1040));
  auto index = StampIndex::Open(AppState(dir.path()));
  ASSERT_TRUE(index.ok());
  EXPECT_TRUE(index.value().Find("01-01-2000 1").has_value());
  EXPECT_FALSE(index.value().Find("01-01-2000 2").has_value());
}

TEST(StampIndexTest, AnUnreadableDataFolderIsAStatus) {
  testing::TempDir dir;
  AppState state(dir.path());
  state.data_path = dir.File("missing/");
  auto index = StampIndex::Open(state);
  ASSERT_FALSE(index.ok());
  EXPECT_NE(index.status().description().find("missing"), std::string::npos);
}

}  // namespace
}  // namespace tabrel
