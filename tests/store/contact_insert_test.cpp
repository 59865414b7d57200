#include "store/contact_insert.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "base/text.h"
#include "fakes/contact_files.h"

namespace tabrel {
namespace {

using testing::Contact;
using testing::ContactBytes;

constexpr std::size_t kLength = layout::kContactRecordLength;

class ContactInsertTest : public ::testing::Test, public testing::DataSetFolders {
 protected:
  std::vector<std::string> StampsOnDisk() const { return testing::Stamps(data.Read("tabrel.dat")); }
};

TEST_F(ContactInsertTest, NewRecordGoesAfterEveryRecordWithAnEqualOrSmallerName) {
  // Records of no known type carry the name of the record before them.
  data.Write("tabrel.dat",
             ContactBytes(
                 {Contact(" ", "Zulu", "", "odd-first"), Contact("2", "Acme", "", "acme"),
                  Contact("1", "Baker", "", "baker"), Contact("9", "Zed", "", "odd-mid"),
                  Contact("4", "Carlton Ltd", "", "carlton"), Contact("1", "smith", "a", "smith-a"),
                  Contact("3", " Smith", "b", "smith-b"), Contact("1", "Taylor", "", "taylor")}) +
                 "tail");
  for (const ContactRecord& record :
       {Contact("1", "Aaron", "", "aaron"), Contact("1", "Bond", "", "bond"),
        Contact("2", "Able Co", "", "able"), Contact("1", "SMITH  ", "c", "new"),
        Contact("4", "Zenith", "", "zenith")}) {
    ASSERT_TRUE(InsertInNameOrder(state, record).ok());
  }
  EXPECT_EQ(StampsOnDisk(), (std::vector<std::string>{"odd-first", "aaron", "able", "acme", "baker",
                                                      "odd-mid", "bond", "carlton", "smith-a",
                                                      "smith-b", "new", "taylor", "zenith"}));
  const std::string bytes = data.Read("tabrel.dat");
  EXPECT_EQ(bytes.substr(13 * kLength), "tail");
}

TEST_F(ContactInsertTest, TheLastFreePlaceIsTakenAndAFullDataSetIsRefused) {
  const std::string one = EncodeContact(Contact("1", "Mills", "", "filler"));
  std::string bytes;
  bytes.reserve(layout::kMaxRecords * kLength);
  for (std::size_t i = 0; i + 1 < layout::kMaxRecords; ++i) bytes += one;
  data.Write("tabrel.dat", bytes);

  ASSERT_TRUE(InsertInNameOrder(state, Contact("1", "Adams", "", "adams")).ok());
  const std::string full = data.Read("tabrel.dat");
  ASSERT_EQ(full.size(), layout::kMaxRecords * kLength);
  EXPECT_EQ(Trim(DecodeContact(full).Modified), "adams");

  const Status refused = InsertInNameOrder(state, Contact("1", "Baker", "", "baker"));
  EXPECT_EQ(refused.number(), error_number::kOverflow);
  EXPECT_NE(refused.description().find("32,767"), std::string::npos) << refused.description();
  EXPECT_TRUE(data.Read("tabrel.dat") == full) << "a refused insert writes nothing";
}

}  // namespace
}  // namespace tabrel
