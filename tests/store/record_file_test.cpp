#include "store/record_file.h"

#include <gtest/gtest.h>

#include "fakes/temp_dir.h"

namespace tabrel {
namespace {

using testing::TempDir;

constexpr std::size_t kLength = 1047;

std::string Rec(char fill) {
  return std::string(kLength, fill);
}

TEST(RecordFileTest, MissingFileIsCreatedEmptyButAMissingFolderIsPathNotFound) {
  TempDir dir;
  auto count = RecordFile(dir.File("tabrel.dat"), kLength).Count();
  ASSERT_TRUE(count.ok()) << count.status().ErrorLine();
  EXPECT_EQ(count.value(), 0u);
  EXPECT_TRUE(dir.Exists("tabrel.dat"));

  const Status gone = RecordFile(dir.File("gone/tabrel.dat"), kLength).Count().status();
  EXPECT_EQ(gone.ErrorLine().rfind("Error 76: Path not found", 0), 0u) << gone.ErrorLine();
}

TEST(RecordFileTest, TrailingPartialRecordIsNeverReadAndAnAppendKeepsItAfterTheNewRecord) {
  TempDir dir;
  dir.Write("tabrel.dat", Rec('a') + Rec('b') + "tail");
  const RecordFile file(dir.File("tabrel.dat"), kLength);
  EXPECT_EQ(file.Count().value(), 2u);
  EXPECT_EQ(file.ReadAll().value(), Rec('a') + Rec('b'));
  ASSERT_TRUE(file.Append(Rec('c')).ok());
  EXPECT_EQ(dir.Read("tabrel.dat"), Rec('a') + Rec('b') + Rec('c') + "tail");
}

TEST(RecordFileTest, AnInPlaceWriteChangesOnlyItsRecordAndOnlyRecordsThatExist) {
  TempDir dir;
  dir.Write("tabrel.dat", Rec('a') + Rec('b') + "tail");
  const RecordFile file(dir.File("tabrel.dat"), kLength);
  ASSERT_TRUE(file.Write(2, "short").ok());
  const std::string written = "short" + std::string(kLength - 5, ' ');
  EXPECT_EQ(dir.Read("tabrel.dat"), Rec('a') + written + "tail");
  for (std::size_t n : {0, 3}) {
    const InPlaceWrite result = file.Write(n, Rec('c'));
    EXPECT_EQ(result.status.ErrorLine(),
              "Error 75: Record " + std::to_string(n) + " is not in " + file.path());
    EXPECT_FALSE(result.landed);
  }
  EXPECT_EQ(dir.Read("tabrel.dat"), Rec('a') + written + "tail");
}

}  // namespace
}  // namespace tabrel
