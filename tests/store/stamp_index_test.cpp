// Looking records up by stamp once per report.
#include "store/stamp_index.h"

#include <gtest/gtest.h>

#include "fakes/contact_files.h"
#include "store/data_set.h"

namespace tabrel {
namespace {

using testing::Contact;

TEST(StampIndexTest, FindsWhatLoadRecordByStampLoadsTheFirstOfTwoWithOneStamp) {
  testing::TempDir dir;
  testing::WriteContacts(
      dir, {Contact("1", "First", "", "01-01-2000 45"), Contact("2", "Second", "", "01-01-2000 2"),
            Contact("3", "Copy", "", "01-01-2000 45")});
  AppState state(dir.path());
  auto index = StampIndex::Open(state);
  ASSERT_TRUE(index.ok());
  for (const std::string stamp : {"01-01-2000 45", "01-01-2000 2"}) {
    state.editor_record.Modified = stamp;
    ASSERT_TRUE(LoadRecordByStamp(state).value());
    EXPECT_EQ(DecodeContact(index.value().Find(stamp)->record), state.editor_record) << stamp;
    EXPECT_EQ(index.value().Find(stamp)->number, state.current_record_number);
  }
  EXPECT_EQ(index.value().Find("01-01-2000 45")->number, 1);
  // The whole stamp, fitted to its width, must match.
  EXPECT_TRUE(index.value().Find("01-01-2000 45      and more").has_value());
  for (const char* partial : {"01-01-2000 4", " 01-01-2000 45", "", "01-01-2000 3"}) {
    EXPECT_FALSE(index.value().Find(partial).has_value()) << partial;
  }
}

TEST(StampIndexTest, ATornLastRecordIsIgnoredAndAnUnreadableFolderIsAStatus) {
  testing::TempDir dir;
  dir.Write("tabrel.dat",
            testing::ContactBytes({Contact("1", "Whole", "", "01-01-2000 1")}) +
                EncodeContact(Contact("1", "Torn", "", "01-01-2000 2")).substr(0, 1040));
  auto index = StampIndex::Open(AppState(dir.path()));
  ASSERT_TRUE(index.ok());
  EXPECT_TRUE(index.value().Find("01-01-2000 1").has_value());
  EXPECT_FALSE(index.value().Find("01-01-2000 2").has_value());

  AppState state(dir.path());
  state.data_path = dir.File("missing/");
  auto missing = StampIndex::Open(state);
  ASSERT_FALSE(missing.ok());
  EXPECT_NE(missing.status().description().find("missing"), std::string::npos);
}

}  // namespace
}  // namespace tabrel
