#include "store/record_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "fakes/temp_dir.h"

namespace tabrel {
namespace {

using testing::TempDir;

constexpr std::size_t kLength = 1047;

std::string Rec(char fill) {
  return std::string(kLength, fill);
}

TEST(RecordFileTest, MissingFileIsCreatedEmptyAndCountsZero) {
  TempDir dir;
  const RecordFile file(dir.File("tabrel.dat"), kLength);
  auto count = file.Count();
  ASSERT_TRUE(count.ok()) << count.status().ErrorLine();
  EXPECT_EQ(count.value(), 0u);
  ASSERT_TRUE(dir.Exists("tabrel.dat"));
  EXPECT_EQ(dir.Read("tabrel.dat"), "");
}

TEST(RecordFileTest, TrailingPartialRecordIsNeitherCountedNorRead) {
  TempDir dir;
  dir.Write("tabrel.dat", Rec('a') + Rec('b') + std::string(500, 'z'));
  const RecordFile file(dir.File("tabrel.dat"), kLength);
  EXPECT_EQ(file.Count().value(), 2u);
  EXPECT_EQ(file.ReadAll().value(), Rec('a') + Rec('b'));
  EXPECT_EQ(file.Read(2).value(), Rec('b'));
  EXPECT_FALSE(file.Read(3).ok());
  EXPECT_FALSE(file.Read(0).ok());
}

TEST(RecordFileTest, WriteOverwritesOneRecordInPlaceCutOrPadded) {
  TempDir dir;
  dir.Write("tabrel.dat", Rec('a') + Rec('b') + Rec('c'));
  const RecordFile file(dir.File("tabrel.dat"), kLength);
  ASSERT_TRUE(file.Write(2, "short").ok());
  EXPECT_EQ(dir.Read("tabrel.dat"), Rec('a') + "short" + std::string(kLength - 5, ' ') + Rec('c'));
  ASSERT_TRUE(file.Write(3, Rec('x') + "overflow").ok());
  EXPECT_EQ(dir.Read("tabrel.dat").size(), 3 * kLength);
  EXPECT_FALSE(file.Write(4, Rec('y')).ok()) << "writing past the end must be refused";
  EXPECT_EQ(dir.Read("tabrel.dat").size(), 3 * kLength);
}

TEST(RecordFileTest, AppendAddsAtCountPlusOneAndKeepsAPartialTailAfterIt) {
  TempDir dir;
  dir.Write("tabrel.dat", Rec('a') + "tail");
  const RecordFile file(dir.File("tabrel.dat"), kLength);
  ASSERT_TRUE(file.Append(Rec('b')).ok());
  EXPECT_EQ(dir.Read("tabrel.dat"), Rec('a') + Rec('b') + "tail");
  EXPECT_EQ(file.Count().value(), 2u);
}

TEST(RecordFileTest, MissingFolderReportsPathNotFound) {
  TempDir dir;
  const RecordFile file(dir.File("gone/tabrel.dat"), kLength);
  auto count = file.Count();
  ASSERT_FALSE(count.ok());
  EXPECT_EQ(count.status().number(), 76);
  EXPECT_EQ(count.status().ErrorLine().rfind("Error 76: Path not found", 0), 0u)
      << count.status().ErrorLine();
  EXPECT_NE(count.status().description().find("gone/tabrel.dat"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(dir.File("gone")));
}

}  // namespace
}  // namespace tabrel
