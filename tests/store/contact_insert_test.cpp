#include "store/contact_insert.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "fakes/contact_files.h"
#include "fakes/temp_dir.h"
#include "store/layout.h"
#include "store/text.h"

namespace tabrel {
namespace {

using testing::Contact;
using testing::ContactBytes;
using testing::TempDir;
using testing::WriteContacts;

constexpr std::size_t kLength = layout::kContactRecordLength;

class ContactInsertTest : public ::testing::Test {
 protected:
  TempDir program;
  TempDir data;
  AppState state{program.path()};

  void SetUp() override { state.data_path = data.path(); }

  // Each stored record as "<stamp>", trimmed: the tests give every record a
  // stamp naming it.
  std::vector<std::string> StampsOnDisk() const {
    std::vector<std::string> stamps;
    const std::string bytes = data.Read("tabrel.dat");
    for (std::size_t at = 0; at + kLength <= bytes.size(); at += kLength) {
      stamps.push_back(Trim(DecodeContact(bytes.substr(at, kLength)).Modified));
    }
    return stamps;
  }
  std::size_t FilesInDataFolder() const {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(data.path()),
                                                  std::filesystem::directory_iterator()));
  }
};

using Stamps = std::vector<std::string>;

TEST_F(ContactInsertTest, NewRecordGoesAfterEveryRecordWithAnEqualKey) {
  WriteContacts(data,
                {Contact("1", "Adams", "", "adams"), Contact("1", "smith", "a", "smith-a"),
                 Contact("3", " Smith", "b", "smith-b"), Contact("1", "Taylor", "", "taylor")});
  ASSERT_TRUE(InsertInNameOrder(state, Contact("1", "SMITH  ", "c", "new")).ok());
  EXPECT_EQ(StampsOnDisk(), (Stamps{"adams", "smith-a", "smith-b", "new", "taylor"}));
}

TEST_F(ContactInsertTest, OrganisationsAndIndividualsInterleaveByTheirNames) {
  WriteContacts(data, {Contact("2", "Acme", "", "acme"), Contact("1", "Baker", "", "baker"),
                       Contact("4", "Carlton Ltd", "", "carlton")});
  ASSERT_TRUE(InsertInNameOrder(state, Contact("3", "Bell", "", "bell")).ok());
  ASSERT_TRUE(InsertInNameOrder(state, Contact("2", "Able Co", "", "able")).ok());
  ASSERT_TRUE(InsertInNameOrder(state, Contact("4", "Zenith", "", "zenith")).ok());
  EXPECT_EQ(StampsOnDisk(), (Stamps{"able", "acme", "baker", "bell", "carlton", "zenith"}));
}

TEST_F(ContactInsertTest, RecordsOfNoKnownTypeStayAfterTheRecordBeforeThem) {
  WriteContacts(data, {Contact(" ", "Zulu", "", "odd-first"), Contact("1", "Baker", "", "baker"),
                       Contact("9", "Aaron", "", "odd-mid"), Contact("1", "Carter", "", "carter")});
  // Neither odd record's own name counts: each carries the key before it.
  ASSERT_TRUE(InsertInNameOrder(state, Contact("1", "Aaron", "", "aaron")).ok());
  ASSERT_TRUE(InsertInNameOrder(state, Contact("1", "Bond", "", "bond")).ok());
  EXPECT_EQ(StampsOnDisk(), (Stamps{"odd-first", "aaron", "baker", "odd-mid", "bond", "carter"}));
}

TEST_F(ContactInsertTest, InsertKeepsATrailingPartialRecordAtTheEnd) {
  const std::string tail(500, 'x');
  data.Write(
      "tabrel.dat",
      ContactBytes({Contact("1", "Adams", "", "adams"), Contact("1", "Cole", "", "cole")}) + tail);
  ASSERT_TRUE(InsertInNameOrder(state, Contact("1", "Baker", "", "baker")).ok());
  ASSERT_TRUE(InsertInNameOrder(state, Contact("1", "Drew", "", "drew")).ok());
  EXPECT_EQ(StampsOnDisk(), (Stamps{"adams", "baker", "cole", "drew"}));
  const std::string bytes = data.Read("tabrel.dat");
  ASSERT_EQ(bytes.size(), 4 * kLength + tail.size());
  EXPECT_EQ(bytes.substr(4 * kLength), tail);
}

TEST_F(ContactInsertTest, AFreshDataFolderTakesTheFirstRecord) {
  ASSERT_TRUE(InsertInNameOrder(state, Contact("1", "Adams", "", "adams")).ok());
  EXPECT_EQ(StampsOnDisk(), (Stamps{"adams"}));
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

TEST_F(ContactInsertTest, AnInterruptedInsertLeavesTheOldFileWholeAndNoTemporaryFile) {
  const std::string before =
      ContactBytes({Contact("1", "Adams", "", "adams"), Contact("1", "Cole", "", "cole")}) + "tail";
  for (RewriteStep failing : {RewriteStep::kCreate, RewriteStep::kWrite, RewriteStep::kFlush,
                              RewriteStep::kClose, RewriteStep::kRename}) {
    SCOPED_TRACE(static_cast<int>(failing));
    data.Write("tabrel.dat", before);
    const RewriteFaultHook fault = [&](RewriteStep step) { return step == failing; };
    const Status status = InsertInNameOrder(state, Contact("1", "Baker", "", "baker"), &fault);
    EXPECT_FALSE(status.ok());
    EXPECT_EQ(data.Read("tabrel.dat"), before);
    EXPECT_EQ(FilesInDataFolder(), 1u);
  }
}

TEST_F(ContactInsertTest, SaveRecordAtOverwritesOnlyThatRecord) {
  const std::string tail = "partial";
  data.Write("tabrel.dat",
             ContactBytes({Contact("1", "Adams", "", "adams"), Contact("1", "Baker", "", "baker"),
                           Contact("1", "Cole", "", "cole")}) +
                 tail);
  ASSERT_TRUE(SaveRecordAt(state, 2, Contact("2", "Bolt Inc", "", "bolt")).ok());
  EXPECT_EQ(StampsOnDisk(), (Stamps{"adams", "bolt", "cole"}));
  EXPECT_EQ(data.Read("tabrel.dat").substr(3 * kLength), tail);

  const std::string before = data.Read("tabrel.dat");
  EXPECT_FALSE(SaveRecordAt(state, 0, Contact("1", "X", "", "x")).ok());
  EXPECT_FALSE(SaveRecordAt(state, 4, Contact("1", "X", "", "x")).ok());
  EXPECT_EQ(data.Read("tabrel.dat"), before);
}

}  // namespace
}  // namespace tabrel
